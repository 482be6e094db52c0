// Settings files: the values of every parameter in the tree and the chart's
// distance history, saved to disk and loaded into the window again. A file
// loaded while the sensor is connected is written to it. The file text is
// tools/SettingsFile's, the check of a file against the rows TreeSettings';
// this file asks the user and drives the load.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterEditor.h"
#include "parameters/ParameterModel.h"
#include "parameters/ParameterTree.h"
#include "parameters/SensorSession.h"
#include "tools/DistanceChart.h"
#include "tools/SettingsFile.h"
#include "tools/TreeSettings.h"

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

// The file's values become the user's edits over what the sensor holds; the
// unit the file was written in becomes the window's.
void SensorWindow::applySettingsEntries(const SettingsCheck& check)
{
    const ParameterTree::Quiet quiet(*d->tree);
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
    return saveSettingsFile(
        fileName,
        settingsFileText(sensor.name(), parameterText(TreeSettings(*d->tree, *d->model, d->units).entries()),
                         d->chart->chart()->dataToString(0)));
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
    if (isConnected() &&
        QMessageBox::information(this, tr("Open Settings"),
                                 tr("Loaded settings will override the current project"),
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Cancel)
        return false;

    SettingsFileContent content;
    QString message;
    const SettingsFileStatus status = TreeSettings::read(fileName, sensor.name(), &content, &message);
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

    const SettingsCheck check =
        TreeSettings(*d->tree, *d->model, d->units).check(parseParameterText(content.propertyTreeData));
    if (!check.refused.isEmpty() && !acceptRefusedSettings(check))
        return false;
    if (content.hasPropertyTreeData && check.usable.isEmpty()) {
        QMessageBox::critical(this, tr("Opening settings..."), TreeSettings::noSettingsText(fileName),
                              QMessageBox::Ok);
        return false;
    }
    // Rows the file does not name keep what the sensor holds: a connected
    // sensor is read first unless every row is known to be in step.
    if (isConnected() && d->model->count(RowState::InStep) < d->model->ids().size()) {
        if (d->link->held())
            return false;
        vRadAllSettings(true);
        if (!isConnected())
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
            d->chart->chart()->clear();
            chartLoaded = d->chart->chart()->setDataFromString(0, content.chartData, ';');
            ui->chartToolbar->setEnabled(true);
        } else {
            statusBar()->showMessage(
                tr("The chart history in %1 could not be read; the chart keeps its own.").arg(fileName));
        }
    }
    finishLoadingSettings();
    return content.hasPropertyTreeData && chartLoaded;
}

QString SensorWindow::settingsFileProblem(const QString& fileName) const
{
    return TreeSettings(*d->tree, *d->model, d->units).problem(fileName, sensor.name());
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
    if (TreeSettings::read(fileName, sensor.name(), &content, &message) != SettingsFileStatus::Loaded)
        return {};
    return TreeSettings(*d->tree, *d->model, d->units)
        .differences(parseParameterText(content.propertyTreeData));
}

// The end of every load that got past the file checks: the unit's limits,
// and when connected the window's values written to the sensor.
void SensorWindow::finishLoadingSettings()
{
    vApplyUnitLimits();
    // The file may have brought another unit, which the captions name.
    d->tree->refreshUnitSuffixes();
    d->chart->retranslate();
    // The marks and the rows that hang on the pin functions follow the
    // file's values also when the host, not the load action, started this.
    vUpdateOutputView();
    enableTreeDataHandling(true);
    if (!isConnected())
        return;
    d->link->whenFree([this] { d->session->writeLoadedSettings(); });
}

void SensorWindow::vLoadSettings()
{
    d->editor->setFollowUps(false);
    d->continuousDataTimer.stop();
    bOpenSettings(QString());
    d->chart->chart()->jumpToPlottingArea();
    d->editor->setFollowUps(true);
    vUpdateOutputView();
    bCheckConnection();
}

} // namespace NimbarSensorPlugin::Core
