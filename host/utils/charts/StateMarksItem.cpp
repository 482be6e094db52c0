#include "StateMarksItem.h"

#include "DecimatedSeriesData.h"

#include <utils/SampleStateName.h>

#include <qwt_scale_map.h>

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>

namespace Utils::Charts {

namespace {

constexpr double markSize = 7.0;
constexpr double margin = 2.0;
constexpr SampleState legendOrder[] = {SampleState::TooClose, SampleState::TooFar, SampleState::NoData};

// Too close points down and too far up, out of the range; no data is a diamond.
void drawMark(QPainter* painter, SampleState state, const QPointF& centre)
{
    const double h = markSize / 2.0;
    QPolygonF shape;
    if (state == SampleState::TooClose)
        shape << QPointF(-h, -h) << QPointF(h, -h) << QPointF(0.0, h);
    else if (state == SampleState::TooFar)
        shape << QPointF(-h, h) << QPointF(h, h) << QPointF(0.0, -h);
    else
        shape << QPointF(0.0, -h) << QPointF(h, 0.0) << QPointF(0.0, h) << QPointF(-h, 0.0);
    painter->setPen(QPen(StateMarksItem::color(state).darker(130), 1.0));
    painter->setBrush(StateMarksItem::color(state));
    painter->drawPolygon(shape.translated(centre));
}

double rowOf(SampleState state, const QRectF& canvas)
{
    const double half = markSize / 2.0 + margin;
    switch (state) {
    case SampleState::TooClose:
        return canvas.bottom() - half;
    case SampleState::TooFar:
        return canvas.top() + half;
    default:
        return canvas.top() + half + markSize + margin;
    }
}

void drawLegend(QPainter* painter, unsigned shown, const QRectF& canvas)
{
    const QFontMetricsF metrics(painter->font());
    const double gap = metrics.averageCharWidth();
    double width = gap;
    for (SampleState state : legendOrder) {
        if (shown & (1u << unsigned(state)))
            width += markSize + gap / 2.0 + metrics.horizontalAdvance(sampleStateName(state)) + gap;
    }
    const double height = std::max(metrics.height(), markSize) + 2.0 * margin;
    const QRectF box(canvas.right() - width - 2.0 * margin,
                     rowOf(SampleState::TooClose, canvas) - markSize - height, width, height);
    painter->setPen(QColor(160, 160, 160));
    painter->setBrush(QColor(255, 255, 255, 215));
    painter->drawRect(box);

    double left = box.left() + gap;
    for (SampleState state : legendOrder) {
        if (!(shown & (1u << unsigned(state))))
            continue;
        drawMark(painter, state, QPointF(left + markSize / 2.0, box.center().y()));
        left += markSize + gap / 2.0;
        const QString name = sampleStateName(state);
        painter->setPen(Qt::black);
        painter->drawText(QRectF(left, box.top(), metrics.horizontalAdvance(name) + 1.0, box.height()),
                          Qt::AlignVCenter | Qt::AlignLeft, name);
        left += metrics.horizontalAdvance(name) + gap;
    }
}

} // namespace

// Drawn once per state and pixel ratio, then copied: a shape with smooth
// edges costs far more to draw than to copy, and hundreds may be in view.
const QPixmap& StateMarksItem::markPixmap(SampleState state, double pixelRatio) const
{
    QPixmap& pixmap = m_pixmaps[std::size_t(state)];
    if (pixmap.isNull() || pixmap.devicePixelRatioF() != pixelRatio) {
        const int side = int(markSize) + 2;
        pixmap = QPixmap(QSize(side, side) * pixelRatio);
        pixmap.setDevicePixelRatio(pixelRatio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing, true);
        drawMark(&painter, state, QPointF(side, side) / 2.0);
    }
    return pixmap;
}

StateMarksItem::StateMarksItem(DecimatedSeriesData* series) : m_series(series)
{
    setZ(26.0);
    setItemAttribute(QwtPlotItem::AutoScale, false);
}

QColor StateMarksItem::color(SampleState state)
{
    switch (state) {
    case SampleState::TooClose:
        return QColor(214, 39, 40);
    case SampleState::TooFar:
        return QColor(240, 140, 0);
    default:
        return QColor(120, 120, 120);
    }
}

void StateMarksItem::draw(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap&,
                          const QRectF& canvasRect) const
{
    // The same range and columns as the curve's, so the reduction is shared.
    m_series->update(xMap.s1(), xMap.s2(), int(std::ceil(std::abs(xMap.pDist()))));
    const std::vector<StateMark>& marks = m_series->stateMarks();
    if (marks.empty())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    unsigned shown = 0;
    // A mark less than its own width after the last one of its state would
    // hide under it; a long stretch in one state shows as a row of marks
    // side by side, and drawing them costs the same however long it is.
    std::array<double, sampleStateCount> lastDrawn;
    lastDrawn.fill(-1e300);
    for (const StateMark& mark : marks) {
        const double x = xMap.transform(mark.x);
        double& last = lastDrawn[std::size_t(mark.state)];
        if (x - last < markSize)
            continue;
        last = x;
        painter->drawPixmap(QPointF(x, rowOf(mark.state, canvasRect)) - QPointF(markSize, markSize) / 2.0 -
                                QPointF(1.0, 1.0),
                            markPixmap(mark.state, painter->device()->devicePixelRatioF()));
        shown |= 1u << unsigned(mark.state);
    }
    drawLegend(painter, shown, canvasRect);
    painter->restore();
}

} // namespace Utils::Charts
