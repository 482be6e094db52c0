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

#include <utils/ValueOverTime.h>
#include <utils/charts/GenericChart.h>
#include <utils/widgets/ExportDialog.h>
#include <utils/widgets/PlotDocument.h>

#include <QAction>
#include <QMessageBox>
#include <QToolBar>

namespace NimbarSensorPlugin::Core {

// The dialog writes the file when it is accepted; a file that cannot be
// written is named with the reason, and an older file there stays as it was.
void SensorWindow::vExportChartData()
{
    QList<QString> names{tr("Time"), tr("Signal")};
    QList<const Utils::ValueOverTime*> series{d->chart->getData(0)};
    Utils::ExportDialog dialog(&series, &names, this, Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    dialog.setPrecision(2);
    connect(&dialog, &Utils::ExportDialog::exportFailed, this, [this](const QString& error) {
        QMessageBox::critical(this, tr("Exporting chart data..."), error, QMessageBox::Ok);
    });
    dialog.exec();
}

// The user picks a printer or a PDF file in the print dialog. Tests and
// scripts name a PDF file in IOLINK_PRINT_PDF instead and get no dialog.
void SensorWindow::vPrintDocument()
{
    Utils::PlotDocument document(d->chart->poPlot(0));
    document.setOutputFileName(qEnvironmentVariable("IOLINK_PRINT_PDF"));
    document.vPrintDocument();
    if (!document.errorString().isEmpty())
        QMessageBox::critical(this, tr("Printing chart..."), document.errorString(), QMessageBox::Ok);
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
    if (QMessageBox::warning(this, tr("Clear chart history"),
                             tr("Do you really want to clear chart history ?"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    d->chart->clear();
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
