#include "ChartPlot.h"

#include "DecimatedSeriesData.h"
#include "EchoBarsItem.h"
#include "HistoryCurve.h"
#include "StateMarksItem.h"

#include <qwt_date_scale_draw.h>
#include <qwt_date_scale_engine.h>
#include <qwt_picker_machine.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_picker.h>
#include <qwt_plot_textlabel.h>
#include <qwt_scale_engine.h>
#include <qwt_scale_map.h>

#include <QDateTime>
#include <QMouseEvent>
#include <QPen>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace Utils::Charts {

namespace {

// Each wheel notch shows a quarter more or less of the axis.
constexpr double zoomPerNotch = 1.25;

// Shows the x value under the mouse, as a distance plot's reader wants it.
class XValuePicker : public QwtPlotPicker
{
public:
    explicit XValuePicker(QWidget* canvas)
        : QwtPlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::NoRubberBand, QwtPicker::AlwaysOn,
                        canvas)
    {
        setStateMachine(new QwtPickerTrackerMachine);
    }

protected:
    QwtText trackerTextF(const QPointF& position) const override
    {
        QwtText text(QString::number(position.x(), 'f', 0));
        text.setBackgroundBrush(QColor(255, 255, 255, 200));
        return text;
    }
};

QwtDateScaleDraw* clockTimeScaleDraw()
{
    auto* draw = new QwtDateScaleDraw(Qt::LocalTime);
    for (int type = QwtDate::Millisecond; type <= QwtDate::Year; ++type)
        draw->setDateFormat(QwtDate::IntervalType(type), QStringLiteral("hh:mm:ss"));
    return draw;
}

QwtText canvasText(const QString& text, Qt::Alignment alignment)
{
    QwtText label(text);
    label.setRenderFlags(int(alignment));
    label.setBackgroundBrush(QColor(255, 255, 255, 190));
    QFont font = label.font();
    font.setBold(true);
    label.setFont(font);
    return label;
}

} // namespace

ChartPlot::ChartPlot(int index, QWidget* parent)
    : QwtPlot(parent), m_index(index), m_curve(new HistoryCurve(&m_history)),
      m_stateMarks(new StateMarksItem(m_curve->series())), m_echoBars(new EchoBarsItem),
      m_valueLabel(new QwtPlotTextLabel), m_signalLabel(new QwtPlotTextLabel)
{
    setCanvasBackground(Qt::white);
    canvas()->installEventFilter(this);
    canvas()->setMouseTracking(false);

    auto* grid = new QwtPlotGrid;
    grid->setMajorPen(QColor(220, 220, 220), 0.0, Qt::DotLine);
    grid->attach(this);

    m_curve->setPen(QColor(0, 0, 188), 1.0);
    m_curve->attach(this);
    m_stateMarks->attach(this);
    m_echoBars->attach(this);
    m_valueLabel->setZ(30.0);
    m_valueLabel->setMargin(4);
    m_valueLabel->attach(this);
    m_signalLabel->setZ(30.0);
    m_signalLabel->setMargin(4);
    m_signalLabel->attach(this);

    setAxisScaleDraw(QwtPlot::xBottom, clockTimeScaleDraw());
    setAxisScaleEngine(QwtPlot::xBottom, new QwtDateScaleEngine(Qt::LocalTime));
    setAxisMaxMinor(QwtPlot::xBottom, 0);
    setAxisScale(QwtPlot::yLeft, 0.0, 100.0);
    m_window.jumpTo(double(QDateTime::currentMSecsSinceEpoch()), canvasWidth());
    applyTimeWindow();
}

// The plot items are owned and deleted by QwtPlot.
ChartPlot::~ChartPlot() = default;

double ChartPlot::newestX() const
{
    return m_history.isEmpty() ? double(QDateTime::currentMSecsSinceEpoch())
                               : m_history.x(m_history.size() - 1);
}

double ChartPlot::oldestX() const
{
    return m_history.isEmpty() ? newestX() : m_history.x(0);
}

int ChartPlot::canvasWidth() const
{
    // The x axis may leave a few pixels of the canvas unused at its ends.
    const double axisPixels = std::abs(canvasMap(QwtPlot::xBottom).pDist());
    return axisPixels >= 1.0 ? int(axisPixels) : canvas()->width();
}

void ChartPlot::setHistory(ValueOverTime history)
{
    m_history = std::move(history);
    m_curve->series()->invalidate();
    updateValueText();
    if (!m_independent)
        jumpToNewest(false);
    m_dirty = true;
}

void ChartPlot::append(double x, double y)
{
    if (!m_allowNegative && y < 0.0)
        y = 0.0;
    m_history.append(x, y);
    appended(x);
}

void ChartPlot::appendState(double x, SampleState state)
{
    m_history.appendState(x, state);
    appended(x);
}

void ChartPlot::appended(double x)
{
    m_curve->series()->invalidate();
    updateValueText();
    if (!m_independent && m_window.follow(x, canvasWidth()))
        applyTimeWindow();
    m_dirty = true;
}

void ChartPlot::limitHistory(double maxAgeMs, double maxSamples)
{
    const int size = m_history.size();
    if (size == 0)
        return;
    int keepFrom = 0;
    if (maxAgeMs > 0.0)
        keepFrom = m_history.lowerBound(newestX() - maxAgeMs);
    if (maxSamples >= 1.0 && double(size) > maxSamples)
        keepFrom = std::max(keepFrom, size - int(maxSamples));
    // Trimming copies the arrays; doing it only once a batch of old samples
    // has gathered keeps appending cheap for long histories.
    if (keepFrom == 0 || keepFrom < std::max(64, (size - keepFrom) / 8))
        return;
    m_history.dropOldest(keepFrom);
    m_curve->series()->invalidate();
    m_dirty = true;
}

void ChartPlot::clearHistory()
{
    m_history.clear();
    m_curve->series()->invalidate();
    updateValueText();
    m_dirty = true;
}

void ChartPlot::setIndependent(bool independent)
{
    if (independent == m_independent)
        return;
    m_independent = independent;
    if (independent) {
        setAxisScaleDraw(QwtPlot::xBottom, new QwtScaleDraw);
        setAxisScaleEngine(QwtPlot::xBottom, new QwtLinearScaleEngine);
        setAxisMaxMinor(QwtPlot::xBottom, 5);
        setAxisScale(QwtPlot::xBottom, 0.0, 1000.0);
    } else {
        setAxisScaleDraw(QwtPlot::xBottom, clockTimeScaleDraw());
        setAxisScaleEngine(QwtPlot::xBottom, new QwtDateScaleEngine(Qt::LocalTime));
        setAxisMaxMinor(QwtPlot::xBottom, 0);
        jumpToNewest(false);
    }
    m_dirty = true;
}

void ChartPlot::setTitleTexts(const QString& title, bool showTitle, const QString& unit, bool showUnit)
{
    m_title = title;
    m_showTitle = showTitle;
    m_unit = unit;
    m_showUnit = showUnit;
    updateSignalText();
    updateValueText();
}

QString ChartPlot::caption() const
{
    QString text = m_showTitle ? m_title : QString();
    if (m_showUnit && !m_unit.trimmed().isEmpty())
        text += QLatin1Char(' ') + m_unit.trimmed();
    return text.trimmed();
}

void ChartPlot::setSignalTextVisible(bool visible)
{
    m_signalTextVisible = visible;
    updateSignalText();
}

void ChartPlot::updateSignalText()
{
    const QString text = m_signalTextVisible ? caption() : QString();
    m_signalLabel->setText(canvasText(text, Qt::AlignTop | Qt::AlignLeft));
    m_signalLabel->setVisible(!text.isEmpty());
    m_dirty = true;
}

void ChartPlot::setValueTextVisible(bool visible)
{
    m_valueLabel->setVisible(visible);
    m_dirty = true;
}

bool ChartPlot::isValueTextVisible() const
{
    return m_valueLabel->isVisible();
}

void ChartPlot::setCustomValueText(const QString& text)
{
    m_customText = text;
    updateValueText();
}

void ChartPlot::setPrecision(int decimals)
{
    m_precision = std::clamp(decimals, 0, 12);
    updateValueText();
}

QString ChartPlot::valueText() const
{
    if (!m_customText.isEmpty())
        return m_customText;
    if (m_history.isEmpty())
        return QString();
    const int newest = m_history.size() - 1;
    if (m_history.state(newest) != SampleState::Value)
        return QString();
    QString text = QString::number(m_history.y(newest), 'f', m_precision);
    if (m_showUnit && !m_unit.trimmed().isEmpty())
        text += QLatin1Char(' ') + m_unit.trimmed();
    return text;
}

void ChartPlot::updateValueText()
{
    m_valueLabel->setText(canvasText(valueText(), Qt::AlignTop | Qt::AlignRight));
    m_dirty = true;
}

void ChartPlot::setLineStyle(const QColor& line, const QColor& fill, bool filled, double width)
{
    m_curve->setPen(line, width);
    m_curve->setBrush(filled ? QBrush(fill) : QBrush());
    m_curve->setBaseline(0.0);
    m_dirty = true;
}

void ChartPlot::setXValueDisplay(bool on)
{
    if (on && m_picker == nullptr) {
        m_picker = new XValuePicker(canvas());
    } else if (!on && m_picker != nullptr) {
        delete m_picker;
        m_picker = nullptr;
    }
}

void ChartPlot::applyTimeWindow()
{
    if (m_independent)
        return;
    setAxisScale(QwtPlot::xBottom, m_window.left(), m_window.right());
    m_dirty = true;
}

void ChartPlot::jumpToNewest(bool resetZoom)
{
    if (m_independent)
        return;
    if (resetZoom)
        m_window.resetZoom(newestX(), canvasWidth());
    else
        m_window.jumpTo(newestX(), canvasWidth());
    applyTimeWindow();
}

void ChartPlot::refresh(bool force)
{
    if (!force && !m_dirty)
        return;
    m_dirty = false;
    replot();
    // A replot can change the axis layout (wider value labels) and with it
    // the canvas width the follow offset was worked out for.
    if (!m_independent && m_window.follow(newestX(), canvasWidth())) {
        applyTimeWindow();
        m_dirty = false;
        replot();
    }
}

void ChartPlot::panPixels(int dx)
{
    const int width = std::max(canvasWidth(), 1);
    if (m_independent) {
        const QwtScaleMap map = canvasMap(QwtPlot::xBottom);
        const double shift = -dx * (map.s2() - map.s1()) / width;
        setAxisScale(QwtPlot::xBottom, map.s1() + shift, map.s2() + shift);
    } else {
        m_window.panBy(-dx * m_window.span() / width, oldestX(), newestX(), width);
        applyTimeWindow();
    }
    refresh(true);
}

void ChartPlot::zoomAround(int canvasX, double factor)
{
    const QwtScaleMap map = canvasMap(QwtPlot::xBottom);
    const double anchor = map.invTransform(canvasX);
    if (m_independent) {
        setAxisScale(QwtPlot::xBottom, anchor + (map.s1() - anchor) * factor,
                     anchor + (map.s2() - anchor) * factor);
    } else {
        m_window.zoomAt(anchor, factor, oldestX(), newestX(), canvasWidth());
        applyTimeWindow();
    }
    refresh(true);
}

bool ChartPlot::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != canvas() || !isEnabled())
        return QwtPlot::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_dragging = true;
            m_dragX = mouse->pos().x();
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_dragging && mouse->pos().x() != m_dragX) {
            panPixels(mouse->pos().x() - m_dragX);
            m_dragX = mouse->pos().x();
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    case QEvent::MouseButtonDblClick:
        m_dragging = false;
        if (m_independent) {
            emit doubleClicked(m_index);
        } else {
            jumpToNewest(true);
            refresh(true);
            emit zoomReset();
        }
        return true;
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const double notches = wheel->angleDelta().y() / 120.0;
        if (notches != 0.0)
            zoomAround(wheel->position().toPoint().x(), std::pow(zoomPerNotch, -notches));
        return true;
    }
    default:
        break;
    }
    return QwtPlot::eventFilter(watched, event);
}

} // namespace Utils::Charts
