#include "ProcessData.h"

#include "RequestFrames.h"

namespace NimbarSensorPlugin::Core {

namespace {

constexpr int kNoDataCode = 0x7FFC;
constexpr int kTooFarCode = 0x7FF8;
constexpr int kNoEchoCode = 0xFFFF;

// A 16-bit field of the echo record at a position of its hex text.
int echoField(const QByteArray& hex, int position)
{
    const int value = hex.mid(position, 4).toInt(nullptr, 16);
    return value == kNoEchoCode ? 0 : value;
}

} // namespace

int processDataDistanceCode(const QByteArray& answer)
{
    // Signed parse on purpose: 0x80000000 and above fail and give 0.
    const int pattern = answer.right(4).toHex().toInt(nullptr, 16);
    return (pattern >> 16) & 0xFFFF;
}

quint8 processDataStatusBits(const QByteArray& answer)
{
    return answer.isEmpty() ? 0 : static_cast<quint8>(answer.back());
}

quint8 processDataValidBits(const QByteArray& answer)
{
    if (answer.size() >= 4 && processDataDistanceCode(answer) == 0 &&
        quint8(answer.at(answer.size() - 4)) >= 0x80)
        return 0;
    return processDataStatusBits(answer);
}

DistanceKind distanceKind(int code)
{
    switch (code) {
    case kNoDataCode:
        return DistanceKind::NoData;
    case 0:
        return DistanceKind::TooClose;
    case kTooFarCode:
        return DistanceKind::TooFar;
    default:
        return DistanceKind::Distance;
    }
}

double shownDistance(int code, int measurementUnit)
{
    return measurementUnit == 0 ? code : code * 0.1;
}

std::optional<EchoRecord> decodeEchoRecord(const QByteArray& answer)
{
    if (answer.size() <= 20)
        return std::nullopt;
    const QByteArray hex = answer.toHex();
    EchoRecord record;
    record.evaluatedEcho = hex.mid(10, 2).toInt(nullptr, 16);
    for (int echo = 0; echo < 4; ++echo) {
        record.distanceCodes[static_cast<size_t>(echo)] = echoField(hex, 12 + 4 * echo);
        record.amplitudes[static_cast<size_t>(echo)] = echoField(hex, 28 + 4 * echo);
    }
    return record;
}

std::optional<int> crashCounterFromAnswer(const QByteArray& answer)
{
    // A master that answers ERROR gave no count: its last letters are no number.
    if (answer.size() < 4 || isErrorAnswer(answer) || isErrorTextAnswer(answer))
        return std::nullopt;
    return answer.right(2).toHex().toInt(nullptr, 16);
}

} // namespace NimbarSensorPlugin::Core
