#include "FaultPlan.h"

#include <algorithm>

namespace IoLinkSimulator {

FaultPlan::FaultPlan(quint32 seed) : m_random(seed) {}

bool FaultPlan::meetsFaults()
{
    if (m_held)
        return false;
    if (m_soundBeforeFaults > 0) {
        --m_soundBeforeFaults;
        return false;
    }
    if (m_faultyAnswersLeft == 0)
        return false;
    if (m_faultyAnswersLeft > 0)
        --m_faultyAnswersLeft;
    if (!m_begun) {
        m_begun = true;
        if (m_onBegin)
            m_onBegin();
    }
    return true;
}

QByteArray FaultPlan::randomAnswer()
{
    std::uniform_int_distribution<int> size(1, 12);
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray bytes(size(m_random), '\0');
    for (char& b : bytes)
        b = static_cast<char>(byte(m_random));
    return bytes;
}

FaultPlan::Outcome FaultPlan::apply(const QByteArray& answer)
{
    Outcome outcome;
    if (!answer.isEmpty() && !meetsFaults()) {
        outcome.bytes = answer;
        return outcome;
    }
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

    QByteArray bytes = m_randomBytes   ? randomAnswer()
                       : m_answerError ? QByteArray("\x05"
                                                    "ERROR",
                                                    6)
                                       : answer;
    if (m_badCheckOctet && bytes.size() >= 2)
        bytes[1] = static_cast<char>(bytes.at(1) ^ 0x01);
    if (m_corrupt)
        bytes[bytes.size() - 1] = static_cast<char>(bytes.at(bytes.size() - 1) ^ 0x01);
    if (m_truncate)
        bytes.truncate(std::max(1, bytes.size() / 2));
    outcome.bytes = bytes;
    outcome.delayMs = m_delayMs;
    return outcome;
}

} // namespace IoLinkSimulator
