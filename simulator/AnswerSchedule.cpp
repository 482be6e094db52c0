#include "AnswerSchedule.h"

#include <algorithm>

namespace IoLinkSimulator {

qint64 AnswerSchedule::wireTimeNs(int bytes, qint32 baudRate)
{
    return static_cast<qint64>(bytes) * 10 * 1000000000LL / baudRate;
}

void AnswerSchedule::add(qint64 nowNs, const SimulatedMaster::Answer& answer)
{
    qint64 due = nowNs + static_cast<qint64>(answer.delayMs) * 1000000;
    if (m_wireTime)
        due += wireTimeNs(answer.requestBytes + answer.bytes.size(), m_baudRate);
    if (!m_entries.empty())
        due = std::max(due, m_entries.back().dueNs);
    m_entries.push_back(Entry{due, answer.bytes});
}

QByteArray AnswerSchedule::takeDue(qint64 nowNs)
{
    QByteArray bytes;
    while (!m_entries.empty() && m_entries.front().dueNs <= nowNs) {
        bytes.append(m_entries.front().bytes);
        m_entries.pop_front();
    }
    return bytes;
}

std::optional<qint64> AnswerSchedule::nextDueNs() const
{
    if (m_entries.empty())
        return std::nullopt;
    return m_entries.front().dueNs;
}

} // namespace IoLinkSimulator
