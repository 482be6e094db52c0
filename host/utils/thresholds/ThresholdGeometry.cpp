#include "ThresholdGeometry.h"

#include <qwt_scale_map.h>

#include <algorithm>
#include <cmath>

namespace Utils {

int nearestMarkWithin(const std::vector<MarkPixel>& marks, const QPointF& pos, double tolerance)
{
    int found = -1;
    double best = tolerance;
    for (const MarkPixel& mark : marks) {
        const double along = mark.orientation == Qt::Horizontal ? pos.y() : pos.x();
        const double distance = std::abs(along - mark.pixel);
        if (distance <= best) {
            best = distance;
            found = mark.key;
        }
    }
    return found;
}

double pixelsToAxisUnits(const QwtScaleMap& map, double pixels)
{
    const double pixelSpan = std::abs(map.pDist());
    if (pixelSpan <= 0.0)
        return 0.0;
    return pixels * std::abs(map.sDist()) / pixelSpan;
}

double restrictDraggedValue(double wanted, double current, double axisMin, double axisMax, double gap,
                            std::optional<double> floor, std::optional<double> ceiling)
{
    double lowest = std::min(axisMin, axisMax) + gap;
    double highest = std::max(axisMin, axisMax) - gap;
    if (floor)
        lowest = std::max(lowest, *floor + gap);
    if (ceiling)
        highest = std::min(highest, *ceiling - gap);
    if (lowest > highest)
        return current;
    return std::clamp(wanted, lowest, highest);
}

QwtInterval hysteresisBand(double value, double width, bool below, bool centred)
{
    if (!(width > 0.0))
        return QwtInterval();
    if (centred)
        return QwtInterval(value - width / 2.0, value + width / 2.0);
    return below ? QwtInterval(value - width, value) : QwtInterval(value, value + width);
}

QString formatMarkValue(double value)
{
    const double whole = std::round(value);
    if (std::abs(value - whole) < 0.005)
        return QString::number(static_cast<qint64>(whole));
    return QString::number(value, 'f', 2);
}

} // namespace Utils
