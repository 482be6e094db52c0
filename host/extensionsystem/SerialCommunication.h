#pragma once

#include "CommunicationInterface.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <bitset>
#include <deque>
#include <memory>

namespace ExtensionSystem {

class PortTransport;
class ProtocolTrace;

// The host's communication component for one port. Frames are queued and
// their queries sent one after the other: each request is written as it is
// (with the port's character delay between bytes), then the answer is
// awaited until it is complete by its length byte or the query's timeout
// has passed. The next request is not written before the port's line delay
// has passed since the previous one.
//
// A query ends with status 1 when its answer is accepted by the query's
// pattern, 2 when it is not, and 0 when no answer came in time or the answer
// failed its check octet. A corrupted answer is discarded at once (and
// traced) rather than handed on, as nothing above the host would notice it;
// the master's ERROR frame carries no check octet and is handed on as it is.
//
// A query is answered only by its own answer. The master answers requests
// in order, one answer each, and echoes the request's command byte as the
// answer's response code, so an answer that comes after its query timed
// out is recognised and discarded (and traced) rather than handed to the
// query that waits now:
// - a frame whose code names another command sent on this line is never
//   the current query's; frames whose code is no such command (the
//   master's "ERROR" text) still are;
// - a timed-out query still owes its answer for as long again as its
//   timeout; the first frame of that command to arrive settles the debt and
//   is discarded as late. A request the master dropped would make its
//   successor lose its own answer that way; a query that lost one so, and
//   timed out, takes the discarded frame for its own and owes nothing, so
//   the loss stops there.
// Bytes that arrive while no query waits are discarded and traced too: whole
// frames at once, a partial one when the next request goes out.
class SerialCommunication : public CommunicationInterface
{
    Q_OBJECT
public:
    SerialCommunication(std::unique_ptr<PortTransport> transport, ProtocolTrace* trace,
                        QObject* parent = nullptr);
    ~SerialCommunication() override;

    // Opens the port; false with the reason in *error.
    bool open(const PortSettings& settings, QString* error);
    bool isOpen() const;

    void sendBytes(std::string bytes) override;
    unsigned int submitFrame(DataFrame* frame) override;
    void applyPortSettings(const PortSettings& settings) override;
    const PortSettings& currentPortSettings() const override;
    void closePort() override;

private:
    enum class State
    {
        Idle,
        Pausing,
        Writing,
        Awaiting
    };
    struct Pending
    {
        unsigned int id;
        DataFrame* frame;
    };
    struct OwedAnswer
    {
        int command;
        qint64 dueMs; // on m_clock; later the answer is no longer expected
    };

    void scheduleStep();
    void step();
    void startQuery();
    void writeNextByte();
    void readAnswer();
    bool isCurrentAnswer(int command);
    void discardFrames();
    void discardFrame(const QByteArray& frame);
    void owe(int command, double timeoutMs);
    bool settleOwed(int command);
    bool isOwed(int command);
    void forgetExpiredDebts();
    void completeQuery(int32_t status, const QByteArray& answer);
    void timeOut();
    QList<unsigned int> dropFrames();
    void abandonFrames();
    void transportVanished(const QString& reason);

    std::unique_ptr<PortTransport> m_transport;
    QPointer<ProtocolTrace> m_trace;
    PortSettings m_settings;
    std::deque<Pending> m_frames;
    bool m_frameStarted = false;
    std::list<SensorQuery>::iterator m_query;
    State m_state = State::Idle;
    bool m_stepQueued = false;
    unsigned int m_lastId = 0;
    QByteArray m_request;
    int m_written = 0;
    QByteArray m_received;
    // The current query's command (-1 when its request is no frame), and
    // whether an answer of that command was discarded as late while it waited.
    int m_command = -1;
    bool m_ownCommandDiscarded = false;
    std::bitset<128> m_commandsSent;
    std::deque<OwedAnswer> m_owed;
    QElapsedTimer m_clock;
    QTimer m_timeout;
    QTimer m_pause;
    QElapsedTimer m_sinceRequest;
};

} // namespace ExtensionSystem
