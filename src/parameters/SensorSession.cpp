#include "SensorSession.h"

#include "catalogue/Sensor.h"
#include "link/LinkSession.h"
#include "link/RequestFrames.h"
#include "link/SensorConnection.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterEditor.h"
#include "parameters/ParameterExchange.h"
#include "parameters/ParameterModel.h"
#include "parameters/ParameterTree.h"
#include "parameters/RowVisibility.h"
#include "parameters/ValueCodec.h"
#include "tools/LengthUnits.h"

#include <qtpropertybrowser.h>

namespace NimbarSensorPlugin::Core {

namespace {

// While one lives the tree takes no edits from the user: one would race the
// read or write of its row and be lost.
class TreeLock
{
public:
    explicit TreeLock(SensorSession& session) : session(session) { emit session.treeLocked(true); }
    ~TreeLock() { emit session.treeLocked(false); }
    TreeLock(const TreeLock&) = delete;
    TreeLock& operator=(const TreeLock&) = delete;

private:
    SensorSession& session;
};

} // namespace

// While one lives the sequence it guards can be cancelled by the user; a
// sequence inside another (the read before a write) is part of the outer one.
class CancellableSequence
{
public:
    explicit CancellableSequence(SensorSession& session) : session(session), outer(!session.cancellable)
    {
        if (!outer)
            return;
        session.cancellable = true;
        session.cancelRequested = false;
        emit session.cancellableChanged(true);
    }
    ~CancellableSequence()
    {
        if (!outer)
            return;
        session.cancellable = false;
        emit session.cancellableChanged(false);
    }
    CancellableSequence(const CancellableSequence&) = delete;
    CancellableSequence& operator=(const CancellableSequence&) = delete;

private:
    SensorSession& session;
    const bool outer;
};

SensorSession::SensorSession(const Sensor& sensor, Parts parts, QObject* parent)
    : QObject(parent), sensor(sensor), p(parts),
      writes({p.link, p.tree, p.model, p.reader, p.editor, p.writer}, this)
{
    connect(&writes, &WriteSequence::message, this, &SensorSession::message);
    teachTimer.setInterval(4500);
    teachTimer.setSingleShot(true);
    connect(&teachTimer, &QTimer::timeout, this, &SensorSession::readTaughtValues);
    connect(&p.editor, &ParameterEditor::written, this, &SensorSession::followWrite);
}

// The values a teach button or the crash-counter reset changed are read back
// a few seconds after the write, once the sensor has them; so are those a
// new unit changed, while the sensor converts them. A pin switched to teach
// input has its thresholds taught at once.
void SensorSession::followWrite(const QString& id, int code, bool unitChanged)
{
    if (id.contains("TEACHBUTTON") || id.contains("CrashCounter"))
        teachTimer.start();
    if ((id == "PinFunctionA1" || id == "PinFunctionA2") && code == 4)
        readTaughtThresholds(id);
    if (unitChanged && connected) {
        startBusy(230);
        teachTimer.start();
    }
}

// Every start begins a chain of steps of its own; they fill one bar, so a
// sequence started within another's busy time ends it sooner.
void SensorSession::startBusy(int steps)
{
    waitShown = false;
    busy = true;
    busySteps = steps;
    busyDone = 0;
    emit busyStarted(steps);
    QTimer::singleShot(0, this, &SensorSession::advanceBusy);
}

void SensorSession::advanceBusy()
{
    if (!busy)
        return;
    if (busyDone < busySteps) {
        emit busyProgress(++busyDone);
        QTimer::singleShot(10, this, &SensorSession::advanceBusy);
        return;
    }
    endBusy();
    if (!resumeLiveData)
        return;
    p.poll.setLiveData(liveDataOnResume || p.poll.isLiveData());
    if (p.link.communication())
        p.poll.schedule();
    emit settled();
    resumeLiveData = false;
}

void SensorSession::endBusy()
{
    busy = false;
    emit busyEnded();
    waitShown = true;
}

// A sequence of exchanges stops when the user went offline or the port went
// away, and when the sensor left three queries in a row unanswered: then the
// window goes offline and says so. The rows not yet read keep their values.
bool SensorSession::mayGoOn()
{
    if (!connected || !p.link.communication() || cancelRequested)
        return false;
    if (!p.link.lineLost())
        return true;
    loseSensor();
    return false;
}

void SensorSession::cancel()
{
    if (!cancellable)
        return;
    cancelRequested = true;
    // The busy time is only the sensor's settling: it ends with the sequence.
    busyDone = busySteps;
}

void SensorSession::loseSensor()
{
    connected = false;
    resumeLiveData = false;
    endBusy();
    emit sensorLost();
}

// Live data stop for a sequence; the poll goes on as the connection check
// until the sequence holds the link.
void SensorSession::stopLiveData()
{
    p.poll.setLiveData(false);
    if (p.link.communication())
        p.poll.schedule();
}

void SensorSession::startLiveData()
{
    p.poll.setLiveData(true);
    if (p.link.communication())
        p.poll.schedule();
}

ParameterReader::Options SensorSession::readOptions() const
{
    return {waitShown, p.poll.isCycleAllowed()};
}

bool SensorSession::connectToSensor()
{
    if (!p.link.communication())
        return false;
    // No status poll may come between the requests of the connect sequence.
    p.poll.stop();
    const LinkSession::Hold hold(p.link);
    const QString port = p.link.communication()->currentPortSettings().portName;
    const double fetchTimeoutMs =
        double(quint32(sensor.characterDelay()) * 3u + 2000u + quint32(sensor.lineDelay()));
    SensorConnection connection(p.link, QString::fromStdString(sensor.id()), fetchTimeoutMs);
    connect(&connection, &SensorConnection::attempting, this,
            [this, port](SensorConnection::Step step, int attempt, int attempts) {
                emit message(SensorConnection::attemptText(step, port, attempt, attempts));
            });
    const SensorConnection::Result result = connection.run(waitShown);
    wrongSensor = result.failure == SensorConnection::Failure::WrongIdentity;
    if (result.failure != SensorConnection::Failure::None) {
        endBusy();
        emit connectFailed(SensorConnection::failureText(result, port));
        connected = false;
        return false;
    }
    emit message(QString());
    identity = result.identity;
    // The sensor names its variant in the last three characters of its identity.
    const QString code = result.identity.size() >= 7 ? result.identity.right(3) : QString();
    if (const std::optional<SensorVariant> variant =
            code.isEmpty() ? std::nullopt : sensor.variant(code.toStdString())) {
        p.units.setConnectedVariant(code, *variant);
        emit variantConnected(code, *variant);
    }
    emit identified();
    return true;
}

// A verified sensor's values win: they are read into the window, and live
// data go on once the sensor has settled.
bool SensorSession::readConnected()
{
    connected = true;
    resumeLiveData = true;
    const CancellableSequence cancellableRead(*this);
    reload();
    return connected;
}

bool SensorSession::writeConnected(bool onlyDifferences)
{
    connected = true;
    const CancellableSequence cancellableWrite(*this);
    p.editor.listen(false);
    p.reader.readIdentityTexts(readOptions());
    if (onlyDifferences) {
        // The window's values win: they are kept while the sensor's are
        // read, and become edits where they differ from them.
        QMap<QString, QVariant> wanted;
        for (const QString& id : writes.settingIds())
            wanted.insert(id, p.model.shown(id));
        const int windowUnit = p.units.unit();
        reload();
        if (!connected)
            return false;

        {
            const ParameterTree::Quiet quiet(p.tree);
            for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
                p.model.setEdit(it.key(), it.value());
        }
        // The unit is one of the window's values: the lengths are shown in
        // it again, as they are written in it.
        const int sensorUnit = p.units.unit();
        p.units.setUnit(windowUnit);
        emit valuesRead(sensorUnit);
    }
    p.editor.listen(true);
    // Cancelled while reading: nothing is written, the window's values stay edits.
    if (cancelRequested)
        return true;
    p.editor.setFollowUps(false);
    writeSettings(!onlyDifferences);
    p.editor.setFollowUps(true);
    return connected;
}

// Everything here is the window's own doing: nothing of it is written back.
// A sensor that stops answering ends the loop; the rows not read keep their
// values. The status bar tells how many rows were read.
void SensorSession::reload()
{
    const LinkSession::Hold hold(p.link);
    const ParameterTree::Quiet quiet(p.tree);
    const TreeLock lock(*this);
    const int unitBefore = p.units.unit();
    teachTimer.stop();
    bool readAny = false;
    const QStringList rows = p.reader.readAll(
        readOptions(), [this] { return mayGoOn(); },
        [this, &readAny](int done, int total) {
            readAny = true;
            emit message(tr("Reading %1 of %2").arg(done).arg(total));
        });
    // The tree takes the user's edits again once anything was read.
    if (readAny)
        p.editor.listen(true);
    emit message(cancelRequested ? tr("Reading cancelled. %1").arg(p.tree.readCountText(rows))
                                 : p.tree.readCountText(rows));
    if (p.units.unit() == 1)
        p.link.pause(15);
    emit valuesRead(unitBefore);
}

void SensorSession::readAll()
{
    if (p.link.deferWhileHeld([this] { readAll(); }))
        return;
    // The user asked for the sensor's values: an edit still waiting to be
    // written gives way to them.
    p.editor.cancelPending();
    const LinkSession::Hold hold(p.link);
    stopLiveData();
    p.editor.listen(false);
    p.link.pause(200);
    emit writeModeLeft();
    const CancellableSequence cancellableRead(*this);
    startBusy(585);
    p.poll.setCycleAllowed(false);
    reload();
    p.poll.setCycleAllowed(true);
    if (!connected)
        return;
    startLiveData();
    emit writeModeEntered();
    emit valuesChanged(true);
}

void SensorSession::writeAll()
{
    if (p.link.deferWhileHeld([this] { writeAll(); }))
        return;
    // A pending edit is in the tree, and so among what is written now.
    p.editor.cancelPending();
    const LinkSession::Hold hold(p.link);
    const CancellableSequence cancellableWrite(*this);
    startBusy(460);
    const bool liveData = p.poll.isLiveData();
    stopLiveData();
    p.editor.listen(false);
    p.editor.setFollowUps(false);
    writeSettings(true);
    p.editor.setFollowUps(true);
    if (!connected)
        return;
    p.poll.setLiveData(liveData);
    p.poll.schedule();
    emit valuesChanged(false);
}

void SensorSession::writeSettings(bool everything)
{
    emit writeModeEntered();
    const bool online = connected;
    {
        // What is written is what the tree shows when it starts: no edits meanwhile.
        const TreeLock lock(*this);
        // Offline nothing is known of the sensor: the window takes every value as a write would.
        const bool differing = online && !everything;
        lastWriteReport = writes.run(
            differing ? writes.differingIds() : writes.allIds(), differing, online,
            [this] { return mayGoOn(); }, readOptions());
        lastWriteReport.cancelled = cancelRequested;
    }
    if (online)
        emit allWritten();
}

// The restore goes out whole (the fetch before it, the write, two
// process-data requests) and the link stays held until every parameter has
// been read again, so no step of the status poll comes in between.
void SensorSession::restoreFactorySettings()
{
    p.editor.cancelPending();
    const LinkSession::Hold hold(p.link);
    stopLiveData();
    p.editor.listen(false);
    p.poll.setCycleAllowed(false);
    startBusy(600);
    Core::restoreFactorySettings(p.link, waitShown);
    p.link.pause(100);
    reload();
    p.poll.setCycleAllowed(true);
    if (!connected)
        return;
    emit factoryRestored();
    p.editor.setFollowUps(true);
    startLiveData();
    emit valuesChanged(false);
    p.editor.listen(true);
}

// The file's values are in the tree already, in the file's unit: the write
// must not convert the lengths to it a second time.
void SensorSession::writeLoadedSettings()
{
    if (!connected)
        return;
    const LinkSession::Hold hold(p.link);
    startBusy(280);
    p.editor.listen(false);
    p.poll.setLiveData(true);
    if (p.link.communication())
        p.poll.schedule();
    p.poll.setCycleAllowed(false);
    const bool followUp = p.editor.followUps();
    p.editor.setFollowUps(false);
    writeSettings(writeLoadedEverything);
    p.editor.setFollowUps(followUp);
    p.poll.setCycleAllowed(true);
    // A poll step that came while the reads held the cycle back started none.
    if (connected && p.link.communication())
        p.poll.schedule();
    p.editor.listen(true);
}

void SensorSession::sendMasterSwitches(quint8 byte)
{
    const LinkSession::Hold hold(p.link);
    p.link.pause(100);
    p.link.command(fetchRequest(), false);
    p.link.pause(100);
    p.link.query(singleByteRequest(byte), QString(), waitShown);
    p.link.pause(100);
    p.link.command(singleByteCommitRequest(), waitShown);
}

bool SensorSession::readParameter(const QString& id)
{
    p.editor.listen(false);
    const bool taken = p.reader.read(id, false, readOptions());
    p.editor.listen(true);
    return taken;
}

void SensorSession::readTaughtValues()
{
    QtProperty* pressed = p.editor.pendingProperty();
    if (!connected || !pressed || !p.poll.isCycleAllowed())
        return;
    // The read-back waits for an exchange in progress; it is not lost.
    if (p.link.held()) {
        teachTimer.start();
        return;
    }
    const LinkSession::Hold hold(p.link);
    p.poll.restartCycle(true);
    p.editor.listen(false);
    stopLiveData();

    const QString id = pressed->propertyId();
    bool whole = true;
    if (id == "TEACHBUTTON1")
        whole = readTaughtThresholds("SwitchingThresholdA1");
    else if (id == "TEACHBUTTON2")
        whole = readTaughtThresholds("SwitchingThresholdA2");
    else if (id == "ANALOGTEACHBUTTON1")
        whole = readParameter("analog0V");
    else if (id == "ANALOGTEACHBUTTON2")
        whole = readParameter("analog10V");
    else if (id.contains("CrashCounter"))
        whole = readParameter("CrashCounter");

    teachTimer.stop();
    emit outputViewStale();
    const QString outcome = taughtText(id, whole);
    if (!outcome.isEmpty()) {
        emit message(outcome);
        emit taught(outcome);
    }
    p.editor.listen(true);
    if (connected)
        startLiveData();
}

// The pauses give the sensor time between the reads; the link is held
// throughout, so no status poll comes in between.
bool SensorSession::readTaughtThresholds(const QString& id)
{
    const QString output = id.contains("A2") ? "A2" : id.contains("A1") ? "A1" : QString();
    if (output.isEmpty())
        return false;
    const LinkSession::Hold hold(p.link);
    startBusy(130);
    p.editor.listen(false);
    const bool whole = p.reader.readTaughtThresholds(output, readOptions(), [this] { return mayGoOn(); });
    p.editor.listen(true);
    if (!whole)
        return false;
    // The limits follow the connected variant, as after any other read.
    if (p.units.unit() == 0 || p.units.unit() == 1)
        p.tree.applyLimitsOfUnit();
    p.tree.showAllRows();
    return true;
}

// Which point the sensor learnt and what it holds now, as the tree shows it:
// of an output's three thresholds those its teach mode shows, so a window
// teach names both limits and a switching-point teach the point alone.
QString SensorSession::taughtText(const QString& buttonId, bool whole) const
{
    QStringList ids;
    if (buttonId == "TEACHBUTTON1" || buttonId == "TEACHBUTTON2") {
        const QString output = buttonId.endsWith('1') ? "A1" : "A2";
        QMap<QString, bool> shown;
        for (const auto& [rowId, visible] : outputRowVisibility(p.tree))
            shown[rowId] = visible;
        for (const char* name : {"SwitchingThreshold", "UpperThreshold", "LowerThreshold"}) {
            if (shown.value(name + output, true))
                ids << name + output;
        }
    } else if (buttonId == "ANALOGTEACHBUTTON1") {
        ids << "analog0V";
    } else if (buttonId == "ANALOGTEACHBUTTON2") {
        ids << "analog10V";
    } else if (buttonId.contains("CrashCounter")) {
        ids << "CrashCounter";
    }
    QStringList parts;
    for (const QString& id : ids) {
        QtProperty* property = p.tree.find(id);
        if (!property)
            continue;
        const QString caption = splitCaptionUnit(property->propertyName()).name;
        if (!whole || !p.model.knowsHeld(id))
            parts << tr("%1 could not be read back after the teach").arg(caption);
        else if (id == "CrashCounter")
            parts << tr("%1 reset: %2").arg(caption, p.tree.heldText(property, p.model.held(id)));
        else
            parts << tr("%1 taught: %2").arg(caption, p.tree.heldText(property, p.model.held(id)));
    }
    return parts.join(", ");
}

} // namespace NimbarSensorPlugin::Core
