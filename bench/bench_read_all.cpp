// Reading every parameter of the family's description document from a
// simulated sensor at 38400 baud, against what it cannot be faster than:
// the pauses the window must make between the exchanges plus the time the
// bytes take on the wire.
#include <PluginLibrary.h>
#include <SimulatedSensors.h>
#include <WorkbenchWindow.h>

#include <SimulatedPortDevice.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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
