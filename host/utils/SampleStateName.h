#pragma once

#include "ValueOverTime.h"

#include <QString>

namespace Utils {

// What a sample's state is called on the chart and in exports ("too close",
// "too far", "no data", "gap"); empty for a value.
QString sampleStateName(SampleState state);

} // namespace Utils
