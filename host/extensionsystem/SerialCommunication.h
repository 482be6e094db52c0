#pragma once

#include "CommunicationInterface.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QTimer>

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
// has passed since the previous one. Bytes that arrive while no query
// waits are stray and discarded.
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

    void scheduleStep();
    void step();
    void startQuery();
    void writeNextByte();
    void readAnswer();
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
    QTimer m_timeout;
    QTimer m_pause;
    QElapsedTimer m_sinceRequest;
};

} // namespace ExtensionSystem
