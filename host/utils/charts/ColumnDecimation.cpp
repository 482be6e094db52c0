#include "ColumnDecimation.h"

#include <algorithm>
#include <climits>
#include <limits>

namespace Utils::Charts {

namespace {

// Indices of the samples that represent one column of one run.
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

} // namespace

void decimateColumns(const double* x, const double* y, int begin, int end, double xMin, double xMax,
                     int columns, std::vector<QPointF>& out)
{
    out.clear();
    if (begin >= end)
        return;
    const ColumnGrid grid(xMin, xMax, columns);

    Column column;
    int columnIndex = INT_MIN;
    bool breakPending = false;
    for (int i = begin; i < end; ++i) {
        const double value = y[i];
        if (std::isnan(value)) {
            emitColumn(column, x, y, out);
            column = Column();
            breakPending = !out.empty();
            continue;
        }
        const int index = grid.indexOf(x[i]);
        if (column.first < 0 || index != columnIndex) {
            emitColumn(column, x, y, out);
            if (breakPending) {
                out.emplace_back(x[i], std::numeric_limits<double>::quiet_NaN());
                breakPending = false;
            }
            column = Column{i, i, i, i};
            columnIndex = index;
            continue;
        }
        if (value < y[column.min])
            column.min = i;
        if (value > y[column.max])
            column.max = i;
        column.last = i;
    }
    emitColumn(column, x, y, out);
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

} // namespace Utils::Charts
