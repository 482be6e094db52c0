// The simulator answering request frames. The first byte picks the model; the
// rest is split into frames by their length bytes. A check octet of 0 is
// replaced by the right one, so mutations reach the commands behind the check.
#include "FuzzSupport.h"

#include <Frame.h>
#include <SensorModel.h>

#include <memory>
#include <vector>

namespace Sim = IoLinkSimulator;

void Fuzz::run(const QByteArray& bytes)
{
    static const std::vector<Sim::SensorDescription> models = [] {
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
    if (bytes.isEmpty())
        return;
    const quint8 first = quint8(bytes.at(0));
    auto now = std::make_shared<qint64>(0);
    Sim::SensorModel model(models[first % models.size()], first, [now] { return *now; });

    const QByteArray input = bytes.mid(1);
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
}
