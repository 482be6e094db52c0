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

void Fuzz::run(const QByteArray& input)
{
    // The first byte picks the separator; the settings files use ';'.
    if (input.isEmpty())
        return;
    const quint8 first = quint8(input.at(0));
    const char separator = first & 1 ? char(first >> 1) : ';';
    const std::string text = input.mid(1).toStdString();

    Utils::ValueOverTime history;
    history.append(-1.0, -1.0);
    if (!Utils::Charts::parseHistory(text, separator, history)) {
        if (history.size() != 1 || history.x(0) != -1.0 || history.y(0) != -1.0)
            Fuzz::fail("a refused text changed the history");
        return;
    }
    const std::string written = Utils::Charts::formatHistory(history, separator);
    Utils::ValueOverTime again;
    if (!Utils::Charts::parseHistory(written, separator, again))
        Fuzz::fail("a written history is refused");
    if (again.size() != history.size())
        Fuzz::fail("a written history reads back with another length");
    for (int i = 0; i < history.size(); ++i) {
        if ((history.state(i) == Utils::SampleState::Value) == std::isnan(history.y(i)))
            Fuzz::fail("a sample's state disagrees with its value");
        if (!same(history.x(i), again.x(i)) || !same(history.y(i), again.y(i)) ||
            history.state(i) != again.state(i))
            Fuzz::fail("a written history reads back with other samples");
        if (history.lowerBound(history.x(i)) > i || history.upperBound(history.x(i)) <= i)
            Fuzz::fail("a time lookup misses its own sample");
    }
}
