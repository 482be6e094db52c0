#include "WorkbenchWindow.h"

#include "PluginLibrary.h"
#include "SensorSubWindow.h"

#include <extensionsystem/Globals.h>
#include <extensionsystem/PluginInterface.h>

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QSerialPortInfo>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// Serial adapters come and go while the workbench runs; a slow poll is
// enough to keep the port selectors current.
const int portPollIntervalMs = 2000;
const int nestedLoopRetryMs = 50;
} // namespace

WorkbenchWindow::WorkbenchWindow(const PluginLibrary& plugin, QWidget* parent)
    : QMainWindow(parent), m_plugin(plugin)
{
    setObjectName("WorkbenchWindow");
    setWindowTitle(tr("IO-Link Sensor Workbench"));
    resize(1280, 800);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName("mdiArea");
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &WorkbenchWindow::subWindowActivated);

    if (m_plugin.isLoaded())
        m_sensors = m_plugin.sensors();
    createSensorList();
    createMenus();

    m_broker.setPortOpener([this](const ExtensionSystem::PortSettings& settings, QString* error) {
        return m_hostPorts.open(settings, error);
    });
    ExtensionSystem::ConnectionBroker::install(&m_broker);
    connect(&m_broker, &ExtensionSystem::PortBroker::connectionRefused, this,
            &WorkbenchWindow::showRefusedConnection);

    refreshPorts();
    m_portTimer = new QTimer(this);
    m_portTimer->setInterval(portPollIntervalMs);
    connect(m_portTimer, &QTimer::timeout, this, &WorkbenchWindow::refreshPorts);
    m_portTimer->start();

    statusBar()->showMessage(m_plugin.isLoaded()
                                 ? tr("%n sensor(s) available", nullptr, int(m_sensors.size()))
                                 : m_plugin.errorString());
}

WorkbenchWindow::~WorkbenchWindow()
{
    // The area reports activations while its sub-windows are torn down, and
    // this object is half gone by then.
    disconnect(m_mdiArea, nullptr, this, nullptr);
    // Interfaces own their sensor windows, which live in sub-windows of the
    // MDI area: release every interface before the area goes.
    const auto sessions = m_sessions;
    for (auto it = sessions.cbegin(); it != sessions.cend(); ++it)
        delete it.value();
    m_sessions.clear();
    ExtensionSystem::ConnectionBroker::install(nullptr);
}

void WorkbenchWindow::createSensorList()
{
    auto* dock = new QDockWidget(tr("Sensors"), this);
    dock->setObjectName("sensorDock");
    dock->setFeatures(QDockWidget::DockWidgetMovable);
    auto* content = new QWidget(dock);
    auto* layout = new QVBoxLayout(content);

    auto* pluginLabel = new QLabel(content);
    pluginLabel->setObjectName("pluginLabel");
    pluginLabel->setWordWrap(true);
    if (m_plugin.isLoaded()) {
        pluginLabel->setText(
            tr("<b>%1</b> %2<br>%3<br>Communication: %4")
                .arg(m_plugin.pluginName().toHtmlEscaped(), m_plugin.version().toHtmlEscaped(),
                     m_plugin.description().toHtmlEscaped(), m_plugin.communicationType().toHtmlEscaped()));
    } else {
        pluginLabel->setText(m_plugin.errorString());
        pluginLabel->setStyleSheet("color: #b00020;");
    }
    layout->addWidget(pluginLabel);

    m_sensorList = new QTreeWidget(content);
    m_sensorList->setObjectName("sensorList");
    m_sensorList->setHeaderLabels({tr("Sensor"), tr("Id")});
    m_sensorList->setRootIsDecorated(false);
    m_sensorList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    for (const auto& sensor : m_sensors) {
        new QTreeWidgetItem(m_sensorList,
                            {QString::fromStdString(sensor.name()), QString::fromStdString(sensor.id())});
    }
    if (m_plugin.isLoaded() && m_sensors.empty()) {
        pluginLabel->setText(pluginLabel->text() + "<br>" +
                             tr("The plug-in lists no sensors: its description document is missing or "
                                "not for this plug-in."));
    }
    connect(m_sensorList, &QTreeWidget::itemActivated, this, &WorkbenchWindow::openSelectedSensor);
    layout->addWidget(m_sensorList);

    dock->setWidget(content);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
}

void WorkbenchWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* open = file->addAction(tr("&Open sensor"), this, &WorkbenchWindow::openSelectedSensor);
    open->setEnabled(!m_sensors.empty());
    file->addAction(tr("Open &settings..."), this, &WorkbenchWindow::openSettingsFile);
    file->addSeparator();
    file->addAction(tr("E&xit"), this, &QWidget::close, QKeySequence::Quit);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    m_presentationAction = view->addAction(tr("&Presentation mode"));
    m_presentationAction->setObjectName("actionPresentation");
    m_presentationAction->setCheckable(true);
    connect(m_presentationAction, &QAction::toggled, this, &WorkbenchWindow::applyPresentationMode);

    QMenu* windows = menuBar()->addMenu(tr("&Window"));
    windows->addAction(tr("&Tile"), m_mdiArea, &QMdiArea::tileSubWindows);
    windows->addAction(tr("&Cascade"), m_mdiArea, &QMdiArea::cascadeSubWindows);
    windows->addAction(tr("Close &all"), m_mdiArea, &QMdiArea::closeAllSubWindows);
}

void WorkbenchWindow::openSelectedSensor()
{
    QTreeWidgetItem* item = m_sensorList->currentItem();
    if (item)
        openSensor(item->text(0));
}

bool WorkbenchWindow::openSensor(const QString& name)
{
    for (const auto& sensor : m_sensors) {
        if (QString::fromStdString(sensor.name()) == name) {
            openSensor(sensor);
            return true;
        }
    }
    statusBar()->showMessage(tr("The plug-in lists no sensor named \"%1\".").arg(name));
    return false;
}

void WorkbenchWindow::openSensor(const ExtensionSystem::SensorBasic& sensor)
{
    // Created as a child of the area, which takes it in as a sub-window.
    auto* subWindow = new SensorSubWindow(m_mdiArea);
    ExtensionSystem::PluginInterface* session = m_plugin.createInterface(sensor, subWindow);
    if (!session) {
        delete subWindow;
        statusBar()->showMessage(
            tr("The plug-in could not open %1.").arg(QString::fromStdString(sensor.name())));
        return;
    }
    m_sessions.insert(subWindow, session);
    // Queued: the sub-window is still inside its close handling when it
    // reports, and the interface deletes the widget that sub-window shows.
    connect(subWindow, &SensorSubWindow::closed, this, &WorkbenchWindow::releaseSession,
            Qt::QueuedConnection);

    const QString name = QString::fromStdString(sensor.name());
    session->setSensorName(name);
    session->vSetCompleteNameDescription(m_plugin.pluginName() + " / " + name);
    session->vAvailablePortsUpdated(m_ports);
    if (m_presentation)
        session->vUpdate(true);

    subWindow->showMaximized();
    m_mdiArea->setActiveSubWindow(subWindow);
}

bool WorkbenchWindow::connectActiveSensor(const QString& port)
{
    ExtensionSystem::PluginInterface* session = m_sessions.value(m_mdiArea->activeSubWindow());
    if (!session)
        return false;
    session->vAutoConnect(port);
    return true;
}

void WorkbenchWindow::releaseSession(SensorSubWindow* subWindow)
{
    // A sensor window may be closed while one of its operations waits in a
    // nested event loop (an exchange with the sensor, a pause); it goes once
    // every such wait has returned, not from under the operation.
    if (QThread::currentThread()->loopLevel() > 1) {
        QTimer::singleShot(nestedLoopRetryMs, this, [this, subWindow] { releaseSession(subWindow); });
        return;
    }
    delete m_sessions.take(subWindow);
    subWindow->deleteLater();
}

void WorkbenchWindow::subWindowActivated(QMdiSubWindow* active)
{
    for (auto it = m_sessions.cbegin(); it != m_sessions.cend(); ++it)
        it.value()->setWindowActive(it.key() == active);
}

void WorkbenchWindow::openSettingsFile()
{
    auto* subWindow = m_mdiArea->activeSubWindow();
    ExtensionSystem::PluginInterface* session = m_sessions.value(subWindow);
    if (!session) {
        statusBar()->showMessage(tr("Open a sensor first: settings belong to a sensor window."));
        return;
    }
    const QString fileName =
        QFileDialog::getOpenFileName(this, tr("Open Settings"), QString(), tr("Sensor Settings (*.kvs)"));
    if (!fileName.isEmpty())
        session->vActionOpen(fileName);
}

void WorkbenchWindow::setPresentationMode(bool on)
{
    m_presentationAction->setChecked(on);
}

void WorkbenchWindow::applyPresentationMode(bool on)
{
    m_presentation = on;
    ExtensionSystem::Globals::setPresentationMode(on);
    for (ExtensionSystem::PluginInterface* session : qAsConst(m_sessions))
        session->vUpdate(on);
}

QStringList WorkbenchWindow::systemSerialPorts()
{
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports.append(info.systemLocation());
    ports.sort();
    return ports;
}

void WorkbenchWindow::setPortLister(PortLister lister)
{
    m_portLister = std::move(lister);
    refreshPorts();
}

void WorkbenchWindow::refreshPorts()
{
    QStringList ports = m_hostPorts.ports();
    for (const QString& port : m_portLister()) {
        if (!ports.contains(port))
            ports.append(port);
    }
    if (ports == m_ports)
        return;
    m_ports = ports;
    for (ExtensionSystem::PluginInterface* session : qAsConst(m_sessions))
        session->vAvailablePortsUpdated(m_ports);
}

// The user chose the port and waits for the sensor: a refusal is said in a
// box, with the port and the reason, not only in passing.
void WorkbenchWindow::showRefusedConnection(const QString&, const QString& reason)
{
    statusBar()->showMessage(reason, 10000);
    QMessageBox::warning(this, tr("Port not available"), reason, QMessageBox::Ok);
}

void WorkbenchWindow::closeEvent(QCloseEvent* event)
{
    m_mdiArea->closeAllSubWindows();
    for (QMdiSubWindow* subWindow : m_mdiArea->subWindowList()) {
        if (subWindow->isVisible()) {
            event->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(event);
}
