#pragma once

#include <string>
#include <vector>

namespace Utils::Charts {

// Text form of a plot's history, for keeping it inside settings files:
// every sample is written as "time:value" followed by the separator, e.g.
// "1717171717000:512.5;1717171717085:32764;". Numbers use the shortest text
// that reads back to the identical double, so a history round-trips exactly,
// special distance codes included. The text holds only digits, '.', '-',
// 'e', ':', the separator and, for non-finite values, "inf"/"nan", so it is
// safe inside an XML attribute whenever the separator is.
std::string formatHistory(const double* x, const double* y, int count, char separator = ';');

// Reads a text written by formatHistory with the same separator. A final
// separator is optional; an empty text is an empty history. Anything else
// (a missing ':', a number that does not parse completely, an empty sample,
// times running backwards) refuses the whole text: returns false and leaves
// x and y untouched. A separator that could be part of a number is refused.
bool parseHistory(const std::string& text, char separator, std::vector<double>& x, std::vector<double>& y);

} // namespace Utils::Charts
