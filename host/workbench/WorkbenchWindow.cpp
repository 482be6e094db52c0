#include "WorkbenchWindow.h"

#include "DocumentCheck.h"
#include "HelpDialogs.h"
#include "HostTranslator.h"
#include "PluginLibrary.h"
#include "SensorSubWindow.h"
#include "WorkbenchSettings.h"

#include <extensionsystem/Globals.h>
#include <extensionsystem/PluginInterface.h>
#include <monitor/EventJournal.h>
#include <monitor/MonitorMessages.h>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSerialPortInfo>
#include <QShortcut>
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
const int refusalMessageMs = 10000;
// A desktop's title bar and borders, assumed until the window is on screen
// and the window system tells its frame: rather too much than a status bar
// below the screen's edge.
const QMargins assumedFrame(4, 36, 4, 4);
} // namespace

WorkbenchWindow::WorkbenchWindow(const PluginLibrary& plugin, QWidget* parent)
    : QMainWindow(parent), m_plugin(plugin)
{
    setObjectName("WorkbenchWindow");
    // Fitted to the screen once the window is about to be shown, see
    // rememberBetweenRuns().
    resize(defaultSize());

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName("mdiArea");
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &WorkbenchWindow::subWindowActivated);

    if (m_plugin.isLoaded())
        m_sensors = m_plugin.sensors();
    createSensorList();
    createMenus();
    retranslateUi();
    m_defaultState = saveState();

    m_broker.setPortOpener([this](const ExtensionSystem::PortSettings& settings, QString* error) {
        return m_hostPorts.open(settings, error);
    });
    m_broker.setOwnerNamer([this](ExtensionSystem::PluginInterface* owner) { return windowTitleOf(owner); });
    ExtensionSystem::ConnectionBroker::install(&m_broker);
    connect(&m_broker, &ExtensionSystem::PortBroker::connectionRefused, this,
            &WorkbenchWindow::showRefusedConnection);
    // Once a sensor window has its port, telling how to get one would mislead.
    connect(&m_broker, &ExtensionSystem::PortBroker::connectionOpened, this, [this] {
        if (statusBar()->currentMessage() == connectHint())
            statusBar()->clearMessage();
    });

    connect(m_hostPorts.trace(), &ExtensionSystem::ProtocolTrace::writeFailed, this,
            [this](const QString& error) { statusBar()->showMessage(error); });

    refreshPorts();
    m_portTimer = new QTimer(this);
    m_portTimer->setInterval(portPollIntervalMs);
    connect(m_portTimer, &QTimer::timeout, this, &WorkbenchWindow::refreshPorts);
    m_portTimer->start();

    showStartHint();
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
    m_sensorDock = new QDockWidget(this);
    m_sensorDock->setObjectName("sensorDock");
    m_sensorDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    auto* content = new QWidget(m_sensorDock);
    auto* layout = new QVBoxLayout(content);

    m_pluginLabel = new QLabel(content);
    m_pluginLabel->setObjectName("pluginLabel");
    m_pluginLabel->setWordWrap(true);
    if (!m_plugin.isLoaded())
        m_pluginLabel->setStyleSheet("color: #b00020;");
    layout->addWidget(m_pluginLabel);

    m_sensorList = new QTreeWidget(content);
    m_sensorList->setObjectName("sensorList");
    m_sensorList->setRootIsDecorated(false);
    m_sensorList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    for (const auto& sensor : m_sensors) {
        new QTreeWidgetItem(m_sensorList,
                            {QString::fromStdString(sensor.name()), QString::fromStdString(sensor.id())});
    }
    connect(m_sensorList, &QTreeWidget::itemActivated, this, &WorkbenchWindow::openSelectedSensor);
    layout->addWidget(m_sensorList);
    // With a row chosen and the focus on the list, Enter opens a sensor.
    preselectSensor();
    m_sensorList->setFocus();

    m_sensorDock->setWidget(content);
    addDockWidget(Qt::LeftDockWidgetArea, m_sensorDock);
}

void WorkbenchWindow::createMenus()
{
    m_fileMenu = menuBar()->addMenu(QString());
    m_openAction = m_fileMenu->addAction(QString(), this, &WorkbenchWindow::openSelectedSensor);
    m_openAction->setObjectName("actionOpenSensor");
    m_openAction->setEnabled(!m_sensors.empty());
    m_openSettingsAction = m_fileMenu->addAction(QString(), this, &WorkbenchWindow::openSettingsFile);
    m_fileMenu->addSeparator();
    m_exitAction = m_fileMenu->addAction(QString(), this, &QWidget::close, QKeySequence::Quit);

    m_viewMenu = menuBar()->addMenu(QString());
    QAction* sensorListAction = m_sensorDock->toggleViewAction();
    sensorListAction->setObjectName("actionSensorList");
    m_viewMenu->addAction(sensorListAction);
    m_presentationAction = m_viewMenu->addAction(QString());
    m_presentationAction->setObjectName("actionPresentation");
    m_presentationAction->setCheckable(true);
    m_presentationAction->setShortcut(QKeySequence(Qt::Key_F11));
    connect(m_presentationAction, &QAction::toggled, this, &WorkbenchWindow::applyPresentationMode);
    // Esc leaves presentation mode, and only then is it taken from the windows.
    m_leavePresentation = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_leavePresentation->setEnabled(false);
    connect(m_leavePresentation, &QShortcut::activated, this, [this] { setPresentationMode(false); });
    m_viewMenu->addSeparator();
    m_languageMenu = m_viewMenu->addMenu(QString());
    m_languageMenu->setObjectName("languageMenu");
    m_languageGroup = new QActionGroup(this);
    const QString current = QString::fromStdString(ExtensionSystem::Globals::getLanguage());
    for (const QString& language : hostLanguages()) {
        // Each language under its own name: whoever cannot read the current
        // one still finds theirs.
        QAction* action = m_languageMenu->addAction(languageName(language));
        action->setObjectName("actionLanguage_" + language);
        action->setData(language);
        action->setCheckable(true);
        action->setChecked(language == current);
        m_languageGroup->addAction(action);
    }
    connect(m_languageGroup, &QActionGroup::triggered, this,
            [this](QAction* action) { setLanguage(action->data().toString()); });
    m_viewMenu->addSeparator();
    m_resetLayoutAction = m_viewMenu->addAction(QString(), this, &WorkbenchWindow::resetLayout);
    m_resetLayoutAction->setObjectName("actionResetLayout");

    m_windowMenu = menuBar()->addMenu(QString());
    m_tileAction = m_windowMenu->addAction(QString(), m_mdiArea, &QMdiArea::tileSubWindows);
    m_cascadeAction = m_windowMenu->addAction(QString(), m_mdiArea, &QMdiArea::cascadeSubWindows);
    m_closeAllAction = m_windowMenu->addAction(QString(), m_mdiArea, &QMdiArea::closeAllSubWindows);
    m_windowMenu->addSeparator();
    m_openWindows = new QActionGroup(this);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &WorkbenchWindow::listOpenWindows);

    m_helpMenu = menuBar()->addMenu(QString());
    m_usingItAction = m_helpMenu->addAction(QString(), this, [this] { showUsingItDialog(this); });
    m_usingItAction->setShortcut(QKeySequence(Qt::Key_F1));
    m_aboutAction = m_helpMenu->addAction(QString(), this, [this] {
        const QString document = descriptionDocumentOf(m_plugin.pluginName());
        showAboutBox(this, {m_plugin.pluginName(), m_plugin.version(),
                            document.isEmpty() ? tr("none found") : QDir::toNativeSeparators(document)});
    });
}

// The open sensor windows, the active one checked; choosing one brings it to the front.
void WorkbenchWindow::listOpenWindows()
{
    for (QAction* action : m_openWindows->actions())
        delete action;
    int number = 0;
    for (QMdiSubWindow* subWindow : m_mdiArea->subWindowList()) {
        QAction* action =
            m_windowMenu->addAction(QString("&%1 %2").arg(++number).arg(subWindow->windowTitle()));
        action->setCheckable(true);
        action->setChecked(subWindow == m_mdiArea->activeSubWindow());
        m_openWindows->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, subWindow] { m_mdiArea->setActiveSubWindow(subWindow); });
    }
}

// A window of the sensor that holds no port: another would only be a second
// door to the same sensor. Windows on a port each have a sensor of their
// own, and one more of the same model may be on another port.
QMdiSubWindow* WorkbenchWindow::idleSubWindowOf(const QString& sensorName) const
{
    for (auto it = m_sessions.cbegin(); it != m_sessions.cend(); ++it) {
        if (!m_broker.portOf(it.value()).isEmpty())
            continue;
        for (const Placed& place : m_placed) {
            if (place.session == it.value() && place.sensorName == sensorName)
                return it.key();
        }
    }
    return nullptr;
}

void WorkbenchWindow::retranslateUi()
{
    setWindowTitle(tr("IO-Link Sensor Workbench"));
    // The dock hands its title to its toggle action: the action's own text
    // comes after.
    m_sensorDock->setWindowTitle(tr("Sensors"));
    m_sensorDock->toggleViewAction()->setText(tr("&Sensors list"));
    if (!m_plugin.isLoaded()) {
        m_pluginLabel->setText(m_plugin.errorString());
    } else {
        QString text =
            tr("<b>%1</b> %2<br>%3<br>Communication: %4")
                .arg(m_plugin.pluginName().toHtmlEscaped(), m_plugin.version().toHtmlEscaped(),
                     m_plugin.description().toHtmlEscaped(), m_plugin.communicationType().toHtmlEscaped());
        if (m_sensors.empty()) {
            const QString problem =
                describeDocumentProblem(descriptionDocumentOf(m_plugin.pluginName()), m_plugin.pluginName());
            text += "<br>" + (problem.isEmpty()
                                  ? tr("The plug-in lists no sensors: its description document "
                                       "is missing or not for this plug-in.")
                                  : tr("The plug-in lists no sensors. %1").arg(problem.toHtmlEscaped()));
        }
        m_pluginLabel->setText(text);
    }
    m_sensorList->setHeaderLabels({tr("Sensor"), tr("Id")});

    m_fileMenu->setTitle(tr("&File"));
    m_openAction->setText(tr("&Open sensor"));
    m_openSettingsAction->setText(tr("Open &settings..."));
    m_exitAction->setText(tr("E&xit"));
    m_viewMenu->setTitle(tr("&View"));
    m_presentationAction->setText(tr("&Presentation mode"));
    m_languageMenu->setTitle(tr("&Language"));
    m_resetLayoutAction->setText(tr("&Reset layout"));
    m_windowMenu->setTitle(tr("&Window"));
    m_tileAction->setText(tr("&Tile"));
    m_cascadeAction->setText(tr("&Cascade"));
    m_closeAllAction->setText(tr("Close &all"));
    m_helpMenu->setTitle(tr("&Help"));
    m_usingItAction->setText(tr("&Using the workbench"));
    m_aboutAction->setText(tr("&About"));
}

void WorkbenchWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QMainWindow::changeEvent(event);
}

void WorkbenchWindow::showStartHint()
{
    if (!m_plugin.isLoaded())
        statusBar()->showMessage(m_plugin.errorString());
    else if (m_sensors.empty())
        statusBar()->showMessage(tr("The plug-in lists no sensors."));
    else
        statusBar()->showMessage(tr("%n sensor(s) available. Double-click one to open it, or press Enter on "
                                    "the selected one.",
                                    nullptr, int(m_sensors.size())));
}

// Until the user picks a sensor, the list points at the one a simulated port
// offers, else at the first: the sensor that can be tried out right away.
void WorkbenchWindow::preselectSensor()
{
    QTreeWidgetItem* current = m_sensorList->currentItem();
    if (current && current != m_preselected)
        return;
    QTreeWidgetItem* choice = m_sensorList->topLevelItem(0);
    for (const QString& port : m_hostPorts.ports()) {
        const QString model = m_hostPorts.simulatedModel(port);
        const auto offered = m_sensorList->findItems(model, Qt::MatchExactly, 1);
        if (!model.isEmpty() && !offered.isEmpty()) {
            choice = offered.first();
            break;
        }
    }
    m_preselected = choice;
    if (choice)
        m_sensorList->setCurrentItem(choice);
}

void WorkbenchWindow::openSelectedSensor()
{
    QTreeWidgetItem* item = m_sensorList->currentItem();
    if (!item)
        return;
    // The user's second open of a sensor finds its window; a monitor's
    // sensors of one model each get their own.
    if (QMdiSubWindow* open = idleSubWindowOf(item->text(0))) {
        m_mdiArea->setActiveSubWindow(open);
        statusBar()->showMessage(tr("%1 is open already: its window is in front.").arg(item->text(0)));
        return;
    }
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
    const QString name = QString::fromStdString(sensor.name());
    QMdiSubWindow* previous = m_mdiArea->activeSubWindow();
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
    journalEvents(subWindow, session, QString::fromStdString(sensor.name()));
    // Queued: the sub-window is still inside its close handling when it
    // reports, and the interface deletes the widget that sub-window shows.
    connect(subWindow, &SensorSubWindow::closed, this, &WorkbenchWindow::releaseSession,
            Qt::QueuedConnection);

    session->setSensorName(name);
    session->vSetCompleteNameDescription(m_plugin.pluginName() + " / " + name);
    session->vAvailablePortsUpdated(m_ports);
    if (m_presentation)
        session->vUpdate(true);

    // Alone, or among windows shown one at a time, a sensor window takes the
    // whole area; among windows the user has arranged it joins them.
    if (m_sessions.size() == 1 || (previous && previous->isMaximized()))
        subWindow->showMaximized();
    else
        subWindow->show();
    m_mdiArea->setActiveSubWindow(subWindow);
    // The list's room goes to the chart; the View menu brings it back.
    m_sensorDock->hide();
    statusBar()->showMessage(connectHint());
}

void WorkbenchWindow::setJournal(const QString& fileName)
{
    m_journal = std::make_unique<Monitor::EventJournal>(fileName);
    m_journalProblem.clear();
}

// A lost sensor's window gives up its port as it reports the loss: the
// event names the port it had.
void WorkbenchWindow::journalEvents(QMdiSubWindow* subWindow, ExtensionSystem::PluginInterface* session,
                                    const QString& sensorName)
{
    QObject* scripting =
        subWindow->widget() ? subWindow->widget()->findChild<QObject*>("scripting") : nullptr;
    if (!scripting)
        return;
    m_placed.insert(scripting, {session, ++m_openedCount, sensorName, QString()});
    connect(&m_broker, &ExtensionSystem::PortBroker::connectionOpened, scripting, [this, scripting] {
        Placed& place = m_placed[scripting];
        const QString port = m_broker.portOf(place.session);
        if (!port.isEmpty())
            place.port = port;
    });
    connect(scripting, SIGNAL(sensorEvent(QVariantMap)), this, SLOT(journalEvent(QVariantMap)));
}

void WorkbenchWindow::journalEvent(const QVariantMap& event)
{
    reportEvent(qobject_cast<QWidget*>(sender()->parent()), event);
}

void WorkbenchWindow::reportEvent(QWidget* sensorWindow, const QVariantMap& event)
{
    auto it = m_placed.constFind(sensorWindow ? sensorWindow->findChild<QObject*>("scripting") : nullptr);
    if (it == m_placed.cend())
        return;
    const QJsonObject stamped = Monitor::eventObject(event, QDateTime::currentDateTimeUtc(), it->master,
                                                     Monitor::deviceAlias(it->sensorName, it->port));
    if (m_journal) {
        const QString problem = m_journal->append(stamped);
        if (!problem.isEmpty() && m_journalProblem.isEmpty()) {
            m_journalProblem =
                tr("The event journal %1 cannot be written: %2").arg(m_journal->fileName(), problem);
            statusBar()->showMessage(m_journalProblem);
        } else if (problem.isEmpty()) {
            m_journalProblem.clear();
        }
    }
    emit sensorEvent(sensorWindow, stamped);
}

QString WorkbenchWindow::connectHint() const
{
    return tr("Connect by choosing a port where the sensor window shows \"Offline\". View > Sensors list "
              "brings the list back.");
}

bool WorkbenchWindow::connectActiveSensor(const QString& port)
{
    ExtensionSystem::PluginInterface* session = m_sessions.value(m_mdiArea->activeSubWindow());
    if (!session)
        return false;
    session->vAutoConnect(port);
    return true;
}

QWidget* WorkbenchWindow::activeSensorWindow() const
{
    QMdiSubWindow* active = m_mdiArea->activeSubWindow();
    return m_sessions.contains(active) ? active->widget() : nullptr;
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
    if (subWindow->widget())
        m_placed.remove(subWindow->widget()->findChild<QObject*>("scripting"));
    delete m_sessions.take(subWindow);
    subWindow->deleteLater();
    if (m_sessions.isEmpty()) {
        showSensorListUnlessSensorsAreOpen();
        m_sensorList->setFocus();
        showStartHint();
    }
}

void WorkbenchWindow::showSensorListUnlessSensorsAreOpen()
{
    m_sensorDock->setVisible(m_sessions.isEmpty());
}

QString WorkbenchWindow::windowTitleOf(ExtensionSystem::PluginInterface* session) const
{
    for (auto it = m_sessions.cbegin(); it != m_sessions.cend(); ++it) {
        if (it.value() == session)
            return it.key()->windowTitle();
    }
    return QString();
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
    m_leavePresentation->setEnabled(on);
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
    preselectSensor();
    for (ExtensionSystem::PluginInterface* session : qAsConst(m_sessions))
        session->vAvailablePortsUpdated(m_ports);
}

// The user chose the port and waits for the sensor: a refusal is said in a
// box, with the port and the reason, not only in passing.
void WorkbenchWindow::showRefusedConnection(const QString&, const QString& reason)
{
    statusBar()->showMessage(reason, refusalMessageMs);
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
    if (m_remembers)
        WorkbenchSettings::rememberLayout(saveGeometry(), saveState());
    QMainWindow::closeEvent(event);
}

QRect WorkbenchWindow::fittedGeometry(const QRect& available, const QMargins& frame, const QSize& wanted)
{
    const QSize size = wanted.boundedTo(available.size().shrunkBy(frame));
    const QSize outer = size.grownBy(frame);
    const QPoint corner(available.left() + (available.width() - outer.width()) / 2,
                        available.top() + (available.height() - outer.height()) / 2);
    return QRect(corner, outer).marginsRemoved(frame);
}

QMargins WorkbenchWindow::windowFrame() const
{
    if (!isVisible())
        return assumedFrame;
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

void WorkbenchWindow::applyDefaultGeometry()
{
    const QRect available = screen()->availableGeometry();
    const QMargins frame = windowFrame();
    setGeometry(fittedGeometry(available, frame, defaultSize()));
    // Where the default does not fit, the window system fits the window to
    // the available area, frame and all, better than an assumed frame can.
    const QSize outer = defaultSize().grownBy(frame);
    if (outer.width() > available.width() || outer.height() > available.height())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void WorkbenchWindow::rememberBetweenRuns()
{
    m_remembers = true;
    const QByteArray geometry = WorkbenchSettings::geometry();
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        applyDefaultGeometry();
    const QByteArray state = WorkbenchSettings::windowState();
    if (!state.isEmpty())
        restoreState(state);
    // The list was hidden last time because sensors were open then.
    showSensorListUnlessSensorsAreOpen();
}

void WorkbenchWindow::resetLayout()
{
    if (m_remembers)
        WorkbenchSettings::forgetLayout();
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    restoreState(m_defaultState);
    applyDefaultGeometry();
    showSensorListUnlessSensorsAreOpen();
    statusBar()->showMessage(tr("The window has its default size and layout again."));
}

void WorkbenchWindow::setLanguage(const QString& language)
{
    // Sensor windows read the language when the change reaches them, after
    // this returns.
    ExtensionSystem::Globals::setLanguage(language.toStdString());
    const bool translated = switchTranslations(language);
    const QString shown = translated ? language : QString("en");
    if (!translated)
        ExtensionSystem::Globals::setLanguage(shown.toStdString());
    for (QAction* action : m_languageGroup->actions())
        action->setChecked(action->data().toString() == shown);
    if (m_remembers)
        WorkbenchSettings::rememberLanguage(shown);
    statusBar()->showMessage(
        translated ? tr("Language: %1").arg(languageName(shown))
                   : tr("There is no translation for \"%1\"; the texts stay English.").arg(language));
}
