#pragma once

#include <utils/ValueOverTime.h>

#include <qwt_plot_item.h>

#include <QColor>
#include <QPixmap>

#include <array>

class QPainter;

namespace Utils::Charts {

class DecimatedSeriesData;

// The samples of a history that are in a state, as small marks along the
// canvas edges: "too far" and "no data" along the top (in two rows, so both
// show in one column), "too close" along the bottom, each in a shape and
// colour of its own, never joined to the line. While marks are in view a
// legend in the lower right corner names the states shown; the newest data
// leave that corner free while the plot follows them.
class StateMarksItem : public QwtPlotItem
{
public:
    // The series belongs to the history's curve and must outlive the item.
    explicit StateMarksItem(DecimatedSeriesData* series);

    int rtti() const override { return QwtPlotItem::Rtti_PlotUserItem + 2; }
    void draw(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
              const QRectF& canvasRect) const override;

    static QColor color(SampleState state);

private:
    const QPixmap& markPixmap(SampleState state, double pixelRatio) const;

    DecimatedSeriesData* m_series;
    mutable std::array<QPixmap, sampleStateCount> m_pixmaps;
};

} // namespace Utils::Charts
