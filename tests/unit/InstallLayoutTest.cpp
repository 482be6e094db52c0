#include <extensionsystem/InstallLayout.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using ExtensionSystem::dataFile;
using ExtensionSystem::pluginFolder;

// Each case lays out folders (ending in '/') and files under a root with
// bin/, the way a build tree or an unpacked package holds them, and names
// where the plug-ins and two data files are found from bin/.
TEST(InstallLayout, PluginsAndDataAreFoundBesideTheProgramFirstThenInTheInstalledPlaces)
{
    const struct
    {
        const char* what;
        QStringList layout;
        const char* plugins;
        const char* first;
        const char* second;
    } cases[] = {
        {"build tree", {"bin/plugins/", "bin/first.xml"}, "bin/plugins", "bin/first.xml", "bin/second.xml"},
        {"installed tree",
         {"lib/iolink-workbench/plugins/", "share/iolink-workbench/first.xml"},
         "lib/iolink-workbench/plugins",
         "share/iolink-workbench/first.xml",
         "bin/second.xml"},
        {"both",
         {"bin/plugins/", "lib/iolink-workbench/plugins/", "bin/first.xml",
          "share/iolink-workbench/first.xml", "share/iolink-workbench/second.xml"},
         "bin/plugins",
         "bin/first.xml",
         "share/iolink-workbench/second.xml"},
        {"nothing there", {}, "bin/plugins", "bin/first.xml", "bin/second.xml"}};
    for (const auto& c : cases) {
        QTemporaryDir root;
        const auto path = [&root](const QString& relative) { return root.path() + '/' + relative; };
        ASSERT_TRUE(QDir(root.path()).mkpath("bin"));
        for (const QString& entry : c.layout) {
            ASSERT_TRUE(QDir(root.path()).mkpath(entry.endsWith('/') ? entry : entry.section('/', 0, -2)));
            ASSERT_TRUE(entry.endsWith('/') || QFile(path(entry)).open(QIODevice::WriteOnly))
                << entry.toStdString();
        }
        EXPECT_EQ(pluginFolder(path("bin")), path(c.plugins)) << c.what;
        // A program folder given with a trailing slash gives clean paths.
        EXPECT_EQ(pluginFolder(path("bin/")), path(c.plugins)) << c.what;
        EXPECT_EQ(dataFile(path("bin"), "first.xml"), path(c.first)) << c.what;
        EXPECT_EQ(dataFile(path("bin"), "second.xml"), path(c.second)) << c.what;
    }
}
