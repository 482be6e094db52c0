#include "HistoryText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

namespace Utils::Charts {

namespace {

constexpr char valueMark = ':';

bool isUsableSeparator(char separator)
{
    const unsigned char c = static_cast<unsigned char>(separator);
    return c != 0 && !std::isalnum(c) && !std::isspace(c) && std::strchr(".+-:", separator) == nullptr;
}

// Parses one complete number in [begin, end); false unless every character
// belongs to it.
bool readNumber(const char* begin, const char* end, double& value)
{
    if (begin == end)
        return false;
    const std::from_chars_result result = std::from_chars(begin, end, value);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::string formatHistory(const double* x, const double* y, int count, char separator)
{
    std::string text;
    // Typical samples (13-digit times, short values) need about 22 characters.
    text.reserve(std::size_t(count > 0 ? count : 0) * 24);
    char buffer[64];
    for (int i = 0; i < count; ++i) {
        char* end = std::to_chars(buffer, buffer + sizeof buffer, x[i]).ptr;
        *end++ = valueMark;
        end = std::to_chars(end, buffer + sizeof buffer, y[i]).ptr;
        *end++ = separator;
        text.append(buffer, end);
    }
    return text;
}

bool parseHistory(const std::string& text, char separator, std::vector<double>& x, std::vector<double>& y)
{
    if (!isUsableSeparator(separator))
        return false;
    std::vector<double> times;
    std::vector<double> values;
    const std::size_t samples = std::size_t(std::count(text.begin(), text.end(), separator)) + 1;
    times.reserve(samples);
    values.reserve(samples);

    const char* position = text.data();
    const char* const textEnd = position + text.size();
    while (position != textEnd) {
        const char* sampleEnd =
            static_cast<const char*>(std::memchr(position, separator, std::size_t(textEnd - position)));
        if (sampleEnd == nullptr)
            sampleEnd = textEnd;
        const char* mark =
            static_cast<const char*>(std::memchr(position, valueMark, std::size_t(sampleEnd - position)));
        double time = 0.0;
        double value = 0.0;
        if (mark == nullptr || !readNumber(position, mark, time) || !readNumber(mark + 1, sampleEnd, value))
            return false;
        if (std::isnan(time) || (!times.empty() && time < times.back()))
            return false;
        times.push_back(time);
        values.push_back(value);
        position = sampleEnd == textEnd ? textEnd : sampleEnd + 1;
    }
    x = std::move(times);
    y = std::move(values);
    return true;
}

} // namespace Utils::Charts
