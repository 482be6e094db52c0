#pragma once

#include <extensionsystem/CommunicationInterface.h>

#include <QList>
#include <QObject>

#include <functional>

class QWidget;

namespace NimbarSensorPlugin::Core {

// One query with the options every exchange of the window uses.
ExtensionSystem::SensorQuery sensorQuery(const QByteArray& request, const QString& expectedAnswer,
                                         double timeoutMs = 2000.0);

// A sensor window's line to its sensor through the host's communication
// interface: it sends frames and waits for them, makes the pauses the sensor
// needs, keeps an exchange whole while it is held, and counts the queries in
// a row that got no answer. It knows nothing of the parameters.
//
// The sensor keeps one pending read: a fetch brings the value of the last
// read request, whoever sent it. And every wait (pauses, exchanges, boxes)
// runs a local event loop, so the poll timer, the write timer and the user's
// clicks go on meanwhile. An exchange that must go out whole (a read with its
// fetch, a write with the fetch before it and its follow-ups, the tag write,
// connecting, reading or writing everything) therefore holds the link: the
// status poll waits while it is held and goes on when it is let go, and what
// the user asked for meanwhile runs once the link is free. A read of the
// poll's that has gone out is fetched first, so that nothing else comes
// between it and its fetch.
class LinkSession : public QObject
{
    Q_OBJECT
public:
    using DataFrame = ExtensionSystem::CommunicationInterface::DataFrame;

    // A wait that lasts shows a busy indicator over waitParent.
    explicit LinkSession(QWidget* waitParent);

    // Set and cleared only by the sensor interface when it registers the port.
    ExtensionSystem::CommunicationInterface* communication() const { return port; }
    void setCommunication(ExtensionSystem::CommunicationInterface* communication) { port = communication; }

    // Sends the frame and waits for it while the window keeps running.
    void send(DataFrame* frame, bool showWait);
    // True when the request was answered and the answer is no error text.
    bool command(const QByteArray& request, bool showWait);
    // The answer, or empty when there was none.
    QByteArray query(const QByteArray& request, const QString& expectedAnswer, bool showWait);
    // True when the connection check got its four-byte answer.
    bool checkLine(bool showWait);
    // Waits without blocking the window, and counts the time waited.
    void pause(int ms);
    // Every pause made since the session began.
    qint64 pausedMilliseconds() const { return pausedMs; }

    // The mean time an exchange took, on the wire and in the sensor, so far.
    double meanExchangeMs() const { return exchanges > 0 ? exchangeMs / exchanges : 0.0; }
    // Three queries in a row without an answer: the sensor is gone.
    bool lineLost() const { return unanswered >= 3; }
    int unansweredInARow() const { return unanswered; }
    void forgetUnanswered() { unanswered = 0; }

    class Hold
    {
    public:
        explicit Hold(LinkSession& session);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        LinkSession& session;
    };
    bool held() const { return holds > 0; }
    // Runs action now when the link is free, otherwise once it is.
    void whenFree(std::function<void()> action);
    // While the link is held, action runs once it is free and this says
    // true; on a free link it says false and the caller goes on at once.
    bool deferWhileHeld(std::function<void()> action);
    // The poll sent a read whose fetch has not gone out yet.
    void setReadUnfetched(bool unfetched) { readUnfetched = unfetched; }

signals:
    // A hold was taken: a read of the poll's that was pending is overtaken.
    void holdTaken();
    // The last hold was let go.
    void released();

private:
    void runWaiting();

    QWidget* waitParent;
    ExtensionSystem::CommunicationInterface* port = nullptr;
    qint64 pausedMs = 0;
    double exchangeMs = 0;
    int exchanges = 0;
    int unanswered = 0;
    int holds = 0;
    bool readUnfetched = false;
    QList<std::function<void()>> waiting;
};

} // namespace NimbarSensorPlugin::Core
