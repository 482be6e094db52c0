#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace IoLinkSimulator {

class FaultPlan;

// What iolink-sim is asked to do on its command line.
struct SimulatorOptions
{
    QString documentPath;
    QString modelId;
    QString variantCode;
    quint32 seed = 1;
    qint32 baudRate = 38400;
    int dropNext = 0;
    double dropRate = 0.0;
    int delayMs = 0;
    bool corrupt = false;
    bool truncate = false;
    bool answerError = false;
    bool randomBytes = false;
    bool badCheckOctet = false;
    bool silent = false;
    // The faults above wait for SIGUSR1, then let faultAfter answers pass,
    // and end after faultCount answers (0: they last).
    bool faultOnSignal = false;
    int faultAfter = 0;
    int faultCount = 0;
    // A symbolic link made to the served port, replacing an earlier one: a
    // restarted simulator appears again under the same name, as a USB
    // adapter plugged in again does under /dev/serial/by-id.
    QString linkPath;
    // Seconds after the start at which a person teaches output 1 at the
    // sensor's housing; 0 never.
    int housingTeachAfterSeconds = 0;
    // Indexes whose writes are acknowledged and not stored.
    QList<quint16> ignoredWriteIndexes;
    bool helpRequested = false;
};

// arguments include the program name first. On failure returns false with a
// message naming the offending option.
bool parseSimulatorOptions(const QStringList& arguments, const QString& defaultDocument,
                           SimulatorOptions* options, QString* error);
QString simulatorUsage();
void applyFaultOptions(const SimulatorOptions& options, FaultPlan* faults);

} // namespace IoLinkSimulator
