#include "TestDocument.h"

#include <tools/SettingsFile.h>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

namespace {

std::string settingsText(const std::string& rootAttributes, const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root " + rootAttributes + ">\n" + body + "</root>\n";
}

const std::string ours = "pluginid=\"IoLinkMzRT5family\" sensorid=\"RT5-350-M18\"";

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
