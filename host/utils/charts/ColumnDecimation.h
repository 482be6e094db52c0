#pragma once

#include <QPointF>

#include <cmath>
#include <vector>

namespace Utils::Charts {

// Codes a distance sensor reports in place of a distance ("too far", "no
// data", "too close"). They stay in the history but are never drawn as values.
bool isSpecialDistanceCode(double value);

// A NaN value marks a gap: in a history it stands for a time without data
// (the sensor was offline or live data paused), and in the reduced series it
// separates two runs. The line is broken there.
inline bool isLineBreak(const QPointF& point)
{
    return std::isnan(point.y());
}

// Reduces the samples [begin, end) of a history to what a canvas of `columns`
// pixel columns spanning [xMin, xMax] can show: per column the first, the
// lowest, the highest and the last sample, in that order, so that a polyline
// through them covers the column's full vertical extent and joins its
// neighbours. Samples left or right of the range share one extra column each,
// so the line enters and leaves the canvas towards its true neighbours.
// Gap samples (NaN) are left out and break the line: a break point is written
// between the runs, also when the gap lies inside a column. With
// `breakAtSpecialCodes`, special distance codes do the same.
void decimateColumns(const double* x, const double* y, int begin, int end, double xMin, double xMax,
                     int columns, bool breakAtSpecialCodes, std::vector<QPointF>& out);

} // namespace Utils::Charts
