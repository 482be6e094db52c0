#include "FaultPlan.h"

#include <algorithm>

namespace IoLinkSimulator {

FaultPlan::FaultPlan(quint32 seed) : m_random(seed) {}

FaultPlan::Outcome FaultPlan::apply(const QByteArray& answer)
{
    Outcome outcome;
    if (m_answersBeforeSilence == 0)
        m_silent = true;
    if (answer.isEmpty() || m_silent)
        return outcome;
    if (m_answersBeforeSilence > 0)
        --m_answersBeforeSilence;
    if (m_dropNext > 0) {
        --m_dropNext;
        return outcome;
    }
    if (m_dropRate > 0.0 && std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < m_dropRate)
        return outcome;

    QByteArray bytes = m_answerError ? QByteArray("\x05"
                                                  "ERROR",
                                                  6)
                                     : answer;
    if (m_corrupt)
        bytes[bytes.size() - 1] = static_cast<char>(bytes.at(bytes.size() - 1) ^ 0x01);
    if (m_truncate)
        bytes.truncate(std::max(1, bytes.size() / 2));
    outcome.bytes = bytes;
    outcome.delayMs = m_delayMs;
    return outcome;
}

} // namespace IoLinkSimulator
