#pragma once

#include "HostPorts.h"

#include <extensionsystem/PortBroker.h>
#include <extensionsystem/SensorBasic.h>

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <functional>
#include <list>
#include <memory>

class PluginLibrary;
class QAction;
class QActionGroup;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QShortcut;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class SensorSubWindow;

namespace ExtensionSystem {
class PluginInterface;
}

namespace Monitor {
class EventJournal;
}

// The host application's main window: the plug-in's sensors on the left,
// one sub-window per opened sensor on the right. The sensor list steps
// aside while sensor windows are open, so that their charts get the width.
class WorkbenchWindow : public QMainWindow
{
    Q_OBJECT
public:
    // plugin may be unloaded; the window then shows why instead of sensors.
    explicit WorkbenchWindow(const PluginLibrary& plugin, QWidget* parent = nullptr);
    ~WorkbenchWindow() override;

    // The size of the window without its frame when nothing is remembered
    // and the screen has room for it.
    static QSize defaultSize() { return {1280, 800}; }
    // The geometry without frame (as setGeometry takes it) of a window of
    // the wanted size whose frame must lie inside the available area:
    // shrunk to fit, and centred.
    static QRect fittedGeometry(const QRect& available, const QMargins& frame, const QSize& wanted);

    // Restores the geometry and dock layout of the last run, or fits the
    // window to its screen; from then on the window remembers its layout
    // when it closes, and the language chosen in its menu. Windows that
    // never call this leave the user's settings alone.
    void rememberBetweenRuns();

    // Opens the sensor named name; false when the plug-in does not list it.
    bool openSensor(const QString& name);
    int openSensorCount() const { return m_sessions.size(); }
    // Connects the active sensor window to the port, as if its user had
    // chosen it; false when no sensor window is open.
    bool connectActiveSensor(const QString& port);
    // The active sensor window, or null.
    QWidget* activeSensorWindow() const;
    QTreeWidget* sensorList() const { return m_sensorList; }
    QDockWidget* sensorDock() const { return m_sensorDock; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    // The ports offered to sensor windows: the workbench's own ports, then
    // the system's.
    QStringList availablePorts() const { return m_ports; }
    HostPorts& hostPorts() { return m_hostPorts; }

    // Where the system's port list comes from; by default its serial ports.
    using PortLister = std::function<QStringList()>;
    void setPortLister(PortLister lister);
    static QStringList systemSerialPorts();

    // Every event of every sensor window opened from now on is appended to
    // the journal fileName; a journal that cannot be written is said once.
    void setJournal(const QString& fileName);
    // Journals an event of the host's own about the sensor window, as the
    // window's own events are.
    void reportEvent(QWidget* sensorWindow, const QVariantMap& event);

signals:
    // A sensor window's event, stamped and placed as it was journaled.
    void sensorEvent(QWidget* sensorWindow, const QJsonObject& event);

public slots:
    void setPresentationMode(bool on);
    void refreshPorts();
    // Switches the workbench and every sensor window to the language, as
    // --lang does at start.
    void setLanguage(const QString& language);
    // Back to the window's default size and dock layout; forgets the
    // remembered one.
    void resetLayout();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void openSelectedSensor();
    void openSettingsFile();
    void releaseSession(SensorSubWindow* subWindow);
    void subWindowActivated(QMdiSubWindow* active);
    void showRefusedConnection(const QString& port, const QString& reason);
    void applyPresentationMode(bool on);
    void journalEvent(const QVariantMap& event);
    void listOpenWindows();

private:
    // Per sensor window: its place among those opened, its sensor and the
    // port it last had; by the window's scripting surface.
    struct Placed
    {
        ExtensionSystem::PluginInterface* session;
        int master;
        QString sensorName;
        QString port;
    };

    void createMenus();
    QMdiSubWindow* idleSubWindowOf(const QString& sensorName) const;
    void createSensorList();
    void retranslateUi();
    void openSensor(const ExtensionSystem::SensorBasic& sensor);
    void applyDefaultGeometry();
    QMargins windowFrame() const;
    void showSensorListUnlessSensorsAreOpen();
    void preselectSensor();
    void showStartHint();
    QString connectHint() const;
    QString windowTitleOf(ExtensionSystem::PluginInterface* session) const;
    void journalEvents(QMdiSubWindow* subWindow, ExtensionSystem::PluginInterface* session,
                       const QString& sensorName);

    const PluginLibrary& m_plugin;
    std::list<ExtensionSystem::SensorBasic> m_sensors;
    // Before the broker: the interfaces it hands out use these ports.
    HostPorts m_hostPorts;
    ExtensionSystem::PortBroker m_broker;
    QDockWidget* m_sensorDock = nullptr;
    QLabel* m_pluginLabel = nullptr;
    QTreeWidget* m_sensorList = nullptr;
    // The list's current row as long as the workbench chose it, not the user.
    QTreeWidgetItem* m_preselected = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_languageMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_openSettingsAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_presentationAction = nullptr;
    QAction* m_resetLayoutAction = nullptr;
    QActionGroup* m_languageGroup = nullptr;
    QAction* m_tileAction = nullptr;
    QAction* m_cascadeAction = nullptr;
    QAction* m_closeAllAction = nullptr;
    QActionGroup* m_openWindows = nullptr;
    QMenu* m_helpMenu = nullptr;
    QAction* m_usingItAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QShortcut* m_leavePresentation = nullptr;
    QMdiArea* m_mdiArea = nullptr;
    QTimer* m_portTimer = nullptr;
    PortLister m_portLister = &WorkbenchWindow::systemSerialPorts;
    QStringList m_ports;
    QHash<QMdiSubWindow*, ExtensionSystem::PluginInterface*> m_sessions;
    QHash<QObject*, Placed> m_placed;
    int m_openedCount = 0;
    std::unique_ptr<Monitor::EventJournal> m_journal;
    QString m_journalProblem;
    QByteArray m_defaultState;
    bool m_remembers = false;
    bool m_presentation = false;
};
