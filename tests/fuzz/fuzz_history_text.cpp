// The history text a settings file keeps for the distance plot: a text the
// parser accepts must come back identical after writing and reading it again,
// and must make a history whose time lookups work (the plot's setHistory).
#include "FuzzSupport.h"

#include <utils/ValueOverTime.h>
#include <utils/charts/HistoryText.h>

#include <cmath>
#include <vector>

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

    std::vector<double> x{-1.0};
    std::vector<double> y{-1.0};
    if (!Utils::Charts::parseHistory(text, separator, x, y)) {
        if (x.size() != 1 || y.size() != 1 || x[0] != -1.0 || y[0] != -1.0)
            Fuzz::fail("a refused text changed the history");
        return 0;
    }
    if (x.size() != y.size())
        Fuzz::fail("times and values differ in number");

    const std::string written = Utils::Charts::formatHistory(x.data(), y.data(), int(x.size()), separator);
    std::vector<double> x2;
    std::vector<double> y2;
    if (!Utils::Charts::parseHistory(written, separator, x2, y2))
        Fuzz::fail("a written history is refused");
    if (x2.size() != x.size())
        Fuzz::fail("a written history reads back with another length");
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (!same(x[i], x2[i]) || !same(y[i], y2[i]))
            Fuzz::fail("a written history reads back with other numbers");
    }

    Utils::ValueOverTime history;
    history.assign(x, y);
    for (int i = 0; i < history.size(); ++i) {
        if (history.lowerBound(history.x(i)) > i || history.upperBound(history.x(i)) <= i)
            Fuzz::fail("a time lookup misses its own sample");
    }
    return 0;
}
