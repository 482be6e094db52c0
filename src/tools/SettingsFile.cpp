#include "SettingsFile.h"

#include "catalogue/DescriptionDocument.h"

#include <QCoreApplication>
#include <QFile>

#include <tinyxml2.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace NimbarSensorPlugin::Core {

namespace {

bool attributeEquals(const tinyxml2::XMLElement* element, const char* name, const std::string& expected)
{
    const char* value = element->Attribute(name);
    return value && expected == value;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Opening a named pipe for reading waits for a writer and a device may act
// on being opened, so the type is checked before the open. O_NONBLOCK and the
// second look keep a file swapped for a pipe in between from blocking.
// Returns the descriptor, or -1 with *problem set.
int openRegularFile(const QString& path, QString* problem)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) != 0) {
        *problem = errno == ENOENT
                       ? QCoreApplication::translate("SettingsFile", "The file %1 does not exist.").arg(path)
                       : QCoreApplication::translate("SettingsFile", "The file %1 cannot be read: %2")
                             .arg(path, systemError(errno));
        return -1;
    }
    const QString notRegular =
        QCoreApplication::translate("SettingsFile", "%1 is not a regular file.").arg(path);
    if (!S_ISREG(info.st_mode)) {
        *problem = notRegular;
        return -1;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *problem = QCoreApplication::translate("SettingsFile", "The file %1 cannot be read: %2")
                       .arg(path, systemError(errno));
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *problem = notRegular;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

} // namespace

QString checkReadableRegularFile(const QString& path)
{
    QString problem;
    const int fd = openRegularFile(path, &problem);
    if (fd >= 0)
        ::close(fd);
    return problem;
}

SettingsFileStatus readSettingsFile(const QString& path, const std::string& sensorName,
                                    SettingsFileContent* content)
{
    QString problem;
    const int fd = openRegularFile(path, &problem);
    if (fd < 0)
        return SettingsFileStatus::Unreadable;
    std::unique_ptr<FILE, int (*)(FILE*)> file(::fdopen(fd, "rb"), &std::fclose);
    if (!file) {
        ::close(fd);
        return SettingsFileStatus::Unreadable;
    }

    tinyxml2::XMLDocument document;
    if (document.LoadFile(file.get()) != tinyxml2::XML_SUCCESS)
        return SettingsFileStatus::Corrupted;
    const tinyxml2::XMLElement* root = document.FirstChildElement("root");
    if (!root)
        return SettingsFileStatus::Corrupted;
    if (!attributeEquals(root, "pluginid", familyId) || !attributeEquals(root, "sensorid", sensorName))
        return SettingsFileStatus::ForeignSensor;

    *content = SettingsFileContent();
    const tinyxml2::XMLElement* settings = root->FirstChildElement("pluginsettings");
    if (!settings)
        return SettingsFileStatus::Loaded;
    content->hasPluginSettings = true;
    if (const tinyxml2::XMLElement* tree = settings->FirstChildElement("propertytreedata")) {
        content->hasPropertyTreeData = true;
        content->propertyTreeData = tree->Attribute("data") ? tree->Attribute("data") : "";
    }
    if (const tinyxml2::XMLElement* chart = settings->FirstChildElement("chartdata")) {
        content->hasChartData = true;
        content->chartData = chart->Attribute("data") ? chart->Attribute("data") : "";
    }
    return SettingsFileStatus::Loaded;
}

} // namespace NimbarSensorPlugin::Core
