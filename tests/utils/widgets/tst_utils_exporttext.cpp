#include <utils/ValueOverTime.h>
#include <utils/widgets/ExportText.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>
#include <limits>

#include <sys/stat.h>

using Utils::ValueOverTime;

class ExportTextTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void delimiterFollowsTickedBoxes();
    void linesHoldLocalTimeValueUnitAndState();
    void localTimeStaysRightAcrossDaysAndClockChanges();
    void proposedNameCarriesTheDate();
    void saveCreatesOrReplacesARegularFile();
    void saveRefusesTargetsThatAreNoRegularFile();
};

namespace {

double localMs(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return double(QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms)).toMSecsSinceEpoch());
}

QList<QByteArray> lines(const QByteArray& text)
{
    return text.split('\n').mid(0, text.count('\n'));
}

} // namespace

void ExportTextTest::initTestCase()
{
    // A zone with daylight-saving switches, which the day-wise time conversion must handle.
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

void ExportTextTest::delimiterFollowsTickedBoxes()
{
    using Choice = Utils::ExportDelimiterChoice;
    const std::pair<Choice, QByteArray> cases[] = {
        {{true, false, false, false, false, ""}, "\t"}, {{false, true, true, false, false, ""}, ",;"},
        {{false, false, false, false, false, "|"}, ""}, // a text without its box
        {{false, false, false, false, true, "|"}, "|"}, {{true, true, true, true, true, "|"}, "\t,; |"},
    };
    for (const auto& [choice, delimiter] : cases)
        QCOMPARE(Utils::exportDelimiter(choice), delimiter);
}

void ExportTextTest::linesHoldLocalTimeValueUnitAndState()
{
    ValueOverTime data;
    data.append(localMs(2025, 7, 1, 0, 0, 0, 1), 1234.6);
    data.append(localMs(2025, 12, 31, 23, 59, 59, 999), -7.6);
    // A fractional millisecond is cut off.
    data.append(localMs(2026, 3, 9, 14, 7, 3, 40) + 0.75, -12.4);
    // A gap and the states keep their times, leave the value empty and say what they are.
    data.append(localMs(2026, 3, 9, 14, 7, 4, 0), std::numeric_limits<double>::quiet_NaN());
    data.appendState(localMs(2026, 3, 9, 14, 7, 5, 0), Utils::SampleState::TooClose);
    data.appendState(localMs(2026, 3, 9, 14, 7, 6, 0), Utils::SampleState::TooFar);
    data.appendState(localMs(2026, 3, 9, 14, 7, 7, 0), Utils::SampleState::NoData);
    const QList<QByteArray> text =
        lines(Utils::exportText(data, ",;", {"Zeit", "Abstand", "Einheit", "Zustand"}, "in"));
    const QList<QByteArray> expected = {
        "Zeit,;Abstand,;Einheit,;Zustand",        "01-07-2025 00:00:00.001,;1235,;in,;",
        "31-12-2025 23:59:59.999,;-8,;in,;",      "09-03-2026 14:07:03.040,;-12,;in,;",
        "09-03-2026 14:07:04.000,;,;in,;gap",     "09-03-2026 14:07:05.000,;,;in,;too close",
        "09-03-2026 14:07:06.000,;,;in,;too far", "09-03-2026 14:07:07.000,;,;in,;no data"};
    QCOMPARE(text, expected);
}

void ExportTextTest::localTimeStaysRightAcrossDaysAndClockChanges()
{
    // Every 37 minutes over a year and a half, and every minute around both clock changes of
    // 2026, checked against a plain QDateTime conversion of each sample.
    ValueOverTime data;
    const double start = localMs(2025, 10, 20, 0, 0, 0, 0);
    for (double t = start; t < start + 540.0 * 86400000; t += 37 * 60000 + 123)
        data.append(t, 1.0);
    for (const double around : {localMs(2026, 3, 29, 1, 0, 0, 0), localMs(2026, 10, 25, 1, 0, 0, 0)}) {
        for (double t = around; t < around + 3 * 3600000; t += 59999)
            data.append(t, 2.0);
    }
    const QList<QByteArray> text =
        lines(Utils::exportText(data, " ", {"Time", "Value", "Unit", "State"}, "mm"));
    QCOMPARE(text.size(), data.size() + 1);
    for (int i = 0; i < data.size(); ++i) {
        const QString time =
            QDateTime::fromMSecsSinceEpoch(qint64(data.x(i))).toString("dd-MM-yyyy hh:mm:ss.zzz");
        QCOMPARE(QString::fromLatin1(text[i + 1]), time + " " + QString::number(data.y(i), 'f', 0) + " mm ");
    }
}

void ExportTextTest::proposedNameCarriesTheDate()
{
    QCOMPARE(Utils::proposedExportFileName(QDate(2026, 12, 4)), QStringLiteral("export-04-12-2026.csv"));
}

void ExportTextTest::saveCreatesOrReplacesARegularFile()
{
    // The folder's name is not ASCII: paths are the file system's bytes.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("Prüfung-Тест"));
    const QString folder = dir.filePath("Prüfung-Тест");
    const QString path = folder + "/export.csv";
    QCOMPARE(Utils::saveExportFile(path, QByteArray(5000, 'a')), QString());
    QCOMPARE(Utils::saveExportFile(path, "Time;Value\n"), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Time;Value\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"export.csv"});
}

void ExportTextTest::saveRefusesTargetsThatAreNoRegularFile()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.csv");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& target : {fifo, dir.path()}) {
        QCOMPARE(Utils::saveExportFile(target, "Time;Value\n"),
                 "Cannot export to " + target + ": it is not a regular file");
    }
    const QString missing = dir.filePath("none/export.csv");
    QCOMPARE(Utils::saveExportFile(missing, "Time;Value\n"),
             "Cannot export to " + missing + ": the folder " + dir.filePath("none") + " does not exist");
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System), QStringList{"pipe.csv"});
}

QTEST_GUILESS_MAIN(ExportTextTest)
#include "tst_utils_exporttext.moc"
