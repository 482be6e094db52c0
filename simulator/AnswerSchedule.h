#pragma once

#include "SimulatedMaster.h"

#include <QByteArray>

#include <deque>
#include <optional>

namespace IoLinkSimulator {

// When answers reach the far end of the serial line. A byte takes ten bit
// times; an answer is there once its request and then the answer itself
// have crossed the line, plus any delay of the fault plan. Answers never
// overtake each other. Times are nanoseconds of a monotonic clock.
class AnswerSchedule
{
public:
    static constexpr qint32 DefaultBaudRate = 38400;

    static qint64 wireTimeNs(int bytes, qint32 baudRate);

    void setBaudRate(qint32 baudRate) { m_baudRate = baudRate > 0 ? baudRate : DefaultBaudRate; }
    qint32 baudRate() const { return m_baudRate; }
    void setWireTimeEnabled(bool enabled) { m_wireTime = enabled; }
    bool wireTimeEnabled() const { return m_wireTime; }

    // An answer to a request whose last byte was written at nowNs.
    void add(qint64 nowNs, const SimulatedMaster::Answer& answer);
    // The bytes of every answer due at nowNs, in order.
    QByteArray takeDue(qint64 nowNs);
    std::optional<qint64> nextDueNs() const;
    bool isEmpty() const { return m_entries.empty(); }
    void clear() { m_entries.clear(); }

private:
    struct Entry
    {
        qint64 dueNs;
        QByteArray bytes;
    };

    qint32 m_baudRate = DefaultBaudRate;
    bool m_wireTime = true;
    std::deque<Entry> m_entries;
};

} // namespace IoLinkSimulator
