#include <PluginLibrary.h>
#include <plugin/PluginExports.h>

#include <QFileInfo>

#include <gtest/gtest.h>

TEST(PluginExports, NoInterfaceWithoutSubWindow)
{
    ExtensionSystem::SensorBasic sensor;
    EXPECT_EQ(poGetInterfaceInstance(sensor, nullptr), nullptr);
}

TEST(PluginExports, SensorMapReplacesTheCallersList)
{
    std::list<ExtensionSystem::SensorBasic> sensors(3);
    vSensorMap(sensors);
    ASSERT_EQ(sensors.size(), 5u);
    for (const auto& sensor : sensors)
        EXPECT_FALSE(sensor.name().empty());
}

TEST(PluginLibrary, ResolvesTheExportsByTheirPlainNames)
{
    PluginLibrary plugin;
    ASSERT_TRUE(plugin.load(IOLINK_PLUGIN_FILE)) << plugin.errorString().toStdString();
    EXPECT_EQ(plugin.pluginName(), "IoLinkMzRT5family");
    EXPECT_EQ(plugin.communicationType(), "SERIAL");
    EXPECT_EQ(plugin.sensors().size(), 5u);
    EXPECT_EQ(PluginLibrary::pluginPath(QFileInfo(IOLINK_PLUGIN_FILE).path()), QString(IOLINK_PLUGIN_FILE));
}

TEST(PluginLibrary, ExplainsWhatIsWrong)
{
    PluginLibrary missing;
    EXPECT_FALSE(missing.load("/nonexistent/libIoLinkMzRT5family.so"));
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_TRUE(missing.errorString().contains("/nonexistent/libIoLinkMzRT5family.so"));

    // A real library that is not a sensor plug-in: the host framework itself.
    PluginLibrary foreign;
    EXPECT_FALSE(foreign.load(IOLINK_EXTENSIONSYSTEM_FILE));
    EXPECT_TRUE(foreign.errorString().contains("is not a sensor plug-in"));
    EXPECT_TRUE(foreign.errorString().contains("pcKavrixCalimoPluginName"));
    EXPECT_TRUE(foreign.errorString().contains("vSensorMap"));
}
