#include "InstallLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ExtensionSystem {

namespace {

// Relative to <prefix>/bin; the install rules in the top CMakeLists.txt put
// the files there.
const char* const installedPluginFolder = "../lib/iolink-workbench/plugins";
const char* const installedDataFolder = "../share/iolink-workbench";

QString firstExisting(const QString& beside, const QString& installed)
{
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
    return beside;
}

} // namespace

QString pluginFolder(const QString& programFolder)
{
    const QDir program(programFolder);
    return firstExisting(QDir::cleanPath(program.filePath("plugins")),
                         QDir::cleanPath(program.filePath(installedPluginFolder)));
}

QString dataFile(const QString& programFolder, const QString& name)
{
    const QDir program(programFolder);
    return firstExisting(QDir::cleanPath(program.filePath(name)),
                         QDir::cleanPath(program.filePath(QString(installedDataFolder) + '/' + name)));
}

QString pluginFolder()
{
    return pluginFolder(QCoreApplication::applicationDirPath());
}

QString dataFile(const QString& name)
{
    return dataFile(QCoreApplication::applicationDirPath(), name);
}

} // namespace ExtensionSystem
