// The texts batch commands produce without a window: which settings differ
// from a file, the lines of the live-data log and the commissioning report.
#include <HelpDialogs.h>
#include <tools/CommissioningReport.h>
#include <tools/LiveLog.h>
#include <tools/SettingsCompare.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

namespace {

TEST(SettingsCompare, NumbersCompareAsTheFileHoldsThemAndOnlySharedIdsDiffer)
{
    EXPECT_TRUE(sameSettingsValue("321", "321.000000", false));
    EXPECT_TRUE(sameSettingsValue(" 7.1250000001", "7.125000", false));
    EXPECT_FALSE(sameSettingsValue("7.125001", "7.125000", false));
    EXPECT_FALSE(sameSettingsValue("300", "321.000000", false));
    // Texts are taken as they are: a tag "007" is not the tag "7".
    EXPECT_FALSE(sameSettingsValue("007", "7", true));
    EXPECT_TRUE(sameSettingsValue("Bay 7", "Bay 7", true));
    // Only ids both sides have can differ.
    const std::vector<SettingsEntry> file{
        {"OnDelay1", "100"}, {"Unknown", "1"}, {"LocationTag", "Hall"}, {"OnDelay1", "15"}};
    const std::vector<SettingsEntry> window{{"SwitchingThresholdA1", "300.000000"},
                                            {"OnDelay1", "0"},
                                            {"LocationTag", "Hall"},
                                            {"OffDelay1", "0"}};
    const auto differences = settingsDifferences(file, window, {"LocationTag"});
    ASSERT_EQ(differences.size(), 1u);
    // The last of two entries for one id counts, as when the file is loaded.
    EXPECT_EQ(differences[0].id, "OnDelay1");
    EXPECT_EQ(differences[0].fileValue, "15");
    EXPECT_EQ(differences[0].windowValue, "0");
    EXPECT_TRUE(settingsDifferences({}, window, {}).empty());
}

TEST(LiveLog, OneLinePerAnswerWithDistanceAndOutputsInAFileOfItsOwn)
{
    EXPECT_EQ(liveLogHeader(0), "time_ms,distance_mm,switch_1,switch_2\n");
    EXPECT_EQ(liveLogHeader(1), "time_ms,distance_inch,switch_1,switch_2\n");
    EXPECT_EQ(liveLogLine(85, QByteArray::fromHex("0870220004d20081"), 0), "85,1234,1,0\n");
    EXPECT_EQ(liveLogLine(170, QByteArray::fromHex("0870220004d20002"), 1), "170,123.4,0,1\n");
    EXPECT_EQ(liveLogLine(0, QByteArray::fromHex("087022007ffc0003"), 0), "0,no data,1,1\n");
    EXPECT_EQ(liveLogLine(0, QByteArray::fromHex("087022007ff80000"), 0), "0,too far,0,0\n");
    // A pattern that does not parse reads as too close, and its bits mean nothing.
    EXPECT_EQ(liveLogLine(0, QByteArray::fromHex("0870220080080003"), 0), "0,too close,0,0\n");

    // The file holds the header and whole lines; a new log replaces it.
    QTemporaryDir dir;
    const QString path = dir.filePath("live.csv");
    const QByteArray answer = QByteArray::fromHex("0870220004d20081");
    LiveLogFile log;
    EXPECT_FALSE(log.append(answer, 0));
    EXPECT_FALSE(log.start(dir.path(), 0).isEmpty());
    ASSERT_EQ(log.start(path, 0), QString());
    EXPECT_TRUE(log.append(answer, 0));
    EXPECT_TRUE(log.append(answer, 0));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "time_ms,distance_mm,switch_1,switch_2");
    EXPECT_TRUE(lines[2].endsWith(",1234,1,0"));
    file.close();
    ASSERT_EQ(log.start(path, 1), QString());
    log.stop();
    EXPECT_FALSE(log.isOpen());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), liveLogHeader(1).toUtf8());
}

TEST(CommissioningReport, RecordsIdentityGroupsAndWhyARowIsInDoubt)
{
    ReportContent content;
    content.sensorName = "RT5-350-M18";
    content.identity = {{"Serial number", "SN<4711>"}};
    content.port = "/dev/ttyUSB0";
    content.program = "iolink-workbench 1.0.0";
    ReportRow read{"Switching point A1", "300 mm", false, {}, false, {}};
    ReportRow unread{"Hysteresis A1", "10 mm", true, {}, false, {}};
    ReportRow differing{"On delay A1", "0 ms", false, {}, true, "15 ms"};
    content.groups = {{"Switching output A1", {read, unread, differing}}};
    const QString withoutFile = CommissioningReport::html(content, "chart.png");
    content.comparedFile = "line 4.kvs";
    const QString withFile = CommissioningReport::html(content, QString());
    const struct
    {
        const char* what;
        const QString& html;
        QString text;
        bool present;
    } cases[] = {
        {"identity, escaped", withoutFile, "SN&lt;4711&gt;", true},
        {"port", withoutFile, "/dev/ttyUSB0", true},
        {"group heading", withoutFile, "<h3>Switching output A1</h3>", true},
        {"row", withoutFile, "<td>Switching point A1</td><td>300 mm</td><td></td>", true},
        {"not-read mark", withoutFile, "<td>10 mm</td><td>not read</td>", true},
        {"no file, no differs mark", withoutFile, "differs from", false},
        {"no file said", withoutFile, "No settings file was saved or opened", true},
        {"chart", withoutFile, "<img src=\"chart.png\"", true},
        {"differs mark", withFile, "<td>0 ms</td><td>differs from line 4.kvs (15 ms there)</td>", true},
        {"only the differing row", withFile, "<td>300 mm</td><td></td>", true},
        {"file named", withFile, "compared with line 4.kvs", true},
        {"no chart", withFile, "<img", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.html.contains(c.text), c.present) << c.what;
}

} // namespace

// The Help menu's guide is the README's part under its heading, up to the
// next part, without the pictures a dialog cannot show.
TEST(HelpDialogs, TheGuideIsItsPartOfTheReadme)
{
    const QString readme = "# Title\nintro\n## Using it\nOpen a sensor.\n\n![shot](a.png)\n\nConnect.\n"
                           "### Batch commands\nRun one.\n## Building\nmake\n";
    EXPECT_EQ(markdownSection(readme, "Using it"), "## Using it\nOpen a sensor.\n\nConnect.\n"
                                                   "### Batch commands\nRun one.");
    EXPECT_EQ(markdownSection(readme, "Building"), "## Building\nmake");
    EXPECT_EQ(markdownSection(readme, "Missing"), "");
}
