#include "EchoBarsItem.h"

#include <qwt_scale_map.h>

#include <QPainter>

#include <algorithm>

namespace Utils::Charts {

namespace {

constexpr double barWidth = 5.0;

} // namespace

EchoBarsItem::EchoBarsItem()
{
    setZ(25.0);
    setItemAttribute(QwtPlotItem::AutoScale, false);
}

void EchoBarsItem::draw(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                        const QRectF& canvasRect) const
{
    painter->save();
    painter->setPen(Qt::NoPen);
    const double base = yMap.transform(std::max(0.0, yMap.s1()));
    for (const Bar& bar : m_bars) {
        const double x = xMap.transform(bar.x);
        const double top = yMap.transform(bar.height);
        QRectF rect(x - barWidth / 2.0, std::min(base, top), barWidth, std::abs(base - top));
        painter->setBrush(bar.color);
        painter->drawRect(rect.intersected(canvasRect));
    }
    painter->restore();
}

void EchoBarsItem::resize(int count)
{
    const int oldCount = m_bars.size();
    m_bars.resize(std::max(count, 0));
    for (int i = oldCount; i < m_bars.size(); ++i)
        m_bars[i].color = defaultColor();
    itemChanged();
}

void EchoBarsItem::setBars(const QVector<double>& x, const QVector<double>& heights)
{
    const int count = std::min(x.size(), heights.size());
    m_bars.resize(count);
    for (int i = 0; i < count; ++i)
        m_bars[i] = Bar{x[i], heights[i], defaultColor()};
    itemChanged();
}

void EchoBarsItem::setColor(int index, const QColor& color)
{
    if (index < 0 || index >= m_bars.size())
        return;
    m_bars[index].color = color;
    itemChanged();
}

void EchoBarsItem::clear()
{
    m_bars.clear();
    itemChanged();
}

} // namespace Utils::Charts
