#pragma once

#include <string>

namespace Utils {
class ValueOverTime;
}

namespace Utils::Charts {

// Text form of a plot's history, for keeping it inside settings files:
// every sample is written as "time:value" followed by the separator, e.g.
// "1717171717000:512.5;1717171717085:nodata;1717171717170:gap;". A sample
// without a value holds a word instead of the number: "gap", "close" (too
// close), "far" (too far) or "nodata". Numbers use the shortest text that
// reads back to the identical double, so a history round-trips exactly. The
// text holds only digits, '.', '-', ':', the separator and letters, so it is
// safe inside an XML attribute whenever the separator is.
std::string formatHistory(const ValueOverTime& history, char separator = ';');

// Reads a text written by formatHistory with the same separator. A final
// separator is optional; an empty text is an empty history. Older files wrote
// gaps as "nan" and the distance states as the sensor codes 32760 (too far),
// 32764 (no data) and 32776 (too close): these read as gaps and states.
// Anything else (a missing ':', a value that does not parse completely, an
// empty sample, times running backwards) refuses the whole text: returns
// false and leaves the history untouched. A separator that could be part of
// a number or a word is refused.
bool parseHistory(const std::string& text, char separator, ValueOverTime& history);

} // namespace Utils::Charts
