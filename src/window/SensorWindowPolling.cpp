// What the status poll brings, shown: the distance on the chart and in the
// process-data list, the status bits, the echoes and the crash counter; and
// the window's slots that start and stop the poll.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "link/ProcessData.h"
#include "link/ProcessDataView.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterTree.h"
#include "parameters/SensorSession.h"
#include "tools/DistanceChart.h"

#include <qtpropertymanager.h>

#include <QAction>
#include <QToolBar>

namespace NimbarSensorPlugin::Core {

using DataFrame = ExtensionSystem::CommunicationInterface::DataFrame;

void SensorWindow::queryStatusData()
{
    d->poll->step(0);
}

void SensorWindow::queryStatusData(uint index)
{
    d->poll->step(index);
}

void SensorWindow::queryChartData()
{
    d->poll->tick();
}

void SensorWindow::enableStatusChecking(bool enable)
{
    d->poll->setLiveData(enable);
    if (d->link->communication())
        d->poll->schedule();
}

void SensorWindow::actionEnableLiveData()
{
    enableStatusChecking(ui->actionEnable_live_data->isChecked());
}

// The session reads back what the sensor learnt a few seconds after a teach.
void SensorWindow::slotUpdatingTeachValues()
{
    d->session->readTaughtValues();
}

void SensorWindow::showProcessData(const QByteArray& answer)
{
    const int code = processDataDistanceCode(answer);
    const DistanceKind kind = distanceKind(code);
    const double value = kind == DistanceKind::Distance ? shownDistance(code, d->units.unit()) : 0.0;
    d->chart->showDistance(kind, value);
    d->processData->showDistance(kind, value, d->units.unitText());
    d->processData->showStatusBits(processDataValidBits(answer));
}

// Without a sensor nothing on screen may look live: the distance shows a
// dash, the outputs and warnings are off, the echoes are gone and the
// chart's line ends.
void SensorWindow::clearLiveValues()
{
    d->processData->clearLive(d->units.unitText());
    d->chart->endLine();
}

void SensorWindow::showEchoes(const EchoRecord& echoes)
{
    d->processData->showEchoes(echoes, d->chart->showEchoes(echoes), d->units.unitText());
}

void SensorWindow::clearEchoDisplay()
{
    d->chart->clearEchoes();
    d->processData->clearEchoes();
}

void SensorWindow::showCrashCounter(int count)
{
    if (d->crashCounterProperty)
        d->tree->managers().counters->setValue(d->crashCounterProperty, count);
}

} // namespace NimbarSensorPlugin::Core
