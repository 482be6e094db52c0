// The status poll: one asynchronous frame at a time while a sensor is
// connected, showing distance, status bits, echoes and the crash counter,
// and noticing a sensor that stopped answering.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "link/ProcessData.h"
#include "link/RequestFrames.h"
#include "link/StatusPoll.h"
#include "tools/LiveLog.h"

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

QPixmap statePicture(const char* icon)
{
    return QIcon(icon).pixmap(40, 40).scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Rows 9 down to 2 show the status bits b7 to b0: the two switching outputs
// as LEDs, the others as a warning when set.
void showStatusBits(const QList<QTreeWidgetItem*>& rows, quint8 bits, const QString& onText,
                    const QString& offText)
{
    for (int bit = 7; bit >= 0; --bit) {
        QTreeWidgetItem* row = rows.value(2 + bit);
        if (!row)
            continue;
        const bool on = bits & (1 << bit);
        row->setText(3, on ? onText : offText);
        if (bit >= 2) {
            if (on)
                row->setData(2, Qt::DecorationRole,
                             statePicture(":/newPrefix/icons/!_galben_cerc_negru.svg"));
            else
                row->setIcon(2, QIcon(":/newPrefix/icons/led_state_F_2.svg"));
            continue;
        }
        const char* onIcon =
            bit == 1 ? ":/newPrefix/icons/led_state_2_2.svg" : ":/newPrefix/icons/led_state_2_1.svg";
        const char* offIcon =
            bit == 1 ? ":/newPrefix/icons/led_state_1_2.svg" : ":/newPrefix/icons/led_state_1_1.svg";
        if (on) {
            row->setIcon(2, QIcon(onIcon));
            row->setData(2, Qt::DecorationRole, statePicture(onIcon));
        } else {
            row->setIcon(2, QIcon(offIcon));
        }
    }
}

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
    if (!enable)
        d->chart->vAppendGap(0);
    if (d->link->communication())
        d->poll->schedule();
}

// Live data stop for a sequence of the user's; the poll goes on as the
// connection check until the sequence holds the link. The chart shows no
// line across the time without data.
void SensorWindow::stopLiveData()
{
    ui->actionEnable_live_data->setChecked(false);
    d->poll->setLiveData(false);
    d->chart->vAppendGap(0);
    if (d->link->communication())
        d->poll->schedule();
}

void SensorWindow::actionEnableLiveData()
{
    d->poll->setLiveData(ui->actionEnable_live_data->isChecked());
    if (!d->poll->isLiveData())
        d->chart->vAppendGap(0);
    if (d->link->communication())
        d->poll->schedule();
}

void SensorWindow::showProcessData(const QByteArray& answer)
{
    const int code = processDataDistanceCode(answer);
    QTreeWidgetItem* distance = d->processDataRows.value(0);
    // Special codes go to the chart once, as a gap, until a distance comes
    // again; a mark being dragged meanwhile keeps its view.
    auto appendSpecial = [this](double value) {
        if (!d->chartEditActive)
            d->chart->vAppendData(0, value, true, -65000.0, false, -1.0, -1.0);
        d->chartEditActive = true;
    };
    switch (distanceKind(code)) {
    case DistanceKind::NoData:
        appendSpecial(32764.0);
        if (distance) {
            distance->setText(2, QString());
            distance->setText(3, tr("No data"));
        }
        d->chart->vSetValueMarkerCustomText(tr("No data"));
        break;
    case DistanceKind::TooClose:
        appendSpecial(32776.0);
        if (distance) {
            distance->setText(0, tr("Distance") + "     " + tr("Object too close"));
            distance->setText(2, QString());
        }
        d->chart->vSetValueMarkerCustomText(tr("Obj. too close"));
        break;
    case DistanceKind::TooFar:
        appendSpecial(32760.0);
        if (distance) {
            distance->setText(0, tr("Distance") + "     " + tr("Object too far"));
            distance->setText(2, QString());
        }
        d->chart->vSetValueMarkerCustomText(tr("Obj. too far"));
        break;
    case DistanceKind::Distance: {
        const double value = shownDistance(code, d->units.unit());
        d->chart->vAppendData(0, value, true, -65000.0, false, -1.0, -1.0);
        d->chartEditActive = false;
        if (distance) {
            distance->setText(0, tr("Distance"));
            distance->setText(2, QString::number(value, 'g', 6));
            distance->setText(3, d->units.unitText());
        }
        d->chart->vSetValueMarkerCustomText(QString());
        break;
    }
    }

    showStatusBits(d->processDataRows, processDataValidBits(answer), tr("On"), tr("Off"));
}

// Without a sensor nothing on screen may look live: the distance shows a
// dash, the outputs and warnings are off, the echoes are gone and the
// chart's line ends.
void SensorWindow::clearLiveValues()
{
    if (QTreeWidgetItem* distance = d->processDataRows.value(0)) {
        distance->setText(0, tr("Distance"));
        distance->setText(2, QString(QChar(0x2013)));
        distance->setText(3, d->units.unitText());
    }
    showStatusBits(d->processDataRows, 0, tr("On"), tr("Off"));
    clearEchoDisplay();
    d->chart->vSetValueMarkerCustomText(QString());
    d->chart->vAppendGap(0);
}

void SensorWindow::resetEchoRows()
{
    for (int row = 15; row <= 22; ++row) {
        QTreeWidgetItem* item = d->processDataRows.value(row);
        if (!item)
            continue;
        for (int column : {0, 3}) {
            item->setForeground(column, Qt::darkGray);
            QFont font = item->font(column);
            font.setBold(false);
            item->setFont(column, font);
        }
    }
}

void SensorWindow::showEchoes(const EchoRecord& echoes)
{
    QList<double> distances;
    QList<double> amplitudes;
    for (int k = 0; k < 4; ++k) {
        const double mm = echoes.distanceCodes[std::size_t(k)];
        distances << (d->units.unit() == 1 ? mm * 0.03937007874015748 : mm);
        amplitudes << echoes.amplitudes[std::size_t(k)];
    }
    d->chart->vUpdateXLines(1, distances, amplitudes);
    d->chart->vSetXLinesPen(echoes.evaluatedEcho, evaluatedEchoColour);
    resetEchoRows();
    for (int n = 1; n <= 4; ++n) {
        const int code = echoes.distanceCodes[std::size_t(n - 1)];
        QString text;
        if (code == 0x8008)
            text = tr("Object too close");
        else if (code == 0x7FF8)
            text = tr("Object too far");
        else if (code == 0x7FFC)
            text = tr(" No data");
        else
            text = QString::number(distances[n - 1], 'f', 1) + d->units.unitText();
        if (QTreeWidgetItem* row = d->processDataRows.value(13 + 2 * n))
            row->setText(3, text);
        if (QTreeWidgetItem* row = d->processDataRows.value(14 + 2 * n))
            row->setText(3, QString::number(amplitudes[n - 1]));
    }
    const int evaluated = echoes.evaluatedEcho;
    if (evaluated < 0 || evaluated > 3)
        return;
    for (int row : {15 + 2 * evaluated, 16 + 2 * evaluated}) {
        QTreeWidgetItem* item = d->processDataRows.value(row);
        if (!item)
            continue;
        for (int column : {0, 3}) {
            item->setForeground(column, evaluatedEchoColour);
            QFont font = item->font(column);
            font.setBold(true);
            item->setFont(column, font);
        }
    }
}

void SensorWindow::clearEchoDisplay()
{
    d->chart->vUpdateXLines(1, {0.0, 0.0, 0.0, 0.0}, {0.0, 0.0, 0.0, 0.0});
    for (int row = 15; row <= 22; ++row) {
        if (QTreeWidgetItem* item = d->processDataRows.value(row))
            item->setText(3, QString());
    }
    resetEchoRows();
}

QString SensorWindow::startLiveLog(const QString& fileName)
{
    const QString problem = d->liveLog.start(fileName, d->units.unit());
    if (problem.isEmpty())
        d->liveLogProblem.clear();
    return problem;
}

QString SensorWindow::stopLiveLog()
{
    d->liveLog.stop();
    return d->liveLogProblem;
}

QString SensorWindow::liveLogProblem() const
{
    return d->liveLogProblem;
}

// Only what the window shows as live data goes into the log. A failed write
// ends the log and says so once.
void SensorWindow::logProcessData(const QByteArray& answer)
{
    if (!d->liveLog.isOpen())
        return;
    if (d->liveLog.append(answer, d->units.unit()))
        return;
    d->liveLogProblem = tr("The live-data log %1 could not be written: %2")
                            .arg(d->liveLog.fileName(), d->liveLog.errorString());
    statusBar()->showMessage(d->liveLogProblem);
}

void SensorWindow::showCrashCounter(int count)
{
    if (d->crashCounterProperty)
        d->managers.counters->setValue(d->crashCounterProperty, count);
}

} // namespace NimbarSensorPlugin::Core
