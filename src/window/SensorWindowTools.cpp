// The window's measurement tools: the chart with its threshold marks, and
// settings files.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "tools/SettingsFile.h"

#include <utils/charts/GenericChart.h>
#include <utils/thresholds/ThresholdMultiManager.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QMessageBox>
#include <QScrollArea>

#include <QToolBar>
#include <qtpropertybrowser.h>

#include <qwt_plot.h>

namespace NimbarSensorPlugin::Core {

namespace {

QWidget* toolBarSpacer(QWidget* parent, int width, int height)
{
    auto* spacer = new QWidget(parent);
    spacer->setFixedSize(width, height);
    return spacer;
}

} // namespace

// The chart sits in an inner main window, whose docks hold its plots, inside
// a scroll area: the user can rearrange the plots without touching the
// window's own docks.
void SensorWindow::createChartArea()
{
    ui->outuptsComboToolBar->hide();
    d->outputSelector = new QComboBox(this);
    d->outputSelector->setObjectName("outputSelector");
    d->outputSelector->addItem(tr("Output") + " " + "1");
    d->outputSelector->addItem(tr("Output") + " " + "2");
    d->outputSelector->setCurrentIndex(0);
    ui->fileToolBar->addWidget(d->outputSelector);

    ui->fileToolBar->addWidget(toolBarSpacer(this, 5, 12));
    ui->fileToolBar->addAction(ui->actionOpen_Settings);
    ui->fileToolBar->addAction(ui->actionSave_Settings);
    ui->fileToolBar->addAction(d->propertyTreeDock->toggleViewAction());

    auto* chartWindow = new QMainWindow(this);
    chartWindow->setObjectName("chartWindow");
    chartWindow->setWindowFlags(Qt::Widget);
    d->chart = new Utils::Charts::GenericChart(2, this, chartWindow, false, true);
    d->chart->setCurrentValuePrecision(0, 1);
    d->chart->setScale(0, 0.0, 10005.0);
    d->chart->setAllowNegativeValues(0, false);
    d->chart->setPlotColor(0, QColor(0, 0, 188), QColor(0, 0, 188, 20), false, 1);
    d->chart->setMinPanOffset(0, 160);
    d->chart->setMaxPanOffset(0, 350);
    d->chart->setScale(1, 0.0, 0.0);
    d->chart->setAllowNegativeValues(1, false);
    d->chart->vSetMarkerVisible(1, false);

    auto* scrollArea = new QScrollArea(this);
    scrollArea->setObjectName("chartScrollArea");
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(true);
    scrollArea->setWidget(chartWindow);
    setCentralWidget(scrollArea);
    d->chart->AddLayoutRow(1);
    d->chart->AddLayoutRow(1);
    d->chart->UpdateLayout();

    d->chartIconNames = QStringList{"Process_data_new-01"};
    for (int k = 0; k < d->chartIconNames.size(); ++k) {
        ui->fileToolBar->addWidget(toolBarSpacer(this, 2, 12));
        QAction* toggle = d->chart->getDockChartItem(k)->toggleViewAction();
        toggle->setIcon(QIcon(QString(":/icons/icons/%1.svg").arg(d->chartIconNames[k])));
        ui->fileToolBar->addAction(toggle);
    }

    for (int plot = 0; plot < 2; ++plot) {
        d->chart->poPlot(plot)->setObjectName(QString::number(plot));
        auto* widget = new Utils::ThresholdWindowWidgetUniversal(d->chart->poPlot(plot), plot);
        widget->allowOverlapping(true);
        widget->setWindowSizeVisible(false);
        widget->setReadOnly(false);
        d->thresholdWidgets.append(widget);
    }
    d->thresholdWidgets[0]->vSetRestrictionFactor(5);
    d->chart->setScale(1, 0.0, 1600.0);
    d->thresholdManager = new Utils::ThresholdMultiManager(0, this);
    d->thresholdManager->setOutputs(2);
}

void SensorWindow::setChartCaptions()
{
    d->chart->setPlotTitle(0, tr("Distance"), true, QString(), false);
    d->chart->setPlotTitle(1, tr("Signal"), true, d->unitText, true);
    d->chart->translateDockTitleBarTexts();
    if (!d->chartIconNames.isEmpty())
        d->chart->getDockChartItem(0)->setWindowTitle(tr("Signal"));
}

// The threshold and hysteresis captions end in the unit; after the
// document's captions come back in another language they carry the
// millimetre suffix again and take the current one.
void SensorWindow::vRefreshUnitSuffixes()
{
    static const char* const ids[] = {"LowerThresholdA1", "SwitchingThresholdA1", "UpperThresholdA1",
                                      "HysteresisA1",     "LowerThresholdA2",     "SwitchingThresholdA2",
                                      "UpperThresholdA2", "HysteresisA2"};
    QtProperty* lower = findProperty(d->rootProperty, "LowerThresholdA1");
    const int oldSuffix = lower && lower->propertyName().contains("mm") ? 5 : 7;
    for (const char* id : ids) {
        if (QtProperty* property = findProperty(d->rootProperty, id))
            property->setPropertyName(
                property->propertyName().chopped(qMin(oldSuffix, property->propertyName().size())) +
                d->unitCaptionSuffix);
    }
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
    switch (readSettingsFile(fileName, sensor.name(), &content)) {
    case SettingsFileStatus::Unreadable:
    case SettingsFileStatus::Corrupted:
        QMessageBox::critical(this, tr("Opening settings..."), tr("The selected settings are corupted"),
                              QMessageBox::Ok);
        return false;
    case SettingsFileStatus::ForeignSensor:
        QMessageBox::critical(this, tr("Opening settings..."),
                              tr("The selected settings are not for the current sensor"), QMessageBox::Ok);
        return false;
    case SettingsFileStatus::Loaded:
        break;
    }
    return content.hasPluginSettings && content.hasPropertyTreeData && content.hasChartData;
}

} // namespace NimbarSensorPlugin::Core
