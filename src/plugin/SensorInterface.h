#pragma once

#include <extensionsystem/PluginInterface.h>
#include <extensionsystem/PortSettings.h>

#include <QString>
#include <QStringList>
#include <QVariant>

#include <string>

class QMdiSubWindow;

namespace ExtensionSystem {
class CommunicationInterface;
class SensorBasic;
} // namespace ExtensionSystem

namespace NimbarSensorPlugin::Core {

class SensorWindow;

// The host's handle on one opened sensor: owns the sensor's window, shows
// it in the host's sub-window, and registers the window's port with the host.
class SensorInterface : public ExtensionSystem::PluginInterface
{
    Q_OBJECT
public:
    SensorInterface(const ExtensionSystem::SensorBasic& sensor, QMdiSubWindow* subWindow);
    ~SensorInterface() override;

    QString pluginNamespace() override;
    QString pluginGroup() override;
    QStringList additionalEntries() override;

    SensorWindow* sensorWindow() const;
    bool isPortRegistered() const { return portRegistered; }

    // Hosts may address these slots by their index: keep their order.
public slots:
    void vComPortListChanged();
    void vComPortChanged(const QString& port);
    void vSendDataBytes(const QString& text);
    void vReceivedData(const QString& text);
    void vAvailablePortsUpdated(const QStringList& ports) override;
    void vActionOpen(const QString& fileName) override;
    void vActionExit(const QString& text) override;
    void setWindowActive(bool active) override;
    void vAboutToClose();
    void vAutoConnect(const QString& port) override;
    void vUpdate(const QVariant& value) override;
    void vSetCompleteNameDescription(const QString& str) override;
    void setSensorName(const QString& name) override;
    QString getSensorName() override;

private slots:
    void receivedData(std::string text);

private:
    bool portRegistered = false;
    // The host deletes the interface before the sub-window that shows the window.
    SensorWindow* window = nullptr;
    ExtensionSystem::PortSettings portSettings;
    ExtensionSystem::CommunicationInterface* communication = nullptr;
    QString sensorName;
};

} // namespace NimbarSensorPlugin::Core
