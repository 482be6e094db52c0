#pragma once

#include <extensionsystem/SensorBasic.h>

#include <QLibrary>
#include <QString>

#include <list>

class QMdiSubWindow;

namespace ExtensionSystem {
class PluginInterface;
}

// A sensor plug-in loaded from its shared library, with its seven entry
// points resolved. Every entry point is checked at load time, so a broken
// library is reported once instead of failing later.
class PluginLibrary
{
public:
    // Loads the library at path; on failure errorString() says why.
    bool load(const QString& path);
    bool isLoaded() const { return m_loaded; }
    QString errorString() const { return m_error; }

    QString pluginName() const;
    QString version() const;
    QString description() const;
    QString communicationType() const;
    std::list<ExtensionSystem::SensorBasic> sensors() const;
    // The interface for one opened sensor, owned by the caller; null when the
    // plug-in refuses.
    ExtensionSystem::PluginInterface* createInterface(const ExtensionSystem::SensorBasic& sensor,
                                                      QMdiSubWindow* subWindow) const;

    // The plug-in's file in a plug-in folder.
    static QString pluginPath(const QString& folder);

private:
    using TextFunction = const char* (*)();
    using InitialiseFunction = void (*)();
    using InstanceFunction = ExtensionSystem::PluginInterface* (*)(const ExtensionSystem::SensorBasic&,
                                                                   QMdiSubWindow*);
    using SensorMapFunction = void (*)(std::list<ExtensionSystem::SensorBasic>&);

    QLibrary m_library;
    bool m_loaded = false;
    QString m_error;
    InitialiseFunction m_initialise = nullptr;
    TextFunction m_name = nullptr;
    TextFunction m_version = nullptr;
    TextFunction m_description = nullptr;
    TextFunction m_communicationType = nullptr;
    InstanceFunction m_instance = nullptr;
    SensorMapFunction m_sensorMap = nullptr;
};
