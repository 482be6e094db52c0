#pragma once

#include <QBrush>
#include <qwt_plot_item.h>

namespace Utils {

// A translucent band across the canvas between two values of one axis:
// horizontal bands span a y interval over the whole width, vertical bands an
// x interval over the whole height. Either end may be infinite; the band then
// reaches the canvas edge on that side, whatever the axis scale.
class ThresholdBandItem : public QwtPlotItem
{
public:
    explicit ThresholdBandItem(Qt::Orientation orientation);

    void setInterval(double from, double to);
    double from() const { return m_from; }
    double to() const { return m_to; }
    void setBrush(const QBrush& brush);

    int rtti() const override;
    void draw(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
              const QRectF& canvasRect) const override;

private:
    Qt::Orientation m_orientation;
    double m_from = 0.0;
    double m_to = 0.0;
    QBrush m_brush;
};

} // namespace Utils
