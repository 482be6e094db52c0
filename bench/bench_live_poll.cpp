// Live data from a simulated sensor at 38400 baud: how many poll answers
// the window gets per second against what the 85 ms poll cycle allows, and
// the CPU the workbench spends on it. IOLINK_LIVE_SECONDS sets
// the time watched (default 60 s).
#include <TraceAnalysis.h>

#include <PluginLibrary.h>
#include <SimulatedSensors.h>
#include <WorkbenchWindow.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

const double pollCycleMs = 85.0;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Answers to the poll's requests (process data, and the reads and fetches
// of its echo and crash-counter phases), and those of them that brought
// process data.
struct PollAnswers
{
    int all = 0;
    int processData = 0;
};

PollAnswers pollAnswers(const TraceLines& trace)
{
    PollAnswers answers;
    QString asked;
    for (const TraceLine& line : trace.lines) {
        if (line.direction == '>') {
            asked = line.bytes;
        } else if (line.direction == '<' && !asked.isEmpty()) {
            ++answers.all;
            answers.processData += asked == "02 70 22" ? 1 : 0;
            asked.clear();
        }
    }
    return answers;
}

void liveData(benchmark::State& state)
{
    const int seconds = qEnvironmentVariableIsSet("IOLINK_LIVE_SECONDS")
                            ? qEnvironmentVariableIntValue("IOLINK_LIVE_SECONDS")
                            : 60;
    PluginLibrary plugin;
    plugin.load(PluginLibrary::pluginPath(QCoreApplication::applicationDirPath() + "/plugins"));
    QTemporaryDir dir;
    const QString traceFile = dir.filePath("trace.txt");
    for (auto _ : state) {
        WorkbenchWindow workbench(plugin);
        QString error;
        const QString port =
            addSimulatedSensor(workbench.hostPorts(), "UM035/107",
                               QCoreApplication::applicationDirPath() + "/IoLinkMzRT5family.xml", &error);
        workbench.setPortLister([] { return QStringList(); });
        workbench.openSensor("RT5-350-M18");
        workbench.connectActiveSensor(port);
        // Only the live data goes to the trace: the connect's reads are over.
        workbench.hostPorts().setTraceFile(traceFile, &error);
        const double cpuBefore = cpuSeconds();
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double elapsedS = clock.nsecsElapsed() / 1e9;
        const double cpuS = cpuSeconds() - cpuBefore;
        workbench.hostPorts().setTraceFile(QString(), &error);
        state.SetIterationTime(elapsedS);

        const PollAnswers answers = pollAnswers(TraceLines::read(traceFile));
        state.counters["answers_per_s"] = answers.all / elapsedS;
        state.counters["process_data_per_s"] = answers.processData / elapsedS;
        state.counters["of_ideal"] = answers.all / elapsedS / (1000.0 / pollCycleMs);
        // The simulator runs in this process too; its share is small beside the window's.
        state.counters["cpu_of_one_core"] = cpuS / elapsedS;
        workbench.close();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(liveData)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

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
