#include "SerialCommunication.h"

#include "AnswerFraming.h"
#include "PortTransport.h"
#include "ProtocolTrace.h"

#include <QMetaObject>

#include <algorithm>

namespace ExtensionSystem {

SerialCommunication::SerialCommunication(std::unique_ptr<PortTransport> transport, ProtocolTrace* trace,
                                         QObject* parent)
    : CommunicationInterface(parent), m_transport(std::move(transport)), m_trace(trace)
{
    m_timeout.setSingleShot(true);
    m_timeout.setTimerType(Qt::PreciseTimer);
    m_pause.setSingleShot(true);
    m_pause.setTimerType(Qt::PreciseTimer);
    m_clock.start();
    connect(&m_timeout, &QTimer::timeout, this, &SerialCommunication::timeOut);
    connect(&m_pause, &QTimer::timeout, this, [this] {
        if (m_state == State::Pausing)
            startQuery();
        else if (m_state == State::Writing)
            writeNextByte();
    });
    connect(m_transport.get(), &PortTransport::readyRead, this, &SerialCommunication::readAnswer);
    connect(m_transport.get(), &PortTransport::vanished, this, &SerialCommunication::transportVanished);
}

SerialCommunication::~SerialCommunication()
{
    disconnect(m_transport.get(), nullptr, this, nullptr);
    m_transport->close();
    // Someone may still wait for a frame in a local event loop: end every
    // frame that is left as unanswered rather than leave the wait hanging.
    for (unsigned int id : dropFrames())
        emit emitFinished(id);
}

bool SerialCommunication::open(const PortSettings& settings, QString* error)
{
    m_settings = settings;
    m_owed.clear();
    return m_transport->open(settings, error);
}

bool SerialCommunication::isOpen() const
{
    return m_transport->isOpen();
}

void SerialCommunication::sendBytes(std::string bytes)
{
    const QByteArray raw = QByteArray::fromStdString(bytes);
    if (!m_transport->isOpen() || raw.isEmpty())
        return;
    // The master answers a raw request as any other; its answer is expected
    // as long as a query with the default timeout would wait for it.
    const int command = frameCommand(raw);
    if (command >= 0) {
        m_commandsSent.set(std::size_t(command));
        owe(command, SensorQuery().timeoutMs);
    }
    if (m_trace)
        m_trace->sent(m_settings.portName, raw);
    m_transport->write(raw);
}

unsigned int SerialCommunication::submitFrame(DataFrame* frame)
{
    if (++m_lastId == 0)
        ++m_lastId;
    m_frames.push_back(Pending{m_lastId, frame});
    // Always from the event loop: the caller connects to emitFinished only
    // after this returns.
    scheduleStep();
    return m_lastId;
}

void SerialCommunication::applyPortSettings(const PortSettings& settings)
{
    m_settings = settings;
    m_owed.clear();
    QString error;
    if (!m_transport->open(settings, &error) && m_trace)
        m_trace->event(settings.portName, "cannot open: " + error);
    // Frames that waited for a closed port may go on now.
    scheduleStep();
}

const PortSettings& SerialCommunication::currentPortSettings() const
{
    return m_settings;
}

void SerialCommunication::closePort()
{
    m_transport->close();
    abandonFrames();
}

void SerialCommunication::scheduleStep()
{
    if (m_stepQueued)
        return;
    m_stepQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_stepQueued = false;
            step();
        },
        Qt::QueuedConnection);
}

// Moves the queue on: starts the next query, or finishes the current frame.
// Runs only from the event loop, and returns after each emitFinished so that
// whatever the receiver does (submit, close, delete a frame) meets a
// consistent queue.
void SerialCommunication::step()
{
    while (m_state == State::Idle && !m_frames.empty()) {
        std::list<SensorQuery>& queries = m_frames.front().frame->queries;
        if (!m_frameStarted) {
            m_frameStarted = true;
            m_query = queries.begin();
        }
        if (m_query == queries.end()) {
            const unsigned int id = m_frames.front().id;
            m_frames.pop_front();
            m_frameStarted = false;
            scheduleStep();
            emit emitFinished(id);
            return;
        }
        m_query->answer.clear();
        m_query->status = 0;
        if (!m_transport->isOpen()) {
            ++m_query;
            continue;
        }
        const qint64 sinceRequest =
            m_sinceRequest.isValid() ? m_sinceRequest.elapsed() : m_settings.lineDelay;
        if (sinceRequest < m_settings.lineDelay) {
            m_state = State::Pausing;
            m_pause.start(int(m_settings.lineDelay - sinceRequest));
            return;
        }
        startQuery();
    }
}

void SerialCommunication::startQuery()
{
    // Nothing that arrived before the request is its answer. A partial
    // frame is dropped as well, so that framing starts afresh after a
    // truncated answer.
    m_received += m_transport->readAll();
    discardFrames();
    if (m_trace && !m_received.isEmpty())
        m_trace->event(m_settings.portName, "discarded " + hexBytes(m_received));
    m_received.clear();
    m_request = QByteArray::fromStdString(m_query->request);
    m_command = frameCommand(m_request);
    if (m_command >= 0)
        m_commandsSent.set(std::size_t(m_command));
    m_ownCommandDiscarded = false;
    m_written = 0;
    m_state = State::Writing;
    m_timeout.start(qMax(0, qRound(m_query->timeoutMs)));
    if (m_trace)
        m_trace->sent(m_settings.portName, m_request);
    if (m_settings.characterDelay > 0) {
        writeNextByte();
        return;
    }
    m_transport->write(m_request);
    m_sinceRequest.start();
    m_state = State::Awaiting;
}

void SerialCommunication::writeNextByte()
{
    m_transport->write(m_request.mid(m_written, 1));
    if (++m_written < m_request.size()) {
        m_pause.start(m_settings.characterDelay);
        return;
    }
    m_sinceRequest.start();
    m_state = State::Awaiting;
}

void SerialCommunication::readAnswer()
{
    m_received += m_transport->readAll();
    if (m_state != State::Writing && m_state != State::Awaiting) {
        discardFrames();
        return;
    }
    while (const int length = completeFrameLength(m_received)) {
        const QByteArray frame = m_received.left(length);
        m_received.remove(0, length);
        // On purpose: the plug-in does not validate the master's check byte, so noise never becomes a value.
        if (!checkOctetFits(frame)) {
            if (m_trace)
                m_trace->event(m_settings.portName, "discarded: bad check octet " + hexBytes(frame));
            completeQuery(0, QByteArray());
            return;
        }
        if (isCurrentAnswer(frameCommand(frame))) {
            if (m_trace)
                m_trace->received(m_settings.portName, frame);
            // Whatever follows it is left for the next request to discard.
            completeQuery(answerStatus(frame, m_query->expectedAnswer), frame);
            return;
        }
        discardFrame(frame);
    }
}

// Whether a whole frame with the response code, arriving while the current
// query waits, is its answer.
bool SerialCommunication::isCurrentAnswer(int command)
{
    if (command < 0 || !m_commandsSent.test(std::size_t(command)))
        return true;
    if (m_command >= 0 && command != m_command)
        return false;
    return !isOwed(command);
}

// Discards the whole frames at the front of what was received, keeping a
// partial one that may yet be completed.
void SerialCommunication::discardFrames()
{
    while (const int length = completeFrameLength(m_received)) {
        const QByteArray frame = m_received.left(length);
        m_received.remove(0, length);
        discardFrame(frame);
    }
}

void SerialCommunication::discardFrame(const QByteArray& frame)
{
    const int command = frameCommand(frame);
    const bool isAnswer = command >= 0 && m_commandsSent.test(std::size_t(command));
    const bool waiting = m_state == State::Writing || m_state == State::Awaiting;
    if (isAnswer && settleOwed(command) && waiting && command == m_command)
        m_ownCommandDiscarded = true;
    if (m_trace)
        m_trace->event(m_settings.portName,
                       (isAnswer ? "discarded late answer " : "discarded ") + hexBytes(frame));
}

void SerialCommunication::owe(int command, double timeoutMs)
{
    m_owed.push_back(OwedAnswer{command, m_clock.elapsed() + qMax<qint64>(0, qRound64(timeoutMs))});
}

// Takes the oldest debt of the command off the list; false when none is left.
bool SerialCommunication::settleOwed(int command)
{
    forgetExpiredDebts();
    const auto owed = std::find_if(m_owed.begin(), m_owed.end(),
                                   [command](const OwedAnswer& o) { return o.command == command; });
    if (owed == m_owed.end())
        return false;
    m_owed.erase(owed);
    return true;
}

bool SerialCommunication::isOwed(int command)
{
    forgetExpiredDebts();
    return std::any_of(m_owed.begin(), m_owed.end(),
                       [command](const OwedAnswer& o) { return o.command == command; });
}

void SerialCommunication::forgetExpiredDebts()
{
    const qint64 now = m_clock.elapsed();
    m_owed.erase(
        std::remove_if(m_owed.begin(), m_owed.end(), [now](const OwedAnswer& o) { return o.dueMs < now; }),
        m_owed.end());
}

void SerialCommunication::completeQuery(int32_t status, const QByteArray& answer)
{
    m_timeout.stop();
    m_pause.stop();
    m_query->answer = answer.toStdString();
    m_query->status = status;
    ++m_query;
    m_state = State::Idle;
    step();
}

void SerialCommunication::timeOut()
{
    if (m_state != State::Writing && m_state != State::Awaiting)
        return;
    if (m_trace)
        m_trace->timedOut(m_settings.portName, m_received);
    // The answer may still come (a partial one stays to be completed) and is
    // expected for as long again. Not so when an answer of this command was
    // discarded as late while this query waited: that one is taken for its
    // own, so that a request the master never answered costs at most one
    // more answer, not every following one.
    if (m_command >= 0 && !m_ownCommandDiscarded)
        owe(m_command, m_query->timeoutMs);
    completeQuery(0, QByteArray());
}

// Ends every queued frame unanswered at once and forgets it: the frames are
// not touched again, as their owners may delete them as soon as they learn
// that the port is gone. Returns their ids.
QList<unsigned int> SerialCommunication::dropFrames()
{
    m_timeout.stop();
    m_pause.stop();
    if (m_trace && !m_received.isEmpty())
        m_trace->event(m_settings.portName, "discarded " + hexBytes(m_received));
    m_received.clear();
    // Nothing sent before the port closed will be answered through it.
    m_owed.clear();
    QList<unsigned int> ids;
    for (std::size_t i = 0; i < m_frames.size(); ++i) {
        std::list<SensorQuery>& queries = m_frames[i].frame->queries;
        // The queries of the current frame before m_query are already answered.
        for (auto query = i == 0 && m_frameStarted ? m_query : queries.begin(); query != queries.end();
             ++query) {
            query->answer.clear();
            query->status = 0;
        }
        ids.append(m_frames[i].id);
    }
    m_frames.clear();
    m_frameStarted = false;
    m_state = State::Idle;
    return ids;
}

void SerialCommunication::abandonFrames()
{
    const QList<unsigned int> ids = dropFrames();
    if (ids.isEmpty())
        return;
    QMetaObject::invokeMethod(
        this,
        [this, ids] {
            for (unsigned int id : ids)
                emit emitFinished(id);
        },
        Qt::QueuedConnection);
}

void SerialCommunication::transportVanished(const QString& reason)
{
    if (m_trace)
        m_trace->event(m_settings.portName, "port lost: " + reason);
    abandonFrames();
}

} // namespace ExtensionSystem
