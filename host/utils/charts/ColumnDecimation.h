#pragma once

#include <utils/ValueOverTime.h>

#include <QPointF>

#include <cmath>
#include <vector>

namespace Utils::Charts {

// A NaN value marks a sample without a value (a gap or a state) in a
// history, and in the reduced series it separates two runs. The line is
// broken there.
inline bool isLineBreak(const QPointF& point)
{
    return std::isnan(point.y());
}

// Reduces the samples [begin, end) of a history to what a canvas of `columns`
// pixel columns spanning [xMin, xMax] can show: per column the first, the
// lowest, the highest and the last value, in that order, so that a polyline
// through them covers the column's full vertical extent and joins its
// neighbours. Samples left or right of the range share one extra column each,
// so the line enters and leaves the canvas towards its true neighbours.
// Samples without a value (NaN) are left out. Where any lie between the last
// value of one column and the first of the next, a break point is written
// between them and the line breaks; within a column they are narrower than
// a pixel and the column's values are joined.
void decimateColumns(const double* x, const double* y, int begin, int end, double xMin, double xMax,
                     int columns, std::vector<QPointF>& out);

// Where a sample in a state (too close, too far, no data) is marked.
struct StateMark
{
    double x;
    SampleState state;
};

// The state samples among [begin, end) that lie in [xMin, xMax], reduced to
// one mark per pixel column and state, at the first such sample of the
// column, in time order. Values and gaps get no mark.
void decimateStates(const double* x, const SampleState* states, int begin, int end, double xMin, double xMax,
                    int columns, std::vector<StateMark>& out);

// Both reductions of a history at once, read from its summaries where a
// column spans whole blocks: the cost follows the number of columns and the
// logarithm of the samples per column, not the number of samples. The
// results equal those of the scans above.
void decimateHistory(const ValueOverTime& history, int begin, int end, double xMin, double xMax, int columns,
                     std::vector<QPointF>& points, std::vector<StateMark>& marks);

} // namespace Utils::Charts
