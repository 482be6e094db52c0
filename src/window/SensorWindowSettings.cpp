// Settings files and the chart's history from the window's tool bars: the
// files themselves are SettingsFileActions', the history DistanceChart's;
// the window shows what follows a load and asks before a factory restore.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "parameters/ParameterEditor.h"
#include "parameters/ParameterTree.h"
#include "parameters/SensorSession.h"
#include "tools/DistanceChart.h"
#include "tools/SettingsFileActions.h"

#include <utils/charts/GenericChart.h>

#include <QMessageBox>
#include <QToolBar>

namespace NimbarSensorPlugin::Core {

void SensorWindow::vSaveSettings()
{
    d->settingsFiles->save();
}

QString SensorWindow::saveSettingsTo(const QString& fileName) const
{
    return d->settingsFiles->saveTo(fileName);
}

bool SensorWindow::bOpenSettings()
{
    return bOpenSettings(QString());
}

bool SensorWindow::bOpenSettings(QString fileName)
{
    return d->settingsFiles->open(fileName);
}

QString SensorWindow::settingsFileProblem(const QString& fileName) const
{
    return d->settingsFiles->problem(fileName);
}

QStringList SensorWindow::settingsDifferences(const QString& fileName) const
{
    return d->settingsFiles->differences(fileName);
}

void SensorWindow::compareWithSettingsFile()
{
    compareWithSettingsFile(QString());
}

void SensorWindow::compareWithSettingsFile(const QString& fileName)
{
    d->settingsFiles->compare(fileName);
}

// A loaded file's values have their limits; the captions name the unit the
// file may have brought, and the marks and the rows that hang on the pin
// functions follow the values also when the host, not the load action,
// started the load.
void SensorWindow::finishLoadingSettings()
{
    vApplyUnitLimits();
    d->tree->refreshUnitSuffixes();
    d->chart->retranslate();
    vUpdateOutputView();
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

void SensorWindow::vExportChartData()
{
    d->chart->exportHistory(this);
}

void SensorWindow::vPrintDocument()
{
    d->chart->print(this);
    // A connection check follows printing; its answer is not needed. It
    // holds the link like any other exchange, so the status poll starts its
    // cycle over instead of fetching a read of its own across it.
    d->link->whenFree([this] {
        const LinkSession::Hold hold(*d->link);
        bCheckConnection();
    });
}

void SensorWindow::vClearHistory()
{
    if (d->chart->clearHistory(this))
        ui->chartToolbar->setEnabled(false);
}

// The sensor's factory settings replace its own, after the user agreed,
// and every parameter is read again.
void SensorWindow::vRestoreFactorySettings()
{
    if (!isConnected())
        return;
    if (d->link->deferWhileHeld([this] { vRestoreFactorySettings(); }))
        return;
    if (QMessageBox::warning(this, tr("Restore factory defaults"),
                             tr("All settings will be restored to factory defaults, continue ?"),
                             QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    // The question waited in an event loop, where the poll may have found the sensor gone.
    if (isConnected())
        d->session->restoreFactorySettings();
}

} // namespace NimbarSensorPlugin::Core
