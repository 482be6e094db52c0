#include "TestDocument.h"

#include <tools/SettingsFile.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace NimbarSensorPlugin::Core;

namespace {

std::string settingsText(const std::string& rootAttributes, const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root " + rootAttributes + ">\n" + body + "</root>\n";
}

const std::string ours = "pluginid=\"IoLinkMzRT5family\" sensorid=\"RT5-350-M18\"";

// Runs call on another thread. Should it hang in opening the pipe, a writer
// opened here releases it, so that a regression fails instead of stalling the
// suite; returns whether call finished on its own.
template <typename Result> bool finishesWithoutWriter(const QString& fifo, std::future<Result>& result)
{
    if (result.wait_for(std::chrono::seconds(10)) == std::future_status::ready)
        return true;
    const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0)
        ::close(writer);
    result.wait();
    return false;
}

} // namespace

TEST(SettingsFile, FilesOfAnotherSensorOrPlugInAreForeign)
{
    TestDocument files;
    SettingsFileContent content;
    for (const std::string& attributes :
         {std::string("pluginid=\"IoLinkMzRT5family\" sensorid=\"RT5-600-M18\""),
          std::string("pluginid=\"OtherFamily\" sensorid=\"RT5-350-M18\""),
          std::string("sensorid=\"RT5-350-M18\""), std::string("pluginid=\"IoLinkMzRT5family\"")}) {
        const std::string path = files.write(settingsText(attributes, ""), "s.kvs");
        EXPECT_EQ(readSettingsFile(QString::fromStdString(path), "RT5-350-M18", &content),
                  SettingsFileStatus::ForeignSensor)
            << attributes;
    }
}

TEST(SettingsFile, OpensOnlyRegularFilesAndTellsWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath("pipe.kvs");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    auto check = std::async(std::launch::async, [&] { return checkReadableRegularFile(fifo); });
    ASSERT_TRUE(finishesWithoutWriter(fifo, check));
    EXPECT_EQ(check.get(), fifo + " is not a regular file.");

    SettingsFileContent content;
    auto read =
        std::async(std::launch::async, [&] { return readSettingsFile(fifo, "RT5-350-M18", &content); });
    ASSERT_TRUE(finishesWithoutWriter(fifo, read));
    EXPECT_EQ(read.get(), SettingsFileStatus::Unreadable);

    EXPECT_EQ(checkReadableRegularFile(dir.path()), dir.path() + " is not a regular file.");
    EXPECT_EQ(readSettingsFile(dir.path(), "RT5-350-M18", &content), SettingsFileStatus::Unreadable);
    EXPECT_EQ(checkReadableRegularFile("/dev/full"), "/dev/full is not a regular file.");

    const QString missing = dir.filePath("absent.kvs");
    EXPECT_EQ(checkReadableRegularFile(missing), "The file " + missing + " does not exist.");

    // Larger than any settings file: refused without reading it.
    const QString huge = dir.filePath("huge.kvs");
    QFile sparse(huge);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize((qint64(1) << 30) + 1));
    sparse.close();
    EXPECT_EQ(checkReadableRegularFile(huge), "The file " + huge + " has 1025 MB; at most 1024 MB are read.");
    EXPECT_EQ(readSettingsFile(huge, "RT5-350-M18", &content), SettingsFileStatus::Unreadable);

    TestDocument files;
    const QString good = QString::fromStdString(files.write(settingsText(ours, ""), "s.kvs"));
    EXPECT_EQ(checkReadableRegularFile(good), QString());
    EXPECT_EQ(readSettingsFile(good, "RT5-350-M18", &content), SettingsFileStatus::Loaded);
}

// Numbers are written and read as C does; loading takes only whole finite
// numbers (nullopt marks those it refuses).
TEST(SettingsFile, NumbersReadAsCReadsThemAndLoadingTakesOnlyFiniteOnes)
{
    EXPECT_EQ(settingsDoubleText(500), "500.000000");
    EXPECT_EQ(settingsDoubleText(-2.5), "-2.500000");
    EXPECT_EQ(settingsDoubleText(19.685039370078), "19.685039");
    const struct
    {
        const char* text;
        double number;
        int whole;
        std::optional<double> strict;
    } cases[] = {
        {"500.000000", 500.0, 500, 500.0},
        {"  7.25xyz", 7.25, 7, std::nullopt},
        {" 7 ", 7.0, 7, 7.0},
        {"-3", -3.0, -3, -3.0},
        {"abc", 0.0, 0, std::nullopt},
        {"2x", 2.0, 2, std::nullopt},
        {"", 0.0, 0, std::nullopt},
        {"nan", 0.0, 0, std::nullopt},
        {"inf", HUGE_VAL, 0, std::nullopt},
        {"1e3", 1000.0, 1, 1000.0},
        {"1e400", HUGE_VAL, 1, std::nullopt},
        {"0x10", 16.0, 0, std::nullopt},
        {"7,5", 7.0, 7, std::nullopt},
        {"99999999999", 99999999999.0, INT_MAX, 99999999999.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(settingsDouble(c.text), c.number) << c.text;
        EXPECT_EQ(settingsInt(c.text), c.whole) << c.text;
        EXPECT_EQ(strictSettingsNumber(c.text), c.strict) << c.text;
    }
}

TEST(SettingsFile, ParameterTextSplitsAtSemicolonsAndTheFirstEquals)
{
    const std::vector<SettingsEntry> entries = parseParameterText("A=1;B=2=3;C;;D=;");
    const std::vector<std::pair<std::string, std::string>> expected = {{"A", "1"}, {"B", "2"}, {"C", ""},
                                                                       {"", ""},   {"D", ""},  {"", ""}};
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].id, expected[i].first) << i;
        EXPECT_EQ(entries[i].value, expected[i].second) << i;
    }
    EXPECT_EQ(parameterText({{"A", "1"}, {"Tag", "x y"}}), "A=1;Tag=x y;");
}

TEST(SettingsFile, OnlyTagsKeepCharactersBeyondAscii)
{
    const std::string text = QString::fromUtf8("Süd ✓").toStdString();
    EXPECT_EQ(settingsTextValue("LocationTag", text), QString::fromUtf8("Süd ✓"));
    EXPECT_EQ(settingsTextValue("Name", "Plain text"), QString("Plain text"));
    const QString mangled = settingsTextValue("Name", text);
    EXPECT_TRUE(mangled.startsWith("S") && mangled.endsWith("d ?") && mangled != QString::fromUtf8("Süd ✓"))
        << mangled.toStdString();
}

TEST(SettingsFile, WrittenFileReadsBack)
{
    TestDocument files;
    const std::string tree = QString::fromUtf8("A=1;Tag=a&b <c> \"d\" ü;").toStdString();
    const std::string text = settingsFileText("RT5-350-M18", tree, "1000:5;1085:6;");
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root pluginid=\"IoLinkMzRT5family\" "
                         "sensorid=\"RT5-350-M18\">\n    <pluginsettings>\n",
                         0),
              0u);
    SettingsFileContent content;
    ASSERT_EQ(readSettingsFile(QString::fromStdString(files.write(text, "s.kvs")), "RT5-350-M18", &content),
              SettingsFileStatus::Loaded);
    EXPECT_TRUE(content.hasPluginSettings && content.hasPropertyTreeData && content.hasChartData);
    EXPECT_EQ(content.propertyTreeData, tree);
    EXPECT_EQ(content.chartData, "1000:5;1085:6;");
    EXPECT_EQ(proposedSettingsFileName("ABC123", QDate(2026, 12, 4)), "ABC123-settings-04-12-2026.kvs");
}
