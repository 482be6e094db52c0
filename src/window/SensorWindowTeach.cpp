// Teach-in: after a teach button or the crash-counter reset has been written,
// the values the sensor learnt are read back into the tree and the chart.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/LinkSession.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterEditor.h"
#include "parameters/ParameterReader.h"
#include "parameters/ParameterTree.h"

#include <qtpropertybrowser.h>

#include <QAction>

namespace NimbarSensorPlugin::Core {

void SensorWindow::slotUpdatingTeachValues()
{
    QtProperty* taught = d->editor->pendingProperty();
    if (!connected || !taught || !d->poll->isCycleAllowed())
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

    const QString id = taught->propertyId();
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
    if (connected)
        startLiveData();
}

// The pauses give the sensor time between the reads; the link is held
// throughout, so no status poll comes in between.
void SensorWindow::vReadTaughtThresholds(const QString& id)
{
    const QString output = id.contains("A2") ? "A2" : id.contains("A1") ? "A1" : QString();
    if (output.isEmpty())
        return;
    const LinkSession::Hold hold(*d->link);
    d->showProgressUi = true;
    showUpdatingPopup(130);
    enableTreeDataHandling(false);
    const bool whole =
        d->reader->readTaughtThresholds(output, readOptions(), [this] { return sequenceMayGoOn(); });
    enableTreeDataHandling(true);
    if (!whole)
        return;
    // The limits follow the connected variant, as after any other read.
    if (d->units.unit() == 0 || d->units.unit() == 1)
        d->tree->applyLimitsOfUnit();
    d->tree->showAllRows();
}

} // namespace NimbarSensorPlugin::Core
