#include "PluginLibrary.h"

#include <QCoreApplication>
#include <QDir>

namespace {

template <typename Function>
bool resolve(QLibrary& library, const char* name, Function* out, QStringList* missing)
{
    *out = reinterpret_cast<Function>(library.resolve(name));
    if (!*out)
        missing->append(QString::fromLatin1(name));
    return *out != nullptr;
}

} // namespace

bool PluginLibrary::load(const QString& path)
{
    m_loaded = false;
    m_library.setFileName(path);
    if (!m_library.load()) {
        m_error = QCoreApplication::translate("PluginLibrary", "Cannot load the sensor plug-in %1: %2")
                      .arg(QDir::toNativeSeparators(path), m_library.errorString());
        return false;
    }
    QStringList missing;
    resolve(m_library, "vInitialisePlugin", &m_initialise, &missing);
    resolve(m_library, "pcKavrixCalimoPluginName", &m_name, &missing);
    resolve(m_library, "pcPluginVersion", &m_version, &missing);
    resolve(m_library, "pcDescription", &m_description, &missing);
    resolve(m_library, "pcCommunicationType", &m_communicationType, &missing);
    resolve(m_library, "poGetInterfaceInstance", &m_instance, &missing);
    resolve(m_library, "vSensorMap", &m_sensorMap, &missing);
    if (!missing.isEmpty()) {
        m_error = QCoreApplication::translate("PluginLibrary", "%1 is not a sensor plug-in: it lacks %2")
                      .arg(QDir::toNativeSeparators(path), missing.join(", "));
        m_library.unload();
        return false;
    }
    m_initialise();
    m_loaded = true;
    m_error.clear();
    return true;
}

QString PluginLibrary::pluginName() const
{
    return QString::fromLatin1(m_name());
}

QString PluginLibrary::version() const
{
    return QString::fromLatin1(m_version());
}

QString PluginLibrary::description() const
{
    return QString::fromLatin1(m_description());
}

QString PluginLibrary::communicationType() const
{
    return QString::fromLatin1(m_communicationType());
}

std::list<ExtensionSystem::SensorBasic> PluginLibrary::sensors() const
{
    std::list<ExtensionSystem::SensorBasic> list;
    m_sensorMap(list);
    return list;
}

ExtensionSystem::PluginInterface* PluginLibrary::createInterface(const ExtensionSystem::SensorBasic& sensor,
                                                                 QMdiSubWindow* subWindow) const
{
    return m_instance(sensor, subWindow);
}

QString PluginLibrary::pluginPath(const QString& folder)
{
    return QDir(folder).filePath("libIoLinkMzRT5family.so");
}
