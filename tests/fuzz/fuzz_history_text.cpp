// The history text a settings file keeps for the distance plot: a text the
// parser accepts must come back identical after writing and reading it again,
// and must make a history whose time lookups work (the plot's setHistory).
#include "FuzzSupport.h"

#include <utils/ValueOverTime.h>
#include <utils/charts/HistoryText.h>

#include <cmath>

namespace {

bool same(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte picks the separator; the settings files use ';'.
    if (size == 0)
        return 0;
    const char separator = data[0] & 1 ? char(data[0] >> 1) : ';';
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    Utils::ValueOverTime history;
    history.append(-1.0, -1.0);
    if (!Utils::Charts::parseHistory(text, separator, history)) {
        if (history.size() != 1 || history.x(0) != -1.0 || history.y(0) != -1.0)
            Fuzz::fail("a refused text changed the history");
        return 0;
    }
    for (int i = 0; i < history.size(); ++i) {
        if ((history.state(i) == Utils::SampleState::Value) == std::isnan(history.y(i)))
            Fuzz::fail("a sample's state disagrees with its value");
    }

    const std::string written = Utils::Charts::formatHistory(history, separator);
    Utils::ValueOverTime again;
    if (!Utils::Charts::parseHistory(written, separator, again))
        Fuzz::fail("a written history is refused");
    if (again.size() != history.size())
        Fuzz::fail("a written history reads back with another length");
    for (int i = 0; i < history.size(); ++i) {
        if (!same(history.x(i), again.x(i)) || !same(history.y(i), again.y(i)) ||
            history.state(i) != again.state(i))
            Fuzz::fail("a written history reads back with other samples");
    }

    for (int i = 0; i < history.size(); ++i) {
        if (history.lowerBound(history.x(i)) > i || history.upperBound(history.x(i)) <= i)
            Fuzz::fail("a time lookup misses its own sample");
    }
    return 0;
}
