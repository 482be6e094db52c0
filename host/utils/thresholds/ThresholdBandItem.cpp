#include "ThresholdBandItem.h"

#include <QPainter>
#include <qwt_scale_map.h>

#include <algorithm>

namespace Utils {

ThresholdBandItem::ThresholdBandItem(Qt::Orientation orientation) : m_orientation(orientation)
{
    // Below the curves (z 20), so that the measured signal stays crisp.
    setZ(15.0);
}

void ThresholdBandItem::setInterval(double from, double to)
{
    m_from = from;
    m_to = to;
    itemChanged();
}

void ThresholdBandItem::setBrush(const QBrush& brush)
{
    m_brush = brush;
    itemChanged();
}

int ThresholdBandItem::rtti() const
{
    return QwtPlotItem::Rtti_PlotUserItem + 41;
}

void ThresholdBandItem::draw(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                             const QRectF& canvasRect) const
{
    const QwtScaleMap& map = m_orientation == Qt::Horizontal ? yMap : xMap;
    // An infinite end reaches past the canvas edge (the canvas may extend
    // beyond the axis ends); the intersection below cuts it there.
    const double axisLow = std::min(map.s1(), map.s2());
    const double axisHigh = std::max(map.s1(), map.s2());
    const double beyond = 10.0 * std::max(axisHigh - axisLow, 1.0);
    const double low = std::max(std::min(m_from, m_to), axisLow - beyond);
    const double high = std::min(std::max(m_from, m_to), axisHigh + beyond);
    if (!(low < high))
        return;

    const double p1 = map.transform(low);
    const double p2 = map.transform(high);
    QRectF band = m_orientation == Qt::Horizontal
                      ? QRectF(canvasRect.left(), std::min(p1, p2), canvasRect.width(), std::abs(p2 - p1))
                      : QRectF(std::min(p1, p2), canvasRect.top(), std::abs(p2 - p1), canvasRect.height());
    painter->fillRect(band.intersected(canvasRect), m_brush);
}

} // namespace Utils
