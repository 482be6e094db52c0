// --monitor for a while against two simulated sensors at 38400 baud and a
// real broker: process-data messages per second per sensor as a subscriber
// gets them, the monitor's CPU, and its resident memory after the first
// minute and at the end (a monitor runs for weeks: it must not grow).
// IOLINK_MONITOR_SECONDS sets the time watched (default 600 s).
#include <BrokerProcess.h>
#include <SimulatorProcess.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

// The monitor's resident memory in kB, from the kernel's record of it.
long residentKb(qint64 pid)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// User and system CPU seconds the process has used.
double cpuSeconds(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

void BM_MonitorTwoSensors(benchmark::State& state)
{
    const int seconds = qEnvironmentVariableIsSet("IOLINK_MONITOR_SECONDS")
                            ? qEnvironmentVariableIntValue("IOLINK_MONITOR_SECONDS")
                            : 600;
    for (auto _ : state) {
        QTemporaryDir folder;
        Broker broker(folder.path());
        if (!broker.start()) {
            state.SkipWithError("mosquitto did not start");
            return;
        }
        Subscriber subscriber;
        subscriber.start(broker.port(), "bench/devices/+/processdata/value");
        SimulatorProcess sensors[2];
        const QString links[2] = {folder.filePath("sensorA"), folder.filePath("sensorB")};
        QString error;
        for (int k = 0; k < 2; ++k) {
            if (!sensors[k].start(IOLINK_SIM,
                                  {"--model", "UM035", "--link", links[k], "--seed", QString::number(k + 1)},
                                  &error)) {
                state.SkipWithError(error.toUtf8().constData());
                return;
            }
        }
        QProcess monitor;
        monitor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        monitor.start(IOLINK_WORKBENCH,
                      {"--monitor", links[0] + "=RT5-350-M18", "--monitor", links[1] + "=RT5-350-M18",
                       "--mqtt", broker.address(), "--originator", "bench", "--journal",
                       folder.filePath("journal.jsonl")});
        monitor.waitForStarted();
        const qint64 pid = monitor.processId();
        // From the first message of the second sensor: both are connected then.
        waitUntil([&] { return subscriber.on("sensorB/processdata/value").size() > 0; }, 60000);
        const int countA = subscriber.on("sensorA/processdata/value").size();
        const int countB = subscriber.on("sensorB/processdata/value").size();
        const double cpuStart = cpuSeconds(pid);
        QTest::qWait(60000);
        const long afterOneMinute = residentKb(pid);
        QTest::qWait(std::max(0, seconds - 60) * 1000);
        const long atEnd = residentKb(pid);
        const double cpu = cpuSeconds(pid) - cpuStart;
        const double watched = std::max(seconds, 60);
        state.counters["messages_per_s_A"] =
            (subscriber.on("sensorA/processdata/value").size() - countA) / watched;
        state.counters["messages_per_s_B"] =
            (subscriber.on("sensorB/processdata/value").size() - countB) / watched;
        state.counters["cpu_percent"] = 100.0 * cpu / watched;
        state.counters["rss_1min_kB"] = double(afterOneMinute);
        state.counters["rss_end_kB"] = double(atEnd);
        monitor.terminate();
        monitor.waitForFinished(20000);
        state.counters["exit_status"] = monitor.exitCode();
    }
}
BENCHMARK(BM_MonitorTwoSensors)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
