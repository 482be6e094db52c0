// The simulated master and sensor, built from the real description document,
// answering a sequence of request frames. The first byte picks the model; the
// rest is split into frames by their length bytes. A frame whose check octet
// is 0 gets the right one, so mutations reach the commands behind the check.
#include "FuzzSupport.h"

#include <Frame.h>
#include <SensorModel.h>

#include <memory>
#include <vector>

namespace Sim = IoLinkSimulator;

namespace {

const std::vector<Sim::SensorDescription>& descriptions()
{
    static const std::vector<Sim::SensorDescription> loaded = [] {
        std::vector<Sim::SensorDescription> models;
        for (const char* id : {"UM035", "UM060", "UK130", "UK340", "UK600"}) {
            QString error;
            auto description = Sim::loadSensorDescription(QStringLiteral(IOLINK_DESCRIPTION_DOCUMENT),
                                                          QLatin1String(id), QString(), &error);
            if (!description)
                Fuzz::fail("the real description document does not load");
            models.push_back(std::move(*description));
        }
        return models;
    }();
    return loaded;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::silenceQtMessages();
    descriptions();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const auto& models = descriptions();
    auto now = std::make_shared<qint64>(0);
    Sim::SensorModel model(models[data[0] % models.size()], data[0], [now] { return *now; });

    const QByteArray input = Fuzz::bytes(data + 1, size - 1);
    int position = 0;
    while (position < input.size()) {
        const int length = 1 + quint8(input.at(position));
        QByteArray frame = input.mid(position, length);
        position += length;
        if (frame.size() >= 3 && frame.size() == length && frame.at(1) == 0)
            frame = Sim::Frame::build(quint8(frame.at(2)), frame.mid(3));

        const QByteArray answer = model.answer(frame);
        if (!answer.isEmpty() && !Sim::Frame::isValid(answer))
            Fuzz::fail("the simulator answered with a malformed frame");
        *now += 85;
    }
    model.distanceCode();
    model.statusBits();
    return 0;
}
