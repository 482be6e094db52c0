#pragma once

#include <QString>

namespace ExtensionSystem {

// Where the program finds its plug-ins and data files. In the build tree
// they lie beside the program (plug-ins in plugins/); installed, the program
// lies in <prefix>/bin, plug-ins in <prefix>/lib/iolink-workbench/plugins
// and data in <prefix>/share/iolink-workbench. Both places are taken
// relative to the program's folder, so a package unpacked under any root
// works as well as one installed in /usr. The build-tree place wins when
// both exist; when neither does, the answer is the build-tree place, so a
// message about a missing file names where a build would have put it.
QString pluginFolder(const QString& programFolder);
QString dataFile(const QString& programFolder, const QString& name);

// The same for the running program (QCoreApplication::applicationDirPath()).
QString pluginFolder();
QString dataFile(const QString& name);

} // namespace ExtensionSystem
