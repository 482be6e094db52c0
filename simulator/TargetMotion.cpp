#include "TargetMotion.h"

#include <QtMath>

#include <algorithm>

namespace IoLinkSimulator {

namespace {

qint64 floorDiv(qint64 value, qint64 divisor)
{
    const qint64 quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

} // namespace

quint16 TargetMotion::Sample::code() const
{
    switch (kind) {
    case Kind::TooClose:
        return DistanceCode::TooClose;
    case Kind::TooFar:
        return DistanceCode::TooFar;
    case Kind::NoData:
        return DistanceCode::NoData;
    case Kind::Distance:
        break;
    }
    return static_cast<quint16>(distanceMm);
}

TargetMotion::TargetMotion(quint32 seed, int minRange, int maxRange)
    : m_seed(seed), m_minRange(std::max(1, minRange)), m_maxRange(std::max(m_minRange, maxRange))
{
}

// splitmix64 over the seed and two numbers: cheap, stateless, well mixed.
quint64 TargetMotion::hash(quint64 a, quint64 b) const
{
    quint64 z =
        (static_cast<quint64>(m_seed) << 32) ^ (a * 0x9E3779B97F4A7C15ULL) ^ (b + 0x632BE59BD9B4E019ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

TargetMotion::Kind TargetMotion::kindAt(qint64 ms) const
{
    const qint64 cycle = floorDiv(ms, CycleMs);
    const qint64 slot = floorDiv(ms - cycle * CycleMs, SlotMs);
    constexpr int slots = static_cast<int>(CycleMs / SlotMs);
    // A partial shuffle of the cycle's slots picks three distinct special ones.
    std::array<int, slots> order{};
    for (int i = 0; i < slots; ++i)
        order[i] = i;
    for (int i = 0; i < 3; ++i) {
        const int j = i + static_cast<int>(hash(static_cast<quint64>(cycle), i) % (slots - i));
        std::swap(order[i], order[j]);
    }
    if (slot == order[0])
        return Kind::TooClose;
    if (slot == order[1])
        return Kind::TooFar;
    if (slot == order[2])
        return Kind::NoData;
    return Kind::Distance;
}

int TargetMotion::waypoint(qint64 number) const
{
    const int span = m_maxRange - m_minRange;
    return m_minRange +
           static_cast<int>(hash(static_cast<quint64>(number), 7) % static_cast<quint64>(span + 1));
}

TargetMotion::Sample TargetMotion::at(qint64 ms) const
{
    Sample sample;
    sample.kind = kindAt(ms);
    if (sample.kind != Kind::Distance)
        return sample;
    const qint64 leg = floorDiv(ms, WaypointMs);
    const double phase = static_cast<double>(ms - leg * WaypointMs) / WaypointMs;
    const double blend = (1.0 - qCos(phase * M_PI)) / 2.0;
    const int from = waypoint(leg);
    const int to = waypoint(leg + 1);
    sample.distanceMm =
        std::clamp(static_cast<int>(qRound(from + (to - from) * blend)), m_minRange, m_maxRange);
    return sample;
}

TargetMotion::Echoes TargetMotion::echoesAt(qint64 ms) const
{
    Echoes result;
    const Sample sample = at(ms);
    if (sample.kind == Kind::NoData)
        return result;
    const quint64 second = static_cast<quint64>(floorDiv(ms, SlotMs));
    if (sample.kind != Kind::Distance) {
        result.echoes[0] = {sample.kind == Kind::TooClose ? DistanceCode::EchoTooClose : DistanceCode::TooFar,
                            0};
        result.count = 1;
        result.evaluated = 0;
        return result;
    }
    // The object's own echo is the strongest; weaker ones from the
    // surroundings lie within a tenth of the range around it.
    const int spread = std::max(10, (m_maxRange - m_minRange) / 10);
    const int count = 1 + static_cast<int>(hash(second, 11) % 4);
    std::array<std::pair<int, int>, 4> found{};
    found[0] = {sample.distanceMm, 1200 + static_cast<int>(hash(second, 12) % 300)};
    for (int i = 1; i < count; ++i) {
        const int offset = 1 + static_cast<int>(hash(second, 20 + i) % static_cast<quint64>(spread));
        const int distance =
            std::clamp(sample.distanceMm + ((i % 2) ? offset : -offset), m_minRange, m_maxRange);
        found[i] = {distance, 150 + static_cast<int>(hash(second, 30 + i) % 700)};
    }
    const int objectDistance = found[0].first;
    std::sort(found.begin(), found.begin() + count);
    for (int i = 0; i < count; ++i) {
        result.echoes[i] = {static_cast<quint16>(found[i].first), static_cast<quint16>(found[i].second)};
        if (found[i].first == objectDistance && found[i].second >= 1200)
            result.evaluated = static_cast<quint8>(i);
    }
    result.count = static_cast<quint8>(count);
    return result;
}

} // namespace IoLinkSimulator
