// Settings files: the values of every parameter in the tree and the chart's
// distance history, saved to disk and loaded into the window again. A file
// loaded while the sensor is connected is written to it. Building and reading
// the file text are pure functions (tools/SettingsFile); this file moves
// values between them and the tree.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterModel.h"
#include "parameters/ValueCodec.h"
#include "tools/SettingsCompare.h"
#include "tools/SettingsFile.h"

#include <utils/charts/GenericChart.h>
#include <utils/charts/HistoryText.h>

#include <QAction>
#include <QDate>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include <qtpropertybrowser.h>
#include <qtpropertymanager.h>

#include <cmath>

namespace NimbarSensorPlugin::Core {

std::vector<SettingsEntry> SensorWindow::settingsEntries() const
{
    std::vector<SettingsEntry> entries;
    for (QtProperty* property : collectProperties(d->rootProperty)) {
        const QString id = property->propertyId();
        QtAbstractPropertyManager* manager = property->propertyManager();
        // A value the sensor holds that the editor cannot show is left out
        // rather than saved as the editor cut it: a file written back then
        // leaves it as the sensor holds it.
        if (d->model->contains(id) && d->model->state(id) == RowState::NotAllowed)
            continue;
        std::string value;
        if (manager == d->managers.enums)
            value = settingsIntText(d->managers.enums->value(property));
        else if (manager == d->managers.bools)
            value = settingsIntText(d->managers.bools->value(property) ? 1 : 0);
        else if (manager == d->managers.ints || manager == d->managers.counters)
            value = settingsIntText(static_cast<QtIntPropertyManager*>(manager)->value(property));
        else if (manager == d->managers.doubles)
            value = settingsDoubleText(d->managers.doubles->value(property));
        else if (manager == d->managers.strings && !id.contains("ReadOnly"))
            value = d->managers.strings->value(property).toStdString();
        else
            continue;
        entries.push_back({id.toStdString(), value});
    }
    return entries;
}

// What of a settings file this sensor can take. A value is taken only when
// it is a number of the row's type within what the connected variant
// allows (a text within what a tag holds); anything else is refused, never
// cut or clamped into something the user did not write. Ids this sensor
// does not have, and rows that describe one sensor rather than its
// settings, are left out.
SensorWindow::SettingsCheck
SensorWindow::checkSettingsEntries(const std::vector<SettingsEntry>& entries) const
{
    SettingsCheck check;
    int fileUnit = d->units.unit();
    for (const SettingsEntry& entry : entries) {
        const std::optional<double> unit = strictSettingsNumber(entry.value);
        if (entry.id == "MesurementUnit" && unit && (*unit == 0 || *unit == 1))
            fileUnit = int(*unit);
    }
    check.unit = fileUnit;
    for (const SettingsEntry& entry : entries) {
        const QString id = QString::fromStdString(entry.id);
        QtProperty* property = findProperty(d->rootProperty, id);
        if (!property || !d->model->contains(id) || property->statusTip() == "readOnly" ||
            property->propertyManager() == d->managers.counters || id.contains("ReadOnly"))
            continue;
        QtAbstractPropertyManager* manager = property->propertyManager();
        const std::optional<double> number = strictSettingsNumber(entry.value);
        QString allowed;
        QVariant value;
        if (manager == d->managers.strings) {
            const QString text = settingsTextValue(entry.id, entry.value);
            if (text.toUtf8().size() <= 32)
                value = text;
            else
                allowed = tr("at most 32 bytes of text");
        } else if (manager == d->managers.enums) {
            const int choices = int(d->managers.enums->enumNames(property).size());
            if (number && *number == std::floor(*number) && *number >= 0 && *number < choices)
                value = sensorValueOf(property, int(*number));
            else
                allowed = tr("a choice from 0 to %1").arg(choices - 1);
        } else if (manager == d->managers.bools) {
            if (number && (*number == 0 || *number == 1))
                value = int(*number);
            else
                allowed = tr("0 or 1");
        } else if (manager == d->managers.ints) {
            const int minimum = d->managers.ints->minimum(property);
            const int maximum = d->managers.ints->maximum(property);
            if (number && *number == std::floor(*number) && *number >= minimum && *number <= maximum)
                value = int(*number);
            else
                allowed = tr("%1 to %2").arg(minimum).arg(maximum);
        } else if (manager == d->managers.doubles) {
            const int unit = d->units.isLength(id) ? fileUnit : 0;
            const double scale = unit == 1 ? 25.4 : 1.0;
            // The editor's limits, in whole millimetres whatever unit it shows.
            const double shownScale = d->units.unit() == 1 && d->units.isLength(id) ? 25.4 : 1.0;
            const double minimum = qRound(d->managers.doubles->minimum(property) * shownScale);
            const double maximum = qRound(d->managers.doubles->maximum(property) * shownScale);
            const int millimetres = number ? wholeMillimetres(*number, unit) : 0;
            if (number && millimetres >= minimum && millimetres <= maximum)
                // As the sensor holds it: the largest far end is its "no limit".
                value = sensorValueOf(property, millimetres / shownScale);
            else
                allowed = tr("%1 to %2 %3")
                              .arg(QString::number(minimum / scale, 'g', 6),
                                   QString::number(maximum / scale, 'g', 6), unit == 1 ? "inch" : "mm");
        } else {
            continue;
        }
        if (value.isValid())
            check.usable.insert(id, value);
        else
            check.refused << tr("%1: %2 (allowed: %3)")
                                 .arg(splitCaptionUnit(property->propertyName()).name,
                                      QString::fromStdString(entry.value), allowed);
    }
    return check;
}

// The file's values become the user's edits over what the sensor holds; the
// unit the file was written in becomes the window's.
void SensorWindow::applySettingsEntries(const SettingsCheck& check)
{
    const QuietChanges quiet(this);
    d->units.setUnit(check.unit);
    for (auto it = check.usable.cbegin(); it != check.usable.cend(); ++it)
        d->model->setEdit(it.key(), it.value());
}

void SensorWindow::vSaveSettings()
{
    const QString proposed =
        proposedSettingsFileName(QString::fromStdString(sensor.name()), QDate::currentDate());
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Save As..."), proposed, "*.kvs");
    if (fileName.isEmpty())
        return;
    // A failure is said rather than passed over: the user believes the
    // settings are kept otherwise.
    const QString problem = saveSettingsTo(fileName);
    if (!problem.isEmpty()) {
        QMessageBox::critical(this, tr("Saving settings..."),
                              tr("The settings could not be saved to %1: %2").arg(fileName, problem),
                              QMessageBox::Ok);
        return;
    }
    statusBar()->showMessage(tr("Settings saved to %1").arg(fileName));
}

// Written beside the old file and renamed over it, so that a full disk
// never costs the user the settings saved before.
QString SensorWindow::saveSettingsTo(const QString& fileName) const
{
    return saveSettingsFile(fileName, settingsFileText(sensor.name(), parameterText(settingsEntries()),
                                                       d->chart->dataToString(0)));
}

bool SensorWindow::bOpenSettings()
{
    return bOpenSettings(QString());
}

bool SensorWindow::bOpenSettings(QString fileName)
{
    if (fileName.isEmpty()) {
        fileName = QFileDialog::getOpenFileName(this, QString(), QString(), tr("Sensor Settings (*.kvs)"));
        if (fileName.isEmpty())
            return false;
    }
    if (connected && QMessageBox::information(this, tr("Open Settings"),
                                              tr("Loaded settings will override the current project"),
                                              QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Cancel)
        return false;

    SettingsFileContent content;
    QString message;
    const SettingsFileStatus status = readSettingsOf(fileName, &content, &message);
    if (status != SettingsFileStatus::Loaded) {
        QMessageBox::critical(this, tr("Opening settings..."), message, QMessageBox::Ok);
        // Nothing of an unreadable file is applied, but the window's own
        // values get their limits and, when connected, go to the sensor as
        // promised.
        if (status == SettingsFileStatus::Unreadable)
            finishLoadingSettings();
        return false;
    }
    if (!content.hasPluginSettings) {
        finishLoadingSettings();
        return false;
    }

    const SettingsCheck check = checkSettingsEntries(parseParameterText(content.propertyTreeData));
    if (!check.refused.isEmpty() && !acceptRefusedSettings(check))
        return false;
    if (content.hasPropertyTreeData && check.usable.isEmpty()) {
        QMessageBox::critical(this, tr("Opening settings..."), noSettingsText(fileName), QMessageBox::Ok);
        return false;
    }
    // Rows the file does not name keep what the sensor holds: a connected
    // sensor is read first unless every row is known to be in step.
    if (connected && d->model->count(RowState::InStep) < d->model->ids().size()) {
        if (d->link->held())
            return false;
        vRadAllSettings(true);
        if (!connected)
            return false;
    }

    enableTreeDataHandling(false);
    d->poll->setLiveData(false);
    if (d->link->communication())
        d->poll->schedule();
    if (content.hasPropertyTreeData)
        applySettingsEntries(check);

    bool chartLoaded = false;
    if (content.hasChartData) {
        // A history that does not read back whole leaves the chart's own
        // history in place instead of an empty chart.
        std::vector<double> times;
        std::vector<double> values;
        if (Utils::Charts::parseHistory(content.chartData, ';', times, values)) {
            d->chart->clear();
            chartLoaded = d->chart->setDataFromString(0, content.chartData, ';');
            ui->chartToolbar->setEnabled(true);
        } else {
            statusBar()->showMessage(
                tr("The chart history in %1 could not be read; the chart keeps its own.").arg(fileName));
        }
    }
    finishLoadingSettings();
    return content.hasPropertyTreeData && chartLoaded;
}

SettingsFileStatus SensorWindow::readSettingsOf(const QString& fileName, SettingsFileContent* content,
                                                QString* message) const
{
    // A missing file, a pipe or a device is named as what it is, and never
    // opened: a pipe would block the window.
    const QString problem = checkReadableRegularFile(fileName);
    const SettingsFileStatus status = problem.isEmpty() ? readSettingsFile(fileName, sensor.name(), content)
                                                        : SettingsFileStatus::Unreadable;
    switch (status) {
    case SettingsFileStatus::Unreadable:
        *message = problem.isEmpty() ? tr("The selected settings are corupted") : problem;
        break;
    case SettingsFileStatus::Corrupted:
        *message = tr("The selected settings are corupted");
        break;
    case SettingsFileStatus::ForeignSensor:
        *message = tr("The selected settings are not for the current sensor");
        break;
    case SettingsFileStatus::Loaded:
        message->clear();
        break;
    }
    return status;
}

QString SensorWindow::settingsFileProblem(const QString& fileName) const
{
    SettingsFileContent content;
    QString message;
    if (readSettingsOf(fileName, &content, &message) != SettingsFileStatus::Loaded)
        return message;
    if (!content.hasPluginSettings || !content.hasPropertyTreeData)
        return tr("The settings file %1 holds no parameter values.").arg(fileName);
    const SettingsCheck check = checkSettingsEntries(parseParameterText(content.propertyTreeData));
    if (!check.refused.isEmpty())
        return tr("The settings file %1 holds values this sensor cannot take; nothing is written:")
                   .arg(fileName) +
               "\n" + check.refused.join('\n');
    if (check.usable.isEmpty())
        return noSettingsText(fileName);
    return QString();
}

QString SensorWindow::noSettingsText(const QString& fileName) const
{
    return tr("The settings file %1 sets no parameter of this sensor; nothing is written.").arg(fileName);
}

// The user sees every value the sensor cannot take and decides whether the
// others are applied; Cancel, the default, applies nothing.
bool SensorWindow::acceptRefusedSettings(const SettingsCheck& check)
{
    QMessageBox box(QMessageBox::Warning, tr("Opening settings..."),
                    tr("%n value(s) in the file cannot be taken by this sensor and are left out:", nullptr,
                       int(check.refused.size())),
                    QMessageBox::Cancel, this);
    box.setInformativeText(check.refused.mid(0, 10).join('\n'));
    if (check.refused.size() > 10)
        box.setDetailedText(check.refused.join('\n'));
    QPushButton* apply = box.addButton(tr("Apply the others"), QMessageBox::AcceptRole);
    apply->setObjectName("applyOthers");
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == apply;
}

QStringList SensorWindow::settingsDifferences(const QString& fileName) const
{
    SettingsFileContent content;
    QString message;
    if (readSettingsOf(fileName, &content, &message) != SettingsFileStatus::Loaded)
        return {};
    std::vector<SettingsEntry> compared;
    std::set<std::string> textIds;
    for (const SettingsEntry& entry : settingsEntries()) {
        const QString id = QString::fromStdString(entry.id);
        QtProperty* property = findProperty(d->rootProperty, id);
        // The same rows a write of all parameters leaves out, and the
        // counter, which counts what happened to this one sensor.
        if (!property || property->statusTip() == "readOnly" ||
            property->propertyManager() == d->managers.counters || id.contains("ReadOnly") ||
            id.contains("InputMode") || id.contains("BUTTON"))
            continue;
        if (property->propertyManager() == d->managers.strings)
            textIds.insert(entry.id);
        compared.push_back(entry);
    }
    QStringList lines;
    for (const SettingsDifference& difference :
         Core::settingsDifferences(parseParameterText(content.propertyTreeData), compared, textIds)) {
        QtProperty* property = findProperty(d->rootProperty, QString::fromStdString(difference.id));
        const CaptionParts caption = splitCaptionUnit(property->propertyName());
        lines << QStringList{caption.name, shownSettingsValue(property, difference.fileValue),
                             shownSettingsValue(property, difference.windowValue), caption.unit}
                     .join('\t');
    }
    return lines;
}

// A settings value as the tree shows it: a choice by its name, a switch as
// on or off.
QString SensorWindow::shownSettingsValue(QtProperty* property, const std::string& value) const
{
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == d->managers.enums) {
        const int index = settingsInt(value);
        return d->managers.enums->enumNames(property).value(index, QString::number(index));
    }
    if (manager == d->managers.bools)
        return settingsInt(value) != 0 ? tr("On") : tr("Off");
    if (manager == d->managers.doubles) {
        const double number = settingsDouble(value);
        return d->units.unit() == 0 || !d->units.isLength(property->propertyId())
                   ? QString::number(number, 'g', 10)
                   : QString::number(number, 'f', 2);
    }
    if (manager == d->managers.strings)
        return settingsTextValue(property->propertyId().toStdString(), value);
    return QString::number(settingsInt(value));
}

// The end of every load that got past the file checks: the unit's limits,
// and when connected the window's values written to the sensor.
void SensorWindow::finishLoadingSettings()
{
    vApplyUnitLimits();
    // The file may have brought another unit, which the captions name.
    vRefreshUnitSuffixes();
    setChartCaptions();
    // The marks and the rows that hang on the pin functions follow the
    // file's values also when the host, not the load action, started this.
    vUpdateOutputView();
    enableTreeDataHandling(true);
    if (!connected)
        return;
    if (d->link->held()) {
        d->link->whenFree([this] { writeLoadedSettings(); });
        return;
    }
    writeLoadedSettings();
}

void SensorWindow::writeLoadedSettings()
{
    if (!connected)
        return;
    const LinkSession::Hold hold(*d->link);
    d->showProgressUi = true;
    showUpdatingPopup(280);
    enableTreeDataHandling(false);
    if (!ui->actionWriting->isChecked())
        ui->actionWriting->setChecked(true);
    d->poll->setLiveData(true);
    if (d->link->communication())
        d->poll->schedule();
    d->poll->setCycleAllowed(false);
    // The file's unit is in the tree already: the write must not convert
    // the lengths to it a second time.
    const bool followUp = followUpEnabled;
    followUpEnabled = false;
    writeAllSettings();
    followUpEnabled = followUp;
    ui->sensorOperationsToolbar->setEnabled(connected);
    d->poll->setCycleAllowed(true);
    enableTreeDataHandling(true);
}

void SensorWindow::vLoadSettings()
{
    followUpEnabled = false;
    d->continuousDataTimer.stop();
    bOpenSettings(QString());
    d->chart->jumpToPlottingArea();
    followUpEnabled = true;
    vUpdateOutputView();
    bCheckConnection();
}

} // namespace NimbarSensorPlugin::Core
