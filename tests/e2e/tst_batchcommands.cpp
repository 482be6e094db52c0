// The workbench's batch commands as a script runs them: the program started
// without a display against iolink-sim on a pseudo-terminal at 38400 baud,
// with the real description document, checked by exit status, output, the
// files written and the bytes on the wire.
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
#include <QXmlStreamReader>
#include <QtTest>

#include <csignal>

#include <sys/stat.h>

using namespace NimbarSensorPlugin::Core;

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
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

// A row of the document's parameter tree, in English.
struct DocumentRow
{
    QString caption;
    QString type;
    QString defaultValue;
    QStringList items;
    // Index, sub-index and size.
    QStringList address;
};

QMap<QString, DocumentRow> documentRows()
{
    QMap<QString, DocumentRow> rows;
    QFile file(IOLINK_DOCUMENT);
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    QXmlStreamReader xml(&file);
    QStringList path;
    // The rows being read, nested as in the document.
    QList<QPair<QString, DocumentRow>> open;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            path << xml.name().toString();
            if (path.contains("treeGui") && (path.last() == "property" || path.last() == "node"))
                open.append(qMakePair(QString(), DocumentRow()));
        } else if (token == QXmlStreamReader::Characters && !open.isEmpty()) {
            const QString at = path.mid(path.size() - 3).join('/');
            auto& [id, row] = open.last();
            const QString text = xml.text().toString();
            if (at.endsWith("property/id") || at.endsWith("node/id"))
                id = text;
            else if (at.endsWith("property/type") || at.endsWith("node/type"))
                row.type = text;
            else if (at.endsWith("property/defaultvalue"))
                row.defaultValue = text;
            else if (at.endsWith("property/text/en") || at.endsWith("node/text/en"))
                row.caption = text;
            else if (at == "items/item/en")
                row.items << text;
            else if (QRegularExpression("property/(index|subIndex|size)$").match(at).hasMatch())
                row.address << text;
        } else if (token == QXmlStreamReader::EndElement) {
            if (!open.isEmpty() && (path.last() == "property" || path.last() == "node")) {
                rows.insert(open.last().first, open.last().second);
                open.removeLast();
            }
            path.removeLast();
        }
    }
    return rows;
}

// The address of a parameter as the description document gives it.
std::optional<ParameterAddress> documentAddress(const QString& id)
{
    return parseParameterAddress(documentRows().value(id).address.join(';'));
}

// Whether words hold the caption with the value beside it. A row that wraps
// or meets a page's end puts the value, or a page number, among the
// caption's words.
bool holdsRow(const QStringList& words, const QString& caption, const QString& value)
{
    const QStringList captionWords = caption.split(' ', Qt::SkipEmptyParts);
    const QString valueText = value.simplified();
    for (int start = 0; start < words.size(); ++start) {
        int matched = 0;
        int end = start;
        for (; end < words.size() && matched < captionWords.size() && end - start < captionWords.size() + 4;
             ++end) {
            if (words[end] == captionWords[matched])
                ++matched;
            else if (matched == 0)
                break;
        }
        if (matched < captionWords.size())
            continue;
        const QString near = words.mid(start, end - start + valueText.count(' ') + 1).join(' ');
        if (valueText.isEmpty() || (' ' + near + ' ').contains(' ' + valueText + ' '))
            return true;
    }
    return false;
}

} // namespace

class BatchCommandsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    SimulatorProcess simulator;
    // Set while a test runs against the small document (a whole read takes
    // two seconds), empty for the real one.
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
    // name one; through "sh -c SHELL" when shell is given ("$0" "$@" is the
    // workbench and its arguments there).
    Run workbench(QStringList arguments, int timeoutMs = 180000, const QString& shell = QString())
    {
        arguments << "--lang"
                  << "en";
        if (!arguments.contains("--trace"))
            arguments << "--trace" << path("trace.txt");
        QProcess process;
        process.setProcessEnvironment(environment());
        if (shell.isEmpty())
            process.start(IOLINK_WORKBENCH, arguments);
        else
            process.start("/bin/sh", QStringList{"-c", shell, IOLINK_WORKBENCH} + arguments);
        Run run;
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished();
        }
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }

    Run command(const QString& option, const QString& file)
    {
        QStringList arguments{"--port", simulator.path(), "--open",
                              smallDocument.isEmpty() ? "RT5-350-M18" : "Test M18", option};
        if (!file.isEmpty())
            arguments << file;
        return workbench(arguments);
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

    // The simulator started again with the arguments given; the workbench
    // stays on the document it was on.
    bool restartSimulator(const QStringList& arguments)
    {
        simulator.kill();
        QString error;
        const bool started = simulator.start(IOLINK_SIM, arguments, &error);
        if (!started)
            qWarning().noquote() << error;
        return started;
    }

    // The simulator, with the faults given, and the workbench on the small
    // document from now on.
    bool startOnSmallDocument(const QStringList& faults = {})
    {
        smallDocument = path("small.xml");
        return writeText(smallDocument, QString::fromUtf8(linkTestDocument())) &&
               restartSimulator(QStringList{"--model", "UM060", "--variant", "113", "--baud", "38400",
                                            "--document", smallDocument} +
                                faults);
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void init() { QVERIFY(restartSimulator({"--model", "UM035", "--variant", "107", "--baud", "38400"})); }

    void cleanup()
    {
        simulator.kill();
        smallDocument.clear();
    }

    // Read, compare and write: each answers with its status, and a read or a
    // compare sends nothing that writes.
    void readCompareAndWriteRoundTrip()
    {
        // Paths are the file system's bytes, whatever the folder is called.
        QVERIFY(QDir(dir.path()).mkpath("Prüfung/Тест"));
        const QString saved = path("Prüfung/Тест/sensor.kvs");
        Run run = command("--read-settings", saved);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.err.contains("Reading 12 of "), qPrintable(run.err));
        QVERIFY(run.err.contains("Settings saved to " + saved));
        QVERIFY(fileText(saved).contains("SwitchingThresholdA1=300.000000;"));
        QVERIFY(sent().contains(hex(identityReadRequest())));
        QCOMPARE(writesOf(sent()), QStringList());
        QCOMPARE(requestsBetweenReadsAndFetches(sent()), QStringList());

        run = command("--compare", saved);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(run.out, QString());
        QCOMPARE(writesOf(sent()), QStringList());

        const QString changed = path("changed.kvs");
        QVERIFY(writeText(changed, fileText(saved).replace("SwitchingThresholdA1=300.000000;",
                                                           "SwitchingThresholdA1=321;")));
        run = command("--compare", changed);
        QVERIFY2(run.status == 1, qPrintable(run.err));
        QCOMPARE(run.out, QString("Switching point A1\t321\t300\tmm\n"));
        QCOMPARE(writesOf(sent()), QStringList());

        run = command("--write-settings", changed);
        QVERIFY2(run.status == 0, qPrintable(run.err + run.out));
        // The sensor is read first: what the file does not name keeps its
        // value, and only what differs goes out and is read back.
        QVERIFY(!run.err.contains("answered \"PC -> Sensor\""));
        QVERIFY(run.err.contains("Writing 1 of 1 differing parameters"));
        const auto address = documentAddress("SwitchingThresholdA1");
        QVERIFY(address);
        const QStringList requests = sent();
        QCOMPARE(writesOf(requests), QStringList{hex(writeRequest(*address, 321))});
        QCOMPARE(writesApartFromTheirFetch(requests), QStringList());
        QCOMPARE(requestsBetweenReadsAndFetches(requests), QStringList());
        const int lastWrite = int(requests.lastIndexOf(QRegularExpression(".. .. 24 .*")));
        QCOMPARE(requests.mid(lastWrite).filter(QRegularExpression("^05 .. 26 (?!23 13|11 12)")),
                 QStringList{hex(readRequest(quint16(address->index), quint8(address->subIndex)))});

        run = command("--compare", changed);
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        run = command("--compare", saved);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QString("Switching point A1\t300\t321\tmm\n"));
    }

    // The report holds who the sensor is and every parameter's caption and
    // value as the tree shows them, the settings read just before agreeing.
    void theReportHoldsEveryParameter()
    {
        const QString saved = path("commissioned.kvs");
        QVERIFY(command("--read-settings", saved).status == 0);
        const QString report = path("Prüfung report.pdf");
        const Run run = command("--report", report);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY(run.err.contains("Report written to " + report));
        QCOMPARE(writesOf(sent()), QStringList());

        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-raw", report, "-"});
        QVERIFY2(pdftotext.waitForFinished() && pdftotext.exitCode() == 0,
                 "pdftotext (poppler-utils) could not read the report");
        // A caption wrapped at its hyphen is one word again.
        const QStringList words = QString::fromUtf8(pdftotext.readAllStandardOutput())
                                      .replace(QRegularExpression("-\\s+"), "-")
                                      .split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        const QMap<QString, DocumentRow> rows = documentRows();
        QVERIFY(holdsRow(words, "Serial number", rows.value("SerialNumberReadOnly").defaultValue));
        const QMap<QString, QString> values = settingsValues(fileText(saved));
        QVERIFY(values.size() > 60);
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const DocumentRow row = rows.value(it.key());
            const CaptionParts caption = splitCaptionUnit(row.caption);
            QString value = it.value();
            if (row.type == "enumerator")
                value = row.items.value(value.toInt());
            else if (row.type == "bool")
                value = value.toInt() ? "True" : "False";
            else if (row.type == "int" || row.type == "double")
                value = QString::number(value.toDouble(), 'g', 10);
            if (!caption.unit.isEmpty())
                value += ' ' + caption.unit;
            QVERIFY2(holdsRow(words, caption.name, value),
                     qPrintable(it.key() + ": " + caption.name + " " + value));
        }
    }

    // A parameter that others depend on goes first, and they go after it
    // though they did not differ; a sensor that keeps its old value is
    // caught by reading back what was written, and nothing is sent twice.
    void whatDependsOnAWriteGoesWithItAndEveryWriteIsReadBack()
    {
        Run run = command("--write-settings", settingsFile("mode.kvs", "TeachInMode1=2;"));
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QStringList writes;
        QStringList reads;
        const std::pair<const char*, int> expected[] = {{"TeachInMode1", 2},
                                                        {"HysteresisA1", 10},
                                                        {"LowerThresholdA1", 20},
                                                        {"SwitchingThresholdA1", 300},
                                                        {"UpperThresholdA1", 20}};
        for (const auto& [id, value] : expected) {
            const auto address = documentAddress(id);
            QVERIFY2(address, id);
            writes << hex(writeRequest(*address, value));
            reads << hex(readRequest(quint16(address->index), quint8(address->subIndex)));
        }
        QStringList requests = sent();
        QCOMPARE(writesOf(requests), writes);
        const int lastWrite = int(requests.lastIndexOf(QRegularExpression(".. .. 24 .*")));
        QCOMPARE(requests.mid(lastWrite).filter(QRegularExpression("^05 .. 26 (?!23 13|11 12)")), reads);
        QCOMPARE(requestsBetweenReadsAndFetches(requests), QStringList());

        const auto threshold = documentAddress("SwitchingThresholdA1");
        QVERIFY(restartSimulator(
            {"--model", "UM035", "--variant", "107", "--ignore-writes", QString::number(threshold->index)}));
        run = command("--write-settings", settingsFile("moved.kvs", "SwitchingThresholdA1=250;"));
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("Switching point A1: sent 250 mm, read back 300 mm"), qPrintable(run.err));
        QCOMPARE(writesOf(sent()), QStringList{hex(writeRequest(*threshold, 250))});
    }

    void factoryResetRestoresAndReadsAgain()
    {
        const QString changed = path("offset.kvs");
        QVERIFY(command("--read-settings", changed).status == 0);
        QVERIFY(writeText(
            changed, fileText(changed).replace(QRegularExpression("OnDelay1=[0-9]*;"), "OnDelay1=2500;")));
        QCOMPARE(command("--write-settings", changed).status, 0);
        const Run run = command("--factory-reset", QString());
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY(run.err.contains("All settings will be restored to factory defaults"));
        // The window's restore, whose exchange on the wire the real line's test follows.
        QCOMPARE(writesOf(sent()), QStringList{hex(factoryResetRequest())});
        QCOMPARE(command("--compare", changed).out, QString("Switch-on delay A1\t2500\t0\tms\n"));
    }

    // A master that answers nothing is a sensor problem, said on stderr.
    void aSilentMasterIsAPortProblem()
    {
        QVERIFY(restartSimulator({"--model", "UM035", "--silent"}));
        const Run run = command("--read-settings", path("never.kvs"));
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("No answer on " + simulator.path()), qPrintable(run.err));
        // Only what happened: the sensor was never asked who it is.
        QVERIFY2(!run.err.contains("does not match"), qPrintable(run.err));
        QVERIFY(!QFile::exists(path("never.kvs")));
    }

    // A sensor that refuses a few reads: the file keeps what was read, and
    // the run says which rows are not the sensor's.
    void rowsNotReadAreASensorProblem()
    {
        QVERIFY(restartSimulator({"--model", "UM035", "--variant", "107", "--error", "--fault-after", "60",
                                  "--fault-count", "2"}));
        const QString saved = path("partial.kvs");
        const Run run = command("--read-settings", saved);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(": Not read from the sensor: "), qPrintable(run.err));
        QVERIFY(fileText(saved).contains("<propertytreedata data=\""));
        QCOMPARE(writesOf(sent()), QStringList());
    }

    // A tag may hold any text the sensor takes, the letters of the master's
    // ERROR answer too: it is read back as it is.
    void aTagHoldingTheLettersErrorIsRead()
    {
        QVERIFY(startOnSmallDocument());
        const QString tagged = settingsFile("tagged.kvs", "FunctionTag=Tank ERROR 7;", "Test M18");
        Run run = command("--write-settings", tagged);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QString saved = path("tag.kvs");
        run = command("--read-settings", saved);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(settingsValues(fileText(saved)).value("FunctionTag"), QString("Tank ERROR 7"));
    }

    // Answers whose bits went wrong on the line are no values: the rows they
    // were for are named as not read, and the file holds only what the
    // sensor holds. A line that stays bad is a sensor problem.
    void corruptedAnswersAreNotTakenForValues()
    {
        QVERIFY(startOnSmallDocument());
        const QString sound = path("sound.kvs");
        QCOMPARE(command("--read-settings", sound).status, 0);
        const QMap<QString, QString> held = settingsValues(fileText(sound));
        QVERIFY(held.size() > 10);

        QVERIFY(startOnSmallDocument({"--corrupt", "--fault-after", "40", "--fault-count", "3"}));
        const QString saved = path("corrupted.kvs");
        Run run = command("--read-settings", saved);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(": Not read from the sensor: no answer"), qPrintable(run.err));
        const QMap<QString, QString> values = settingsValues(fileText(saved));
        QVERIFY(!values.isEmpty());
        for (auto value = values.cbegin(); value != values.cend(); ++value)
            QCOMPARE(value.key() + "=" + value.value(), value.key() + "=" + held.value(value.key()));

        // A restore on the real document, whose reading would go on long
        // after the line went bad.
        smallDocument.clear();
        QVERIFY(restartSimulator(
            {"--model", "UM035", "--variant", "107", "--baud", "38400", "--corrupt", "--fault-after", "40"}));
        run = command("--factory-reset", QString());
        QVERIFY2(run.status != 0, qPrintable(run.err));
    }

    // Files that do not fit end as file problems and write nothing, however
    // far they got: foreign, broken and missing ones before anything is
    // sent, values the sensor cannot hold or that are no numbers and files
    // that set nothing of this sensor once it was read.
    void filesThatDoNotFitWriteNothing()
    {
        QVERIFY(writeText(path("broken.kvs"), "<root pluginid="));
        const struct
        {
            QString file;
            QStringList named;
            bool sendsNothing;
        } files[] = {
            {settingsFile("foreign.kvs", "OnDelay1=5;", "RT5-6000-M30"),
             {"The selected settings are not for the current sensor"},
             true},
            {path("broken.kvs"), {"The selected settings are corupted"}, true},
            {path("missing.kvs"), {"does not exist"}, true},
            // Within the document's range, beyond this variant's.
            {settingsFile("beyond.kvs", "SwitchingThresholdA1=9000;OnDelay1=5;"),
             {"Switching point A1: 9000 (allowed: 1 to 350 mm)"},
             false},
            {settingsFile("large.kvs", "HysteresisA1=2000;FilterStrength=99;"), {": 2000", ": 99"}, false},
            {settingsFile("words.kvs", "OnDelay1=abc;OffDelay1=2x;OnDelay2=nan;OffDelay2=inf;"),
             {"abc", "2x", "nan", "inf"},
             false},
            {settingsFile("unknown.kvs", "NoSuchRow=5;"), {"sets no parameter of this sensor"}, false},
            {settingsFile("empty.kvs", ""), {"sets no parameter of this sensor"}, false},
        };
        for (const char* option : {"--compare", "--write-settings"}) {
            for (const auto& [file, named, sendsNothing] : files) {
                const Run run = command(option, file);
                QVERIFY2(run.status == 3, qPrintable(option + (" " + file) + "\n" + run.err));
                for (const QString& text : named)
                    QVERIFY2(run.err.contains(text), qPrintable(text + " not in\n" + run.err));
                QCOMPARE(writesOf(sent()), QStringList());
                QCOMPARE(run.out, QString());
                QVERIFY(!sendsNothing || sent().isEmpty());
            }
        }
        QCOMPARE(command("--read-settings", path("no/such/folder/x.kvs")).status, 3);
    }

    // Every mistake on the command line ends with status 64 and a sentence,
    // on a machine without a display too, before anything is sent.
    void badCommandLinesAreRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        // The simulator starts for each row: its path is put in then.
        const QString port = "PORT";
        const QStringList sensor{"--port", port, "--open", "RT5-350-M18"};
        QTest::newRow("no sensor") << QStringList{"--port", port, "--read-settings", path("x.kvs")}
                                   << "--open NAME";
        QTest::newRow("no port") << QStringList{"--open", "RT5-350-M18", "--compare", path("x.kvs")}
                                 << "--port DEV";
        QTest::newRow("log without duration")
            << sensor + QStringList{"--log", path("x.csv")} << "go together";
        QTest::newRow("two commands")
            << sensor + QStringList{"--read-settings", path("x.kvs"), "--factory-reset"}
            << "one batch command at a time";
        QTest::newRow("write-all without write-settings")
            << sensor + QStringList{"--compare", path("x.kvs"), "--write-all"}
            << "--write-all goes with --write-settings";
        QTest::newRow("no such sensor")
            << QStringList{"--port", port, "--open", "NoSuchSensor", "--factory-reset"} << "No sensor named";
        for (const char* seconds : {"0", "4294968", "2592001", "-5", "soon"})
            QTest::newRow(qPrintable(QString("duration ") + seconds))
                << sensor + QStringList{"--log", path("x.csv"), "--duration", seconds}
                << "--duration needs a whole number of seconds from 1 to 2592000";
        QTest::newRow("misspelt option")
            << sensor + QStringList{"--raed-settings", path("x.kvs")} << "Unknown option 'raed-settings'";
        QTest::newRow("window without display") << QStringList{"--open", "RT5-350-M18"} << "needs a display";
        QTest::newRow("bad quit-after")
            << QStringList{"--quit-after", "soon"} << "--quit-after needs a number";
        QTest::newRow("bad size") << QStringList{"--size", "1280"} << "--size needs a width and a height";
        QTest::newRow("empty port") << QStringList{"--port", "", "--open", "RT5-350-M18", "--factory-reset"}
                                    << "--port needs the path of a serial device";
        for (const char* twice : {"--read-settings", "--open", "--trace", "--lang"})
            QTest::newRow(twice) << sensor + QStringList{"--read-settings", path("x.kvs"), twice,
                                                         path("y"),         twice,         path("z")}
                                 << QString(twice) + " is given more than once";
        QVERIFY(QDir(dir.path()).mkpath("folder"));
        for (const QString& trace : {path("folder"), path("fifo")})
            QTest::newRow(qPrintable("trace to " + trace))
                << sensor + QStringList{"--factory-reset", "--trace", trace}
                << "cannot write the protocol trace " + trace + ": it is not a regular file";
    }

    void badCommandLinesAreRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        arguments.replaceInStrings(QRegularExpression("^PORT$"), simulator.path());
        QFile::remove(path("fifo"));
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600) == 0);
        QFile::remove(path("trace.txt"));
        const Run run = workbench(arguments, 30000);
        QCOMPARE(run.status, 64);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(sent(), QStringList());
    }

    // The description document is read whole from a regular file, under any
    // folder name; a pipe or an endless device gives no sensors, at once.
    void theDocumentIsReadFromRegularFilesOnly_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("listed");
        QVERIFY(QDir(dir.path()).mkpath("Prüfung/Тест"));
        const QString copy = path("Prüfung/Тест/document.xml");
        QFile::remove(copy);
        QVERIFY(QFile::copy(IOLINK_DOCUMENT, copy));
        QTest::newRow("folder not in ASCII") << copy << "UM035\tRT5-350-M18\n";
        QTest::newRow("named pipe") << path("fifo") << "sensors:       0\n";
        QTest::newRow("endless device") << "/dev/zero"
                                        << "sensors:       0\n";
    }

    void theDocumentIsReadFromRegularFilesOnly()
    {
        QFETCH(QString, document);
        QFETCH(QString, listed);
        QFile::remove(path("fifo"));
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600) == 0);
        smallDocument = document;
        Run run = workbench({"--list-sensors"}, 30000);
        QVERIFY2(run.status == 0 && run.out.contains(listed), qPrintable(run.out + run.err));
        if (!listed.startsWith("sensors"))
            return;
        QVERIFY2(run.err.contains(document + " is not a regular file."), qPrintable(run.err));
        // The window's own look at the document does not wait either.
        run = workbench({"--port", simulator.path(), "--open", "RT5-350-M18", "--factory-reset"}, 30000);
        QCOMPARE(run.status, 64);
    }

    // A file that cannot be written is found before the sensor is asked
    // anything; nothing waits on a pipe.
    void outputsThatCannotBeWrittenAreFoundFirst_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("file");
        QVERIFY(QDir(dir.path()).mkpath("folder"));
        for (const char* option : {"--read-settings", "--log", "--report"}) {
            QTest::newRow(qPrintable(QString(option) + " missing folder")) << option << path("no/such/x");
            QTest::newRow(qPrintable(QString(option) + " folder")) << option << path("folder");
            QTest::newRow(qPrintable(QString(option) + " pipe")) << option << path("fifo");
        }
    }

    void outputsThatCannotBeWrittenAreFoundFirst()
    {
        QFETCH(QString, option);
        QFETCH(QString, file);
        QFile::remove(path("fifo"));
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600) == 0);
        QStringList arguments{"--port", simulator.path(), "--open", "RT5-350-M18", option, file};
        if (option == "--log")
            arguments << "--duration"
                      << "5";
        const Run run = workbench(arguments, 30000);
        QCOMPARE(run.status, 3);
        QVERIFY2(run.err.contains(file + " cannot be written: "), qPrintable(run.err));
        QCOMPARE(sent(), QStringList());
    }

    // A file that meets a size limit (or a full disk) ends the run at once
    // with the system's reason; a save leaves no file, a log whole lines.
    void aFileThatCannotGrowEndsTheRun_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("read settings") << "--read-settings";
        QTest::newRow("log") << "--log";
        QTest::newRow("report") << "--report";
    }

    void aFileThatCannotGrowEndsTheRun()
    {
        QFETCH(QString, option);
        const QString file = path("limited");
        QFile::remove(file);
        QStringList arguments{"--port", simulator.path(), "--open",     "RT5-350-M18", option,
                              file,     "--trace",        "/dev/stderr"};
        if (option == "--log")
            arguments << "--duration"
                      << "120";
        // Two blocks of 512 bytes: a few dozen log lines, less than the settings.
        const Run run = workbench(arguments, 90000, "ulimit -f 2 && exec \"$0\" \"$@\"");
        QVERIFY2(run.status == 3 && run.err.contains("File too large"),
                 qPrintable(QString("status %1\n%2").arg(run.status).arg(run.err.right(3000))));
        if (option != "--log") {
            QVERIFY(!QFile::exists(file));
            return;
        }
        const QString text = fileText(file);
        QVERIFY2(text.size() > 1024 - 20 && text.size() <= 1024, qPrintable(QString::number(text.size())));
        QVERIFY(text.endsWith('\n'));
        for (const QString& line : text.split('\n', Qt::SkipEmptyParts).mid(1))
            QCOMPARE(line.count(','), 3);
    }

    // A port another program holds is named with its holder.
    void aPortInUseNamesItsHolder()
    {
        QSerialPort holder(simulator.path());
        QVERIFY2(holder.open(QIODevice::ReadWrite), qPrintable(holder.errorString()));
        const Run run = command("--read-settings", path("held.kvs"));
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(QString("is in use by process %1").arg(QCoreApplication::applicationPid())),
                 qPrintable(run.err));
    }

    // One line per answered poll, about every 90 ms at 38400 baud.
    void theLogHasALinePerAnsweredPoll()
    {
        const QString log = path("live.csv");
        const Run run =
            workbench({"--port", simulator.path(), "--open", "RT5-350-M18", "--log", log, "--duration", "5"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QStringList lines = fileText(log).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QString("time_ms,distance_mm,switch_1,switch_2"));
        QVERIFY2(lines.size() - 1 >= 40 && lines.size() - 1 <= 70, qPrintable(QString::number(lines.size())));
        const QRegularExpression line("^\\d+,(\\d+(\\.\\d+)?|no data|too close|too far),[01],[01]$");
        for (const QString& text : lines.mid(1))
            QVERIFY2(line.match(text).hasMatch(), qPrintable(text));
        // As many lines as process-data answers on the wire while logging.
        const int polls = int(sent().filter(hex(processDataRequest())).size());
        QVERIFY(polls >= lines.size() - 1);
    }

    // Killed mid-run, the log keeps every line written so far, each whole.
    // The run is one of more milliseconds than a timer holds: it still logs.
    void aKilledLogKeepsItsLines()
    {
        const QString log = path("killed.csv");
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(IOLINK_WORKBENCH, {"--port", simulator.path(), "--open", "RT5-350-M18", "--log", log,
                                         "--duration", "2147484"});
        QTRY_VERIFY_WITH_TIMEOUT(fileText(log).count('\n') >= 20, 60000);
        QCOMPARE(process.state(), QProcess::Running);
        ::kill(pid_t(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished(10000));
        QVERIFY2(!process.readAllStandardError().contains("Timer"), "the end of the run was not set");
        const QString text = fileText(log);
        QVERIFY(text.endsWith('\n'));
        QVERIFY(text.count('\n') >= 20);
        for (const QString& line : text.split('\n', Qt::SkipEmptyParts).mid(1))
            QCOMPARE(line.count(','), 3);
    }
};

QTEST_GUILESS_MAIN(BatchCommandsTest)
#include "tst_batchcommands.moc"
