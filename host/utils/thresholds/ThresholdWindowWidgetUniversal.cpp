#include "ThresholdWindowWidgetUniversal.h"

#include "ThresholdBandItem.h"
#include "ThresholdGeometry.h"

#include <QMouseEvent>
#include <QTimer>
#include <qwt_plot.h>
#include <qwt_plot_marker.h>
#include <qwt_scale_div.h>
#include <qwt_scale_map.h>
#include <qwt_text.h>

#include <algorithm>
#include <limits>

namespace Utils {

namespace {

// How far from a mark's line, in pixels, a press still grabs it.
constexpr double kGrabTolerance = 5.0;
// Keys of left and right marks carry their range: mark + kRangeKeyStride * component.
constexpr int kRangeKeyStride = 8;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

const QColor kWindowColour(214, 96, 0);
const QColor kMiddleColour(0, 140, 70);
const QColor kRangeColour(140, 0, 140);
const QColor kNoiseColour(255, 170, 0, 70);
const QColor kOutsideColour(110, 110, 110, 55);

unsigned int markOfKey(int key)
{
    return static_cast<unsigned int>(key % kRangeKeyStride);
}

int componentOfKey(int key)
{
    return key / kRangeKeyStride;
}

bool isRangeMark(unsigned int mark)
{
    return mark == ThresholdWindowWidgetUniversal::LeftMark ||
           mark == ThresholdWindowWidgetUniversal::RightMark;
}

QwtText markLabel(const QString& name, double value, const QColor& colour)
{
    QwtText text(name + QLatin1Char(' ') + formatMarkValue(value));
    text.setColor(Qt::white);
    text.setBackgroundBrush(colour);
    text.setBorderRadius(2.0);
    return text;
}

QwtPlotMarker* newLine(QwtPlot* plot, QwtPlotMarker::LineStyle style, const QPen& pen)
{
    auto* line = new QwtPlotMarker();
    line->setLineStyle(style);
    line->setLinePen(pen);
    line->setVisible(false);
    line->attach(plot);
    return line;
}

ThresholdBandItem* newBand(QwtPlot* plot, Qt::Orientation orientation, const QColor& colour)
{
    auto* band = new ThresholdBandItem(orientation);
    band->setBrush(colour);
    band->setVisible(false);
    band->attach(plot);
    return band;
}

// Reports when the plot deletes its items. A plot deletes them in its own
// destructor, before its children (this widget among them) are deleted, and
// detachItems() deletes them as well; from then on the item pointers dangle.
class ItemsGoneGuard : public QwtPlotItem
{
public:
    explicit ItemsGoneGuard(bool* gone) : m_gone(gone) {}
    ~ItemsGoneGuard() override { *m_gone = true; }
    void draw(QPainter*, const QwtScaleMap&, const QwtScaleMap&, const QRectF&) const override {}

private:
    bool* m_gone;
};

} // namespace

ThresholdWindowWidgetUniversal::ThresholdWindowWidgetUniversal(QwtPlot* plot, int componentIndex)
    : QObject(plot), m_plot(plot), m_canvas(plot->canvas()), m_componentIndex(componentIndex)
{
    createLineMark(m_lower, kWindowColour, Qt::AlignRight | Qt::AlignBottom);
    createLineMark(m_upper, kWindowColour, Qt::AlignRight | Qt::AlignTop);
    createLineMark(m_middle, kMiddleColour, Qt::AlignLeft | Qt::AlignTop);

    m_middle1Line = newLine(plot, QwtPlotMarker::HLine, QPen(kMiddleColour, 1.0, Qt::DashLine));
    m_windowSizeLabel = newLine(plot, QwtPlotMarker::HLine, Qt::NoPen);
    m_windowSizeLabel->setLabelAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    setNoiseOrientation(true, false, false);
    m_guard = new ItemsGoneGuard(&m_itemsGone);
    m_guard->attach(plot);

    // Hovering must change the cursor before any button is pressed.
    m_canvas->setMouseTracking(true);
    m_canvas->installEventFilter(this);
}

ThresholdWindowWidgetUniversal::~ThresholdWindowWidgetUniversal()
{
    if (m_itemsGone)
        return;
    restoreCursor();
    const QList<QwtPlotItem*> items{m_guard,       m_lower.line,  m_lower.band,
                                    m_upper.line,  m_upper.band,  m_middle.line,
                                    m_middle.band, m_middle1Line, m_windowSizeLabel};
    for (QwtPlotItem* item : items)
        delete item;
    for (const RangeMarks& r : qAsConst(m_ranges)) {
        delete r.leftLine;
        delete r.rightLine;
        delete r.beforeLeft;
        delete r.afterRight;
    }
    QMetaObject::invokeMethod(m_plot, "replot", Qt::QueuedConnection);
}

void ThresholdWindowWidgetUniversal::createLineMark(LineMark& mark, const QColor& colour,
                                                    Qt::Alignment labelAlignment)
{
    mark.line = newLine(m_plot, QwtPlotMarker::HLine, QPen(colour, 2.0));
    mark.line->setLabelAlignment(labelAlignment);
    mark.band = newBand(m_plot, Qt::Horizontal, kNoiseColour);
}

ThresholdWindowWidgetUniversal::LineMark* ThresholdWindowWidgetUniversal::lineMark(unsigned int mark)
{
    return const_cast<LineMark*>(static_cast<const ThresholdWindowWidgetUniversal*>(this)->lineMark(mark));
}

const ThresholdWindowWidgetUniversal::LineMark*
ThresholdWindowWidgetUniversal::lineMark(unsigned int mark) const
{
    switch (mark) {
    case LowerMark:
        return &m_lower;
    case UpperMark:
        return &m_upper;
    case MiddleMark:
        return &m_middle;
    default:
        return nullptr;
    }
}

ThresholdWindowWidgetUniversal::RangeMarks& ThresholdWindowWidgetUniversal::range(int component)
{
    while (m_ranges.size() <= component) {
        RangeMarks r;
        r.leftLine = newLine(m_plot, QwtPlotMarker::VLine, QPen(kRangeColour, 2.0));
        r.leftLine->setLabelAlignment(Qt::AlignTop | Qt::AlignRight);
        r.rightLine = newLine(m_plot, QwtPlotMarker::VLine, QPen(kRangeColour, 2.0));
        r.rightLine->setLabelAlignment(Qt::AlignTop | Qt::AlignLeft);
        r.beforeLeft = newBand(m_plot, Qt::Vertical, kOutsideColour);
        r.afterRight = newBand(m_plot, Qt::Vertical, kOutsideColour);
        m_ranges.append(r);
    }
    return m_ranges[component];
}

void ThresholdWindowWidgetUniversal::setLowerMark(const double& value)
{
    m_lower.value = value;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::setUpperMark(const double& value)
{
    m_upper.value = value;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::setMiddleMark(const double& value)
{
    m_middle.value = value;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::setLeftMark(int component, const double& value)
{
    if (component < 0)
        return;
    RangeMarks& r = range(component);
    r.left = value;
    r.hasLeft = true;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::setRightMark(int component, const double& value)
{
    if (component < 0)
        return;
    RangeMarks& r = range(component);
    r.right = value;
    r.hasRight = true;
    refreshItems();
}

double ThresholdWindowWidgetUniversal::leftMark(int component) const
{
    return component >= 0 && component < m_ranges.size() ? m_ranges[component].left : 0.0;
}

double ThresholdWindowWidgetUniversal::rightMark(int component) const
{
    return component >= 0 && component < m_ranges.size() ? m_ranges[component].right : 0.0;
}

void ThresholdWindowWidgetUniversal::showLowerMark(bool show)
{
    m_lower.visible = show;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::showUpperMark(bool show)
{
    m_upper.visible = show;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::showMiddleMark(bool show)
{
    m_middle.visible = show;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::showMiddleMark1(bool show)
{
    m_middle1Visible = show;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::setNoise(const double& width, int mark, bool centred)
{
    for (LineMark* m : {&m_lower, &m_upper, &m_middle}) {
        if (mark == -1 || m == lineMark(static_cast<unsigned int>(mark))) {
            m->noiseWidth = width;
            m->noiseCentred = centred;
        }
    }
    refreshItems();
}

void ThresholdWindowWidgetUniversal::setNoiseMiddleMark(const double& width, bool visible)
{
    m_middle.noiseWidth = width;
    m_middle1Visible = visible;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::setNoiseOrientation(bool lowerBelow, bool upperBelow, bool middleBelow)
{
    m_lower.noiseBelow = lowerBelow;
    m_upper.noiseBelow = upperBelow;
    m_middle.noiseBelow = middleBelow;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    if (readOnly) {
        cancelDrag();
        restoreCursor();
    }
}

void ThresholdWindowWidgetUniversal::setWindowSizeVisible(bool visible)
{
    m_windowSizeVisible = visible;
    refreshItems();
}

void ThresholdWindowWidgetUniversal::allowOverlapping(bool allow)
{
    m_overlappingAllowed = allow;
}

void ThresholdWindowWidgetUniversal::vSetRestrictionFactor(int pixels)
{
    m_restrictionPixels = std::max(0, pixels);
}

void ThresholdWindowWidgetUniversal::refreshItems()
{
    if (m_itemsGone)
        return;
    // A mark hidden while it is being dragged is dropped where it was grabbed.
    if (m_dragKey >= 0 && !isRangeMark(markOfKey(m_dragKey)) && !lineMark(markOfKey(m_dragKey))->visible)
        cancelDrag();

    const QString names[] = {tr("Lower"), tr("Upper"), tr("Threshold")};
    const QColor colours[] = {kWindowColour, kWindowColour, kMiddleColour};
    for (unsigned int mark : {LowerMark, UpperMark, MiddleMark}) {
        LineMark& m = *lineMark(mark);
        m.line->setYValue(m.value);
        m.line->setLabel(markLabel(names[mark], m.value, colours[mark]));
        m.line->setVisible(m.visible);
        const QwtInterval band = hysteresisBand(m.value, m.noiseWidth, m.noiseBelow, m.noiseCentred);
        const bool bandShown = m.visible && band.isValid() && (mark != MiddleMark || m_middle1Visible);
        if (band.isValid())
            m.band->setInterval(band.minValue(), band.maxValue());
        m.band->setVisible(bandShown);
    }

    const QwtInterval middleBand =
        hysteresisBand(m_middle.value, m_middle.noiseWidth, m_middle.noiseBelow, m_middle.noiseCentred);
    m_middle1Line->setVisible(m_middle.visible && m_middle1Visible && middleBand.isValid());
    if (middleBand.isValid())
        m_middle1Line->setYValue(m_middle.noiseBelow && !m_middle.noiseCentred ? middleBand.minValue()
                                                                               : middleBand.maxValue());

    m_windowSizeLabel->setYValue((m_lower.value + m_upper.value) / 2.0);
    QwtText size(tr("Window %1").arg(formatMarkValue(std::abs(m_upper.value - m_lower.value))));
    size.setColor(kWindowColour);
    m_windowSizeLabel->setLabel(size);
    m_windowSizeLabel->setVisible(m_windowSizeVisible && m_lower.visible && m_upper.visible);

    for (RangeMarks& r : m_ranges) {
        r.leftLine->setXValue(r.left);
        r.leftLine->setLabel(markLabel(tr("From"), r.left, kRangeColour));
        r.leftLine->setVisible(r.hasLeft);
        r.beforeLeft->setInterval(-kInfinity, r.left);
        r.beforeLeft->setVisible(r.hasLeft);
        r.rightLine->setXValue(r.right);
        r.rightLine->setLabel(markLabel(tr("To"), r.right, kRangeColour));
        r.rightLine->setVisible(r.hasRight);
        r.afterRight->setInterval(r.right, kInfinity);
        r.afterRight->setVisible(r.hasRight);
    }
    scheduleReplot();
}

void ThresholdWindowWidgetUniversal::scheduleReplot()
{
    // Callers set several marks in a row; one repaint serves them all.
    if (m_replotPending)
        return;
    m_replotPending = true;
    QTimer::singleShot(0, this, [this] {
        m_replotPending = false;
        m_plot->replot();
    });
}

int ThresholdWindowWidgetUniversal::grabbableMarkAt(const QPointF& pos) const
{
    std::vector<MarkPixel> marks;
    const QwtScaleMap yMap = m_plot->canvasMap(QwtPlot::yLeft);
    for (unsigned int mark : {LowerMark, UpperMark, MiddleMark}) {
        const LineMark& m = *lineMark(mark);
        if (m.visible)
            marks.push_back({int(mark), Qt::Horizontal, yMap.transform(m.value)});
    }
    const QwtScaleMap xMap = m_plot->canvasMap(QwtPlot::xBottom);
    for (int component = 0; component < m_ranges.size(); ++component) {
        const RangeMarks& r = m_ranges[component];
        const int base = component * kRangeKeyStride;
        if (r.hasLeft)
            marks.push_back({base + int(LeftMark), Qt::Vertical, xMap.transform(r.left)});
        if (r.hasRight)
            marks.push_back({base + int(RightMark), Qt::Vertical, xMap.transform(r.right)});
    }
    return nearestMarkWithin(marks, pos, kGrabTolerance);
}

double ThresholdWindowWidgetUniversal::markValue(int key) const
{
    const unsigned int mark = markOfKey(key);
    if (mark == LeftMark)
        return m_ranges[componentOfKey(key)].left;
    if (mark == RightMark)
        return m_ranges[componentOfKey(key)].right;
    return lineMark(mark)->value;
}

void ThresholdWindowWidgetUniversal::setMarkValue(int key, double value)
{
    const unsigned int mark = markOfKey(key);
    if (mark == LeftMark)
        m_ranges[componentOfKey(key)].left = value;
    else if (mark == RightMark)
        m_ranges[componentOfKey(key)].right = value;
    else
        lineMark(mark)->value = value;
}

double ThresholdWindowWidgetUniversal::restrictedValue(int key, double wanted) const
{
    const unsigned int mark = markOfKey(key);
    const int axis = isRangeMark(mark) ? QwtPlot::xBottom : QwtPlot::yLeft;
    const QwtScaleDiv& scale = m_plot->axisScaleDiv(axis);
    const double gap = pixelsToAxisUnits(m_plot->canvasMap(axis), m_restrictionPixels);

    std::optional<double> floor;
    std::optional<double> ceiling;
    if (!m_overlappingAllowed) {
        auto lowest = [](std::optional<double> a, const LineMark& m) {
            return m.visible ? std::optional<double>(a ? std::min(*a, m.value) : m.value) : a;
        };
        auto highest = [](std::optional<double> a, const LineMark& m) {
            return m.visible ? std::optional<double>(a ? std::max(*a, m.value) : m.value) : a;
        };
        const RangeMarks* r = isRangeMark(mark) ? &m_ranges[componentOfKey(key)] : nullptr;
        switch (mark) {
        case LowerMark:
            ceiling = lowest(lowest(ceiling, m_middle), m_upper);
            break;
        case UpperMark:
            floor = highest(highest(floor, m_lower), m_middle);
            break;
        case MiddleMark:
            floor = highest(floor, m_lower);
            ceiling = lowest(ceiling, m_upper);
            break;
        case LeftMark:
            if (r->hasRight)
                ceiling = r->right;
            break;
        case RightMark:
            if (r->hasLeft)
                floor = r->left;
            break;
        default:
            break;
        }
    }
    return restrictDraggedValue(wanted, markValue(key), scale.lowerBound(), scale.upperBound(), gap, floor,
                                ceiling);
}

bool ThresholdWindowWidgetUniversal::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_canvas || m_itemsGone)
        return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::LanguageChange:
        // The marks' names are drawn on the canvas: they follow the language.
        refreshItems();
        scheduleReplot();
        break;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_readOnly || m_dragKey >= 0 || mouse->button() != Qt::LeftButton)
            break;
        const int key = grabbableMarkAt(mouse->localPos());
        if (key < 0)
            break;
        startDrag(key, mouse->localPos());
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_dragKey >= 0) {
            moveDrag(mouse->localPos());
            return true;
        }
        updateHoverCursor(mouse->localPos());
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_dragKey >= 0 && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            finishDrag();
            updateHoverCursor(static_cast<QMouseEvent*>(event)->localPos());
            return true;
        }
        break;
    case QEvent::Leave:
        if (m_dragKey < 0)
            restoreCursor();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ThresholdWindowWidgetUniversal::startDrag(int key, const QPointF& pos)
{
    m_dragKey = key;
    m_dragStartValue = markValue(key);
    // Keep the distance between pointer and line, so that the mark does not jump on the first move.
    if (isRangeMark(markOfKey(key)))
        m_grabOffset = pos.x() - m_plot->canvasMap(QwtPlot::xBottom).transform(m_dragStartValue);
    else
        m_grabOffset = pos.y() - m_plot->canvasMap(QwtPlot::yLeft).transform(m_dragStartValue);
}

void ThresholdWindowWidgetUniversal::moveDrag(const QPointF& pos)
{
    const bool vertical = isRangeMark(markOfKey(m_dragKey));
    const QwtScaleMap map = m_plot->canvasMap(vertical ? QwtPlot::xBottom : QwtPlot::yLeft);
    const double pixel = (vertical ? pos.x() : pos.y()) - m_grabOffset;
    setMarkValue(m_dragKey, restrictedValue(m_dragKey, map.invTransform(pixel)));
    refreshItems();
}

void ThresholdWindowWidgetUniversal::finishDrag()
{
    const int key = m_dragKey;
    m_dragKey = -1;
    const double value = markValue(key);
    if (value == m_dragStartValue)
        return;
    if (isRangeMark(markOfKey(key)))
        m_lastDraggedComponent = componentOfKey(key);
    emit emitValueChanged(markOfKey(key), value);
}

void ThresholdWindowWidgetUniversal::cancelDrag()
{
    if (m_dragKey < 0)
        return;
    const int key = m_dragKey;
    m_dragKey = -1;
    setMarkValue(key, m_dragStartValue);
    refreshItems();
}

void ThresholdWindowWidgetUniversal::updateHoverCursor(const QPointF& pos)
{
    const int key = m_readOnly ? -1 : grabbableMarkAt(pos);
    if (key < 0) {
        restoreCursor();
        return;
    }
    if (!m_cursorOverridden) {
        m_canvasHadCursor = m_canvas->testAttribute(Qt::WA_SetCursor);
        m_canvasCursor = m_canvas->cursor();
        m_cursorOverridden = true;
    }
    m_canvas->setCursor(isRangeMark(markOfKey(key)) ? Qt::SizeHorCursor : Qt::SizeVerCursor);
}

void ThresholdWindowWidgetUniversal::restoreCursor()
{
    if (!m_cursorOverridden || !m_canvas)
        return;
    m_cursorOverridden = false;
    if (m_canvasHadCursor)
        m_canvas->setCursor(m_canvasCursor);
    else
        m_canvas->unsetCursor();
}

} // namespace Utils
