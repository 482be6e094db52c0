// Commissioning a sensor from a settings file as a line does it: the batch
// command --write-settings as a whole process against a fresh iolink-sim at
// 38400 baud, for a sensor that differs from the file in 0, 3 and 20
// parameters, writing only what differs and writing everything (--write-all).
// The phases come from the progress lines on stderr as they arrive; the
// write of everything is held against what it cannot be faster than: the
// pauses the window must make around each write plus the bytes' wire time.
#include <SimulatorProcess.h>
#include <TraceAnalysis.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>

namespace {

const char* const sensorName = "RT5-600-M18";
const int baudRate = 38400;

// Writable rows that pull no other row along, each with a value inside
// what the variant allows and other than a fresh sensor's, written as the
// file writes them. The first three make the small case.
const char* const changes =
    "SwitchingThresholdA1=250;OnDelay1=100;LocationTag=hall 2 line 4;HysteresisA1=15;OffDelay1=200;"
    "NONCA1=1;NPNPNP1=1;DetectionRangeNear=40;DetectionRangeFar=550;MeasurementFilter=2;FilterStrength=5;"
    "TemperatureCompensation=0;SyncMode=1;TeachLoked=1;ErrorWarning1=2;ErrorWarning2=7;ErrorWarning4=5;"
    "CrashSensitivity=3;FunctionTag=station 7;AppSpecificTag=commissioned";

struct Run
{
    int status = -1;
    double totalMs = 0;
    QList<QPair<double, QString>> lines; // ms from the start, text after "iolink-workbench: "

    // When the first line beginning with text came; -1 when none did.
    double at(const QString& text) const
    {
        for (const auto& line : lines) {
            if (line.second.startsWith(text))
                return line.first;
        }
        return -1;
    }
};

// The workbench as a script on a line starts it (no display, settings of
// its own rather than the user's), against a simulator started afresh so
// that it holds its defaults.
Run workbench(const QString& home, const QStringList& command, QString* error)
{
    SimulatorProcess simulator;
    if (!simulator.start(IOLINK_SIM, {"--model", "UM060", "--variant", "113", "--baud", "38400"}, error))
        return Run();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(name);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"})
        env.insert(name, home);
    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setReadChannel(QProcess::StandardError);
    Run run;
    QElapsedTimer clock;
    QObject::connect(&process, &QProcess::readyReadStandardError, [&] {
        while (process.canReadLine()) {
            const QString line = QString::fromLocal8Bit(process.readLine()).trimmed();
            run.lines.append({clock.nsecsElapsed() / 1e6, line.mid(line.indexOf(": ") + 2)});
        }
    });
    QEventLoop loop;
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop, [&] {
        run.totalMs = clock.nsecsElapsed() / 1e6;
        loop.quit();
    });
    QTimer::singleShot(600000, &loop, &QEventLoop::quit);
    clock.start();
    process.start(IOLINK_WORKBENCH,
                  QStringList{"--port", simulator.path(), "--open", sensorName, "--lang", "en"} + command);
    if (!process.waitForStarted())
        return run;
    loop.exec();
    // One that hangs is killed and counts as crashed.
    process.kill();
    process.waitForFinished();
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

// base.kvs with the first count rows changed; false when a row is not in
// it or holds that value already, and would not differ.
bool writeChangedCopy(const QString& base, int count, const QString& fileName)
{
    QFile in(base);
    in.open(QIODevice::ReadOnly);
    QString text = QString::fromUtf8(in.readAll());
    for (const QString& change : QString(changes).split(';').mid(0, count)) {
        const QString id = change.section('=', 0, 0);
        const QString value = change.section('=', 1);
        const QRegularExpressionMatch entry =
            QRegularExpression(QString("[\";]%1=([^;\"]*);").arg(id)).match(text);
        bool numeric = false;
        const double wanted = value.toDouble(&numeric);
        if (!entry.hasMatch() || entry.captured(1) == value ||
            (numeric && entry.captured(1).toDouble() == wanted))
            return false;
        text.replace(entry.capturedStart(1), entry.capturedLength(1), value);
    }
    QFile out(fileName);
    return out.open(QIODevice::WriteOnly) && out.write(text.toUtf8()) > 0;
}

const char* const phaseNames[4] = {"connect", "read", "write", "verify"};

// From the progress lines: without a write there is no "Writing" line, and
// without a verification no "Verifying" line; the phase is 0 then.
std::array<double, 4> phasesOf(const Run& run)
{
    const double reading = run.at("Reading 1 of");
    const double finished = run.at("Finished after");
    const double wrote = run.at("Wrote") >= 0 ? run.at("Wrote") : finished;
    const double writing = run.at("Writing 1 of") >= 0 ? run.at("Writing 1 of") : wrote;
    const double verifying = run.at("Verifying 1 of") >= 0 ? run.at("Verifying 1 of") : wrote;
    return {reading, writing - reading, verifying - writing, finished - verifying};
}

struct WriteFloor
{
    double measuredMs = 0, floorMs = 0;
};

// The write of everything in its trace: from the fetch (or a tag's
// preparing request) before the first write to the last line before the
// first read that follows the writes. Each value write pauses 100 ms
// before its fetch, 100 ms before the write and 20 ms after; each tag
// 120 ms before, 50 ms after preparing, 100 ms after the write and 50 ms
// between the two process-data requests that end it.
WriteFloor writeFloorOf(const QString& traceFile)
{
    QList<TraceLine> lines;
    for (const TraceLine& line : TraceLines::read(traceFile).lines) {
        if (line.direction != '!')
            lines << line;
    }
    const auto isRequest = [&lines](int k, const char* pattern) {
        return lines[k].direction == '>' && lines[k].bytes.contains(QRegularExpression(pattern));
    };
    int first = -1;
    int last = -1;
    for (int k = 0; k < lines.size() && (first < 0 || !isRequest(k, "^05 .. 26 ")); ++k) {
        if (first < 0 && isRequest(k, "^.. .. 24 "))
            first = k;
        last = k;
    }
    if (first < 0)
        return {};
    // A write comes right after the answer to its fetch, or to a tag's preparing request.
    if (first >= 2 && (lines[first - 2].bytes == "02 73 27" || lines[first - 2].bytes == "02 52 25"))
        first -= 2;
    double bytes = 0;
    double pausesMs = 0;
    for (int k = first; k <= last; ++k) {
        bytes += lines[k].bytes.count(' ') + 1;
        if (isRequest(k, "^.. .. 24 "))
            pausesMs += lines[k].bytes.startsWith("25 ") ? 320 : 220;
    }
    const double leadMs = lines[first].bytes == "02 52 25" ? 120 : 100;
    return {lines[last].ms + 20 - (lines[first].ms - leadMs), pausesMs + bytes * 10 * 1000 / baudRate};
}

void commission(benchmark::State& state)
{
    const int differing = int(state.range(0));
    QString error;
    // The settings of a fresh sensor, read once for all cases.
    static QTemporaryDir dir;
    const QString base = dir.filePath("base.kvs");
    static const int baseStatus = workbench(dir.path(), {"--read-settings", base}, &error).status;
    if (baseStatus != 0) {
        state.SkipWithError(
            qPrintable(QString("reading %1 ended with %2 %3").arg(base).arg(baseStatus).arg(error)));
        return;
    }
    const QString file = dir.filePath(QString("differs_%1.kvs").arg(differing));
    if (!writeChangedCopy(base, differing, file)) {
        state.SkipWithError("a row to change is not in base.kvs or holds its new value already");
        return;
    }
    for (auto _ : state) {
        const char* const modes[2] = {"differing", "all"};
        Run runs[2];
        std::array<double, 4> phases[2];
        for (int mode = 0; mode < 2; ++mode) {
            QStringList command{"--write-settings", file, "--trace",
                                dir.filePath(QString("trace_%1.txt").arg(modes[mode]))};
            if (mode == 1)
                command << "--write-all";
            runs[mode] = workbench(dir.path(), command, &error);
            const QString said = runs[mode].lines.isEmpty() ? error : runs[mode].lines.last().second;
            if (runs[mode].status != 0 || runs[mode].at("Reading 1 of") < 0) {
                state.SkipWithError(
                    qPrintable(QString("%1: exit %2, %3").arg(modes[mode]).arg(runs[mode].status).arg(said)));
                return;
            }
            const std::string prefix = modes[mode];
            state.counters[prefix + "_ms"] = runs[mode].totalMs;
            phases[mode] = phasesOf(runs[mode]);
            for (int phase = 0; phase < 4; ++phase)
                state.counters[prefix + "_" + phaseNames[phase] + "_ms"] = phases[mode][phase];
        }
        // What a line waits for with the default command.
        state.SetIterationTime(runs[0].totalMs / 1000);
        const double ratio = runs[0].totalMs / runs[1].totalMs;
        state.counters["ratio_" + std::to_string(differing)] = ratio;
        const WriteFloor floor = writeFloorOf(dir.filePath("trace_all.txt"));
        state.counters["write_all_ms"] = floor.measuredMs;
        state.counters["write_all_floor_ms"] = floor.floorMs;
        state.counters["write_all_over_floor"] = floor.measuredMs / floor.floorMs;
        // Seconds of a run (phase -1) or of one of its phases.
        const auto s = [&](int mode, int phase) {
            return (phase < 0 ? runs[mode].totalMs : phases[mode][phase]) / 1000;
        };
        fprintf(stderr,
                "%d differing: what differs %.1f s (connect %.1f, read %.1f, write %.1f, verify %.1f), "
                "everything %.1f s (connect %.1f, read %.1f, write %.1f, verify %.1f), ratio %.3f; "
                "write of everything %.0f ms, floor %.0f ms (%.3f)\n",
                differing, s(0, -1), s(0, 0), s(0, 1), s(0, 2), s(0, 3), s(1, -1), s(1, 0), s(1, 1), s(1, 2),
                s(1, 3), ratio, floor.measuredMs, floor.floorMs, floor.measuredMs / floor.floorMs);
    }
}
BENCHMARK(commission)->Arg(0)->Arg(3)->Arg(20)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
