#include "StatusPoll.h"

#include "LinkSession.h"
#include "RequestFrames.h"

namespace NimbarSensorPlugin::Core {

using DataFrame = ExtensionSystem::CommunicationInterface::DataFrame;

StatusPoll::StatusPoll(LinkSession& link, std::function<bool()> connected, QObject* parent)
    : QObject(parent), link(link), connected(std::move(connected))
{
    timer.setInterval(85);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [this] {
        if (enabled)
            tick();
    });
    // A hold overtakes a read of the poll's that was pending; a poll put off
    // while the link was held goes on when it is let go.
    connect(&link, &LinkSession::holdTaken, this, [this] { phase = 20; });
    connect(&link, &LinkSession::released, this, [this] {
        if (waiting) {
            waiting = false;
            goOn();
        }
    });
}

// The host gives the frame back when it finishes; a frame still out when the
// window closes is the poll's to delete.
StatusPoll::~StatusPoll() = default;

void StatusPoll::setEnabled(bool on)
{
    enabled = on;
    if (!on)
        timer.stop();
}

void StatusPoll::setLiveData(bool on)
{
    if (on == liveData)
        return;
    liveData = on;
    emit liveDataSwitched(on);
}

void StatusPoll::reset()
{
    link.setReadUnfetched(false);
    missedAnswers = 2;
    cycleAllowed = true;
}

void StatusPoll::tick()
{
    if (cycleAllowed)
        step(0);
}

// A poll waits in nested event loops (the lost-sensor question, the
// connection check) while it holds the mutex; a poll that comes up meanwhile
// is skipped rather than left waiting for a lock its own thread holds.
void StatusPoll::step(unsigned int frameId)
{
    if (!mutex.tryLock())
        return;
    if (frameId == 0)
        start();
    else
        finish(frameId);
    mutex.unlock();
}

void StatusPoll::start()
{
    ExtensionSystem::CommunicationInterface* port = link.communication();
    if (!port || pendingId != 0)
        return;
    if (link.held()) {
        waiting = true;
        return;
    }
    QByteArray request = processDataRequest();
    if (phase <= 0) {
        phase = 16;
    } else {
        if (phase == 12 && echoesWanted)
            request = echoReadRequest();
        else if (phase == 8 && echoesWanted)
            request = fetchRequest();
        else if (phase == 5)
            request = crashCounterReadRequest();
        else if (phase == 2)
            request = fetchRequest();
        --phase;
    }
    if (request != processDataRequest())
        link.setReadUnfetched(request != fetchRequest());
    pendingFrame = std::make_unique<DataFrame>(DataFrame{{sensorQuery(request, ".*")}});
    connect(port, &ExtensionSystem::CommunicationInterface::emitFinished, this, &StatusPoll::step,
            Qt::UniqueConnection);
    pendingPort = port;
    pendingId = port->submitFrame(pendingFrame.get());
}

void StatusPoll::finish(unsigned int frameId)
{
    if (frameId != pendingId)
        return;
    if (pendingPort)
        disconnect(pendingPort, &ExtensionSystem::CommunicationInterface::emitFinished, this,
                   &StatusPoll::step);
    const std::unique_ptr<DataFrame> frame = std::move(pendingFrame);
    pendingId = 0;
    // A poll that ends after the user went offline, or on a port given up
    // meanwhile, says nothing about the sensor connected now.
    const bool stale = !connected() || pendingPort != link.communication();
    pendingPort = nullptr;
    if (stale) {
        goOn();
        return;
    }
    const ExtensionSystem::SensorQuery& query = frame->queries.front();
    const QByteArray answer = QByteArray::fromStdString(query.answer);
    if (query.status != 0) {
        emit answered();
        if (liveData && answer.size() == 8 && phase != 1)
            emit processData(answer);
        if (phase == 7 && echoesWanted && answer.size() > 20) {
            if (const std::optional<EchoRecord> record = decodeEchoRecord(answer))
                emit echoes(*record);
        }
        if (phase == 1) {
            if (const std::optional<int> count = crashCounterFromAnswer(answer))
                emit crashCount(*count);
        }
        goOn();
        return;
    }
    if (missedAnswers != 0) {
        --missedAnswers;
        goOn();
        return;
    }
    emit sensorLost();
    if (link.checkLine(true)) {
        goOn();
        return;
    }
    --missedAnswers;
}

void StatusPoll::goOn()
{
    if (connected() && link.communication())
        timer.start();
}

} // namespace NimbarSensorPlugin::Core
