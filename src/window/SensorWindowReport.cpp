// The commissioning report: who the sensor is, where and when it was
// commissioned, every parameter as the tree shows it, marked where it was
// not read or differs from the settings file last saved or opened, and the
// distance chart, as a PDF file the technician keeps. CommissioningReport
// lays it out and writes it; the window gathers what it knows.
#include "SensorWindow.h"

#include "SensorWindowPrivate.h"
#include "parameters/ParameterTree.h"
#include "parameters/SensorEvents.h"
#include "tools/CommissioningReport.h"
#include "tools/DistanceChart.h"
#include "tools/SettingsFileActions.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStatusBar>

namespace NimbarSensorPlugin::Core {

namespace {

// Large enough for a sharp print across the page's width.
const QSize chartImageSize(1800, 800);

} // namespace

// Scripts and tests name the PDF file in IOLINK_REPORT_PDF and get no dialog.
void SensorWindow::printReport()
{
    QString fileName = qEnvironmentVariable("IOLINK_REPORT_PDF");
    if (fileName.isEmpty()) {
        const QString proposed = QString::fromStdString(sensor.name()) +
                                 QDate::currentDate().toString(QStringLiteral("'-report-'dd-MM-yyyy'.pdf'"));
        fileName = QFileDialog::getSaveFileName(this, tr("Print report"), proposed, tr("PDF files (*.pdf)"));
        if (fileName.isEmpty())
            return;
    }
    const QString problem = writeReport(fileName);
    if (!problem.isEmpty()) {
        QMessageBox::critical(this, tr("Printing report..."), problem, QMessageBox::Ok);
        return;
    }
    statusBar()->showMessage(tr("Report written to %1").arg(fileName));
}

QString SensorWindow::writeReport(const QString& fileName) const
{
    ReportContent content;
    content.sensorName = QString::fromStdString(sensor.name());
    const QVariantMap identity = d->events->identification();
    const QString productId = identity.value("productId").toString();
    content.identity << qMakePair(tr("Sensor"), productId.isEmpty() ? content.sensorName : productId)
                     << qMakePair(tr("Product name"), identity.value("productName").toString())
                     << qMakePair(tr("Variant"), d->units.variant().code.isEmpty() ? tr("not read")
                                                                                   : d->units.variant().code);
    // What the sensor did not tell is said, an empty tag is shown empty.
    const std::pair<QString, const char*> identityLines[] = {
        {tr("Vendor"), "vendorName"},
        {tr("Serial number"), "serialNumber"},
        {tr("Firmware revision"), "firmwareRevision"},
        {tr("Hardware revision"), "hardwareRevision"},
        {tr("Application-specific tag"), "applicationSpecificTag"},
        {tr("Function tag"), "functionTag"},
        {tr("Location tag"), "locationTag"},
    };
    for (const auto& [caption, key] : identityLines)
        content.identity << qMakePair(caption, identity.contains(key) ? identity.value(key).toString()
                                                                      : tr("not read"));
    content.port =
        d->selectedPortIndex > 0 ? d->portSelector->itemText(d->selectedPortIndex) : tr("not connected");
    content.printed = QDateTime::currentDateTime();
    content.program = QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion();

    FileValues fileValues;
    const QString lastFile = d->settingsFiles->lastFile();
    if (!lastFile.isEmpty()) {
        content.comparedFile = QFileInfo(lastFile).fileName();
        content.comparisonProblem = d->settingsFiles->problem(lastFile);
        if (content.comparisonProblem.isEmpty())
            fileValues = d->settingsFiles->differingValues(lastFile);
    }
    content.groups = CommissioningReport::groups(*d->tree, *d->model, fileValues);
    return CommissioningReport::writePdf(fileName,
                                         CommissioningReport::html(content, CommissioningReport::chartName()),
                                         d->chart->image(chartImageSize));
}

} // namespace NimbarSensorPlugin::Core
