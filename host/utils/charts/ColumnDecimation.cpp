#include "ColumnDecimation.h"

#include <climits>
#include <limits>

namespace Utils::Charts {

namespace {

constexpr double tooFarCode = 32760.0;
constexpr double noDataCode = 32764.0;
constexpr double tooCloseCode = 32776.0;

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

} // namespace

bool isSpecialDistanceCode(double value)
{
    return value == tooFarCode || value == noDataCode || value == tooCloseCode;
}

void decimateColumns(const double* x, const double* y, int begin, int end, double xMin, double xMax,
                     int columns, bool breakAtSpecialCodes, std::vector<QPointF>& out)
{
    out.clear();
    if (begin >= end)
        return;
    columns = columns > 0 ? columns : 1;
    // An empty x range puts every sample into the first column.
    const double scale = xMax > xMin ? columns / (xMax - xMin) : 0.0;

    Column column;
    int columnIndex = INT_MIN;
    bool breakPending = false;
    for (int i = begin; i < end; ++i) {
        const double value = y[i];
        if (std::isnan(value) || (breakAtSpecialCodes && isSpecialDistanceCode(value))) {
            emitColumn(column, x, y, out);
            column = Column();
            breakPending = !out.empty();
            continue;
        }
        const double position = (x[i] - xMin) * scale;
        const int index = position < 0.0 ? -1 : position >= columns ? columns : int(position);
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

} // namespace Utils::Charts
