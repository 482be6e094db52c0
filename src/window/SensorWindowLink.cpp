// The window's link to the sensor: choosing a port and going offline.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"

#include <utils/charts/GenericChart.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>
#include <utils/widgets/ConnectionStatus.h>

#include <QAction>
#include <QComboBox>
#include <QToolBar>

namespace NimbarSensorPlugin::Core {

void SensorWindow::vAutoConnect(QString ComPort)
{
    vDisconnect();
    for (int index = d->portSelector->count() - 1; index >= 0; --index) {
        if (d->portSelector->itemText(index) == ComPort) {
            d->portSelector->setCurrentIndex(index);
            break;
        }
    }
    emit vComPortSelected(d->portSelector->currentText());
}

void SensorWindow::vDisconnect()
{
    d->identified = false;
    d->chartQueriesAllowed = true;

    d->thresholdWidgets[0]->setReadOnly(true);
    ui->sensorOperationsToolbar->setEnabled(false);
    connected = false;
    d->connectionStatus->setConnected(false);
    ui->actionOpen_Settings->setEnabled(true);

    d->liveDataRunning = false;
    ui->actionEnable_live_data->setChecked(false);
    emit vComPortSelected(QString());

    updateWindowTitle();
    d->chart->updateChart(true);
}

} // namespace NimbarSensorPlugin::Core
