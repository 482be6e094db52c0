#pragma once

#include <qwt_plot_curve.h>

#include <QLineF>

#include <vector>

namespace Utils {
class ValueOverTime;
}

namespace Utils::Charts {

class DecimatedSeriesData;

// The line of a plot's history. Before drawing it brings its reduced series
// up to date for the visible range and canvas width, then draws each run
// between line breaks on its own, so samples without a value leave gaps.
class HistoryCurve : public QwtPlotCurve
{
public:
    explicit HistoryCurve(const ValueOverTime* history);

    DecimatedSeriesData* series() const { return m_series; }

    void drawSeries(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                    const QRectF& canvasRect, int from, int to) const override;

private:
    DecimatedSeriesData* m_series; // owned by the curve (setData)
    // The strokes of the run being drawn, in pixels; kept to spare an
    // allocation per repaint.
    mutable std::vector<QLineF> m_lines;
};

} // namespace Utils::Charts
