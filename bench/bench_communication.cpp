// The host's communication component against the in-process simulated port:
// how many queries it turns over when the wire costs nothing, and how much
// time it adds on top of the wire at the master's usual 38400 baud.
#include <extensionsystem/PortTransport.h>
#include <extensionsystem/SerialCommunication.h>

#include <SensorModel.h>
#include <SimulatedPortDevice.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

using namespace ExtensionSystem;
using IoLinkSimulator::SimulatedPortDevice;

namespace {

const QByteArray request = QByteArray::fromHex("027022"); // process data
const int answerBytes = 8;

struct Rig
{
    explicit Rig(bool wireTime)
    {
        QString error;
        auto model = IoLinkSimulator::SensorModel::create(
            QCoreApplication::applicationDirPath() + "/IoLinkMzRT5family.xml", "UM035", "107", 1, &error);
        device = std::make_unique<SimulatedPortDevice>(std::move(model));
        device->setWireTimeEnabled(wireTime);
        communication = std::make_unique<SerialCommunication>(
            std::make_unique<DeviceTransport>(
                device.get(),
                [](QIODevice* d, int baud) { static_cast<SimulatedPortDevice*>(d)->setBaudRate(baud); }),
            nullptr);
        PortSettings settings;
        settings.portName = "SIM1";
        communication->open(settings, &error);
        QObject::connect(communication.get(), &CommunicationInterface::emitFinished, &loop,
                         &QEventLoop::quit);
    }

    // One blocking exchange, as the plug-in makes them.
    int exchange()
    {
        SensorQuery query;
        query.request = request.toStdString();
        query.expectedAnswer = ".*";
        query.timeoutMs = 2000;
        CommunicationInterface::DataFrame frame{{query}};
        communication->submitFrame(&frame);
        loop.exec();
        return frame.queries.front().status;
    }

    std::unique_ptr<SimulatedPortDevice> device;
    std::unique_ptr<SerialCommunication> communication;
    QEventLoop loop;
};

void queriesWithoutWireTime(benchmark::State& state)
{
    Rig rig(false);
    for (auto _ : state) {
        if (rig.exchange() != 1)
            state.SkipWithError("query not answered");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(queriesWithoutWireTime)->Unit(benchmark::kMicrosecond);

void hostOverheadAt38400Baud(benchmark::State& state)
{
    Rig rig(true);
    const double wireMs = (request.size() + answerBytes) * 10 * 1000.0 / 38400;
    for (auto _ : state) {
        if (rig.exchange() != 1)
            state.SkipWithError("query not answered");
    }
    state.counters["wire_ms"] = wireMs;
    // Mean time per query over the wire time: 1.0 would be a host that costs nothing.
    state.counters["time_over_wire"] =
        benchmark::Counter(double(state.iterations()) * wireMs / 1000.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(hostOverheadAt38400Baud)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
