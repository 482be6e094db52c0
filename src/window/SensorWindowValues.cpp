// The window's parameter values on their way to and from the sensor: the
// user's edits and when they are written, what the window changes with a
// value, reading and writing everything, and the tag texts. The reads and
// writes themselves are the reader's and the writer's.
#include "SensorWindow.h"

#include "BusyPopup.h"
#include "ProcessDataView.h"
#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "link/RequestFrames.h"
#include "link/StatusPoll.h"
#include "parameters/ChoiceTrims.h"
#include "parameters/ParameterModel.h"
#include "parameters/ParameterReader.h"
#include "parameters/ParameterTree.h"
#include "parameters/ParameterWriter.h"
#include "parameters/ValueCodec.h"

#include <utils/charts/GenericChart.h>
#include <utils/widgets/ButtonManager.h>

#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>

#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QStatusBar>
#include <QTreeWidgetItem>

namespace NimbarSensorPlugin::Core {

namespace {

// ErrorWarning1 to ErrorWarning4 name the sources of status rows 6 to 9.
int errorWarningRow(const QString& id)
{
    static const QStringList ids{"ErrorWarning1", "ErrorWarning2", "ErrorWarning3", "ErrorWarning4"};
    const int k = ids.indexOf(id);
    return k < 0 ? -1 : 6 + k;
}

} // namespace

void SensorWindow::enableTreeDataHandling(bool enable)
{
    if (enable) {
        if (!treeDataHandling.isEmpty())
            return;
        treeDataHandling = {
            connect(d->tree->managers().ints, &QtIntPropertyManager::valueChanged, this,
                    &SensorWindow::intValueChanged),
            connect(d->tree->managers().enums, &QtEnumPropertyManager::valueChanged, this,
                    &SensorWindow::enumValueChanged),
            connect(d->tree->managers().doubles, &QtDoublePropertyManager::valueChanged, this,
                    &SensorWindow::doubleValueChanged),
            connect(d->tree->managers().bools, &QtBoolPropertyManager::valueChanged, this,
                    &SensorWindow::boolValueChanged),
            connect(d->tree->managers().buttons, &Utils::ButtonManager::buttonClicked, this,
                    &SensorWindow::buttonClicked),
        };
        return;
    }
    for (const QMetaObject::Connection& connection : qAsConst(treeDataHandling))
        disconnect(connection);
    treeDataHandling.clear();
}

// Only the user's edits are written. The value signals are switched off
// around the window's own changes, but some of those (limits that clamp a
// value just read) come after a nested step switched them on again; a change
// made while the window is quiet is therefore never recorded.
void SensorWindow::recordChange(QtProperty* property, const QVariant& value)
{
    if (d->tree->isQuiet())
        return;
    enableTreeDataHandling(false);
    if (!languageSwitching && property) {
        // A new edit starts: what the status bar said of the last one is past.
        statusBar()->clearMessage();
        // The edit lives in the model; the row shows it as the sensor will hold it.
        d->model->setEdit(property->propertyId(), d->tree->sensorValueOf(property, value));
        currentProperty = property;
        pendingValue = value;
        writeDelayTimer.start();
        d->poll->stop();
        d->poll->restartCycle(true);
        if (!connected)
            vUpdateOutputView();
    }
    enableTreeDataHandling(true);
}

void SensorWindow::intValueChanged(QtProperty* property, int value)
{
    recordChange(property, value);
}

void SensorWindow::doubleValueChanged(QtProperty* property, double value)
{
    recordChange(property, value);
}

void SensorWindow::boolValueChanged(QtProperty* property, bool value)
{
    recordChange(property, value);
}

void SensorWindow::enumValueChanged(QtProperty* property, int value)
{
    recordChange(property, value);
}

void SensorWindow::buttonClicked(QtProperty* property)
{
    recordChange(property, QString());
}

// String values are applied by the tag write and by the window itself.
void SensorWindow::stringValueChanged(QtProperty*, QString) {}

void SensorWindow::enableStringManagerHandling(bool) {}

void SensorWindow::comboIndexChangedString(QString text)
{
    if (QtProperty* property = currentProperty ? d->tree->find(currentProperty->propertyId()) : nullptr)
        d->tree->managers().strings->setValue(property, text);
}

void SensorWindow::comboIndexChangedInt(int index)
{
    recordChange(currentProperty, index);
}

// The sensor's number for the row's new value, and what the window
// changes with it.
int SensorWindow::encodeParameterValue(QtProperty* property, const QVariant& value)
{
    const QString id = property->propertyId();
    QtAbstractPropertyManager* manager = property->propertyManager();
    const PropertyManagers& managers = d->tree->managers();
    if (manager == managers.buttons) {
        if (!followUpEnabled)
            return 0;
        // The reset clears the crash counter: what follows the write treats
        // it as a write of the counter.
        if (id == "RESETBUTTON" && d->crashCounterProperty)
            currentProperty = d->crashCounterProperty;
        return d->writer->code(property, value);
    }
    const int code = d->writer->code(property, value);
    if (manager == managers.doubles && followUpEnabled &&
        (id.contains("HysteresisA") || id.contains("ThresholdA") || id.contains("DetectionRange") ||
         id.contains("analog")))
        vUpdateOutputView();
    if (manager != managers.enums)
        return code;
    const int position = value.toInt();
    if (id == "MesurementUnit") {
        unitChangedByWrite = d->units.unit() != position;
        d->units.setUnit(position);
        if (followUpEnabled) {
            vSwitchMeasurementUnit();
            vUpdateOutputView();
        }
    } else if (id == "ObjectInfo") {
        d->poll->setEchoesWanted(position == 1);
        d->poll->restartCycle(position == 1);
        clearEchoDisplay();
        showEchoPlot();
    } else if (id == "TestMode") {
        if (followUpEnabled)
            vShowTestModeParameters(position != 0);
    }
    const int row = errorWarningRow(id);
    if (row >= 0)
        d->processData->setRowToolTip(row, managers.enums->enumNames(property).value(position));
    if (followUpEnabled && (id == "PinFunctionA1" || id == "PinFunctionA2" || id == "PinFunctionA3" ||
                            id.contains("TeachInMode") || id.contains("ErrorWarning"))) {
        vUpdateOutputView();
        if (id == "PinFunctionA2")
            d->chart->jumpToPlottingArea();
    }
    return code;
}

ParameterReader::Options SensorWindow::readOptions() const
{
    return {d->showProgressUi, d->poll->isCycleAllowed()};
}

bool SensorWindow::readParameter(const QString& id, bool showUi)
{
    if (id.contains("BUTTON"))
        return true;
    enableTreeDataHandling(false);
    const bool taken = d->reader->read(id, showUi && d->showProgressUi, readOptions());
    enableTreeDataHandling(true);
    return taken;
}

void SensorWindow::vRadAllSettings(bool checked)
{
    if (d->link->held()) {
        d->link->whenFree([this, checked] { vRadAllSettings(checked); });
        return;
    }
    // The user asked for the sensor's values: an edit still waiting to be
    // written gives way to them.
    writeDelayTimer.stop();
    const LinkSession::Hold hold(*d->link);
    stopLiveData();
    enableTreeDataHandling(false);
    d->link->pause(200);
    ui->actionWritePermanent->setChecked(false);
    d->showProgressUi = true;
    showUpdatingPopup(585);
    d->poll->setCycleAllowed(false);
    vReloadParameters();
    d->poll->setCycleAllowed(true);
    if (!connected)
        return;
    ui->actionEnable_live_data->setChecked(true);
    // Checking the action from here does not run its slot: live data is on.
    d->poll->setLiveData(true);
    enterWriteMode();
    vApplyUnitLimits();
    enableEditableProperties();
    d->poll->schedule();
    enableEditableProperties();
    vUpdateOutputView();
    clearEchoDisplay();
}

// After a read of everything the window is in write mode, however the read
// was started; the actions' slots do not run for it.
void SensorWindow::enterWriteMode()
{
    {
        const QSignalBlocker write(ui->actionWritePermanent);
        const QSignalBlocker read(ui->actionRead);
        ui->actionWritePermanent->setChecked(true);
        ui->actionRead->setChecked(false);
    }
    showWindowMode();
}

void SensorWindow::readIdentityTexts()
{
    enableTreeDataHandling(false);
    d->reader->readIdentityTexts(readOptions());
    enableTreeDataHandling(true);
}

// After a connection the sensor gets a few seconds to settle; edits made
// meanwhile stay in the window.
bool SensorWindow::connectionPopupOpen() const
{
    return d->popup->isVisible() && d->resumeLiveData;
}

// A write the timer brings while another exchange holds the link waits for
// it rather than putting its requests between that exchange's.
void SensorWindow::sendDelayValue()
{
    if (d->link->held()) {
        writeDelayTimer.start();
        return;
    }
    writeCurrentProperty();
}

void SensorWindow::writeCurrentProperty()
{
    if (!currentProperty)
        return;
    if (connectionPopupOpen()) {
        statusBar()->showMessage(tr("%1 was not written: the window is still updating after connecting. The "
                                    "value stays in the window.")
                                     .arg(splitCaptionUnit(currentProperty->propertyName()).name));
        return;
    }
    QtProperty* property = currentProperty;
    const QString id = property->propertyId();
    if (followUpEnabled && !id.contains("ErrorWarning"))
        d->outputSelector->setCurrentIndex(id.contains("2") ? 1 : 0);
    if (ui->actionRead->isChecked()) {
        signalWriteModeIcon(true);
        followUpEnabled = true;
        vUpdateOutputView();
        return;
    }
    if (!ui->actionRead->isChecked() && !ui->actionWritePermanent->isChecked() && id == "MesurementUnit") {
        d->units.setUnit(pendingValue.toInt());
        if (followUpEnabled) {
            enableTreeDataHandling(false);
            vSwitchMeasurementUnit();
            vUpdateOutputView();
            vApplyUnitLimits();
            d->poll->schedule();
        }
        return;
    }
    if (!ui->actionWritePermanent->isChecked()) {
        signalWriteModeIcon(true);
        vUpdateOutputView();
        return;
    }

    enableTreeDataHandling(false);
    const std::optional<ParameterAddress> address =
        id.isEmpty() ? std::nullopt : parseParameterAddress(d->tree->addresses().value(id));
    unitChangedByWrite = false;
    const int value = address ? encodeParameterValue(property, pendingValue) : 0;
    if (!ui->actionWriting->isChecked()) {
        signalWriteModeIcon(true);
        enableTreeDataHandling(true);
        return;
    }
    {
        const LinkSession::Hold hold(*d->link);
        if (address && connected && !connectionPopupOpen())
            reportWrite(property, d->writer->write(property, value, d->showProgressUi));
        if (!d->poll->isLiveData() && connected && !connectionPopupOpen())
            bSendCommand(processDataRequest(), true);
    }

    writeDelayTimer.stop();
    const QString handled = currentProperty ? currentProperty->propertyId() : id;
    if (followUpEnabled) {
        if (handled.contains("TEACHBUTTON") || handled.contains("CrashCounter"))
            d->teachUpdateTimer.start();
        // A pin switched to teach input has its thresholds taught at once.
        if ((handled == "PinFunctionA1" || handled == "PinFunctionA2") && value == 4)
            vReadTaughtThresholds(handled);
        if (handled.contains("analog") && d->units.variant().hasAnalogOutput)
            vScaleAnalogChart();
        if (unitChangedByWrite && connected) {
            d->showProgressUi = true;
            showUpdatingPopup(230);
            d->teachUpdateTimer.start();
        }
    }
    d->poll->schedule();
    enableTreeDataHandling(true);
}

// A write of everything reports once, at its end.
void SensorWindow::reportWrite(QtProperty* property, const WriteOutcome& outcome)
{
    if (outcome.ignored || d->writer->isTallying())
        return;
    const QString name = splitCaptionUnit(property->propertyName()).name;
    if (!outcome.taken)
        statusBar()->showMessage(tr("%1 was not written to the sensor: %2").arg(name, outcome.reason));
    else if (property->propertyManager() == d->tree->managers().buttons)
        statusBar()->showMessage(tr("%1: sent to the sensor").arg(name));
    else
        statusBar()->showMessage(tr("%1 = %2 written").arg(name, d->tree->valueText(property)));
}

void SensorWindow::reportWriteAll()
{
    statusBar()->showMessage(tr("Written to the sensor: %1 parameters; not written: %2 (marked in the tree).")
                                 .arg(d->writer->writtenCount())
                                 .arg(d->writer->failures().size()));
    // A lost sensor has had its own message; the list would only repeat it.
    if (d->writer->failures().isEmpty() || !connected)
        return;
    QMessageBox box(
        QMessageBox::Warning, tr("Not written to the sensor"),
        tr("The sensor did not take %n parameter(s). They keep their values in the window and are "
           "marked in the tree.",
           nullptr, d->writer->failures().size()),
        QMessageBox::Ok, this);
    const int shown = 10;
    QStringList lines = d->writer->failures().mid(0, shown);
    if (d->writer->failures().size() > shown) {
        lines << tr("and %n more", nullptr, int(d->writer->failures().size()) - shown);
        box.setDetailedText(d->writer->failures().join('\n'));
    }
    box.setInformativeText(lines.join('\n'));
    box.exec();
}

void SensorWindow::vWriteAllSettings(bool checked)
{
    if (d->link->held()) {
        d->link->whenFree([this, checked] { vWriteAllSettings(checked); });
        return;
    }
    // A pending edit is in the tree, and so among what is written now.
    writeDelayTimer.stop();
    const LinkSession::Hold hold(*d->link);
    d->showProgressUi = true;
    showUpdatingPopup(460);
    const bool liveData = ui->actionEnable_live_data->isChecked();
    stopLiveData();
    enableTreeDataHandling(false);
    followUpEnabled = false;
    writeAllSettings();
    followUpEnabled = true;
    if (!connected)
        return;
    ui->actionEnable_live_data->setChecked(liveData);
    d->poll->setLiveData(liveData);
    enableEditableProperties();
    d->poll->schedule();
    vUpdateOutputView();
    clearEchoDisplay();
}

void SensorWindow::writeAllSettings()
{
    pendingValue = -1;
    if (ui->actionRead->isChecked())
        ui->actionRead->setChecked(false);
    if (!ui->actionWritePermanent->isChecked())
        ui->actionWritePermanent->setChecked(true);
    const bool online = connected;
    d->writer->startTally();
    {
        // What is written is what the tree shows when it starts: no edits meanwhile.
        const TreeLock lock(this);
        int done = 0;
        for (auto it = d->tree->addresses().cbegin(); it != d->tree->addresses().cend(); ++it) {
            if (online && !sequenceMayGoOn())
                break;
            if (online)
                statusBar()->showMessage(tr("Writing %1 of %2").arg(++done).arg(d->tree->addresses().size()));
            QtProperty* property = d->tree->find(it.key());
            switch (d->writer->writeAllKind(it.key())) {
            case WriteAllKind::Skip:
                break;
            case WriteAllKind::Tag:
                editedText = d->tree->managers().strings->value(property);
                textEditPending = true;
                writeTag(property);
                break;
            case WriteAllKind::Value:
                currentProperty = property;
                pendingValue = d->tree->managerValue(property);
                writeCurrentProperty();
                d->link->pause(20);
                break;
            }
        }
    }
    d->writer->endTally();
    if (online)
        reportWriteAll();
}

void SensorWindow::textEdited(QString text)
{
    editedText = text;
    textEditPending = true;
}

void SensorWindow::vTextEditFinished()
{
    if (d->link->held()) {
        // The text is written to the row that was edited, once the link is free.
        d->link->whenFree([this, property = selectedProperty] { writeTag(property); });
        return;
    }
    writeTag(selectedProperty);
}

// The text last edited goes to property, if it is still to be written.
void SensorWindow::writeTag(QtProperty* property)
{
    if (!textEditPending)
        return;
    textEditPending = false;
    d->poll->stop();
    d->poll->restartCycle(true);
    d->link->pause(120);
    if (property && d->model->contains(property->propertyId()))
        d->model->setEdit(property->propertyId(), editedText);
    else if (property)
        d->tree->managers().strings->setValue(property, editedText);
    if (property && connected && !connectionPopupOpen()) {
        const LinkSession::Hold hold(*d->link);
        reportWrite(property, d->writer->writeTag(property, editedText, d->showProgressUi));
    }
    if (followUpEnabled)
        d->poll->schedule();
}

void SensorWindow::signalWriteModeIcon(bool signalIcon)
{
    if (signalIcon) {
        ui->actionWritePermanent->setIcon(QIcon(":/icons/icons/schreiben2cerc.svg"));
        d->writeModeIconTimer.start();
        return;
    }
    ui->actionWritePermanent->setIcon(QIcon(":/icons/icons/schreiben.svg"));
}

void SensorWindow::signalWriteModeIcon()
{
    signalWriteModeIcon(false);
}

void SensorWindow::itemSelected(QtBrowserItem* item)
{
    // A text still pending when the row changes was abandoned with Esc: the
    // editor commits before the row moves. It must not reach another row.
    textEditPending = false;
    // The browser reports null when its current row goes away.
    selectedProperty = item ? item->property() : nullptr;
    if (!ui->actionRead->isChecked() || !selectedProperty)
        return;
    enableEditableProperties();
    if (selectedProperty->propertyId() != "root" && ui->actionRead->isChecked()) {
        propertyBrowser->setStyleSheet(" QTreeView {selection-color: black; selection-background-color: "
                                       "transparent; show-decoration-selected: 0;}");
        selectedProperty->setEnabled(false);
        signalWriteModeIcon(true);
    }
}

// Any change of a row (its texts too) comes here; only a new check state
// sends the switch byte, once.
void SensorWindow::updateCheckState(QTreeWidgetItem* item, int)
{
    if (!d->processData->isUnsentSwitchChange(item))
        return;
    if (d->link->held()) {
        d->link->whenFree([this, item] { updateCheckState(item, 2); });
        return;
    }
    enableTreeDataHandling(false);
    const std::array<bool, 5> checked = d->processData->markSwitchSent(item);
    if (connected) {
        const LinkSession::Hold hold(*d->link);
        d->link->pause(100);
        bSendCommand(fetchRequest(), false);
        d->link->pause(100);
        queryAnswer(singleByteRequest(processDataSwitchByte(checked)), QString());
        d->link->pause(100);
        bSendCommand(singleByteCommitRequest(), true);
    }
    enableTreeDataHandling(true);
}

void SensorWindow::trimPinFunctionLists()
{
    enableTreeDataHandling(false);
    const QString message = d->tree->trimPinFunctionLists();
    if (!message.isEmpty())
        statusBar()->showMessage(message);
    enableTreeDataHandling(true);
}

void SensorWindow::trimErrorWarningLists()
{
    enableTreeDataHandling(false);
    const QString message = d->tree->trimErrorWarningLists();
    if (!message.isEmpty())
        statusBar()->showMessage(message);
    enableTreeDataHandling(true);
}

void SensorWindow::showErrorSourceToolTips()
{
    const PropertyManagers& managers = d->tree->managers();
    for (int k = 1; k <= 4; ++k) {
        if (QtProperty* property = d->tree->find(QString("ErrorWarning%1").arg(k)))
            d->processData->setRowToolTip(
                5 + k, managers.enums->enumNames(property).value(managers.enums->value(property)));
    }
}

// What the window does beside the tree when a choice comes from the sensor.
void SensorWindow::followChoiceRead(const QString& id, int position)
{
    if (id == "ObjectInfo") {
        d->poll->setEchoesWanted(position == 1);
        d->poll->restartCycle(true);
        clearEchoDisplay();
        showEchoPlot();
    }
    const int row = errorWarningRow(id);
    if (row >= 0 && position < 17)
        d->processData->setRowToolTip(
            row, d->tree->managers().enums->enumNames(d->tree->find(id)).value(position));
}

} // namespace NimbarSensorPlugin::Core
