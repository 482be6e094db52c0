#pragma once

#include <QByteArray>
#include <QSet>

#include <functional>
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
    // Sends 1 to 12 random bytes instead of each answer.
    void setRandomBytes(bool on) { m_randomBytes = on; }
    // Flips the lowest bit of each answer's check octet (its second byte).
    void setBadCheckOctet(bool on) { m_badCheckOctet = on; }
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
    // Every write to this index is acknowledged and not stored: a sensor
    // that silently keeps its old value, which only reading it back shows.
    void ignoreWritesTo(quint16 index) { m_ignoredWrites.insert(index); }
    bool ignoresWritesTo(quint16 index) const { return m_ignoredWrites.contains(index); }

    // When the faults above begin, so that a test can put them at a chosen
    // point of a sequence: held faults wait for start(); then, or at once
    // when not held, this many answers still go out sound. The refused and
    // delayed reads do not wait.
    void holdUntilStarted() { m_held = true; }
    void start() { m_held = false; }
    void beginAfter(int answers) { m_soundBeforeFaults = answers; }
    // The faults end after they have met this many answers; 0: they last.
    void endAfter(int answers) { m_faultyAnswersLeft = answers > 0 ? answers : -1; }
    // Called once, with the first answer the faults meet.
    void setBeginHandler(std::function<void()> handler) { m_onBegin = std::move(handler); }

    int pendingDrops() const { return m_dropNext; }
    double dropRate() const { return m_dropRate; }
    int delayMs() const { return m_delayMs; }
    bool corrupt() const { return m_corrupt; }
    bool truncate() const { return m_truncate; }
    bool answerError() const { return m_answerError; }
    bool randomBytes() const { return m_randomBytes; }
    bool badCheckOctet() const { return m_badCheckOctet; }
    bool silent() const { return m_silent; }
    bool held() const { return m_held; }
    int answersBeforeFaults() const { return m_soundBeforeFaults; }
    // -1 while the faults last.
    int faultyAnswersLeft() const { return m_faultyAnswersLeft; }

    // True once for a refused index, which is then forgotten.
    bool takeReadRefusal(quint16 index) { return m_refusedReads.remove(index); }
    bool takeWriteRefusal(quint16 index) { return m_refusedWrites.remove(index); }
    Outcome apply(const QByteArray& answer);

private:
    bool meetsFaults();
    QByteArray randomAnswer();

    std::mt19937 m_random;
    int m_dropNext = 0;
    int m_answersBeforeSilence = -1;
    double m_dropRate = 0.0;
    int m_delayMs = 0;
    bool m_corrupt = false;
    bool m_truncate = false;
    bool m_answerError = false;
    bool m_randomBytes = false;
    bool m_badCheckOctet = false;
    bool m_silent = false;
    bool m_held = false;
    bool m_begun = false;
    int m_soundBeforeFaults = 0;
    int m_faultyAnswersLeft = -1;
    std::function<void()> m_onBegin;
    QSet<quint16> m_refusedReads;
    QSet<quint16> m_refusedWrites;
    QSet<quint16> m_ignoredWrites;
};

} // namespace IoLinkSimulator
