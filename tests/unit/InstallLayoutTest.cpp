#include <extensionsystem/InstallLayout.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using ExtensionSystem::dataFile;
using ExtensionSystem::pluginFolder;

// Each case lays out folders (ending in '/') and files under a root with bin/, the way a build tree or an
// unpacked package holds them, and names where the plug-ins and two data files are found from bin/ (also
// when given with a trailing slash).
TEST(InstallLayout, PluginsAndDataAreFoundBesideTheProgramFirstThenInTheInstalledPlaces)
{
    const std::pair<QStringList, QString> cases[] = {
        {{"bin/plugins/", "bin/first.xml"}, "bin/plugins bin/first.xml bin/second.xml"},
        {{"lib/iolink-workbench/plugins/", "share/iolink-workbench/first.xml"},
         "lib/iolink-workbench/plugins share/iolink-workbench/first.xml bin/second.xml"},
        {{"bin/plugins/", "lib/iolink-workbench/plugins/", "bin/first.xml",
          "share/iolink-workbench/first.xml", "share/iolink-workbench/second.xml"},
         "bin/plugins bin/first.xml share/iolink-workbench/second.xml"},
        {{}, "bin/plugins bin/first.xml bin/second.xml"}};
    for (const auto& [layout, found] : cases) {
        QTemporaryDir root;
        const QDir top(root.path());
        ASSERT_TRUE(top.mkpath("bin"));
        for (const QString& entry : layout)
            ASSERT_TRUE(top.mkpath(entry.endsWith('/') ? entry : entry.section('/', 0, -2)) &&
                        (entry.endsWith('/') || QFile(top.filePath(entry)).open(QIODevice::WriteOnly)));
        const QString bin = top.filePath("bin");
        EXPECT_EQ(QStringList({pluginFolder(bin), pluginFolder(bin + '/'), dataFile(bin, "first.xml"),
                               dataFile(bin, "second.xml")})
                      .replaceInStrings(root.path() + '/', ""),
                  found.split(' ').mid(0, 1) + found.split(' '))
            << layout.join(' ').toStdString();
    }
}
