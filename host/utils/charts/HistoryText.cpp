#include "HistoryText.h"

#include <utils/ValueOverTime.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace Utils::Charts {

namespace {

constexpr char valueMark = ':';

struct StateWord
{
    SampleState state;
    std::string_view word;
};

constexpr std::array<StateWord, 4> stateWords{{{SampleState::Gap, "gap"},
                                               {SampleState::TooClose, "close"},
                                               {SampleState::TooFar, "far"},
                                               {SampleState::NoData, "nodata"}}};

// The sensor codes older files kept in place of the distance states.
constexpr std::array<std::pair<double, SampleState>, 3> oldStateCodes{
    {{32760.0, SampleState::TooFar}, {32764.0, SampleState::NoData}, {32776.0, SampleState::TooClose}}};

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

// The value part of a sample: a state word or a number.
bool readValue(const char* begin, const char* end, double& value, SampleState& state)
{
    const std::string_view text(begin, std::size_t(end - begin));
    for (const StateWord& entry : stateWords) {
        if (text == entry.word) {
            state = entry.state;
            return true;
        }
    }
    if (!readNumber(begin, end, value))
        return false;
    state = std::isnan(value) ? SampleState::Gap : SampleState::Value;
    for (const auto& [code, codeState] : oldStateCodes) {
        if (value == code)
            state = codeState;
    }
    return true;
}

} // namespace

std::string formatHistory(const ValueOverTime& history, char separator)
{
    const int count = history.size();
    std::string text;
    // Typical samples (13-digit times, short values) need about 22 characters.
    text.reserve(std::size_t(count) * 24);
    char buffer[64];
    for (int i = 0; i < count; ++i) {
        char* end = std::to_chars(buffer, buffer + sizeof buffer, history.x(i)).ptr;
        *end++ = valueMark;
        const SampleState state = history.state(i);
        if (state == SampleState::Value) {
            end = std::to_chars(end, buffer + sizeof buffer, history.y(i)).ptr;
        } else {
            const auto entry = std::find_if(stateWords.begin(), stateWords.end(),
                                            [state](const StateWord& word) { return word.state == state; });
            end = std::copy(entry->word.begin(), entry->word.end(), end);
        }
        *end++ = separator;
        text.append(buffer, end);
    }
    return text;
}

bool parseHistory(const std::string& text, char separator, ValueOverTime& history)
{
    if (!isUsableSeparator(separator))
        return false;
    std::vector<double> times;
    std::vector<double> values;
    std::vector<SampleState> states;
    const std::size_t samples = std::size_t(std::count(text.begin(), text.end(), separator)) + 1;
    times.reserve(samples);
    values.reserve(samples);
    states.reserve(samples);

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
        SampleState state = SampleState::Value;
        if (mark == nullptr || !readNumber(position, mark, time) ||
            !readValue(mark + 1, sampleEnd, value, state))
            return false;
        if (std::isnan(time) || (!times.empty() && time < times.back()))
            return false;
        times.push_back(time);
        values.push_back(value);
        states.push_back(state);
        position = sampleEnd == textEnd ? textEnd : sampleEnd + 1;
    }
    history.assign(std::move(times), std::move(values), std::move(states));
    return true;
}

} // namespace Utils::Charts
