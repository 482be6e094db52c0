#pragma once

#include <QtGlobal>

#include <array>

namespace IoLinkSimulator {

// Distance codes of the process data besides plain millimetres.
namespace DistanceCode {
constexpr quint16 TooClose = 0x0000;
constexpr quint16 TooFar = 0x7FF8;
constexpr quint16 NoData = 0x7FFC;
// The echo record marks a too close echo with its own code.
constexpr quint16 EchoTooClose = 0x8008;
constexpr quint16 NoEcho = 0xFFFF;

// A distance code of the process data as the sensor sends it in inch mode:
// tenths of an inch, to the nearest (2.54 mm each; no millimetre count falls
// on a half). The special codes stay as they are.
constexpr quint16 inTenthsOfAnInch(quint16 millimetreCode)
{
    if (millimetreCode == TooClose || millimetreCode == TooFar || millimetreCode == NoData)
        return millimetreCode;
    return static_cast<quint16>((millimetreCode * 100 + 127) / 254);
}
} // namespace DistanceCode

// Where the object in front of the sensor is at a given moment: a pure
// function of the seed and the time. The object wanders smoothly between
// random points of the measuring range; in every 30 s cycle three one-second
// slots, placed by the seed, show it too close, too far and not at all, so
// any minute of simulated time holds all four kinds of reading.
class TargetMotion
{
public:
    enum class Kind
    {
        Distance,
        TooClose,
        TooFar,
        NoData
    };

    struct Sample
    {
        Kind kind = Kind::NoData;
        int distanceMm = 0;

        quint16 code() const;
    };

    struct Echo
    {
        quint16 distanceCode = DistanceCode::NoEcho;
        quint16 amplitude = DistanceCode::NoEcho;
    };

    struct Echoes
    {
        std::array<Echo, 4> echoes;
        quint8 count = 0;
        quint8 evaluated = 0xFF; // above 3: no echo is evaluated
    };

    static constexpr qint64 CycleMs = 30000;
    static constexpr qint64 SlotMs = 1000;
    static constexpr qint64 WaypointMs = 2000;

    TargetMotion(quint32 seed, int minRange, int maxRange);

    Sample at(qint64 ms) const;
    // Up to four echoes around the object, sorted by distance.
    Echoes echoesAt(qint64 ms) const;

private:
    Kind kindAt(qint64 ms) const;
    int waypoint(qint64 number) const;
    quint64 hash(quint64 a, quint64 b) const;

    quint32 m_seed;
    int m_minRange;
    int m_maxRange;
};

} // namespace IoLinkSimulator
