#include "TestDocument.h"

#include <tools/SettingsFile.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
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

TEST(SettingsFile, ReadsBothSectionsOfOurOwnFile)
{
    TestDocument files;
    const std::string path =
        files.write(settingsText(ours, "<pluginsettings>\n<propertytreedata data=\"A=1;B=2.500000;\"/>\n"
                                       "<chartdata data=\"1;2;3\"/>\n</pluginsettings>\n"),
                    "s.kvs");
    SettingsFileContent content;
    ASSERT_EQ(readSettingsFile(QString::fromStdString(path), "RT5-350-M18", &content),
              SettingsFileStatus::Loaded);
    EXPECT_TRUE(content.hasPluginSettings && content.hasPropertyTreeData && content.hasChartData);
    EXPECT_EQ(content.propertyTreeData, "A=1;B=2.500000;");
    EXPECT_EQ(content.chartData, "1;2;3");
}

TEST(SettingsFile, RefusesForeignAndBrokenFiles)
{
    TestDocument files;
    SettingsFileContent content;
    auto status = [&](const std::string& text) {
        return readSettingsFile(QString::fromStdString(files.write(text, "x.kvs")), "RT5-350-M18", &content);
    };
    EXPECT_EQ(status(settingsText("pluginid=\"IoLinkMzRT5family\" sensorid=\"RT5-600-M18\"", "")),
              SettingsFileStatus::ForeignSensor);
    EXPECT_EQ(status(settingsText("pluginid=\"Other\" sensorid=\"RT5-350-M18\"", "")),
              SettingsFileStatus::ForeignSensor);
    EXPECT_EQ(status(settingsText("pluginid=\"IoLinkMzRT5family\"", "")), SettingsFileStatus::ForeignSensor);
    EXPECT_EQ(status("<?xml version=\"1.0\"?>\n<settings/>\n"), SettingsFileStatus::Corrupted);
    EXPECT_EQ(status("<root pluginid=\"IoLinkMzRT5family\" sensorid=\"RT5-350-M18\"><pluginsettings>"),
              SettingsFileStatus::Corrupted);
    EXPECT_EQ(status(""), SettingsFileStatus::Corrupted);
    EXPECT_EQ(readSettingsFile(QString::fromStdString(files.missingPath()), "RT5-350-M18", &content),
              SettingsFileStatus::Unreadable);
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
    EXPECT_EQ(checkReadableRegularFile("/dev/null"), "/dev/null is not a regular file.");

    const QString missing = dir.filePath("absent.kvs");
    EXPECT_EQ(checkReadableRegularFile(missing), "The file " + missing + " does not exist.");

    TestDocument files;
    const QString good = QString::fromStdString(files.write(settingsText(ours, ""), "s.kvs"));
    EXPECT_EQ(checkReadableRegularFile(good), QString());
    EXPECT_EQ(readSettingsFile(good, "RT5-350-M18", &content), SettingsFileStatus::Loaded);
}
