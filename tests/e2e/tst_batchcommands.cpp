// The workbench's batch commands as a script runs them, without a display,
// against iolink-sim on a pseudo-terminal at 38400 baud with the real
// description document: exit status, output, files and bytes on the wire.
#include "SimulatorProcess.h"
#include "TraceAnalysis.h"
#include <TestDocuments.h>

#include <link/RequestFrames.h>
#include <parameters/ValueCodec.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include <sys/stat.h>

using namespace NimbarSensorPlugin::Core;

namespace {

struct Run
{
    int status = -1;
    QString out, err;
};

QString fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool writeText(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

// The parameter values a settings file holds, by id.
QMap<QString, QString> settingsValues(const QString& text)
{
    QMap<QString, QString> values;
    const QString data = QRegularExpression("propertytreedata data=\"([^\"]*)\"").match(text).captured(1);
    for (const QString& pair : data.split(';', Qt::SkipEmptyParts))
        values.insert(pair.section('=', 0, 0), pair.section('=', 1));
    return values;
}

// A live-data log of whole lines under its header.
bool wholeLog(const QString& text)
{
    return QRegularExpression("^time_ms,distance_mm,switch_1,switch_2\n"
                              "(\\d+,(\\d+(\\.\\d+)?|no data|too close|too far),[01],[01]\n)*$")
        .match(text)
        .hasMatch();
}

} // namespace

class BatchCommandsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    SimulatorProcess simulator;
    // The small document while a test runs on it (a whole read takes two seconds).
    QString smallDocument;

    QString path(const QString& name) const { return dir.filePath(name); }

    // The workbench as a script starts it: no display, no platform chosen.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        env.insert("XDG_CONFIG_HOME", path("config"));
        if (!smallDocument.isEmpty())
            env.insert("IOLINK_DESCRIPTION_DOCUMENT", smallDocument);
        return env;
    }

    // The workbench with the arguments, its trace in trace.txt unless they
    // name one, started by a shell after what limit says.
    Run workbench(QStringList arguments, int timeoutMs = 180000, const QString& limit = QString())
    {
        arguments += {"--lang", "en"};
        if (!arguments.contains("--trace"))
            arguments << "--trace" << path("trace.txt");
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start("/bin/sh",
                      QStringList{"-c", limit + "exec \"$0\" \"$@\"", IOLINK_WORKBENCH} + arguments);
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished();
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    // A batch command on the simulator's port; an empty file is left out.
    Run command(const QString& option, const QString& file)
    {
        return workbench(QStringList{"--port", simulator.path(), "--open",
                                     smallDocument.isEmpty() ? "RT5-350-M18" : "Test M18", option, file}
                             .filter(QRegularExpression(".")));
    }

    QStringList sent() const { return TraceLines::read(path("trace.txt")).requests(); }

    // A settings file of the sensor named that sets what data holds.
    QString settingsFile(const QString& name, const QString& data,
                         const QString& sensor = "RT5-350-M18") const
    {
        const QString file = path(name);
        writeText(file, "<?xml version=\"1.0\"?>\n<root pluginid=\"IoLinkMzRT5family\" sensorid=\"" + sensor +
                            "\"><pluginsettings><propertytreedata data=\"" + data +
                            "\"/></pluginsettings></root>\n");
        return file;
    }

    // The simulator with the faults given; the workbench follows it to the small document.
    bool startSimulator(const QStringList& faults = {}, bool small = false)
    {
        simulator.kill();
        QStringList arguments{
            "--model", small ? "UM060" : "UM035", "--variant", small ? "113" : "107", "--baud", "38400"};
        if (small) {
            smallDocument = path("small.xml");
            arguments << "--document" << smallDocument;
            if (!writeText(smallDocument, QString::fromUtf8(linkTestDocument())))
                return false;
        }
        QString error;
        const bool started = simulator.start(IOLINK_SIM, arguments + faults, &error);
        if (!started)
            qWarning().noquote() << error;
        return started;
    }

    // A named pipe, new for each run: nothing may wait on it.
    bool makeFifo() const
    {
        QFile::remove(path("fifo"));
        return ::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600) == 0;
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void init() { QVERIFY(startSimulator()); }

    void cleanup()
    {
        simulator.kill();
        smallDocument.clear();
    }

    // A read saves the settings; the report shows them as the tree does. A
    // compare and a write act on what differs from a file: what depends on a
    // written parameter goes after it, and everything written is read back.
    // The factory reset undoes the write. Only a write or a reset writes.
    void readReportCompareWriteAndReset()
    {
        // Paths are the file system's bytes, whatever the folder is called.
        QVERIFY(QDir(dir.path()).mkpath("Prüfung/Тест"));
        const QString saved = path("Prüfung/Тест/sensor.kvs");
        Run run = command("--read-settings", saved);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY(fileText(saved).contains("SwitchingThresholdA1=300.000000;"));
        QCOMPARE(writesOf(sent()), QStringList());

        const QString report = path("Prüfung/Тест/report.pdf");
        run = command("--report", report);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(writesOf(sent()), QStringList());
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-raw", report, "-"});
        QVERIFY2(pdftotext.waitForFinished() && pdftotext.exitCode() == 0,
                 "pdftotext (poppler-utils) could not read the report");
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
        // The identity and a row of each kind as the tree shows it, one nested in another.
        for (const char* row :
             {"Serial number 00000000", "Teach-in mode A1 Switching point", "Switching point A1 300 mm",
              "Switching behaviour A1 Normally open (NO)", "Switch-on delay A1 0 ms", "Filter strength 3",
              "Temperature compensation True"})
            QVERIFY2(text.contains(row), row);

        run = command("--compare", saved);
        QVERIFY2(run.status == 0 && run.out.isEmpty(), qPrintable(run.out + run.err));
        const QString changed = path("changed.kvs");
        QVERIFY(
            writeText(changed, fileText(saved)
                                   .replace("SwitchingThresholdA1=300.000000;", "SwitchingThresholdA1=321;")
                                   .replace(QRegularExpression("TeachInMode1=\\d+;"), "TeachInMode1=2;")));
        run = command("--compare", changed);
        QVERIFY2(run.status == 1, qPrintable(run.err));
        QCOMPARE(run.out,
                 QString("Teach-in mode A1\tWindow\tSwitching point\t\nSwitching point A1\t321\t300\tmm\n"));
        QCOMPARE(writesOf(sent()), QStringList());

        run = command("--write-settings", changed);
        QVERIFY2(run.status == 0, qPrintable(run.err + run.out));
        // Read first, so that what the file does not name keeps its value.
        QVERIFY(!run.err.contains("answered \"PC -> Sensor\""));
        QVERIFY2(run.err.contains("Writing 5 of 5 differing parameters"), qPrintable(run.err));
        // Teach mode, hysteresis, window below, switching point, window above.
        const std::pair<ParameterAddress, int> expected[] = {
            {{67, 1, 6}, 2}, {{66, 1, 7}, 10}, {{65, 1, 7}, 20}, {{64, 1, 7}, 321}, {{65, 2, 7}, 20}};
        QStringList writes, reads;
        for (const auto& [address, value] : expected) {
            writes << hex(writeRequest(address, value));
            reads << hex(readRequest(address.index, address.subIndex));
        }
        const QStringList requests = sent();
        QCOMPARE(writesOf(requests), writes);
        const int lastWrite = int(requests.lastIndexOf(QRegularExpression(".. .. 24 .*")));
        // The status poll's own reads (echoes, crash counter) aside.
        QCOMPARE(requests.mid(lastWrite).filter(QRegularExpression("^05 .. 26 (?!23 13|11 12)")), reads);
        QCOMPARE(writesApartFromTheirFetch(requests), QStringList());

        run = command("--factory-reset", QString());
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY(run.err.contains("All settings will be restored to factory defaults"));
        QCOMPARE(writesOf(sent()), QStringList{hex(factoryResetRequest())});
        run = command("--compare", saved);
        QVERIFY2(run.status == 0 && run.out.isEmpty(), qPrintable(run.out + run.err));
    }

    // What fails is said and ends the run as the sensor's problem, a value
    // the sensor did not take as a difference; a failed read leaves no file.
    void failuresAreNamed_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("silent master")
            << QStringList{"--silent"} << "--read-settings" << 2 << "No answer on PORT";
        QTest::newRow("port in use") << QStringList() << "--read-settings" << 2 << "is in use by process PID";
        QTest::newRow("value kept") << QStringList{"--ignore-writes", "64"} << "--write-settings" << 1
                                    << "Switching point A1: sent 250 mm, read back 300 mm";
        QTest::newRow("line lost while connecting")
            << QStringList{"--corrupt", "--fault-after", "40"} << "--factory-reset" << 2
            << "Not connected to a RT5-350-M18 on PORT.";
    }

    void failuresAreNamed()
    {
        QFETCH(QStringList, faults);
        QFETCH(QString, option);
        QFETCH(int, status);
        QFETCH(QString, message);
        QVERIFY(startSimulator(faults));
        QSerialPort holder(simulator.path());
        QVERIFY(!message.contains("PID") || holder.open(QIODevice::ReadWrite));
        message.replace("PORT", simulator.path())
            .replace("PID", QString::number(QCoreApplication::applicationPid()));
        const bool writing = option == "--write-settings";
        const Run run = command(option, writing ? settingsFile("moved.kvs", "SwitchingThresholdA1=250;")
                                        : option == "--read-settings" ? path("out.kvs")
                                                                      : QString());
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message), qPrintable(run.err.right(1000)));
        // A silent master was never asked who it is.
        QVERIFY2(!run.err.contains("does not match"), qPrintable(run.err));
        QVERIFY(!QFile::exists(path("out.kvs")));
        if (writing)
            QCOMPARE(writesOf(sent()), QStringList{hex(writeRequest({64, 1, 7}, 250))});
    }

    // Answers with bit errors are no values: their rows are named as not
    // read, and the file holds only what the sensor holds.
    void corruptedAnswersAreNotTakenForValues()
    {
        QVERIFY(startSimulator({}, true));
        const QString sound = path("sound.kvs");
        QCOMPARE(command("--read-settings", sound).status, 0);
        const QMap<QString, QString> held = settingsValues(fileText(sound));
        QVERIFY(held.size() > 10);

        QVERIFY(startSimulator({"--corrupt", "--fault-after", "40", "--fault-count", "3"}, true));
        const QString saved = path("corrupted.kvs");
        const Run run = command("--read-settings", saved);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(": Not read from the sensor: no answer"), qPrintable(run.err));
        const QMap<QString, QString> values = settingsValues(fileText(saved));
        QVERIFY(!values.isEmpty());
        for (auto value = values.cbegin(); value != values.cend(); ++value)
            QCOMPARE(value.key() + "=" + value.value(), value.key() + "=" + held.value(value.key()));
    }

    // Files that do not fit end as file problems and write nothing, however
    // far they got; a foreign one is refused before anything is sent.
    void filesThatDoNotFitWriteNothing()
    {
        // Both commands check a file alike: each gets half the files.
        const std::tuple<const char*, QString, QStringList> files[] = {
            {"--write-settings",
             settingsFile("foreign.kvs", "OnDelay1=5;", "RT5-6000-M30"),
             {"The selected settings are not for the current sensor"}},
            // Within the document's range, beyond this variant's.
            {"--write-settings",
             settingsFile("beyond.kvs", "SwitchingThresholdA1=9000;OnDelay1=5;"),
             {"Switching point A1: 9000 (allowed: 1 to 350 mm)"}},
            {"--compare",
             settingsFile("large.kvs", "HysteresisA1=2000;FilterStrength=99;"),
             {": 2000", ": 99"}},
            {"--write-settings",
             settingsFile("words.kvs", "OnDelay1=abc;OffDelay1=2x;OnDelay2=nan;OffDelay2=inf;"),
             {"abc", "2x", "nan", "inf"}},
            {"--write-settings", settingsFile("empty.kvs", ""), {"sets no parameter of this sensor"}}};
        for (const auto& [option, file, named] : files) {
            const Run run = command(option, file);
            QVERIFY2(run.status == 3 && run.out.isEmpty(),
                     qPrintable(option + (" " + file) + "\n" + run.err));
            for (const QString& text : named)
                QVERIFY2(run.err.contains(text), qPrintable(text + " not in\n" + run.err));
            QCOMPARE(writesOf(sent()), QStringList());
            QVERIFY(!file.endsWith("foreign.kvs") || sent().isEmpty());
        }
    }

    // A mistake on the command line ends with status 64 and a sentence before
    // anything is sent. SENSOR stands for a port and a sensor, @ for the
    // test's folder, EMPTY for an empty argument.
    // The description document is read whole from a regular file only: a
    // pipe or an endless device gives no sensors, at once, and says why.
    void theDocumentIsReadFromRegularFilesOnly()
    {
        QVERIFY(makeFifo());
        for (const QString& document : {path("fifo"), QString("/dev/zero")}) {
            smallDocument = document;
            const Run run = workbench({"--list-sensors"}, 30000);
            QVERIFY2(run.status == 0 && run.out.contains("sensors:       0\n"),
                     qPrintable(run.out + run.err));
            QVERIFY2(run.err.contains(document + " is not a regular file."), qPrintable(run.err));
        }
        // The window's own look at the document does not wait either.
        QCOMPARE(
            workbench({"--port", simulator.path(), "--open", "RT5-350-M18", "--factory-reset"}, 30000).status,
            64);
    }

    void badCommandLinesAreRefused_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("message");
        QList<std::pair<QString, QString>> rows{
            {"--port PORT --read-settings @x.kvs", "--open NAME"},
            {"--open RT5-350-M18 --compare @x.kvs", "--port DEV"},
            {"SENSOR --log @x.csv", "go together"},
            {"SENSOR --read-settings @x.kvs --factory-reset", "one batch command at a time"},
            {"SENSOR --compare @x.kvs --write-all", "--write-all goes with --write-settings"},
            {"--port PORT --open NoSuchSensor --factory-reset", "No sensor named"},
            {"SENSOR --raed-settings @x.kvs", "Unknown option 'raed-settings'"},
            {"--open RT5-350-M18", "needs a display"},
            {"--port EMPTY --open RT5-350-M18 --factory-reset", "--port needs the path of a serial device"},
            {"SENSOR --factory-reset --trace @fifo", "trace @fifo: it is not a regular file"}};
        for (const char* seconds : {"0", "4294968", "2592001", "-5", "soon"})
            rows.append({QString("SENSOR --log @x.csv --duration ") + seconds,
                         "--duration needs a whole number of seconds from 1 to 2592000"});
        for (const QString twice : {"--read-settings", "--open", "--trace", "--lang"})
            rows.append({"SENSOR --read-settings @x " + twice + " @y " + twice + " @z",
                         twice + " is given more than once"});
        for (const auto& [arguments, message] : rows)
            QTest::newRow(qPrintable(arguments)) << arguments << message;
    }

    void badCommandLinesAreRefused()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, message);
        QVERIFY(makeFifo());
        QFile::remove(path("trace.txt"));
        const QString folder = dir.path() + '/';
        const Run run = workbench(arguments.replace("SENSOR", "--port PORT --open RT5-350-M18")
                                      .replace("PORT", simulator.path())
                                      .replace('@', folder)
                                      .split(' ')
                                      .replaceInStrings("EMPTY", ""),
                                  30000);
        QCOMPARE(run.status, 64);
        QVERIFY2(run.err.contains(message.replace('@', folder)), qPrintable(run.err));
        QCOMPARE(sent(), QStringList());
    }

    // A file that cannot be written is found before anything is sent, and
    // nothing waits on a pipe. A size limit ends the run at once with the
    // system's reason: a save leaves no file, a log whole lines.
    void outputsThatCannotBeWrittenEndTheRun_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("file");
        for (const char* option : {"--read-settings", "--log", "--report"}) {
            for (const char* file : {"no/such/x", "folder", "fifo", "limited"})
                QTest::newRow(qPrintable(QString(option) + " " + file)) << option << file;
        }
    }

    void outputsThatCannotBeWrittenEndTheRun()
    {
        QFETCH(QString, option);
        QFETCH(QString, file);
        QVERIFY(QDir(dir.path()).mkpath("folder") && makeFifo());
        QFile::remove(path("limited"));
        const bool limited = file == "limited";
        file = path(file);
        QStringList arguments{"--port", simulator.path(), "--open", "RT5-350-M18", option, file};
        if (option == "--log")
            arguments << "--duration" << (limited ? "120" : "5");
        // The trace must not meet the limit first.
        if (limited)
            arguments += {"--trace", "/dev/stderr"};
        // Two blocks of 512 bytes: a few dozen log lines, less than the settings.
        const Run run = workbench(arguments, 90000, limited ? "ulimit -f 2 && " : QString());
        QCOMPARE(run.status, 3);
        QVERIFY2(run.err.contains(limited ? "File too large" : file + " cannot be written: "),
                 qPrintable(run.err.right(3000)));
        if (!limited) {
            QCOMPARE(sent(), QStringList());
        } else if (option != "--log") {
            QVERIFY(!QFile::exists(file));
        } else {
            const QString text = fileText(file);
            QVERIFY2(text.size() > 1024 - 20 && text.size() <= 1024 && wholeLog(text), qPrintable(text));
        }
    }

    // One line per answered poll, about every 90 ms, until the run ends at its
    // duration. Killed, the log keeps its lines whole; a run longer than a timer
    // holds still logs.
    void theLogHasALinePerAnsweredPollAndSurvivesAKill()
    {
        const QString log = path("live.csv");
        const Run run =
            workbench({"--port", simulator.path(), "--open", "RT5-350-M18", "--log", log, "--duration", "4"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QString text = fileText(log);
        QVERIFY2(wholeLog(text), qPrintable(text));
        const QStringList lines = text.split('\n').mid(1, text.count('\n') - 1);
        const double pace =
            (lines.last().section(',', 0, 0).toDouble() - lines.first().section(',', 0, 0).toDouble()) /
            (lines.size() - 1);
        QVERIFY2(pace >= 70 && pace <= 125, qPrintable(QString::number(pace)));
        // As many lines as process-data answers on the wire while logging.
        QVERIFY(sent().filter(hex(processDataRequest())).size() >= lines.size());

        const QString killed = path("killed.csv");
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(IOLINK_WORKBENCH, {"--port", simulator.path(), "--open", "RT5-350-M18", "--log", killed,
                                         "--duration", "2147484"});
        QTRY_VERIFY_WITH_TIMEOUT(fileText(killed).count('\n') >= 10, 60000);
        QCOMPARE(process.state(), QProcess::Running);
        ::kill(pid_t(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished(10000));
        QVERIFY2(!process.readAllStandardError().contains("Timer"), "the end of the run was not set");
        QVERIFY2(wholeLog(fileText(killed)), qPrintable(fileText(killed)));
    }
};

QTEST_GUILESS_MAIN(BatchCommandsTest)
#include "tst_batchcommands.moc"
