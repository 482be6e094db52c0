#include "SimulatorOptions.h"

#include "FaultPlan.h"
#include "SensorDescription.h"

#include <QCommandLineParser>

namespace IoLinkSimulator {

namespace {

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption model{"model", "Model id of the simulated sensor, e.g. UM035.", "ID"};
    QCommandLineOption variant{"variant", "Variant code (default: the model's first variant).", "CODE"};
    QCommandLineOption baud{"baud", "Baud rate for the simulated wire time (default 38400).", "N"};
    QCommandLineOption seed{"seed", "Seed of the target motion and random faults (default 1).", "N"};
    QCommandLineOption document{"document", "Description document (default: beside the program).", "PATH"};
    QCommandLineOption drop{"drop", "Drop the first N answers.", "N"};
    QCommandLineOption dropRate{"drop-rate", "Drop each answer with probability P (0 to 1).", "P"};
    QCommandLineOption delay{"delay", "Delay every answer by MS milliseconds.", "MS"};
    QCommandLineOption corrupt{"corrupt", "Flip a bit of every answer's last byte."};
    QCommandLineOption truncate{"truncate", "Send only the first half of every answer."};
    QCommandLineOption error{"error", "Answer every request with ERROR."};
    QCommandLineOption random{"random", "Send random bytes instead of every answer."};
    QCommandLineOption badCheck{"bad-check", "Flip a bit of every answer's check octet."};
    QCommandLineOption silent{"silent", "Answer nothing."};
    QCommandLineOption faultOnSignal{"fault-on-signal", "Hold the faults back until SIGUSR1 arrives."};
    QCommandLineOption faultAfter{"fault-after", "Begin the faults after N more sound answers.", "N"};
    QCommandLineOption faultCount{"fault-count", "End the faults after N faulty answers (0: never).", "N"};
    QCommandLineOption link{"link", "Make PATH a symbolic link to the served port (replacing one there).",
                            "PATH"};
    QCommandLineOption housingTeach{
        "housing-teach-after", "Teach output 1 at the sensor's housing (not over the line) after S seconds.",
        "S"};
    QCommandLineOption ignoreWrites{
        "ignore-writes",
        "Acknowledge every write to the parameter at INDEX without storing it, as a sensor that silently "
        "keeps its old value; repeatable.",
        "INDEX"};
    QCommandLineOption objectAt{
        "object-at",
        "Hold the object MM millimetres from the sensor instead of moving it. While "
        "running, a line 'object MM' on standard input holds it there, 'object moving' "
        "lets it move again.",
        "MM"};
    QCommandLineOption help{{"h", "help"}, "Show this help."};

    Parser()
    {
        parser.setApplicationDescription(
            "Serves a simulated IO-Link master with one sensor on a pseudo-terminal and prints its path.");
        parser.addOptions({model,        variant,      baud,          seed,       document,   drop,
                           dropRate,     delay,        corrupt,       truncate,   error,      random,
                           badCheck,     silent,       faultOnSignal, faultAfter, faultCount, link,
                           housingTeach, ignoreWrites, objectAt,      help});
    }
};

bool readInteger(const QCommandLineParser& parser, const QCommandLineOption& option, qint64 minimum,
                 qint64 maximum, qint64* value, QString* error)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const QString text = parser.value(option);
    const qint64 number = text.toLongLong(&ok);
    if (!ok || number < minimum || number > maximum) {
        *error = QStringLiteral("--%1 expects a whole number from %2 to %3, not '%4'")
                     .arg(option.names().first())
                     .arg(minimum)
                     .arg(maximum)
                     .arg(text);
        return false;
    }
    *value = number;
    return true;
}

} // namespace

bool parseSimulatorOptions(const QStringList& arguments, const QString& defaultDocument,
                           SimulatorOptions* options, QString* error)
{
    Parser p;
    if (!p.parser.parse(arguments)) {
        *error = p.parser.errorText();
        return false;
    }
    if (p.parser.isSet(p.help)) {
        options->helpRequested = true;
        return true;
    }
    if (!p.parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument '%1'").arg(p.parser.positionalArguments().first());
        return false;
    }
    if (!p.parser.isSet(p.model) || p.parser.value(p.model).isEmpty()) {
        *error = QStringLiteral("--model is required");
        return false;
    }
    options->modelId = p.parser.value(p.model);
    options->variantCode = p.parser.value(p.variant);
    options->documentPath = p.parser.isSet(p.document) ? p.parser.value(p.document) : defaultDocument;
    options->linkPath = p.parser.value(p.link);
    options->objectAt = p.parser.value(p.objectAt);

    qint64 seed = options->seed;
    qint64 baud = options->baudRate;
    qint64 drop = options->dropNext;
    qint64 delay = options->delayMs;
    qint64 faultAfter = options->faultAfter;
    qint64 faultCount = options->faultCount;
    qint64 housingTeach = options->housingTeachAfterSeconds;
    if (!readInteger(p.parser, p.seed, 0, 0xFFFFFFFFLL, &seed, error) ||
        !readInteger(p.parser, p.baud, 300, 4000000, &baud, error) ||
        !readInteger(p.parser, p.drop, 0, 1000000, &drop, error) ||
        !readInteger(p.parser, p.delay, 0, 60000, &delay, error) ||
        !readInteger(p.parser, p.faultAfter, 0, 1000000, &faultAfter, error) ||
        !readInteger(p.parser, p.faultCount, 0, 1000000, &faultCount, error) ||
        !readInteger(p.parser, p.housingTeach, 0, 86400, &housingTeach, error))
        return false;
    options->seed = static_cast<quint32>(seed);
    options->baudRate = static_cast<qint32>(baud);
    options->dropNext = static_cast<int>(drop);
    options->delayMs = static_cast<int>(delay);
    options->faultAfter = static_cast<int>(faultAfter);
    options->faultCount = static_cast<int>(faultCount);
    options->housingTeachAfterSeconds = static_cast<int>(housingTeach);

    if (p.parser.isSet(p.dropRate)) {
        bool ok = false;
        options->dropRate = p.parser.value(p.dropRate).toDouble(&ok);
        if (!ok || options->dropRate < 0.0 || options->dropRate > 1.0) {
            *error = QStringLiteral("--drop-rate expects a probability from 0 to 1, not '%1'")
                         .arg(p.parser.value(p.dropRate));
            return false;
        }
    }
    options->corrupt = p.parser.isSet(p.corrupt);
    options->truncate = p.parser.isSet(p.truncate);
    options->answerError = p.parser.isSet(p.error);
    options->randomBytes = p.parser.isSet(p.random);
    options->badCheckOctet = p.parser.isSet(p.badCheck);
    options->silent = p.parser.isSet(p.silent);
    options->faultOnSignal = p.parser.isSet(p.faultOnSignal);
    for (const QString& value : p.parser.values(p.ignoreWrites)) {
        bool ok = false;
        const uint index = value.toUInt(&ok, 0);
        if (!ok || index > 0xFFFF) {
            *error = QStringLiteral("--ignore-writes expects a parameter index from 0 to 65535, not '%1'")
                         .arg(value);
            return false;
        }
        options->ignoredWriteIndexes << quint16(index);
    }
    return true;
}

QString simulatorUsage()
{
    Parser p;
    return p.parser.helpText();
}

std::optional<int> parseObjectDistance(const QString& text, const VariantInfo& variant, QString* error)
{
    bool ok = false;
    const int distance = text.trimmed().toInt(&ok);
    if (ok && distance >= variant.minRange && distance <= variant.maxRange)
        return distance;
    *error =
        QStringLiteral("expects whole millimetres from %1 to %2, the range this sensor measures, not '%3'")
            .arg(variant.minRange)
            .arg(variant.maxRange)
            .arg(text);
    return std::nullopt;
}

std::optional<int> parseObjectCommand(const QString& line, const VariantInfo& variant, QString* error)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() != 2 || words.first() != QLatin1String("object")) {
        *error = QStringLiteral("'%1' is no command; say 'object MM' or 'object moving'").arg(line.trimmed());
        return std::nullopt;
    }
    if (words.last() == QLatin1String("moving"))
        return 0;
    const std::optional<int> distance = parseObjectDistance(words.last(), variant, error);
    if (!distance)
        error->prepend(QStringLiteral("object "));
    return distance;
}

void applyFaultOptions(const SimulatorOptions& options, FaultPlan* faults)
{
    faults->dropNext(options.dropNext);
    faults->setDropRate(options.dropRate);
    faults->setDelayMs(options.delayMs);
    faults->setCorrupt(options.corrupt);
    faults->setTruncate(options.truncate);
    faults->setAnswerError(options.answerError);
    faults->setRandomBytes(options.randomBytes);
    faults->setBadCheckOctet(options.badCheckOctet);
    faults->setSilent(options.silent);
    if (options.faultOnSignal)
        faults->holdUntilStarted();
    faults->beginAfter(options.faultAfter);
    faults->endAfter(options.faultCount);
    for (quint16 index : options.ignoredWriteIndexes)
        faults->ignoreWritesTo(index);
}

} // namespace IoLinkSimulator
