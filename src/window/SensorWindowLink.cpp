// The window's side of the link to the sensor: the window's slots that send
// frames, connecting as the user chose (the port, the question and what the
// session's connect and read report, told in the window's words), the
// connected variant and going offline.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/ConnectionSwitchDialog.h"
#include "link/LinkSession.h"
#include "link/ProcessDataView.h"
#include "link/ReconnectWatch.h"
#include "link/RequestFrames.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterEditor.h"
#include "parameters/ParameterModel.h"
#include "parameters/ParameterTree.h"
#include "parameters/RowVisibility.h"
#include "parameters/SensorSession.h"
#include "tools/DistanceChart.h"
#include "tools/ThresholdMarks.h"

#include <utils/charts/GenericChart.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>
#include <utils/widgets/ConnectionStatus.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QStatusBar>
#include <QTreeWidgetItem>

namespace NimbarSensorPlugin::Core {

using DataFrame = ExtensionSystem::CommunicationInterface::DataFrame;
using ExtensionSystem::SensorQuery;

// The session ended the sequence: the window goes offline and says so. The
// rows not yet read keep their values.
void SensorWindow::goOfflineSensorLost()
{
    const QString port = d->portSelector->currentIndex() > 0 ? d->portSelector->currentText() : QString();
    d->continuousDataTimer.stop();
    d->portSelector->setCurrentIndex(0);
    d->selectedPortIndex = 0;
    vDisconnect();
    setSensorOperationsEnabled(false);
    // Only a device path can go and come back; a port of the host's own
    // (a simulated sensor) is there for good.
    if (QDir::isAbsolutePath(port) && d->sensorMenu.reconnect->isChecked())
        waitForPort(port);
    QMessageBox::warning(this, tr("Connecting to sensor"),
                         tr("The sensor did not respond, please make sure it is properly connected."),
                         QMessageBox::Ok);
}

void SensorWindow::waitForPort(const QString& port)
{
    d->reconnect->watch(port);
    statusBar()->showMessage(tr("Waiting for %1 to come back...").arg(port));
    showWindowMode();
}

// The sensor is read again as a connect reads it; the edits the user had not
// written stay edits, marked, over what the sensor holds. A port the window
// does not offer yet (the host lists ports every few seconds) is looked for
// again shortly; a connect that fails waits for the next return.
void SensorWindow::reconnectSensor(const QString& port)
{
    if (isConnected())
        return;
    if (d->portSelector->findText(port) <= 0 || d->link->held()) {
        d->reconnect->retrySoon();
        return;
    }
    QMap<QString, QVariant> edits;
    for (const QString& id : d->model->editedIds())
        edits.insert(id, d->model->shown(id));
    vAutoConnect(port);
    if (!isConnected()) {
        waitForPort(port);
        return;
    }
    const ParameterTree::Quiet quiet(*d->tree);
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        d->model->setEdit(it.key(), it.value());
    statusBar()->showMessage(edits.isEmpty() ? tr("Connected again to %1").arg(port)
                                             : tr("Connected again to %1; %n edit(s) kept, not written",
                                                  nullptr, int(edits.size()))
                                                   .arg(port));
}

void SensorWindow::sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame* frame, bool showUi)
{
    d->link->send(frame, showUi);
}

void SensorWindow::sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame* frame)
{
    d->link->send(frame, true);
}

bool SensorWindow::bSendCommand(const QByteArray& request, bool useUiSetting)
{
    return d->link->command(request, useUiSetting && d->session->showWait());
}

QByteArray SensorWindow::queryAnswer(const QByteArray& request, const QString& expectedAnswer)
{
    return d->link->query(request, expectedAnswer, d->session->showWait());
}

std::string SensorWindow::bCheckConnectionRequest() const
{
    return connectionCheckRequest().toStdString();
}

void SensorWindow::vUpdateProgressBar()
{
    d->session->advanceBusy();
}

// The warning keeps its words; a second line says what actually happened,
// since a silent master or a lost port is no wrong sensor.
void SensorWindow::showConnectFailure(const QString& whatHappened)
{
    statusBar()->clearMessage();
    QMessageBox box(QMessageBox::Warning, tr("Connecting to sensor..."),
                    tr("The connected sensor does not match currently selected sensor, please try again "
                       "with the proper sensor") +
                        "\n" + whatHappened,
                    QMessageBox::Ok, this);
    // A host that logs the box instead of showing it says only this part.
    box.setProperty("whatHappened", whatHappened);
    box.exec();
}

// A choice in the port selector (from its list or with the keys while it
// has the focus) that leaves the connected port asks first; No puts the
// selector back and changes nothing. A sensor lost while the question is
// open leaves the selector on "Offline".
bool SensorWindow::mayLeaveConnectedPort(int index)
{
    if (!isConnected() || index == d->selectedPortIndex)
        return true;
    const QString port = d->portSelector->itemText(d->selectedPortIndex);
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Port selection"), tr("Disconnect the sensor on %1?").arg(port),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    // Edits not written yet are settled before the sensor goes.
    if (answer == QMessageBox::Yes && settleEdits()) {
        d->portSelector->setCurrentIndex(index);
        return true;
    }
    if (isConnected())
        d->portSelector->setCurrentIndex(d->selectedPortIndex);
    return false;
}

void SensorWindow::actionConnectSensor(int state)
{
    // Going offline is never put off: it is how the user stops a sequence.
    if (state > 0 && d->link->deferWhileHeld([this, state] { actionConnectSensor(state); }))
        return;
    if (state <= 0) {
        d->continuousDataTimer.stop();
        d->session->endBusy();
        d->session->setConnected(false);
        setSensorOperationsEnabled(false);
        d->selectedPortIndex = 0;
        vDisconnect();
        d->connectionStatus->setConnected(false);
        return;
    }

    ConnectionSwitchDialog dialog(this);
    dialog.exec();
    bool cancelled = false;
    switch (dialog.result()) {
    case ConnectionSwitchDialog::Cancel:
        d->portSelector->setCurrentIndex(d->selectedPortIndex);
        cancelled = true;
        break;
    case ConnectionSwitchDialog::SensorToPc:
        connectSensorToPc();
        break;
    case ConnectionSwitchDialog::PcToSensor:
        cancelled = !connectPcToSensor();
        break;
    default:
        break;
    }
    if (cancelled)
        return;
    setSensorOperationsEnabled(isConnected());
    d->connectionStatus->setConnected(isConnected());
}

// A verified sensor's values win: they are read into the window, and live
// data go on once the sensor has settled.
void SensorWindow::readConnectedSensor()
{
    updateWindowTitle();
    if (!d->session->readConnected())
        return;
    enterWriteMode();
    setSensorOperationsEnabled(true);
    d->selectedPortIndex = d->portSelector->currentIndex();
    d->chart->marks()->marks(1)->setReadOnly(false);
}

// Asks the host for the port chosen in the selector. The first entry,
// "Offline", names no port: a sensor lost while the connection question was
// open puts the selector back there, and then nothing is connected.
bool SensorWindow::requestChosenPort()
{
    if (d->portSelector->currentIndex() <= 0)
        return false;
    emit vComPortSelected(d->portSelector->currentText());
    return true;
}

// Every connect, once offline, asks for the chosen port and shows the
// pop-up. An edit still waiting to be written is given up: the sensor's
// values or a write of the whole tree come instead. False when no port is
// chosen.
bool SensorWindow::startConnecting()
{
    d->reconnect->stop();
    if (!requestChosenPort())
        return false;
    d->session->startBusy(600);
    d->editor->cancelPending();
    return true;
}

// A sensor that did not connect leaves the window offline; the selector
// goes first, so that the title no longer names the port.
void SensorWindow::connectingFailed()
{
    d->session->endBusy();
    d->selectedPortIndex = 0;
    d->portSelector->setCurrentIndex(0);
    vDisconnect();
}

// "Sensor -> PC": the sensor's values win and are read into the window.
void SensorWindow::connectSensorToPc()
{
    vDisconnect();
    if (!startConnecting())
        return;
    const LinkSession::Hold hold(*d->link);
    if (bConnectToSensor()) {
        readConnectedSensor();
        if (isConnected())
            d->poll->setLiveData(true);
        return;
    }
    connectingFailed();
}

// "PC -> Sensor": the window's values win and are written to the sensor.
// False when the user thought better of it.
bool SensorWindow::connectPcToSensor()
{
    // Titled with the program's name, as the user knows it; a code word would mean nothing to him.
    QMessageBox question(QMessageBox::Information, tr("IO-Link Sensor Workbench"),
                         tr("Sensor settings will be overwritten with the ones from PC"),
                         QMessageBox::Ok | QMessageBox::Cancel, this);
    question.setDefaultButton(QMessageBox::Cancel);
    // Most parameters of a sensor usually hold the window's values already;
    // each write the sensor is spared is an EEPROM write it does not need.
    auto* onlyDifferences = new QCheckBox(tr("Write only what differs (faster)"), &question);
    onlyDifferences->setObjectName("writeOnlyDifferences");
    onlyDifferences->setChecked(true);
    question.setCheckBox(onlyDifferences);
    if (question.exec() == QMessageBox::Cancel) {
        d->portSelector->setCurrentIndex(0);
        d->selectedPortIndex = 0;
        return false;
    }
    vDisconnect();
    if (!startConnecting())
        return true;
    const LinkSession::Hold hold(*d->link);
    if (bConnectToSensor()) {
        updateWindowTitle();
        if (!d->session->writeConnected(onlyDifferences->isChecked()))
            return true;
        setSensorOperationsEnabled(true);
        d->selectedPortIndex = d->portSelector->currentIndex();
        d->chart->marks()->marks(1)->setReadOnly(false);
        vUpdateOutputView();
        if (d->units.variant().hasAnalogOutput)
            vScaleAnalogChart();
        d->session->startLiveData();
        return true;
    }
    connectingFailed();
    return true;
}

void SensorWindow::vAutoConnect(QString ComPort)
{
    if (d->link->deferWhileHeld([this, ComPort] { vAutoConnect(ComPort); }))
        return;
    vDisconnect();
    for (int index = d->portSelector->count() - 1; index >= 0; --index) {
        if (d->portSelector->itemText(index) == ComPort) {
            d->portSelector->setCurrentIndex(index);
            break;
        }
    }
    if (!startConnecting()) {
        d->connectionStatus->setConnected(isConnected());
        return;
    }
    d->session->setLiveDataOnResume(true);
    const LinkSession::Hold hold(*d->link);
    if (bConnectToSensor()) {
        readConnectedSensor();
    } else {
        d->session->setLiveDataOnResume(false);
        connectingFailed();
    }
    d->connectionStatus->setConnected(isConnected());
}

void SensorWindow::vConnectToPort(QString port)
{
    emit vComPortSelected(port);
}

void SensorWindow::vDisconnect()
{
    // Every connection forgives its first two unanswered polls.
    d->poll->reset();

    d->chart->marks()->marks(0)->setReadOnly(true);
    d->session->setConnected(false);
    setSensorOperationsEnabled(false);
    d->connectionStatus->setConnected(false);
    ui->actionOpen_Settings->setEnabled(true);

    d->poll->setLiveData(false);
    emit vComPortSelected(QString());

    updateWindowTitle();
    clearLiveValues();
    d->chart->chart()->updateChart(true);
    d->continuousDataTimer.stop();
}

bool SensorWindow::bConnectToSensor()
{
    return d->session->connectToSensor();
}

// The sensor connected: its thresholds may be dragged, and no settings file
// is opened over it.
void SensorWindow::showIdentifiedSensor()
{
    d->chart->marks()->marks(0)->setReadOnly(!sensor.thresholdsReadOnly());
    ui->actionOpen_Settings->setEnabled(false);
}

bool SensorWindow::bCheckConnection()
{
    return d->link->checkLine(d->session->showWait());
}

// The rows, lists and process data the connected variant has.
void SensorWindow::showConnectedVariant(const QString& code, const SensorVariant& variant)
{
    for (const auto& [id, shown] : variantRowVisibility(variant, code))
        setParameterVisible(id, shown);
    if (!variant.accelerationSensor) {
        if (QTreeWidgetItem* row = d->processData->row(14))
            row->setHidden(true);
        d->tree->setCrashDetectionAvailable(false);
        trimPinFunctionLists();
    }
    trimErrorWarningLists();
    // The distance plot spans what this variant measures, not the family's widest range.
    d->chart->scaleToUnit();
}

} // namespace NimbarSensorPlugin::Core
