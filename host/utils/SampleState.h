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
    // Last: it sets the count below.
    NoData
};

constexpr int sampleStateCount = int(SampleState::NoData) + 1;

} // namespace Utils
