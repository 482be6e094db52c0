#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>

#include <random>

namespace IoLinkSimulator {

// Faults the master applies to its answers, for tests and the command line.
// Settings stay in force until changed, except the counted drop and the
// refused reads and writes, which are used up.
class FaultPlan
{
public:
    struct Outcome
    {
        QByteArray bytes; // empty: nothing is sent
        int delayMs = 0;  // on top of the wire time
    };

    explicit FaultPlan(quint32 seed = 1);

    void dropNext(int count) { m_dropNext = count; }
    void setDropRate(double probability) { m_dropRate = probability; }
    void setDelayMs(int milliseconds) { m_delayMs = milliseconds; }
    // Flips the lowest bit of the answer's last byte, so its check octet no
    // longer fits.
    void setCorrupt(bool on) { m_corrupt = on; }
    // Sends only the first half of each answer.
    void setTruncate(bool on) { m_truncate = on; }
    // Answers every request with the framed text "ERROR" (05 'E' 'R' 'R' 'O' 'R').
    void setAnswerError(bool on) { m_answerError = on; }
    // No answers at all while on.
    void setSilent(bool on) { m_silent = on; }
    // Answers this many more requests, then falls silent: a master that
    // hangs in the middle of a sequence.
    void silenceAfter(int answers) { m_answersBeforeSilence = answers; }
    // The fetch that follows the next read request of this index is answered
    // with the "service temporarily unavailable" error.
    void refuseNextRead(quint16 index) { m_refusedReads.insert(index); }
    // The next write request to this index is answered with the "device
    // control" error and its value is not stored: the refusal of a sensor
    // busy with an operation of its own, which takes the write when asked
    // again. "Access denied" would say the parameter can never be written.
    void refuseNextWrite(quint16 index) { m_refusedWrites.insert(index); }

    // The fetch that follows the next read request of this index is answered
    // that much later (on top of any other delay); the answers after it wait
    // behind it, as a master answers in order.
    void delayFetchAfterRead(quint16 index, int milliseconds) { m_delayedReads.insert(index, milliseconds); }

    int pendingDrops() const { return m_dropNext; }
    double dropRate() const { return m_dropRate; }
    int delayMs() const { return m_delayMs; }
    bool corrupt() const { return m_corrupt; }
    bool truncate() const { return m_truncate; }
    bool answerError() const { return m_answerError; }
    bool silent() const { return m_silent; }

    // True once for a refused index, which is then forgotten.
    bool takeReadRefusal(quint16 index) { return m_refusedReads.remove(index); }
    bool takeWriteRefusal(quint16 index) { return m_refusedWrites.remove(index); }
    // The delay for the fetch after a read of this index, once; 0 when none.
    int takeFetchDelay(quint16 index) { return m_delayedReads.take(index); }
    Outcome apply(const QByteArray& answer);

private:
    std::mt19937 m_random;
    int m_dropNext = 0;
    int m_answersBeforeSilence = -1;
    double m_dropRate = 0.0;
    int m_delayMs = 0;
    bool m_corrupt = false;
    bool m_truncate = false;
    bool m_answerError = false;
    bool m_silent = false;
    QSet<quint16> m_refusedReads;
    QSet<quint16> m_refusedWrites;
    QHash<quint16, int> m_delayedReads;
};

} // namespace IoLinkSimulator
