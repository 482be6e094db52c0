#pragma once

// The cells of the fault matrix: a phase of the user's work crossed with a
// way the master misbehaves, and for each seed the point in the phase where
// the fault begins and how long it lasts.

#include <QList>
#include <QString>
#include <QStringList>

#include <random>

namespace FaultMatrix {

enum class Phase
{
    Connect,
    ReadAll,
    WriteAll,
    LiveData,
    Edit,
    Teach
};

enum class Fault
{
    Silent,
    Drop,
    BadCheck,
    Truncate,
    RandomBytes,
    Error,
    Late,
    Kill,
    Stop,
    // Bit errors in the answers' data. Last, as the value seeds makeCase: the
    // other columns keep the cases they had.
    Corrupt
};

inline const QList<Phase>& allPhases()
{
    static const QList<Phase> phases{Phase::Connect,  Phase::ReadAll, Phase::WriteAll,
                                     Phase::LiveData, Phase::Edit,    Phase::Teach};
    return phases;
}

inline const QList<Fault>& allFaults()
{
    static const QList<Fault> faults{Fault::Silent,   Fault::Drop,        Fault::BadCheck, Fault::Corrupt,
                                     Fault::Truncate, Fault::RandomBytes, Fault::Error,    Fault::Late,
                                     Fault::Kill,     Fault::Stop};
    return faults;
}

inline QString phaseName(Phase phase)
{
    switch (phase) {
    case Phase::Connect:
        return "connect";
    case Phase::ReadAll:
        return "read";
    case Phase::WriteAll:
        return "write";
    case Phase::LiveData:
        return "live";
    case Phase::Edit:
        return "edit";
    case Phase::Teach:
        return "teach";
    }
    return QString();
}

inline QString faultName(Fault fault)
{
    switch (fault) {
    case Fault::Silent:
        return "silent";
    case Fault::Drop:
        return "drop";
    case Fault::BadCheck:
        return "badcheck";
    case Fault::Corrupt:
        return "corrupt";
    case Fault::Truncate:
        return "truncate";
    case Fault::RandomBytes:
        return "random";
    case Fault::Error:
        return "error";
    case Fault::Late:
        return "late";
    case Fault::Kill:
        return "kill";
    case Fault::Stop:
        return "stop";
    }
    return QString();
}

// Answers the simulator gives in each phase on a sound line with the small
// test document, counted from the moment the test starts the phase (live
// data: its first second). The fault begins somewhere among them.
inline int answersInPhase(Phase phase)
{
    switch (phase) {
    case Phase::Connect:
        return 44;
    case Phase::ReadAll:
        return 35;
    case Phase::WriteAll:
        return 32;
    case Phase::LiveData:
        return 10;
    case Phase::Edit:
        return 3;
    case Phase::Teach:
        return 52;
    }
    return 1;
}

// Most answers are awaited for 2 s; a late answer comes just after that.
constexpr int LateAnswerMs = 2100;

struct FaultCase
{
    Phase phase = Phase::Connect;
    Fault fault = Fault::Silent;
    quint32 seed = 1;
    // Answers of the phase that still go out sound.
    int soundAnswers = 0;
    // How many answers the fault spoils; 0: all from then on.
    int faultyAnswers = 0;
    // How long a stopped simulator stays stopped.
    int stoppedMs = 0;

    QString tag() const { return phaseName(phase) + "/" + faultName(fault) + "/" + QString::number(seed); }

    // The simulator's fault options: held until the test starts the phase.
    QStringList simulatorArguments() const
    {
        QStringList arguments{"--fault-on-signal", "--fault-after", QString::number(soundAnswers)};
        if (faultyAnswers > 0)
            arguments << "--fault-count" << QString::number(faultyAnswers);
        switch (fault) {
        case Fault::Silent:
            arguments << "--silent";
            break;
        case Fault::Drop:
            arguments << "--drop"
                      << "1";
            break;
        case Fault::BadCheck:
            arguments << "--bad-check";
            break;
        case Fault::Corrupt:
            arguments << "--corrupt";
            break;
        case Fault::Truncate:
            arguments << "--truncate";
            break;
        case Fault::RandomBytes:
            arguments << "--random";
            break;
        case Fault::Error:
            arguments << "--error";
            break;
        case Fault::Late:
            arguments << "--delay" << QString::number(LateAnswerMs);
            break;
        case Fault::Kill:
        case Fault::Stop:
            // The test signals the simulator when the fault is due.
            break;
        }
        return arguments;
    }

    QString describe() const
    {
        QString text = tag() + ": fault after " + QString::number(soundAnswers) + " sound answers";
        if (fault == Fault::Stop)
            text += ", stopped for " + QString::number(stoppedMs) + " ms";
        else if (fault != Fault::Kill && fault != Fault::Drop)
            text +=
                faultyAnswers > 0 ? ", spoiling " + QString::number(faultyAnswers) + " answers" : ", lasting";
        return text;
    }
};

// The same cell and seed always make the same case.
inline FaultCase makeCase(Phase phase, Fault fault, quint32 seed)
{
    std::mt19937 random(seed * 7919u + quint32(phase) * 131u + quint32(fault));
    FaultCase c;
    c.phase = phase;
    c.fault = fault;
    c.seed = seed;
    c.soundAnswers = int(random() % quint32(answersInPhase(phase)));
    // A spoilt answer or a few, from which the window recovers, or a line
    // that stays bad, which takes it offline.
    static const int spoilt[] = {1, 4, 0};
    switch (fault) {
    case Fault::Silent:
        c.faultyAnswers = 0;
        break;
    case Fault::Drop:
        c.faultyAnswers = 1;
        break;
    case Fault::Kill:
    case Fault::Stop:
        c.faultyAnswers = 0;
        break;
    default:
        c.faultyAnswers = spoilt[random() % 3];
        break;
    }
    c.stoppedMs = 1500 + int(random() % 5000);
    return c;
}

} // namespace FaultMatrix
