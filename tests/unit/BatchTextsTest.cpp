// The texts batch commands produce without a window: which settings differ
// from a file, the lines of the live-data log and the commissioning report.
#include <FileFaults.h>
#include <HelpDialogs.h>
#include <tools/CommissioningReport.h>
#include <tools/LiveLog.h>
#include <tools/SettingsCompare.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

// Numbers compare as the file holds them, texts as they are (a tag "007" is not the tag "7"); only ids
// both sides have can differ, and of two entries for one id the last counts, as when the file is loaded.
TEST(SettingsCompare, NumbersCompareAsTheFileHoldsThemAndOnlySharedIdsDiffer)
{
    const std::tuple<const char*, const char*, bool, bool> values[] = {
        {"321", "321.000000", false, true},
        {" 7.1250000001", "7.125000", false, true},
        {"7.125001", "7.125000", false, false},
        {"300", "321.000000", false, false},
        {"007", "7", true, false},
        {"Bay 7", "Bay 7", true, true}};
    for (const auto& [window, file, isText, same] : values)
        EXPECT_EQ(sameSettingsValue(window, file, isText), same) << window << " " << file;
    const std::vector<SettingsEntry> file{
        {"OnDelay1", "100"}, {"Unknown", "1"}, {"LocationTag", "Hall"}, {"OnDelay1", "15"}};
    const std::vector<SettingsEntry> window{{"SwitchingThresholdA1", "300.000000"},
                                            {"OnDelay1", "0"},
                                            {"LocationTag", "Hall"},
                                            {"OffDelay1", "0"}};
    const auto differences = settingsDifferences(file, window, {"LocationTag"});
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0].id + "|" + differences[0].fileValue + "|" + differences[0].windowValue,
              "OnDelay1|15|0");
    EXPECT_TRUE(settingsDifferences({}, window, {}).empty());
}

TEST(LiveLog, OneLinePerAnswerWithDistanceAndOutputsInAFileOfItsOwn)
{
    EXPECT_EQ(liveLogHeader(1), "time_ms,distance_inch,switch_1,switch_2\n");
    const std::tuple<int, const char*, int, QString> lines[] = {
        {85, "0870220004d20081", 0, "85,1234,1,0\n"},
        {170, "0870220004d20002", 1, "170,123.4,0,1\n"},
        {0, "087022007ffc0003", 0, "0,no data,1,1\n"},
        {0, "087022007ff80000", 0, "0,too far,0,0\n"},
        // A pattern that does not parse reads as too close, and its bits mean nothing.
        {0, "0870220080080003", 0, "0,too close,0,0\n"}};
    for (const auto& [time, answer, unit, line] : lines)
        EXPECT_EQ(liveLogLine(time, QByteArray::fromHex(answer), unit), line) << answer;

    // The file holds the header and whole lines; a new log replaces it.
    QTemporaryDir dir;
    const QString path = dir.filePath("live.csv");
    const QByteArray answer = QByteArray::fromHex("0870220004d20081");
    LiveLogFile log;
    EXPECT_FALSE(log.append(answer, 0));
    EXPECT_FALSE(log.start(dir.path(), 0).isEmpty());
    ASSERT_EQ(log.start(path, 0), QString());
    EXPECT_TRUE(log.append(answer, 0) && log.append(answer, 0));
    const QList<QByteArray> written = contentOf(path).split('\n');
    ASSERT_EQ(written.size(), 4);
    EXPECT_EQ(written[0], "time_ms,distance_mm,switch_1,switch_2");
    EXPECT_TRUE(written[2].endsWith(",1234,1,0"));
    ASSERT_EQ(log.start(path, 1), QString());
    log.stop();
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(contentOf(path), liveLogHeader(1).toUtf8());
}

TEST(CommissioningReport, RecordsIdentityGroupsAndWhyARowIsInDoubt)
{
    ReportContent content;
    content.sensorName = "RT5-350-M18";
    content.identity = {{"Serial number", "SN<4711>"}};
    content.port = "/dev/ttyUSB0";
    content.program = "iolink-workbench 1.0.0";
    content.groups = {{"Switching output A1", {{"Hysteresis A1", "10 mm", true, {}, false, {}}}}};
    const QString withoutFile = CommissioningReport::html(content, "chart.png");
    content.comparedFile = "line 4.kvs";
    const QString withFile = CommissioningReport::html(content, QString());
    for (const char* text : {"SN&lt;4711&gt;", "<h3>Switching output A1</h3>",
                             "<td>Hysteresis A1</td><td>10 mm</td><td>not read</td>",
                             "No settings file was saved or opened", "<img src=\"chart.png\""})
        EXPECT_TRUE(withoutFile.contains(text)) << text;
    EXPECT_TRUE(withFile.contains("compared with line 4.kvs"));
    EXPECT_FALSE(withFile.contains("<img"));
}

// The Help menu's guide is the README's part under its heading, up to the next part, without the pictures
// a dialog cannot show.
TEST(HelpDialogs, TheGuideIsItsPartOfTheReadme)
{
    const QString readme = "# Title\nintro\n## Using it\nOpen a sensor.\n\n![shot](a.png)\n\nConnect.\n"
                           "### Batch commands\nRun one.\n## Building\nmake\n";
    EXPECT_EQ(markdownSection(readme, "Using it"), "## Using it\nOpen a sensor.\n\nConnect.\n"
                                                   "### Batch commands\nRun one.");
    EXPECT_EQ(markdownSection(readme, "Building"), "## Building\nmake");
    EXPECT_EQ(markdownSection(readme, "Missing"), "");
}
