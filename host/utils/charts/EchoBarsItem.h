#pragma once

#include <qwt_plot_item.h>

#include <QColor>
#include <QVector>

namespace Utils::Charts {

// Vertical bars from the x axis up to a height, one per echo, each in its own
// colour; drawn a few pixels wide so that they stay visible at any zoom.
class EchoBarsItem : public QwtPlotItem
{
public:
    struct Bar
    {
        double x = 0.0;
        double height = 0.0;
        QColor color;
    };

    EchoBarsItem();

    int rtti() const override { return QwtPlotItem::Rtti_PlotUserItem + 1; }
    void draw(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
              const QRectF& canvasRect) const override;

    int count() const { return m_bars.size(); }
    const Bar& bar(int index) const { return m_bars[index]; }
    // Makes `count` bars, new ones at x 0 with height 0.
    void resize(int count);
    // Moves the bars to new positions and heights in the default colour.
    void setBars(const QVector<double>& x, const QVector<double>& heights);
    void setColor(int index, const QColor& color);
    void clear();

    static QColor defaultColor() { return QColor(150, 150, 150); }

private:
    QVector<Bar> m_bars;
};

} // namespace Utils::Charts
