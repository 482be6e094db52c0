#pragma once

#include "HostPorts.h"

#include <extensionsystem/PortBroker.h>
#include <extensionsystem/SensorBasic.h>

#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <list>

class PluginLibrary;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class SensorSubWindow;

namespace ExtensionSystem {
class PluginInterface;
}

// The host application's main window: the plug-in's sensors on the left,
// one sub-window per opened sensor on the right.
class WorkbenchWindow : public QMainWindow
{
    Q_OBJECT
public:
    // plugin may be unloaded; the window then shows why instead of sensors.
    explicit WorkbenchWindow(const PluginLibrary& plugin, QWidget* parent = nullptr);
    ~WorkbenchWindow() override;

    // Opens the sensor named name; false when the plug-in does not list it.
    bool openSensor(const QString& name);
    int openSensorCount() const { return m_sessions.size(); }
    // Connects the active sensor window to the port, as if its user had
    // chosen it; false when no sensor window is open.
    bool connectActiveSensor(const QString& port);
    QTreeWidget* sensorList() const { return m_sensorList; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    // The ports offered to sensor windows: the workbench's own ports, then
    // the system's.
    QStringList availablePorts() const { return m_ports; }
    HostPorts& hostPorts() { return m_hostPorts; }

    // Where the system's port list comes from; by default its serial ports.
    using PortLister = std::function<QStringList()>;
    void setPortLister(PortLister lister);
    static QStringList systemSerialPorts();

public slots:
    void setPresentationMode(bool on);
    void refreshPorts();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void openSelectedSensor();
    void openSettingsFile();
    void releaseSession(SensorSubWindow* subWindow);
    void subWindowActivated(QMdiSubWindow* active);
    void showRefusedConnection(const QString& port, const QString& reason);
    void applyPresentationMode(bool on);

private:
    void createMenus();
    void createSensorList();
    void openSensor(const ExtensionSystem::SensorBasic& sensor);

    const PluginLibrary& m_plugin;
    std::list<ExtensionSystem::SensorBasic> m_sensors;
    // Before the broker: the interfaces it hands out use these ports.
    HostPorts m_hostPorts;
    ExtensionSystem::PortBroker m_broker;
    QTreeWidget* m_sensorList = nullptr;
    QAction* m_presentationAction = nullptr;
    QMdiArea* m_mdiArea = nullptr;
    QTimer* m_portTimer = nullptr;
    PortLister m_portLister = &WorkbenchWindow::systemSerialPorts;
    QStringList m_ports;
    QHash<QMdiSubWindow*, ExtensionSystem::PluginInterface*> m_sessions;
    bool m_presentation = false;
};
