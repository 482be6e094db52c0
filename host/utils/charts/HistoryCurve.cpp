#include "HistoryCurve.h"

#include "ColumnDecimation.h"
#include "DecimatedSeriesData.h"

#include <qwt_scale_map.h>

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace Utils::Charts {

HistoryCurve::HistoryCurve(const ValueOverTime* history) : m_series(new DecimatedSeriesData(history))
{
    setData(m_series);
    setRenderHint(QwtPlotItem::RenderAntialiased, false);
    setPaintAttribute(QwtPlotCurve::FilterPoints, false);
}

namespace {

// The points of one pixel column span its values from the lowest to the
// highest: one vertical stroke over that span, and a line from each column's
// last point to the next column's first, cover what a line through all of
// them covers, with each pixel drawn once. The run's points are [from, to);
// returns the last of them, in pixels.
QPointF appendStrokes(const DecimatedSeriesData& series, int from, int to, const QwtScaleMap& xMap,
                      const QwtScaleMap& yMap, std::vector<QLineF>& lines)
{
    lines.clear();
    QPointF previous;
    double top = 0.0;
    double bottom = 0.0;
    double columnX = 0.0;
    const auto closeColumn = [&] {
        if (bottom > top)
            lines.emplace_back(columnX, top, columnX, bottom);
    };
    for (int k = from; k < to; ++k) {
        const QPointF sample = series.sample(std::size_t(k));
        const QPointF point(xMap.transform(sample.x()), yMap.transform(sample.y()));
        const bool newColumn = k == from || std::floor(point.x()) != std::floor(columnX);
        if (newColumn && k > from) {
            closeColumn();
            lines.emplace_back(previous, point);
        }
        if (newColumn) {
            columnX = point.x();
            top = bottom = point.y();
        }
        top = std::min(top, point.y());
        bottom = std::max(bottom, point.y());
        previous = point;
    }
    closeColumn();
    return previous;
}

} // namespace

void HistoryCurve::drawSeries(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                              const QRectF& canvasRect, int, int) const
{
    // One column per pixel of the x axis.
    m_series->update(xMap.s1(), xMap.s2(), int(std::ceil(std::abs(xMap.pDist()))));
    const bool filled = brush().style() != Qt::NoBrush;
    painter->save();
    painter->setPen(pen());
    painter->setRenderHint(QPainter::Antialiasing, testRenderHint(QwtPlotItem::RenderAntialiased));
    const int count = int(m_series->size());
    int runStart = 0;
    for (int i = 0; i <= count; ++i) {
        if (i < count && !isLineBreak(m_series->sample(std::size_t(i))))
            continue;
        const int length = i - runStart;
        if (length == 1) {
            // A lone sample between two gaps has no line; it shows as a dot.
            const QPointF point = m_series->sample(std::size_t(runStart));
            painter->drawPoint(QPointF(xMap.transform(point.x()), yMap.transform(point.y())));
        } else if (length > 1 && filled) {
            QwtPlotCurve::drawSeries(painter, xMap, yMap, canvasRect, runStart, i - 1);
        } else if (length > 1) {
            // The reduced points are few, so the strokes are drawn here: the
            // curve's own mapping and clipping would cost more per call than
            // the line, and a history with many gaps has many runs.
            const QPointF last = appendStrokes(*m_series, runStart, i, xMap, yMap, m_lines);
            // A run flat within one pixel column still shows, as a dot.
            if (m_lines.empty())
                painter->drawPoint(last);
            else
                painter->drawLines(m_lines.data(), int(m_lines.size()));
        }
        runStart = i + 1;
    }
    painter->restore();
}

} // namespace Utils::Charts
