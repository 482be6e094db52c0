#include <PluginLibrary.h>
#include <plugin/PluginExports.h>

#include <QFileInfo>

#include <gtest/gtest.h>

TEST(PluginExports, SensorMapReplacesTheCallersListAndNoSubWindowGivesNoInterface)
{
    std::list<ExtensionSystem::SensorBasic> sensors(3);
    vSensorMap(sensors);
    ASSERT_EQ(sensors.size(), 5u);
    for (const auto& sensor : sensors)
        EXPECT_FALSE(sensor.name().empty());
    EXPECT_EQ(poGetInterfaceInstance(sensors.front(), nullptr), nullptr);
}

TEST(PluginLibrary, ResolvesTheExportsByTheirPlainNamesOrExplainsWhatIsWrong)
{
    PluginLibrary plugin;
    ASSERT_TRUE(plugin.load(IOLINK_PLUGIN_FILE)) << plugin.errorString().toStdString();
    EXPECT_EQ(plugin.pluginName() + " " + plugin.communicationType(), "IoLinkMzRT5family SERIAL");
    EXPECT_EQ(plugin.sensors().size(), 5u);
    EXPECT_EQ(PluginLibrary::pluginPath(QFileInfo(IOLINK_PLUGIN_FILE).path()), QString(IOLINK_PLUGIN_FILE));

    PluginLibrary missing;
    EXPECT_FALSE(missing.load("/nonexistent/libIoLinkMzRT5family.so") || missing.isLoaded());
    EXPECT_TRUE(missing.errorString().contains("/nonexistent/libIoLinkMzRT5family.so"));
    // A real library that is not a sensor plug-in: the host framework itself.
    PluginLibrary foreign;
    EXPECT_FALSE(foreign.load(IOLINK_EXTENSIONSYSTEM_FILE));
    for (const char* text : {"is not a sensor plug-in", "pcKavrixCalimoPluginName", "vSensorMap"})
        EXPECT_TRUE(foreign.errorString().contains(text)) << text;
}
