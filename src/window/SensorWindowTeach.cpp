// Teach-in: after a teach button or the crash-counter reset has been written,
// the values the sensor learnt are read back into the tree and the chart.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "link/StatusPoll.h"

#include <qtpropertybrowser.h>

#include <QAction>

namespace NimbarSensorPlugin::Core {

void SensorWindow::slotUpdatingTeachValues()
{
    if (!connected || !currentProperty || !d->poll->isCycleAllowed())
        return;
    // The read-back waits for an exchange in progress; it is not lost.
    if (d->link->held()) {
        d->teachUpdateTimer.start();
        return;
    }
    const LinkSession::Hold hold(*d->link);
    d->poll->restartCycle(true);
    enableTreeDataHandling(false);
    stopLiveData();

    const QString id = currentProperty->propertyId();
    if (id == "TEACHBUTTON1")
        vReadTaughtThresholds("SwitchingThresholdA1");
    else if (id == "TEACHBUTTON2")
        vReadTaughtThresholds("SwitchingThresholdA2");
    else if (id == "ANALOGTEACHBUTTON1")
        readParameter("analog0V", false);
    else if (id == "ANALOGTEACHBUTTON2")
        readParameter("analog10V", false);
    else if (id.contains("CrashCounter"))
        readParameter("CrashCounter", false);

    d->teachUpdateTimer.stop();
    vUpdateOutputView();
    enableTreeDataHandling(true);
    if (!connected)
        return;
    ui->actionEnable_live_data->setChecked(true);
    d->poll->setLiveData(true);
    if (d->link->communication())
        d->poll->schedule();
}

// The pauses give the sensor time between the reads; the link is held
// throughout, so no status poll comes in between.
void SensorWindow::vReadTaughtThresholds(const QString& id)
{
    const LinkSession::Hold hold(*d->link);
    d->showProgressUi = true;
    showUpdatingPopup(130);
    d->link->pause(250);
    QString output;
    if (id.contains("A2"))
        output = "A2";
    else if (id.contains("A1"))
        output = "A1";
    else
        return;
    for (const char* name : {"SwitchingThreshold", "UpperThreshold", "LowerThreshold"}) {
        if (!sequenceMayGoOn())
            return;
        d->link->pause(150);
        readParameter(name + output, false);
    }
    d->link->pause(150);
    // The limits follow the connected variant, as after any other read.
    if (d->units.unit() == 0 || d->units.unit() == 1)
        applyLimitsOfUnit();
    showAllRows();
}

} // namespace NimbarSensorPlugin::Core
