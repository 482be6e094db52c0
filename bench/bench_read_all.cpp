// Reading every parameter of the family's description document from a
// simulated sensor at 38400 baud, against what it cannot be faster than:
// the pauses the window must make between the exchanges plus the time the
// bytes take on the wire.
#include <TraceAnalysis.h>

#include <PluginLibrary.h>
#include <SimulatedSensors.h>
#include <WorkbenchWindow.h>

#include <SimulatedPortDevice.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// Pauses the read action makes: 200 ms before it starts, and per
// parameter 5 ms before its read, 20 ms after the request, 20 ms after
// the process-data request and 70 ms before the fetch.
const double pauseBeforeReadingMs = 200.0;
const double pausesPerParameterMs = 5.0 + 20.0 + 20.0 + 70.0;

// Wire time of every request and answer in a trace, at 10 bits a byte.
double wireTimeMs(const QString& traceFile, int baudRate, int* reads)
{
    QFile file(traceFile);
    file.open(QIODevice::ReadOnly);
    double bytes = 0;
    *reads = 0;
    for (const QString& line : QString::fromLatin1(file.readAll()).split('\n')) {
        const QStringList fields = line.simplified().split(' ');
        if (fields.size() > 3 && (fields[1] == ">" || fields[1] == "<")) {
            bytes += fields.size() - 3;
            if (fields[1] == ">" && fields.value(5) == "26")
                ++*reads;
        }
    }
    return bytes * 10.0 * 1000.0 / baudRate;
}

void readAllParameters(benchmark::State& state)
{
    PluginLibrary plugin;
    plugin.load(PluginLibrary::pluginPath(QCoreApplication::applicationDirPath() + "/plugins"));
    WorkbenchWindow workbench(plugin);
    QString error;
    const QString port =
        addSimulatedSensor(workbench.hostPorts(), "UM060/113",
                           QCoreApplication::applicationDirPath() + "/IoLinkMzRT5family.xml", &error);
    workbench.setPortLister([] { return QStringList(); });
    workbench.openSensor("RT5-600-M18");
    workbench.connectActiveSensor(port);
    QMainWindow* window = qobject_cast<QMainWindow*>(workbench.mdiArea()->subWindowList().value(0)->widget());

    QTemporaryDir dir;
    const QString trace = dir.filePath("trace.txt");
    for (auto _ : state) {
        workbench.hostPorts().setTraceFile(trace, &error);
        QElapsedTimer clock;
        clock.start();
        QMetaObject::invokeMethod(window, "vRadAllSettings", Q_ARG(bool, true));
        const double elapsedMs = clock.nsecsElapsed() / 1e6;
        state.SetIterationTime(elapsedMs / 1000.0);

        int reads = 0;
        const double wireMs = wireTimeMs(trace, 38400, &reads);
        const double floorMs = pauseBeforeReadingMs + reads * pausesPerParameterMs + wireMs;
        state.counters["parameters"] = reads;
        state.counters["wire_ms"] = wireMs;
        state.counters["floor_ms"] = floorMs;
        state.counters["over_floor"] = elapsedMs / floorMs;
    }
}
BENCHMARK(readAllParameters)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

// Connecting a sensor and reading all of it, as "Sensor -> PC" does, with
// the poll and the pop-up's timers running: the read part of the trace
// (first parameter read to its last fetch) against its floor, and the
// requests that came between a read and its fetch (there must be none).
// characterDelayMs is the model's character delay from the description
// document: the port must wait that long between two bytes of a request.
void connectAndReadEverything(benchmark::State& state, const char* spec, const char* sensorName,
                              int characterDelayMs)
{
    int connectNumber = 0;
    PluginLibrary plugin;
    plugin.load(PluginLibrary::pluginPath(QCoreApplication::applicationDirPath() + "/plugins"));
    QTemporaryDir dir;
    const QString traceFile = dir.filePath("trace.txt");
    for (auto _ : state) {
        WorkbenchWindow workbench(plugin);
        QString error;
        const QString port =
            addSimulatedSensor(workbench.hostPorts(), spec,
                               QCoreApplication::applicationDirPath() + "/IoLinkMzRT5family.xml", &error);
        workbench.hostPorts().setTraceFile(traceFile, &error);
        workbench.setPortLister([] { return QStringList(); });
        workbench.openSensor(sensorName);
        QElapsedTimer clock;
        clock.start();
        workbench.connectActiveSensor(port);
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);

        const TraceLines trace = TraceLines::read(traceFile);
        double first = -1.0;
        double last = 0.0;
        int reads = 0;
        double bytes = 0;
        double characterDelays = 0;
        for (const TraceLine& line : trace.lines) {
            const bool parameterRead = line.direction == '>' &&
                                       line.bytes.contains(QRegularExpression("^05 .. 26 ")) &&
                                       !line.bytes.endsWith("12 00 00");
            if (parameterRead && first < 0)
                first = line.ms;
            if (first < 0 || line.direction == '!')
                continue;
            reads += parameterRead ? 1 : 0;
            bytes += line.bytes.count(' ') + 1;
            if (line.direction == '>')
                characterDelays += line.bytes.count(' ') * characterDelayMs;
            if (line.direction == '<' && line.bytes.contains(QRegularExpression("^.. .. (27|a7) ")))
                last = line.ms;
        }
        const double readMs = last - first;
        const double floorMs = reads * pausesPerParameterMs + bytes * 10.0 * 1000.0 / 38400 + characterDelays;
        const int between = requestsBetweenReadsAndFetches(trace.requests()).size();
        fprintf(stderr,
                "%s connect %d: %d parameters read in %.0f ms, floor %.0f ms (%.3f), %d requests between a "
                "read and its fetch\n",
                spec, ++connectNumber, reads, last - first, floorMs, (last - first) / floorMs, between);
        state.counters["parameters"] = reads;
        state.counters["read_ms"] = readMs;
        state.counters["floor_ms"] = floorMs;
        state.counters["over_floor"] = readMs / floorMs;
        state.counters["between_read_and_fetch"] = between;
        // Let the window go before the next connect.
        workbench.close();
        QCoreApplication::processEvents();
    }
}
BENCHMARK_CAPTURE(connectAndReadEverything, UM035_107, "UM035/107", "RT5-350-M18", 0)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(connectAndReadEverything, UK600_111, "UK600/111", "RT5-6000-M30", 1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
