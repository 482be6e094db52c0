#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <optional>

namespace NimbarSensorPlugin::Core {

// Decoding of what the status poll brings back: the 8-byte process-data
// record, the echo record and the crash counter.

// What a distance code of the process data stands for.
enum class DistanceKind
{
    Distance,
    NoData,
    TooClose,
    TooFar
};

// The distance code: the upper 16 bits of the last four answer bytes read as a
// signed 32-bit number. A pattern with the top bit set does not parse and gives
// code 0, which reads as "too close".
int processDataDistanceCode(const QByteArray& answer);

// The eight switching and status bits, from the last answer byte alone.
quint8 processDataStatusBits(const QByteArray& answer);

// The status bits as far as they mean anything: a record whose distance
// pattern does not parse carries no valid bits either, and gives 0.
quint8 processDataValidBits(const QByteArray& answer);

DistanceKind distanceKind(int code);

// The distance a code shows: millimetres, or tenths of an inch in inch mode
// (measurementUnit not 0).
double shownDistance(int code, int measurementUnit);

// The echoes of the echo record. Codes of 0xFFFF ("none") are already 0.
struct EchoRecord
{
    int evaluatedEcho = 0;
    std::array<int, 4> distanceCodes{};
    std::array<int, 4> amplitudes{};
};

// The echo record of a fetch answer longer than 20 bytes; shorter answers
// carry something else.
std::optional<EchoRecord> decodeEchoRecord(const QByteArray& answer);

// The crash counter of a fetch answer of at least four bytes that is not one
// of the master's error answers: its last two bytes.
std::optional<int> crashCounterFromAnswer(const QByteArray& answer);

} // namespace NimbarSensorPlugin::Core
