#include "SensorWindow.h"

#include "BusyPopup.h"
#include "ComboBoxItemDelegate.h"
#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "SensorWindowScripting.h"
#include "StateOfDeviceMyDelegate.h"
#include "catalogue/SensorCatalogue.h"
#include "link/LinkSession.h"
#include "link/ProcessDataView.h"
#include "link/ReconnectWatch.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterEditor.h"
#include "parameters/ParameterModel.h"
#include "parameters/ParameterReader.h"
#include "parameters/ParameterTree.h"
#include "parameters/ParameterWriter.h"
#include "parameters/SensorEvents.h"
#include "parameters/SensorSession.h"
#include "tools/DistanceChart.h"
#include "tools/LiveDataLog.h"
#include "tools/SettingsFileActions.h"

#include <extensionsystem/Globals.h>
#include <extensionsystem/SensorBasic.h>
#include <utils/charts/GenericChart.h>
#include <utils/thresholds/ThresholdMultiManager.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>
#include <utils/widgets/ButtonFactory.h>
#include <utils/widgets/ButtonManager.h>
#include <utils/widgets/ConnectionStatus.h>

#include <qteditorfactory.h>
#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace NimbarSensorPlugin::Core {

namespace {

// The process-data rows fit in it in both languages, and with the parameter
// dock it leaves the chart more than 40% of a 1280 px wide window.
constexpr int listDockWidth = 340;
constexpr int captionColumnWidth = 250;

// The wheel over the port selector would switch ports as the pointer passes
// by; a port is chosen from its list or with the keys.
class WheelBlocker : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Wheel; }
};

} // namespace

SensorWindowPrivate::SensorWindowPrivate()
{
    writeModeIconTimer.setInterval(700);
    writeModeIconTimer.setSingleShot(true);
}

SensorWindow::SensorWindow(const ExtensionSystem::SensorBasic& hostRecord)
    : QMainWindow(nullptr), d(new SensorWindowPrivate), ui(std::make_unique<SensorWindowForm>())
{
    ui->setupUi(this);
    d->link = new LinkSession(this);
    d->poll = new StatusPoll(
        *d->link, [this] { return isConnected(); }, this);
    connect(d->poll, &StatusPoll::answered, this, [this] {
        if (!ui->chartToolbar->isEnabled())
            ui->chartToolbar->setEnabled(true);
    });
    connect(d->poll, &StatusPoll::processData, this, &SensorWindow::showProcessData);
    connect(d->poll, &StatusPoll::echoes, this, &SensorWindow::showEchoes);
    connect(d->poll, &StatusPoll::crashCount, this, &SensorWindow::showCrashCounter);
    // The action shows whether live data are on; a chart line never spans the time without.
    connect(d->poll, &StatusPoll::liveDataSwitched, this, [this](bool on) {
        ui->actionEnable_live_data->setChecked(on);
        showLiveDataState();
        if (!on)
            d->chart->chart()->vAppendGap(0);
    });

    d->portSelector = new QComboBox(this);
    d->portSelector->setObjectName("portSelector");
    d->portSelector->addItem(tr("Offline"));
    d->portSelector->insertSeparator(1);
    ui->connectionToolBar->addWidget(d->portSelector);
    d->portSelector->installEventFilter(new WheelBlocker(d->portSelector));

    stateDelegate = new StateOfDeviceMyDelegate(this);
    auto* spacer = new QLabel(this);
    spacer->setFixedWidth(10);
    ui->sensorOperationsToolbar->addWidget(spacer);

    sensor = findSensorDescription(hostRecord.name());

    d->propertyTreeDock = new QDockWidget(tr("Property tree"), this);
    d->propertyTreeDock->setObjectName("propertyTree");
    d->propertyTreeDock->setAllowedAreas(Qt::AllDockWidgetAreas);
    d->propertyTreeDock->toggleViewAction()->setIcon(QIcon(":/newPrefix/icons/Menuebaum.svg"));

    d->model = new ParameterModel(this);
    d->tree = new ParameterTree(*d->model, d->units, this);
    d->reader = new ParameterReader(*d->link, *d->tree, *d->model, this);
    d->writer = new ParameterWriter(*d->link, *d->tree, *d->model, this);
    createChartArea();
    createEditor();
    createPropertyBrowser();

    // Value changes are taken as the user's only once the tree is built:
    // vUpdateOutputView below switches them on.
    updateWindowTitle();
    vConnectWindowTimers();

    connect(ui->actionSave_Settings, &QAction::triggered, this, &SensorWindow::vSaveSettings);
    connect(ui->actionOpen_Settings, &QAction::triggered, this, &SensorWindow::vLoadSettings);
    connect(ui->actionDefaultSettings, &QAction::triggered, this, &SensorWindow::vRestoreFactorySettings);
    connect(ui->actionExport_chart_view, &QAction::triggered, this, &SensorWindow::vExportChartData);
    connect(ui->actionPrint_chart_view, &QAction::triggered, this, &SensorWindow::vPrintDocument);
    connect(ui->actionClear_History, &QAction::triggered, this, &SensorWindow::vClearHistory);
    connect(ui->actionEnable_live_data, &QAction::triggered, this, &SensorWindow::actionEnableLiveData);
    connect(d->portSelector, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (mayLeaveConnectedPort(index))
            actionConnectSensor(index);
    });
    connect(ui->actionWritePermanent, &QAction::triggered, this, &SensorWindow::vWriteAllSettings);
    connect(ui->actionRead, &QAction::triggered, this, &SensorWindow::vRadAllSettings);
    connect(&d->writeModeIconTimer, &QTimer::timeout, this, qOverload<>(&SensorWindow::signalWriteModeIcon));

    setWindowFlags(Qt::Widget);
    buildParameterTree();
    d->tree->resetModel();
    // Lengths start in whole millimetres, as the sensor holds them.
    for (QtProperty* property : d->tree->properties()) {
        if (property->propertyManager() == d->tree->managers().doubles)
            d->tree->managers().doubles->setDecimals(property, 0);
    }
    connect(d->model, &ParameterModel::rowChanged, d->tree, &ParameterTree::showRow);
    connect(d->tree, &ParameterTree::rowShown, this, &SensorWindow::showRowMark);
    connect(d->tree, &ParameterTree::choiceRead, this, &SensorWindow::followChoiceRead);
    createListDocks();
    setMinimumHeight(500);
    // With the lists folded beside the tree, the tree and a useful chart fit
    // beside the workbench's sensor list on a 1024-pixel screen.
    setMinimumWidth(720);

    d->connectionStatus = new Utils::ConnectionStatus(this);
    statusBar()->addPermanentWidget(d->connectionStatus);
    d->modeLabel = new QLabel(this);
    d->modeLabel->setObjectName("modeLabel");
    statusBar()->addPermanentWidget(d->modeLabel);
    d->liveDataPaused = new QLabel(this);
    d->liveDataPaused->setObjectName("liveDataPaused");
    d->liveDataPaused->hide();
    statusBar()->addPermanentWidget(d->liveDataPaused);
    createFileMenu();
    createSensorMenu();
    createRowMenu();
    menuBar()->findChild<QMenu*>("sensorMenu")->addAction(d->discardAction);

    connect(d->chart->chart(), &Utils::Charts::GenericChart::vSignalZommResetForNoiseLine, this,
            &SensorWindow::vZommResetForNoiseLine);
    connect(propertyBrowser, &QtTreePropertyBrowser::currentItemChanged, this, &SensorWindow::itemSelected);

    for (const QString& id : d->tree->hiddenIds())
        setParameterVisible(id, false);

    connect(d->chart->chart(), &Utils::Charts::GenericChart::IndependentPlotDoubleClick, this,
            &SensorWindow::resetIndependentPlotSlot);
    vUpdateOutputView();

    for (const char* id : {"AnalogMode", "TeachStatus", "AnalogSubt", "MeasuringDataChannel"})
        setParameterVisible(id, false);
    applyPresentationMode(ExtensionSystem::Globals::getPresentationMode());

    d->crashCounterProperty = d->tree->find("CrashCounter");
}

SensorWindow::~SensorWindow()
{
    d->poll->setLiveData(false);
    delete d->chart;
    delete stateDelegate;
    ui.reset();
    delete propertyBrowser;
    delete d->propertyTreeDock;
    delete d->processData->tree();
    delete d->processDataDock;
    // The other widgets could still call back into the window while they go,
    // so they go while it is whole; the private block goes last.
    QList<QPointer<QWidget>> widgets;
    for (QWidget* widget : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        widgets.append(widget);
    for (const QPointer<QWidget>& widget : qAsConst(widgets))
        delete widget.data();
    delete d;
}

// The editor asks the window's actions what becomes of an edit, and the
// window shows what the editor's writes change beside the tree.
void SensorWindow::createEditor()
{
    EditorHost host;
    host.connected = [this] { return isConnected(); };
    host.settling = [this] { return isSettling(); };
    host.showWait = [this] { return d->session->showWait(); };
    host.mode = [this] {
        if (ui->actionRead->isChecked())
            return EditMode::Read;
        if (!ui->actionWritePermanent->isChecked())
            return EditMode::WindowOnly;
        return ui->actionWriting->isChecked() ? EditMode::Write : EditMode::WriteSuspended;
    };
    d->editor =
        new ParameterEditor(*d->link, *d->poll, *d->tree, *d->model, *d->writer, d->units, host, this);
    connect(d->editor, &ParameterEditor::editStarted, statusBar(), &QStatusBar::clearMessage);
    connect(d->editor, &ParameterEditor::message, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(d->editor, &ParameterEditor::notWritten, this, [this] { signalWriteModeIcon(true); });
    connect(d->editor, &ParameterEditor::outputEdited, d->outputSelector, &QComboBox::setCurrentIndex);
    connect(d->editor, &ParameterEditor::outputViewStale, this, &SensorWindow::vUpdateOutputView);
    connect(d->editor, &ParameterEditor::unitSwitched, this, [this](bool withLimits) {
        vSwitchMeasurementUnit();
        vUpdateOutputView();
        if (withLimits)
            vApplyUnitLimits();
    });
    connect(d->editor, &ParameterEditor::choiceWritten, this, &SensorWindow::followChoiceWritten);
    connect(d->editor, &ParameterEditor::written, this, &SensorWindow::followWrite);
    createSession();
}

// The sequences run in the session; the window shows what they report.
void SensorWindow::createSession()
{
    d->session = new SensorSession(
        sensor, {*d->link, *d->poll, *d->tree, *d->model, *d->reader, *d->editor, *d->writer, d->units},
        this);
    SensorSession* session = d->session;
    d->popup = new BusyPopup(this);
    connect(session, &SensorSession::busyStarted, d->popup,
            [this](int steps) { d->popup->start(tr("updating..."), steps); });
    connect(session, &SensorSession::busyProgress, d->popup, &BusyPopup::setProgress);
    connect(session, &SensorSession::busyEnded, d->popup, &BusyPopup::withdraw);
    d->cancelButton = new QPushButton(this);
    d->cancelButton->setObjectName("cancelSequenceInStatusBar");
    d->cancelButton->hide();
    statusBar()->addPermanentWidget(d->cancelButton);
    connect(d->cancelButton, &QPushButton::clicked, session, [this, session] {
        d->cancelButton->setEnabled(false);
        session->cancel();
    });
    connect(d->popup, &BusyPopup::cancelRequested, session, &SensorSession::cancel);
    connect(session, &SensorSession::cancellableChanged, this, [this](bool cancellable) {
        d->popup->setCancellable(cancellable);
        d->cancelButton->setText(tr("Cancel"));
        d->cancelButton->setEnabled(true);
        d->cancelButton->setVisible(cancellable);
    });
    connect(session, &SensorSession::settled, this, [this] {
        d->selectedPortIndex = d->portSelector->currentIndex();
        if (isConnected())
            ui->chartToolbar->setEnabled(true);
    });
    connect(session, &SensorSession::message, this, [this](const QString& text) {
        if (text.isEmpty())
            statusBar()->clearMessage();
        else
            statusBar()->showMessage(text);
    });
    connect(session, &SensorSession::treeLocked, this, [this](bool locked) {
        if (locked)
            d->treeLock.emplace(this, propertyBrowser);
        else
            d->treeLock.reset();
    });
    connect(session, &SensorSession::writeModeLeft, this,
            [this] { ui->actionWritePermanent->setChecked(false); });
    connect(session, &SensorSession::writeModeEntered, this, &SensorWindow::enterWriteMode);
    connect(session, &SensorSession::variantConnected, this, &SensorWindow::showConnectedVariant);
    connect(session, &SensorSession::identified, this, &SensorWindow::showIdentifiedSensor);
    connect(session, &SensorSession::connectFailed, this, &SensorWindow::showConnectFailure);
    connect(session, &SensorSession::sensorLost, this, &SensorWindow::goOfflineSensorLost);
    connect(d->poll, &StatusPoll::sensorLost, session, &SensorSession::loseSensor);
    connect(session, &SensorSession::valuesRead, this, &SensorWindow::showReadValues);
    connect(session, &SensorSession::valuesChanged, this, [this](bool withUnitLimits) {
        if (withUnitLimits)
            vApplyUnitLimits();
        enableEditableProperties();
        vUpdateOutputView();
        clearEchoDisplay();
    });
    connect(session, &SensorSession::outputViewStale, this, &SensorWindow::vUpdateOutputView);
    connect(session, &SensorSession::allWritten, this, &SensorWindow::reportWriteAll);

    // Only what the window shows as live data goes into the log.
    d->liveLog = new LiveDataLog(*d->poll, d->units, this);
    connect(d->liveLog, &LiveDataLog::failed, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    d->settingsFiles = new SettingsFileActions(
        {sensor, *d->link, *d->poll, *session, *d->tree, *d->model, *d->editor, d->units, *d->chart}, this);
    d->events = new SensorEvents({*session, *d->writer, *d->poll, *d->tree, *d->model, d->units,
                                  QString::fromStdString(sensor.name())},
                                 this);
    connect(d->settingsFiles, &SettingsFileActions::loaded, d->events, &SensorEvents::reportSettingsLoaded);
    new SensorWindowScripting(this, *d->liveLog, *d->link, *d->tree, *d->events, *session);
    d->reconnect = new ReconnectWatch(this);
    connect(d->reconnect, &ReconnectWatch::cameBack, this, &SensorWindow::reconnectSensor);
    connect(d->settingsFiles, &SettingsFileActions::message, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(d->settingsFiles, &SettingsFileActions::historyLoaded, this,
            [this] { ui->chartToolbar->setEnabled(true); });
    connect(d->settingsFiles, &SettingsFileActions::valuesApplied, this,
            &SensorWindow::finishLoadingSettings);
}

void SensorWindow::createPropertyBrowser()
{
    QWidget* owner = d->propertyTreeDock;
    auto* checkBoxFactory = new QtCheckBoxFactory(owner);
    auto* spinBoxFactory = new QtSpinBoxFactory(owner);
    auto* doubleSpinBoxFactory = new QtDoubleSpinBoxFactory(owner);
    auto* lineEditFactory = new QtLineEditFactory(owner);
    auto* enumEditorFactory = new QtEnumEditorFactory(owner);
    connect(spinBoxFactory, &QtSpinBoxFactory::valueRefused, this,
            [this](QtProperty* property, int value) { refuseTypedValue(property, value); });
    connect(doubleSpinBoxFactory, &QtDoubleSpinBoxFactory::valueRefused, this,
            &SensorWindow::refuseTypedValue);
    editNotifyFactory = new ComboBoxItemDelegate(owner);
    connect(editNotifyFactory, &ComboBoxItemDelegate::textEdited, this, &SensorWindow::textEdited);
    connect(editNotifyFactory, &ComboBoxItemDelegate::editingFinished, this,
            &SensorWindow::vTextEditFinished);

    propertyBrowser = new QtTreePropertyBrowser(d->propertyTreeDock);
    // Captions and values share the width, so a long (German) caption never
    // pushes the values out of sight; the user can move the divider.
    propertyBrowser->setResizeMode(QtTreePropertyBrowser::Interactive);
    propertyBrowser->setSplitterPosition(captionColumnWidth);
    propertyBrowser->setStyleSheet(" QTreeView {selection-background-color:  #00619E;}");
    propertyBrowser->setFactoryForManager(d->tree->managers().bools, checkBoxFactory);
    propertyBrowser->setFactoryForManager(d->tree->managers().ints, spinBoxFactory);
    propertyBrowser->setFactoryForManager(d->tree->managers().counters, spinBoxFactory);
    propertyBrowser->setFactoryForManager(d->tree->managers().doubles, doubleSpinBoxFactory);
    propertyBrowser->setFactoryForManager(d->tree->managers().enums, enumEditorFactory);
    // The window's own line edit replaces the plain one: string edits reach
    // the window, which decides when they go to the sensor.
    propertyBrowser->setFactoryForManager(d->tree->managers().strings, lineEditFactory);
    propertyBrowser->setFactoryForManager(
        d->tree->managers().strings,
        static_cast<QtAbstractEditorFactory<QtStringPropertyManager>*>(editNotifyFactory));
    auto* buttonFactory = new Utils::ButtonFactory(owner);
    propertyBrowser->setFactoryForManager(d->tree->managers().buttons, buttonFactory);
}

void SensorWindow::createListDocks()
{
    QTreeWidget* observationTree = nullptr;
    d->observationDock = createListDock(tr("Observation"), "observation", &observationTree);
    d->observationDock->toggleViewAction()->setIcon(QIcon(":/newPrefix/icons/Connection_image_new-01.svg"));
    ui->fileToolBar->addAction(d->observationDock->toggleViewAction());

    QTreeWidget* processDataTree = nullptr;
    d->processDataDock = createListDock(tr(" Process data"), "processdata", &processDataTree);
    d->processData = new ProcessDataView(processDataTree);
    d->processDataDock->toggleViewAction()->setIcon(QIcon(":/newPrefix/icons/Sensorenliste.svg"));
    ui->fileToolBar->addAction(d->processDataDock->toggleViewAction());
    createProcessDataRows();
    // A row's request goes out when its check state changes, by the mouse
    // or by Space; a click beside the box changes nothing.
    connect(processDataTree, &QTreeWidget::itemChanged, this, &SensorWindow::updateCheckState);
    // One column of lists on the right, the process data in front: the
    // observation list holds little, and the chart needs the width.
    tabifyDockWidget(d->observationDock, d->processDataDock);
    d->processDataDock->raise();
    resizeDocks({d->processDataDock}, {listDockWidth}, Qt::Horizontal);
}

QDockWidget* SensorWindow::createListDock(const QString& title, const QString& objectName, QTreeWidget** tree)
{
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(objectName);
    dock->setAllowedAreas(Qt::AllDockWidgetAreas);
    dock->setStyleSheet("QWidget {border: 1px solid lightgray;}");

    auto* content = new QWidget(dock);
    auto* layout = new QGridLayout(content);
    layout->setContentsMargins(0, 0, 1, 0);
    *tree = new QTreeWidget(content);
    (*tree)->setItemDelegate(stateDelegate);
    (*tree)->setAlternatingRowColors(true);
    (*tree)->setColumnCount(4);
    (*tree)->setHeaderHidden(true);
    (*tree)->setIconSize(QSize(32, 32));
    (*tree)->setFrameShadow(QFrame::Plain);
    (*tree)->setSelectionMode(QAbstractItemView::NoSelection);
    (*tree)->setItemsExpandable(true);
    (*tree)->setIndentation(12);
    // The captions give way, not the states: in a narrow dock the lamps and
    // values stay in sight and a long caption is shortened.
    (*tree)->header()->setStretchLastSection(false);
    (*tree)->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < 4; ++column)
        (*tree)->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    layout->addWidget(*tree, 0, 0, 1, 4);
    dock->setWidget(content);
    dock->setMinimumWidth(listDockWidth);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    return dock;
}

// The rows of the process-data list come from the document's caption
// section, in its order: the rest of the window addresses them by position.
void SensorWindow::createProcessDataRows()
{
    QStringList captions;
    QStringList ids;
    for (const CategoryRow& row : d->tree->categories()) {
        captions << row.caption;
        ids << row.id;
        d->processData->addRow(row.id, row.parent, row.hidden);
    }
    ids.sort();
    ids.removeDuplicates();
    d->processData->setCaptions(captions, ids);
}

ExtensionSystem::CommunicationInterface* SensorWindow::communication() const
{
    return d->link->communication();
}

void SensorWindow::setCommunication(ExtensionSystem::CommunicationInterface* communication)
{
    d->link->setCommunication(communication);
}

// The window names its sensor and port itself; the host's full name is not shown.
void SensorWindow::vSetCompleteName(QString) {}

QComboBox* SensorWindow::portSelector() const
{
    return d->portSelector;
}

QComboBox* SensorWindow::outputSelector() const
{
    return d->outputSelector;
}

QDockWidget* SensorWindow::propertyTreeDock() const
{
    return d->propertyTreeDock;
}

QDockWidget* SensorWindow::processDataDock() const
{
    return d->processDataDock;
}

QDockWidget* SensorWindow::observationDock() const
{
    return d->observationDock;
}

QTreeWidget* SensorWindow::processDataTree() const
{
    return d->processData->tree();
}

Utils::Charts::GenericChart* SensorWindow::chart() const
{
    return d->chart->chart();
}

bool SensorWindow::isConnected() const
{
    return d->session->isConnected();
}

bool SensorWindow::isSettling() const
{
    return d->session->isSettling();
}

void SensorWindow::updateChart()
{
    if (isConnected())
        ui->chartToolbar->setEnabled(true);
}

void SensorWindow::updateComPortList(const QStringList& ports)
{
    const QString selected = d->portSelector->currentText();
    d->portSelector->clear();
    d->portSelector->insertItem(0, tr("Offline"));
    d->portSelector->insertSeparator(1);
    d->portSelector->insertItems(2, ports);
    // Nothing selected before means nothing selected after; the separator's
    // empty text must not count as a match.
    const int index = selected.isEmpty()
                          ? -1
                          : d->portSelector->findText(selected, Qt::MatchExactly | Qt::MatchCaseSensitive);
    d->portSelector->setCurrentIndex(index);
    // The connected port keeps its entry; its place in the list may move.
    if (isConnected() && index >= 0)
        d->selectedPortIndex = index;
}

void SensorWindow::setWindowActive(bool active)
{
    if (active && ui->actionEnable_live_data->isChecked())
        d->chart->chart()->jumpToPlottingArea();
}

void SensorWindow::vSensorUpdate(const QVariant& value)
{
    applyPresentationMode(value.toBool());
}

// Presentation mode leaves what an audience watches: the distance plot and
// the process data. The parameter and observation docks go, and so does the
// echo plot.
void SensorWindow::applyPresentationMode(bool hide)
{
    d->presentationMode = hide;
    d->propertyTreeDock->setHidden(hide);
    d->observationDock->setHidden(hide);
    d->chart->chart()->getDockChartItem(0)->setHidden(false);
    showEchoPlot();
    d->processData->setPresentation(hide);
}

// The echo plot only takes room while the sensor sends echoes, or the user
// asked for it (it carries the detection range's marks); otherwise the
// distance plot has the whole chart.
void SensorWindow::showEchoPlot()
{
    const bool asked = d->echoPlotAction && d->echoPlotAction->isChecked();
    d->chart->setEchoPlotShown((d->poll->areEchoesWanted() || asked) && !d->presentationMode);
}

// A connected sensor's operations and its chart, whose marks move its
// parameters, are usable together.
void SensorWindow::setSensorOperationsEnabled(bool enabled)
{
    ui->sensorOperationsToolbar->setEnabled(enabled);
    d->chart->chart()->setEnabled(enabled);
    // The menu comes later in construction than the first call.
    if (!d->sensorMenu.connect)
        return;
    d->sensorMenu.readAll->setEnabled(enabled);
    d->sensorMenu.writeAll->setEnabled(enabled);
    retranslateSensorMenu();
}

// Connecting needs a port: the only one offered is taken, otherwise the
// user picks one from the port list.
void SensorWindow::connectOrDisconnect()
{
    QComboBox* ports = d->portSelector;
    if (isConnected()) {
        if (!settleEdits())
            return;
        ports->setCurrentIndex(0);
        actionConnectSensor(0);
    } else if (ports->count() == 3) {
        ports->setCurrentIndex(2);
        actionConnectSensor(2);
    } else if (ports->count() > 3) {
        ports->setFocus();
        ports->showPopup();
    } else {
        statusBar()->showMessage(tr("No port to connect to: attach the IO-Link master to this computer."));
    }
}

// Which of the three modes edits are in: short in the status bar, in a
// sentence in its tool tip.
void SensorWindow::showWindowMode()
{
    QString mode;
    QString meaning;
    if (!isConnected() && d->reconnect && d->reconnect->isWatching()) {
        // Kept beside the status bar's messages, which tips and later news replace.
        mode = tr("Waiting for %1 to come back...").arg(d->reconnect->path());
        meaning = tr("The window connects by itself when the port is back, reading the sensor; edits stay in "
                     "the window. The sensor menu turns this off.");
    } else if (!isConnected()) {
        mode = tr("Offline");
        meaning = tr("Not connected: edits stay in the window.");
    } else if (ui->actionRead->isChecked()) {
        mode = tr("Mode: read");
        meaning = tr("Read mode: edits are not written, and a clicked row cannot be edited.");
    } else if (ui->actionWritePermanent->isChecked()) {
        mode = tr("Mode: write");
        meaning = tr("Write mode: each edit is written to the sensor.");
    } else {
        mode = tr("Mode: window only");
        meaning = tr("Edits stay in the window and are not written to the sensor.");
    }
    d->modeLabel->setText(mode);
    d->modeLabel->setToolTip(meaning);
}

void SensorWindow::vConnectWindowTimers()
{
    setSensorOperationsEnabled(false);
    d->poll->setEnabled(true);
    connect(&d->continuousDataTimer, &QTimer::timeout, this, &SensorWindow::slotContinousDataTimeout);
}

// The window has no manual of its own to open.
void SensorWindow::vOpenManual() {}

// Zooming and resizing the echo plot need nothing from the window.
void SensorWindow::independentPlotZoomedSlot(int) {}

void SensorWindow::resizeIndependentPlotSlot(int) {}

// The continuous-data timer is kept for hosts that start it; its time-out
// has nothing to do.
void SensorWindow::slotContinousDataTimeout() {}

bool SensorWindow::eventFilter(QObject* watched, QEvent* event)
{
    return QObject::eventFilter(watched, event);
}

// A double click brings the echo plot back to the variant's whole range
// rather than to the family's largest.
void SensorWindow::resetIndependentPlotSlot(int)
{
    d->chart->scaleEchoPlot();
}

void SensorWindow::updateWindowTitle()
{
    const QString title = QString::fromStdString(sensor.name()) + " (" + d->portSelector->currentText() + ")";
    setWindowTitle(title);
    if (d->tree->root())
        d->tree->root()->setPropertyName(title);
    statusBar()->showMessage(title);
}

void SensorWindow::resizeEvent(QResizeEvent* event)
{
    d->chart->chart()->UpdateMinimumHeights(event->size().height());
    foldListsWhenNarrow(event->size().width());
}

// Below this width the property tree and the lists share one column of
// tabs on the left, so the chart keeps at least 40% of the window: side by
// side, at 1024 pixels, it had a fifth.
void SensorWindow::foldListsWhenNarrow(int width)
{
    constexpr int foldBelow = 1200;
    const bool narrow = width < foldBelow;
    if (narrow == d->listsFolded)
        return;
    d->listsFolded = narrow;
    if (narrow) {
        tabifyDockWidget(d->propertyTreeDock, d->processDataDock);
        tabifyDockWidget(d->processDataDock, d->observationDock);
        d->propertyTreeDock->raise();
        return;
    }
    addDockWidget(Qt::RightDockWidgetArea, d->observationDock);
    tabifyDockWidget(d->observationDock, d->processDataDock);
    d->processDataDock->raise();
    resizeDocks({d->processDataDock}, {listDockWidth}, Qt::Horizontal);
}

void SensorWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateWindow();
    QMainWindow::changeEvent(event);
}

// A language change re-captions everything in place.
void SensorWindow::retranslateWindow()
{
    {
        // Value changes that re-captioning causes are not the user's edits.
        const ParameterTree::Quiet quiet(*d->tree);
        ui->retranslateUi(this);
        d->tree->retranslate(ExtensionSystem::Globals::getLanguage());
        for (const char* id : {"ErrorWarning1", "ErrorWarning2", "ErrorWarning3", "ErrorWarning4"})
            showErrorSource(id, d->tree->choice(id));
        QStringList captions;
        for (const CategoryRow& row : d->tree->categories())
            captions << row.caption;
        d->processData->retranslate(captions);
        d->tree->refreshUnitSuffixes();
        retranslateFileMenu();
        retranslateSensorMenu();
        d->propertyTreeDock->setWindowTitle(tr("Property tree"));
        d->chart->retranslate();
        retranslateLists();
    }
    enableTreeDataHandling(true);
}

void SensorWindow::retranslateLists()
{
    d->processDataDock->setWindowTitle(tr("Process data"));
    d->observationDock->setWindowTitle(tr(" Observation"));
    d->processData->retranslate({});

    const int port = d->portSelector->currentIndex();
    d->portSelector->setItemText(0, tr("Offline"));
    d->portSelector->setCurrentIndex(port);

    const int output = d->outputSelector->currentIndex();
    const QSignalBlocker quiet(d->outputSelector);
    d->outputSelector->clear();
    d->outputSelector->addItem(tr("Output") + " 1");
    d->outputSelector->addItem(tr("Output") + " 2");
    d->outputSelector->setCurrentIndex(output);

    updateWindowTitle();
}

void SensorWindow::closeEvent(QCloseEvent* event)
{
    if (!settleEdits()) {
        event->ignore();
        return;
    }
    d->poll->setLiveData(false);
    d->poll->setEnabled(false);
    d->continuousDataTimer.stop();
    vDisconnect();
    d->session->hideWaits();
    emit vAboutToClose();
    QMainWindow::closeEvent(event);
}

} // namespace NimbarSensorPlugin::Core
