#pragma once

// The cells of the fault matrix: a phase of the user's work crossed with a
// way the master misbehaves, and for each seed the point in the phase where
// the fault begins and how long it lasts.

#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <iterator>
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

// Each phase with its name and the answers the simulator gives in it on a
// sound line with the small test document, counted from the moment the test
// starts the phase (live data: its first second). The fault begins somewhere
// among them.
struct PhaseRow
{
    Phase phase;
    const char* name;
    int answers;
};
inline constexpr PhaseRow phaseRows[] = {{Phase::Connect, "connect", 44}, {Phase::ReadAll, "read", 35},
                                         {Phase::WriteAll, "write", 32},  {Phase::LiveData, "live", 10},
                                         {Phase::Edit, "edit", 3},        {Phase::Teach, "teach", 52}};

// Each fault with its name and the simulator's options for it; a killed or
// stopped simulator is signalled by the test when the fault is due. Most
// answers are awaited for 2 s; a late answer comes just after that.
struct FaultRow
{
    Fault fault;
    const char* name;
    const char* options;
};
inline constexpr FaultRow faultRows[] = {{Fault::Silent, "silent", "--silent"},
                                         {Fault::Drop, "drop", "--drop 1"},
                                         {Fault::BadCheck, "badcheck", "--bad-check"},
                                         {Fault::Corrupt, "corrupt", "--corrupt"},
                                         {Fault::Truncate, "truncate", "--truncate"},
                                         {Fault::RandomBytes, "random", "--random"},
                                         {Fault::Error, "error", "--error"},
                                         {Fault::Late, "late", "--delay 2100"},
                                         {Fault::Kill, "kill", ""},
                                         {Fault::Stop, "stop", ""}};

inline const PhaseRow& rowOf(Phase phase)
{
    return *std::find_if(std::begin(phaseRows), std::end(phaseRows),
                         [phase](const PhaseRow& row) { return row.phase == phase; });
}

inline const FaultRow& rowOf(Fault fault)
{
    return *std::find_if(std::begin(faultRows), std::end(faultRows),
                         [fault](const FaultRow& row) { return row.fault == fault; });
}

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

    QString tag() const { return QString("%1/%2/%3").arg(rowOf(phase).name, rowOf(fault).name).arg(seed); }

    // The simulator's fault options: held until the test starts the phase.
    QStringList simulatorArguments() const
    {
        QStringList arguments{"--fault-on-signal", "--fault-after", QString::number(soundAnswers)};
        if (faultyAnswers > 0)
            arguments << "--fault-count" << QString::number(faultyAnswers);
        return arguments + QString(rowOf(fault).options).split(' ', Qt::SkipEmptyParts);
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
    c.soundAnswers = int(random() % quint32(rowOf(phase).answers));
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
