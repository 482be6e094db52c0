#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace IoLinkSimulator {

class FaultPlan;
struct VariantInfo;

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
    // Millimetres at which the object is held from the start, as given;
    // empty: it moves. Checked against the variant once the model is known.
    QString objectAt;
    // Indexes whose writes are acknowledged and not stored.
    QList<quint16> ignoredWriteIndexes;
    bool helpRequested = false;
};

// arguments include the program name first. On failure returns false with a
// message naming the offending option.
bool parseSimulatorOptions(const QStringList& arguments, const QString& defaultDocument,
                           SimulatorOptions* options, QString* error);
QString simulatorUsage();
// A distance at which the object can be held: whole millimetres within the
// range the variant measures; nothing, with the reason, otherwise.
std::optional<int> parseObjectDistance(const QString& text, const VariantInfo& variant, QString* error);
// A line read on standard input while serving: "object MM" holds the object
// there, "object moving" lets it move again (0).
std::optional<int> parseObjectCommand(const QString& line, const VariantInfo& variant, QString* error);
void applyFaultOptions(const SimulatorOptions& options, FaultPlan* faults);

} // namespace IoLinkSimulator
