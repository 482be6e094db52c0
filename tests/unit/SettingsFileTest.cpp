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

// Runs call on another thread. Should it hang in opening the pipe, a writer opened here releases it, so
// that a regression fails instead of stalling the suite.
template <typename Call> auto withoutHanging(const QString& fifo, Call call)
{
    auto result = std::async(std::launch::async, call);
    const bool finished = result.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!finished)
        ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK));
    EXPECT_TRUE(finished) << "hangs on a pipe";
    return result.get();
}

} // namespace

TEST(SettingsFile, OpensOnlyRegularFilesAndTellsWhy)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.kvs");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    SettingsFileContent content;
    EXPECT_EQ(withoutHanging(fifo, [&] { return checkReadableRegularFile(fifo); }),
              fifo + " is not a regular file.");
    EXPECT_EQ(withoutHanging(fifo, [&] { return readSettingsFile(fifo, "RT5-350-M18", &content); }),
              SettingsFileStatus::Unreadable);
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
}

// Numbers are written and read as C does; loading takes only whole finite numbers (nullopt marks those it
// refuses).
TEST(SettingsFile, NumbersReadAsCReadsThemAndLoadingTakesOnlyFiniteOnes)
{
    EXPECT_EQ(settingsDoubleText(-2.5) + " " + settingsDoubleText(19.685039370078), "-2.500000 19.685039");
    const std::tuple<const char*, double, int, std::optional<double>> cases[] = {
        {"500.000000", 500.0, 500, 500.0},
        {"  7.25xyz", 7.25, 7, std::nullopt},
        {" 7 ", 7.0, 7, 7.0},
        {"-3", -3.0, -3, -3.0},
        {"abc", 0.0, 0, std::nullopt},
        {"", 0.0, 0, std::nullopt},
        {"nan", 0.0, 0, std::nullopt},
        {"inf", HUGE_VAL, 0, std::nullopt},
        {"1e3", 1000.0, 1, 1000.0},
        {"1e400", HUGE_VAL, 1, std::nullopt},
        {"0x10", 16.0, 0, std::nullopt},
        {"7,5", 7.0, 7, std::nullopt},
        {"99999999999", 99999999999.0, INT_MAX, 99999999999.0}};
    for (const auto& [text, number, whole, strict] : cases) {
        EXPECT_EQ(settingsDouble(text), number) << text;
        EXPECT_EQ(settingsInt(text), whole) << text;
        EXPECT_EQ(strictSettingsNumber(text), strict) << text;
    }
}

// A parameter text splits at semicolons, then at the first and second equals sign; only tags keep
// characters beyond ASCII.
TEST(SettingsFile, ParameterTextAndItsCharacters)
{
    EXPECT_EQ(parameterText(parseParameterText("A=1;B=2=3;C;;D=;")), "A=1;B=2;C=;=;D=;=;");
    const std::string text = QString::fromUtf8("Süd ✓").toStdString();
    EXPECT_EQ(settingsTextValue("LocationTag", text), QString::fromUtf8("Süd ✓"));
    EXPECT_EQ(settingsTextValue("Name", "Plain text"), QString("Plain text"));
    const QString mangled = settingsTextValue("Name", text);
    EXPECT_TRUE(mangled.startsWith("S") && mangled.endsWith("d ?") && mangled != QString::fromUtf8("Süd ✓"))
        << mangled.toStdString();
}

// A written file reads back whole; files of another sensor or plug-in are foreign.
TEST(SettingsFile, WrittenFileReadsBackAndOthersAreForeign)
{
    TestDocument files;
    const std::string tree = QString::fromUtf8("A=1;Tag=a&b <c> \"d\" ü;").toStdString();
    const std::string text = settingsFileText("RT5-350-M18", tree, "1000:5;1085:6;");
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root pluginid=\"IoLinkMzRT5family\" "
                         "sensorid=\"RT5-350-M18\">\n    <pluginsettings>\n",
                         0),
              0u);
    const auto read = [&files](const std::string& fileText, SettingsFileContent* content) {
        return readSettingsFile(QString::fromStdString(files.write(fileText, "s.kvs")), "RT5-350-M18",
                                content);
    };
    SettingsFileContent content;
    ASSERT_EQ(read(text, &content), SettingsFileStatus::Loaded);
    EXPECT_TRUE(content.hasPluginSettings && content.hasPropertyTreeData && content.hasChartData);
    EXPECT_EQ(content.propertyTreeData + "|" + content.chartData, tree + "|1000:5;1085:6;");
    EXPECT_EQ(proposedSettingsFileName("ABC123", QDate(2026, 12, 4)), "ABC123-settings-04-12-2026.kvs");
    for (const char* attributes : {"pluginid=\"IoLinkMzRT5family\" sensorid=\"RT5-600-M18\"",
                                   "pluginid=\"OtherFamily\" sensorid=\"RT5-350-M18\"",
                                   "sensorid=\"RT5-350-M18\"", "pluginid=\"IoLinkMzRT5family\""})
        EXPECT_EQ(
            read(std::string("<?xml version=\"1.0\"?>\n<root ") + attributes + ">\n</root>\n", &content),
            SettingsFileStatus::ForeignSensor)
            << attributes;
}
