// The window's parameter values on their way to and from the sensor: the
// slots that take the user's edits, what the window shows when a value is
// written, and the slots that read and write everything. The edits and their
// writes are the editor's, reading and writing everything the session's.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "link/ProcessDataView.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterEditor.h"
#include "parameters/ParameterTree.h"
#include "parameters/ParameterWriter.h"
#include "parameters/SensorSession.h"
#include "parameters/ValueCodec.h"
#include "tools/DistanceChart.h"

#include <utils/charts/GenericChart.h>

#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>

#include <QAction>
#include <QMessageBox>
#include <QStatusBar>

namespace NimbarSensorPlugin::Core {

void SensorWindow::enableTreeDataHandling(bool enable)
{
    d->editor->listen(enable);
}

void SensorWindow::intValueChanged(QtProperty* property, int value)
{
    d->editor->record(property, value);
}

void SensorWindow::doubleValueChanged(QtProperty* property, double value)
{
    d->editor->record(property, value);
}

void SensorWindow::boolValueChanged(QtProperty* property, bool value)
{
    d->editor->record(property, value);
}

void SensorWindow::enumValueChanged(QtProperty* property, int value)
{
    d->editor->record(property, value);
}

void SensorWindow::buttonClicked(QtProperty* property)
{
    d->editor->record(property, QString());
}

// String values are applied by the tag write and by the window itself.
void SensorWindow::stringValueChanged(QtProperty*, QString) {}

void SensorWindow::enableStringManagerHandling(bool) {}

void SensorWindow::comboIndexChangedString(QString text)
{
    QtProperty* current = d->editor->pendingProperty();
    if (QtProperty* property = current ? d->tree->find(current->propertyId()) : nullptr)
        d->tree->managers().strings->setValue(property, text);
}

void SensorWindow::comboIndexChangedInt(int index)
{
    d->editor->record(d->editor->pendingProperty(), index);
}

// What the window changes with a choice the user wrote.
void SensorWindow::followChoiceWritten(const QString& id, int position)
{
    if (id == "ObjectInfo") {
        clearEchoDisplay();
        showEchoPlot();
    } else if (id == "TestMode" && d->editor->followUps()) {
        vShowTestModeParameters(position != 0);
    }
    showErrorSource(id, position);
    if (d->editor->followUps() && (id == "PinFunctionA1" || id == "PinFunctionA2" || id == "PinFunctionA3" ||
                                   id.contains("TeachInMode") || id.contains("ErrorWarning"))) {
        vUpdateOutputView();
        if (id == "PinFunctionA2")
            d->chart->chart()->jumpToPlottingArea();
    }
}

// A new analog window rescales the chart; the session reads back what a
// written row changed on the sensor.
void SensorWindow::followWrite(const QString& id)
{
    if (id.contains("analog") && d->units.variant().hasAnalogOutput)
        vScaleAnalogChart();
}

void SensorWindow::vRadAllSettings(bool)
{
    d->session->readAll();
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

void SensorWindow::sendDelayValue()
{
    d->editor->writeWhenFree();
}

void SensorWindow::reportWriteAll()
{
    const WriteReport& report = d->session->lastWrite();
    const int taken = d->writer->writtenCount();
    const QStringList problems = report.refused + report.mismatches;
    if (report.cancelled) {
        statusBar()->showMessage(
            tr("Writing cancelled: %1 of %2 parameters written; the rest were not written "
               "(where they differ from the sensor they stay marked in the tree).")
                .arg(report.written)
                .arg(report.planned));
        return;
    }
    // The time it took stays in view, not only while the read-back runs.
    statusBar()->showMessage(
        (problems.isEmpty()
             ? tr("Written to the sensor: %1 parameters, each read back as written.").arg(taken)
             : tr("Written to the sensor: %1 parameters; not written: %2; read back otherwise: %3 (marked in "
                  "the tree).")
                   .arg(taken)
                   .arg(report.refused.size())
                   .arg(report.mismatches.size())) +
        " " + WriteSequence::summary(report));
    // A lost sensor has had its own message; the list would only repeat it.
    if (problems.isEmpty() || !isConnected())
        return;
    QMessageBox box(QMessageBox::Warning, tr("Not written to the sensor"),
                    tr("The sensor does not hold %n parameter(s) as written. They keep the values written in "
                       "the window and are marked in the tree.",
                       nullptr, problems.size()),
                    QMessageBox::Ok, this);
    const int shown = 10;
    QStringList lines = problems.mid(0, shown);
    if (problems.size() > shown) {
        lines << tr("and %n more", nullptr, int(problems.size()) - shown);
        box.setDetailedText(problems.join('\n'));
    }
    box.setInformativeText(lines.join('\n'));
    box.exec();
}

void SensorWindow::vWriteAllSettings(bool)
{
    d->session->writeAll();
}

void SensorWindow::writeAllSettings()
{
    d->session->writeSettings(true);
}

void SensorWindow::textEdited(QString text)
{
    d->editor->takeText(text);
}

void SensorWindow::vTextEditFinished()
{
    // The text is written to the row that was edited, once the link is free.
    d->link->whenFree([this, property = selectedProperty] { d->editor->writeText(property); });
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
    d->editor->dropText();
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
    if (d->link->deferWhileHeld([this, item] { updateCheckState(item, 2); }))
        return;
    enableTreeDataHandling(false);
    const std::array<bool, 5> checked = d->processData->markSwitchSent(item);
    if (isConnected())
        d->session->sendMasterSwitches(processDataSwitchByte(checked));
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

// Status rows 6 to 9 name the sources ErrorWarning1 to ErrorWarning4 report.
void SensorWindow::showErrorSource(const QString& id, int position)
{
    static const QStringList ids{"ErrorWarning1", "ErrorWarning2", "ErrorWarning3", "ErrorWarning4"};
    const int k = ids.indexOf(id);
    QtProperty* property = d->tree->find(id);
    const QStringList names = property ? d->tree->managers().enums->enumNames(property) : QStringList();
    if (k >= 0 && position >= 0 && position < names.size())
        d->processData->setRowToolTip(6 + k, names[position]);
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
    showErrorSource(id, position);
}

} // namespace NimbarSensorPlugin::Core
