// What the status poll brings, shown: the distance on the chart and in the
// process-data list, the status bits, the echoes and the crash counter; and
// the window's slots that start and stop the poll.
#include "SensorWindow.h"

#include "ProcessDataView.h"
#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "link/ProcessData.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterTree.h"
#include "parameters/SensorSession.h"
#include "parameters/ValueCodec.h"

#include <utils/charts/GenericChart.h>

#include <qtpropertymanager.h>

#include <QAction>
#include <QComboBox>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidgetItem>

namespace NimbarSensorPlugin::Core {

using DataFrame = ExtensionSystem::CommunicationInterface::DataFrame;

namespace {

const QColor evaluatedEchoColour(0, 97, 158);

} // namespace

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
    // Special codes go to the chart once, as a gap, until a distance comes
    // again; a mark being dragged meanwhile keeps its view.
    auto appendSpecial = [this](double special) {
        if (!d->chartEditActive)
            d->chart->vAppendData(0, special, true, -65000.0, false, -1.0, -1.0);
        d->chartEditActive = true;
    };
    switch (kind) {
    case DistanceKind::NoData:
        appendSpecial(32764.0);
        d->chart->vSetValueMarkerCustomText(tr("No data"));
        break;
    case DistanceKind::TooClose:
        appendSpecial(32776.0);
        d->chart->vSetValueMarkerCustomText(tr("Obj. too close"));
        break;
    case DistanceKind::TooFar:
        appendSpecial(32760.0);
        d->chart->vSetValueMarkerCustomText(tr("Obj. too far"));
        break;
    case DistanceKind::Distance:
        d->chart->vAppendData(0, value, true, -65000.0, false, -1.0, -1.0);
        d->chartEditActive = false;
        d->chart->vSetValueMarkerCustomText(QString());
        break;
    }
    d->processData->showDistance(kind, value, d->units.unitText());
    d->processData->showStatusBits(processDataValidBits(answer));
}

// Without a sensor nothing on screen may look live: the distance shows a
// dash, the outputs and warnings are off, the echoes are gone and the
// chart's line ends.
void SensorWindow::clearLiveValues()
{
    d->processData->clearLive(d->units.unitText());
    d->chart->vUpdateXLines(1, {0.0, 0.0, 0.0, 0.0}, {0.0, 0.0, 0.0, 0.0});
    d->chart->vSetValueMarkerCustomText(QString());
    d->chart->vAppendGap(0);
}

void SensorWindow::showEchoes(const EchoRecord& echoes)
{
    QList<double> distances;
    QList<double> amplitudes;
    for (int k = 0; k < 4; ++k) {
        const double mm = echoes.distanceCodes[std::size_t(k)];
        distances << (d->units.unit() == 1 ? inchesFromMillimetres(mm) : mm);
        amplitudes << echoes.amplitudes[std::size_t(k)];
    }
    d->chart->vUpdateXLines(1, distances, amplitudes);
    d->chart->vSetXLinesPen(echoes.evaluatedEcho, evaluatedEchoColour);
    d->processData->showEchoes(echoes, distances, d->units.unitText());
}

void SensorWindow::clearEchoDisplay()
{
    d->chart->vUpdateXLines(1, {0.0, 0.0, 0.0, 0.0}, {0.0, 0.0, 0.0, 0.0});
    d->processData->clearEchoes();
}

void SensorWindow::showCrashCounter(int count)
{
    if (d->crashCounterProperty)
        d->tree->managers().counters->setValue(d->crashCounterProperty, count);
}

} // namespace NimbarSensorPlugin::Core
