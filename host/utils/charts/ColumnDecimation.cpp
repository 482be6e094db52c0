#include "ColumnDecimation.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <limits>

namespace Utils::Charts {

namespace {

// Indices of the first, lowest, highest and last value of a column, or of a
// stretch of one; first is -1 when there is none.
struct Column
{
    int first = -1;
    int min = -1;
    int max = -1;
    int last = -1;
};

void emitColumn(const Column& column, const double* x, const double* y, std::vector<QPointF>& out)
{
    if (column.first < 0)
        return;
    out.emplace_back(x[column.first], y[column.first]);
    if (column.min != column.first && column.min != column.last)
        out.emplace_back(x[column.min], y[column.min]);
    if (column.max != column.first && column.max != column.last && column.max != column.min)
        out.emplace_back(x[column.max], y[column.max]);
    if (column.last != column.first)
        out.emplace_back(x[column.last], y[column.last]);
}

// Pixel columns of [xMin, xMax]; left of it is column -1, right of it `columns`.
class ColumnGrid
{
public:
    ColumnGrid(double xMin, double xMax, int columns)
        : m_xMin(xMin), m_columns(columns > 0 ? columns : 1),
          // An empty x range puts every sample into the first column.
          m_scale(xMax > xMin ? m_columns / (xMax - xMin) : 0.0)
    {
    }

    int columns() const { return m_columns; }
    int indexOf(double x) const
    {
        const double position = (x - m_xMin) * m_scale;
        return position < 0.0 ? -1 : position >= m_columns ? m_columns : int(position);
    }

private:
    double m_xMin;
    int m_columns;
    double m_scale;
};

// Builds the reduced line column by column, from the values in time order:
// single values, or the first, lowest, highest and last value of a stretch
// that lies in one column, by their indices. Two values whose indices are
// not adjacent have samples without a value between them; where they lie in
// different columns, the line breaks there.
class LineBuilder
{
public:
    LineBuilder(const double* x, const double* y, std::vector<QPointF>& out) : m_x(x), m_y(y), m_out(out) {}

    void values(int columnIndex, const Column& values)
    {
        const auto [first, min, max, last] = values;
        if (m_column.first < 0 || columnIndex != m_columnIndex) {
            emitColumn(m_column, m_x, m_y, m_out);
            if (m_lastValue >= 0 && first - m_lastValue > 1)
                m_out.emplace_back(m_x[first], std::numeric_limits<double>::quiet_NaN());
            m_column = values;
            m_columnIndex = columnIndex;
            m_low = m_y[min];
            m_high = m_y[max];
            m_lastValue = last;
            return;
        }
        // Strict comparisons keep the first of equal extremes.
        if (const double low = m_y[min]; low < m_low) {
            m_column.min = min;
            m_low = low;
        }
        if (const double high = m_y[max]; high > m_high) {
            m_column.max = max;
            m_high = high;
        }
        m_column.last = last;
        m_lastValue = last;
    }

    void finish() { emitColumn(m_column, m_x, m_y, m_out); }

private:
    const double* m_x;
    const double* m_y;
    std::vector<QPointF>& m_out;
    Column m_column;
    double m_low = 0.0; // the values at m_column.min and m_column.max
    double m_high = 0.0;
    int m_columnIndex = INT_MIN;
    int m_lastValue = -1;
};

// Index of the first sample of [from, to) whose column is `column` or later.
// Columns hold similar numbers of samples, so the search starts `expected`
// samples after `from` and gallops from there, touching memory near the
// answer, before it halves the last step.
int firstOfColumn(const double* x, int from, int to, const ColumnGrid& grid, int column, int expected)
{
    const auto beforeTime = [&](double t) { return grid.indexOf(t) < column; };
    const auto before = [&](int i) { return beforeTime(x[i]); };
    int low = from; // before(low) holds
    int high = to;  // before(high) does not, or high == to
    const int guess = std::min(to - 1, from + std::max(1, expected));
    if (guess > from && before(guess)) {
        low = guess;
        for (int step = 1; low + step < to; step *= 2) {
            if (!before(low + step)) {
                high = low + step;
                break;
            }
            low += step;
        }
    } else if (guess > from) {
        high = guess;
        for (int step = 1; high - step > from; step *= 2) {
            if (before(high - step)) {
                low = high - step;
                break;
            }
            high -= step;
        }
    }
    return int(std::partition_point(x + low, x + high, beforeTime) - x);
}

// Covers the samples [from, to) in time order with the largest whole blocks
// the summaries hold there, down to single samples: calls visit(level,
// index) for each, level 0 being a sample.
template <typename Visit> void walkBlocks(const HistorySummary& summary, int from, int to, Visit visit)
{
    for (int i = from; i < to;) {
        // The largest block that starts at i.
        int level =
            i == 0 ? summary.levels() : std::min(summary.levels(), HistorySummary::levelStartingAt(i));
        while (level > 0 && std::int64_t(i) + HistorySummary::samplesPerEntry(level) > to)
            --level;
        if (level <= 0) {
            visit(0, i);
            ++i;
            continue;
        }
        visit(level, i / HistorySummary::samplesPerEntry(level));
        i += HistorySummary::samplesPerEntry(level);
    }
}

bool holdsValue(const ValueOverTime& history, int level, int index)
{
    const unsigned value = HistorySummary::stateBit(SampleState::Value);
    return level == 0 ? history.state(index) == SampleState::Value
                      : (history.summary().entry(level, index).states & value) != 0;
}

// The first (or last) value of a block that holds one, by index.
int valueAtEdgeOf(const ValueOverTime& history, int level, int index, bool last)
{
    for (; level > 0; --level) {
        const int parts = HistorySummary::partsPerEntry(level);
        int part = last ? (index + 1) * parts - 1 : index * parts;
        while (!holdsValue(history, level - 1, part))
            part += last ? -1 : 1;
        index = part;
    }
    return index;
}

// The first, lowest, highest and last value among the samples [from, to);
// first is -1 when there is none. Blocks are read whole, as their extremes
// are those of their values, whatever else they hold. Also hands each block
// to alsoVisit, so one walk serves the marks too.
template <typename AlsoVisit>
Column columnValues(const ValueOverTime& history, int from, int to, AlsoVisit alsoVisit)
{
    const double* y = history.pyData();
    Column values;
    double low = 0.0;
    double high = 0.0;
    int firstLevel = 0;
    int firstIndex = -1;
    int lastLevel = 0;
    int lastIndex = -1;
    walkBlocks(history.summary(), from, to, [&](int level, int index) {
        alsoVisit(level, index);
        if (!holdsValue(history, level, index))
            return;
        const HistorySummary::Entry* entry = level > 0 ? &history.summary().entry(level, index) : nullptr;
        const double blockLow = entry ? entry->low : y[index];
        const double blockHigh = entry ? entry->high : y[index];
        // Strict comparisons keep the first of equal extremes.
        if (firstIndex < 0 || blockLow < low) {
            values.min = entry ? int(entry->min) : index;
            low = blockLow;
        }
        if (firstIndex < 0 || blockHigh > high) {
            values.max = entry ? int(entry->max) : index;
            high = blockHigh;
        }
        if (firstIndex < 0) {
            firstLevel = level;
            firstIndex = index;
        }
        lastLevel = level;
        lastIndex = index;
    });
    if (firstIndex >= 0) {
        values.first = valueAtEdgeOf(history, firstLevel, firstIndex, false);
        values.last = valueAtEdgeOf(history, lastLevel, lastIndex, true);
    }
    return values;
}

constexpr unsigned markedStates = 1u << unsigned(SampleState::TooClose) |
                                  1u << unsigned(SampleState::TooFar) | 1u << unsigned(SampleState::NoData);

// Marks, in time order, the first sample of each state of the block not yet
// marked in its column, looking only into the parts that hold one.
void markFirstStates(const ValueOverTime& history, int level, int index, unsigned& marked,
                     std::vector<StateMark>& out)
{
    if (level == 0) {
        const SampleState state = history.state(index);
        const unsigned bit = HistorySummary::stateBit(state);
        if ((bit & markedStates & ~marked) != 0) {
            marked |= bit;
            out.push_back({history.x(index), state});
        }
        return;
    }
    if ((history.summary().entry(level, index).states & markedStates & ~marked) == 0)
        return;
    const int parts = HistorySummary::partsPerEntry(level);
    for (int part = index * parts; part < (index + 1) * parts; ++part)
        markFirstStates(history, level - 1, part, marked, out);
}

} // namespace

void decimateColumns(const double* x, const double* y, int begin, int end, double xMin, double xMax,
                     int columns, std::vector<QPointF>& out)
{
    out.clear();
    const ColumnGrid grid(xMin, xMax, columns);
    LineBuilder line(x, y, out);
    for (int i = begin; i < end; ++i) {
        if (!std::isnan(y[i]))
            line.values(grid.indexOf(x[i]), Column{i, i, i, i});
    }
    line.finish();
}

void decimateStates(const double* x, const SampleState* states, int begin, int end, double xMin, double xMax,
                    int columns, std::vector<StateMark>& out)
{
    out.clear();
    const ColumnGrid grid(xMin, xMax, columns);
    int columnIndex = INT_MIN;
    unsigned marked = 0; // states already marked in this column, one bit each
    for (int i = begin; i < end; ++i) {
        const SampleState state = states[i];
        if (state == SampleState::Value || state == SampleState::Gap)
            continue;
        if (!(x[i] >= xMin && x[i] <= xMax))
            continue;
        const int index = std::min(grid.indexOf(x[i]), grid.columns() - 1);
        if (index != columnIndex) {
            columnIndex = index;
            marked = 0;
        }
        const unsigned bit = 1u << unsigned(state);
        if ((marked & bit) == 0) {
            marked |= bit;
            out.push_back({x[i], state});
        }
    }
}

void decimateHistory(const ValueOverTime& history, int begin, int end, double xMin, double xMax, int columns,
                     std::vector<QPointF>& points, std::vector<StateMark>& marks)
{
    points.clear();
    marks.clear();
    const double* x = history.pxData();
    const ColumnGrid grid(xMin, xMax, columns);
    LineBuilder line(x, history.pyData(), points);
    // Only samples within [xMin, xMax] are marked; one at xMax is in the last column.
    const int markBegin = int(std::lower_bound(x + begin, x + std::max(begin, end), xMin) - x);
    const int markEnd = int(std::upper_bound(x + markBegin, x + std::max(markBegin, end), xMax) - x);
    int markColumn = -1;
    unsigned marked = 0; // states already marked in markColumn, one bit each
    const auto mark = [&](int level, int index) { markFirstStates(history, level, index, marked, marks); };
    for (int from = begin, expected = 1; from < end;) {
        const int column = grid.indexOf(x[from]);
        const int to =
            column >= grid.columns() ? end : firstOfColumn(x, from, end, grid, column + 1, expected);
        expected = to - from;
        if (const int inView = std::clamp(column, 0, grid.columns() - 1); inView != markColumn) {
            markColumn = inView;
            marked = 0;
        }
        const int markFrom = std::max(from, markBegin);
        const int markTo = std::min(to, markEnd);
        Column values;
        if (markFrom == from && markTo == to) {
            values = columnValues(history, from, to, mark);
        } else {
            // The columns at the edges reach beyond the range.
            values = columnValues(history, from, to, [](int, int) {});
            if (markFrom < markTo)
                walkBlocks(history.summary(), markFrom, markTo, mark);
        }
        if (values.first >= 0)
            line.values(column, values);
        from = to;
    }
    line.finish();
}

} // namespace Utils::Charts
