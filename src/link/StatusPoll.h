#pragma once

#include "ProcessData.h"

#include <extensionsystem/CommunicationInterface.h>

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace NimbarSensorPlugin::Core {

class LinkSession;

// The status poll of a connected sensor: one asynchronous frame at a time,
// 85 ms apart. Most polls ask for the process data; a cycle of sixteen also
// reads and fetches the echo record (when echoes are wanted) and the crash
// counter. What comes back is emitted decoded. Two polls in a row without an
// answer are forgiven; the third loses the sensor. It never polls while the
// link is held, and goes on when the link is let go.
class StatusPoll : public QObject
{
    Q_OBJECT
public:
    // connected tells whether the window still has its sensor: a poll that
    // ends after the user went offline says nothing about it.
    StatusPoll(LinkSession& link, std::function<bool()> connected, QObject* parent);
    ~StatusPoll() override;

    // Ticks of the timer poll only while enabled: from the window's start to its close.
    void setEnabled(bool enabled);
    // Whether the timer may start polls; sequences that poll on their own turn it off.
    void setCycleAllowed(bool allowed) { cycleAllowed = allowed; }
    bool isCycleAllowed() const { return cycleAllowed; }
    // Live data shown: process data is emitted only then.
    void setLiveData(bool on);
    bool isLiveData() const { return liveData; }
    void setEchoesWanted(bool wanted) { echoesWanted = wanted; }
    bool areEchoesWanted() const { return echoesWanted; }

    // The next poll in 85 ms.
    void schedule() { timer.start(); }
    void stop() { timer.stop(); }
    // The cycle starts over: with a few process-data polls first, or at once.
    void restartCycle(bool afterProcessData) { phase = afterProcessData ? 20 : 0; }
    // A new connection: forgives two missed polls again.
    void reset();

    // Starts a poll (frameId 0) or takes the answer of the poll's frame.
    void step(unsigned int frameId);
    // What the timer does: a poll, when the cycle is allowed.
    void tick();

signals:
    void answered();
    void liveDataSwitched(bool on);
    // An 8-byte process-data answer, while live data are shown.
    void processData(const QByteArray& answer);
    void echoes(const NimbarSensorPlugin::Core::EchoRecord& record);
    void crashCount(int count);
    // The third poll in a row without an answer.
    void sensorLost();

private:
    void start();
    void finish(unsigned int frameId);
    void goOn();

    LinkSession& link;
    std::function<bool()> connected;
    QTimer timer;
    bool enabled = false;
    bool cycleAllowed = false;
    bool liveData = false;
    bool echoesWanted = false;
    bool waiting = false;
    int phase = 0;
    int missedAnswers = 2;
    unsigned int pendingId = 0;
    std::unique_ptr<ExtensionSystem::CommunicationInterface::DataFrame> pendingFrame;
    // The port the pending poll went out on.
    QPointer<ExtensionSystem::CommunicationInterface> pendingPort;
    QMutex mutex;
};

} // namespace NimbarSensorPlugin::Core
