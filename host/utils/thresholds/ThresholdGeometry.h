#pragma once

#include <QPointF>
#include <QString>
#include <qwt_interval.h>

#include <optional>
#include <vector>

class QwtScaleMap;

namespace Utils {

// A draggable mark as the hit test sees it: a horizontal mark is a line at a
// fixed y pixel, a vertical mark a line at a fixed x pixel.
struct MarkPixel
{
    int key = 0;
    Qt::Orientation orientation = Qt::Horizontal;
    double pixel = 0.0;
};

// The key of the mark nearest to pos whose line is at most tolerance pixels
// away, or -1 when none is that close.
int nearestMarkWithin(const std::vector<MarkPixel>& marks, const QPointF& pos, double tolerance);

// How many axis units the given number of pixels spans on the map (linear).
double pixelsToAxisUnits(const QwtScaleMap& map, double pixels);

// Where a mark the user drags towards wanted may stay: at least gap inside
// the axis interval [axisMin, axisMax] (so that it stays visible and can be
// grabbed again) and at least gap above floor and below ceiling, the marks it
// must not pass. Returns current when no position satisfies every limit.
double restrictDraggedValue(double wanted, double current, double axisMin, double axisMax, double gap,
                            std::optional<double> floor, std::optional<double> ceiling);

// The hysteresis band of a mark at value: width below or above it, or centred
// on it. Invalid when width is not positive.
QwtInterval hysteresisBand(double value, double width, bool below, bool centred);

// A mark value for its label: whole numbers without decimals, others with two.
QString formatMarkValue(double value);

} // namespace Utils
