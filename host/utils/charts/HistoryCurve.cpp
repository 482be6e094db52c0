#include "HistoryCurve.h"

#include "ColumnDecimation.h"
#include "DecimatedSeriesData.h"

#include <qwt_scale_map.h>

#include <QPainter>

#include <cmath>

namespace Utils::Charts {

HistoryCurve::HistoryCurve(const ValueOverTime* history) : m_series(new DecimatedSeriesData(history))
{
    setData(m_series);
    setRenderHint(QwtPlotItem::RenderAntialiased, false);
    setPaintAttribute(QwtPlotCurve::FilterPoints, false);
}

void HistoryCurve::drawSeries(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                              const QRectF& canvasRect, int, int) const
{
    // One column per pixel of the x axis.
    m_series->update(xMap.s1(), xMap.s2(), int(std::ceil(std::abs(xMap.pDist()))));
    const int count = int(m_series->size());
    int runStart = 0;
    for (int i = 0; i <= count; ++i) {
        if (i < count && !isLineBreak(m_series->sample(std::size_t(i))))
            continue;
        if (i - runStart == 1) {
            // A lone sample between two gaps has no line; show it as a dot.
            const QPointF point = m_series->sample(std::size_t(runStart));
            painter->setPen(pen());
            painter->drawPoint(QPointF(xMap.transform(point.x()), yMap.transform(point.y())));
        } else if (i - runStart > 1) {
            QwtPlotCurve::drawSeries(painter, xMap, yMap, canvasRect, runStart, i - 1);
        }
        runStart = i + 1;
    }
}

} // namespace Utils::Charts
