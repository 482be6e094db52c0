#pragma once

#include <cstdint>

namespace Utils {

// What one sample of a history holds: a value, a gap (no data at that time:
// offline, live data paused), or one of the states a distance sensor reports
// instead of a distance.
enum class SampleState : std::uint8_t
{
    Value,
    Gap,
    TooClose,
    TooFar,
    NoData
};

constexpr int sampleStateCount = 5;

} // namespace Utils
