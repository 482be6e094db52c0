#pragma once

#include "SensorBasic.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace ExtensionSystem {

class CommunicationInterface;
class PortSettings;

// Base of the object a plug-in hands the host for each opened sensor. The
// host drives the sensor through these operations; their order is shared
// with plug-ins built against the host.
class PluginInterface : public QObject
{
    Q_OBJECT
public:
    PluginInterface();
    ~PluginInterface() override;

    virtual QString pluginNamespace() = 0;
    virtual QString pluginGroup() = 0;
    virtual QStringList additionalEntries() = 0;
    // The host's sensor list changed; nothing to do unless a plug-in cares.
    virtual void vSensorListUpdated(const QList<SensorBasic>& sensors);
    virtual void vAvailablePortsUpdated(const QStringList& ports) = 0;
    virtual void vActionOpen(const QString& fileName) = 0;
    virtual void vAutoConnect(const QString& port) = 0;
    virtual void vSetCompleteNameDescription(const QString& text) = 0;
    virtual void vUpdate(const QVariant& value) = 0;
    virtual void vActionExit(const QString& text) = 0;
    // File > Export from the host; plug-ins export from their own window.
    virtual void vActionExport(const QString& fileName);
    virtual void setWindowActive(bool active) = 0;
    virtual void setSensorName(const QString& name) = 0;
    virtual QString getSensorName() = 0;

    // Asks the host's connection broker for the port in settings. *out
    // receives the communication interface, or null when there is none.
    void vRegisterConnection(const PortSettings& settings, CommunicationInterface** out,
                             PluginInterface* owner);
    void vUnregisterConnection(PluginInterface* owner);
    void vUnregisterPlugin(PluginInterface* owner);
};

} // namespace ExtensionSystem
