// What the user does with the chart's history and with the sensor as a whole
// from the chart and sensor tool bars: exporting the history as a
// delimiter-separated text file, printing the distance plot, clearing the
// history, and asking before the session restores the sensor's factory
// settings.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "parameters/SensorSession.h"
#include "tools/DistanceChart.h"

#include <QAction>
#include <QMessageBox>
#include <QToolBar>

namespace NimbarSensorPlugin::Core {

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
