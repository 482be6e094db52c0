#include "GenericChart.h"

#include "ChartPlot.h"
#include "EchoBarsItem.h"
#include "HistoryText.h"

#include <QAction>
#include <QDateTime>
#include <QDockWidget>
#include <QMainWindow>
#include <QTimer>

#include <algorithm>

namespace Utils::Charts {

namespace {

// Live data arrive every few tens of milliseconds; redrawing at most this
// often keeps the chart smooth without redrawing for every sample.
constexpr int refreshIntervalMs = 50;
constexpr int smallestPlotHeight = 120;

// Times never run backwards: an earlier time is taken as the newest one.
double sampleTime(const ChartPlot& plot, bool useClock, double time)
{
    const double x = useClock ? double(QDateTime::currentMSecsSinceEpoch()) : time;
    const ValueOverTime& history = plot.history();
    return history.isEmpty() ? x : std::max(x, history.x(history.size() - 1));
}

} // namespace

GenericChart::GenericChart(int chartCount, QWidget* parent, QMainWindow* window, bool floatableDocks,
                           bool closableDocks)
    : QObject(parent), m_window(window), m_refreshTimer(new QTimer(this))
{
    QDockWidget::DockWidgetFeatures features = QDockWidget::NoDockWidgetFeatures;
    if (floatableDocks)
        features |= QDockWidget::DockWidgetFloatable | QDockWidget::DockWidgetMovable;
    if (closableDocks)
        features |= QDockWidget::DockWidgetClosable;

    for (int i = 0; i < std::max(chartCount, 0); ++i) {
        auto* dock = new QDockWidget(window);
        dock->setObjectName(QStringLiteral("chartDock%1").arg(i));
        dock->setFeatures(features);
        dock->setAllowedAreas(Qt::AllDockWidgetAreas);
        auto* chartPlot = new ChartPlot(i, dock);
        chartPlot->setMinimumHeight(smallestPlotHeight);
        dock->setWidget(chartPlot);
        connect(chartPlot, &ChartPlot::doubleClicked, this, &GenericChart::IndependentPlotDoubleClick);
        connect(chartPlot, &ChartPlot::zoomReset, this, &GenericChart::vSignalZommResetForNoiseLine);
        m_plots.append(chartPlot);
        m_docks.append(dock);
    }
    translateDockTitleBarTexts();
    UpdateLayout();

    connect(m_refreshTimer, &QTimer::timeout, this, [this] { updateChart(false); });
    m_refreshTimer->start(refreshIntervalMs);
}

// The docks belong to the window; the chart takes them away with it.
GenericChart::~GenericChart()
{
    for (const QPointer<QDockWidget>& dock : qAsConst(m_docks))
        delete dock.data();
}

ChartPlot* GenericChart::plot(int chart) const
{
    return chart >= 0 && chart < m_plots.size() ? m_plots[chart] : nullptr;
}

QString GenericChart::defaultTitle(int chart) const
{
    return tr("Chart %1").arg(chart + 1);
}

void GenericChart::setPlotTitle(int chart, const QString& title, bool showTitle, const QString& unit,
                                bool showUnit)
{
    if (ChartPlot* p = plot(chart))
        p->setTitleTexts(title, showTitle, unit, showUnit);
}

void GenericChart::setPlotColor(int chart, const QColor& lineColor, const QColor& fillColor, bool fill,
                                double lineWidth)
{
    if (ChartPlot* p = plot(chart))
        p->setLineStyle(lineColor, fillColor, fill, lineWidth);
}

void GenericChart::setScale(int chart, double yMin, double yMax)
{
    ChartPlot* p = plot(chart);
    if (p == nullptr)
        return;
    if (!p->allowsNegativeValues())
        yMin = std::max(yMin, 0.0);
    p->setAxisScale(QwtPlot::yLeft, yMin, std::max(yMin, yMax));
    p->markDirty();
}

void GenericChart::setPlotAxisScale(int chart, double min, double max, double step)
{
    ChartPlot* p = plot(chart);
    if (p == nullptr)
        return;
    p->setAxisScale(p->isIndependent() ? QwtPlot::xBottom : QwtPlot::yLeft, min, max, step);
    p->markDirty();
}

void GenericChart::setTimelineScale(double minSeconds, double maxSeconds)
{
    for (ChartPlot* p : qAsConst(m_plots)) {
        p->timeWindow().setSpanLimits(minSeconds * 1000.0, maxSeconds * 1000.0);
        p->jumpToNewest(false);
    }
}

void GenericChart::setVisibleTimeSpan(double seconds)
{
    for (ChartPlot* p : qAsConst(m_plots)) {
        p->timeWindow().setDefaultSpan(seconds * 1000.0);
        p->jumpToNewest(true);
    }
}

void GenericChart::setAllowNegativeValues(int chart, bool allow)
{
    ChartPlot* p = plot(chart);
    if (p == nullptr)
        return;
    p->setAllowNegativeValues(allow);
    const QwtInterval range = p->axisInterval(QwtPlot::yLeft);
    if (!allow && range.minValue() < 0.0)
        setScale(chart, 0.0, range.maxValue());
}

void GenericChart::setIndependentPlot(int chart, bool independent)
{
    if (ChartPlot* p = plot(chart))
        p->setIndependent(independent);
}

void GenericChart::enableXAxisDisplayValue(int chart, bool enable)
{
    if (ChartPlot* p = plot(chart))
        p->setXValueDisplay(enable);
}

void GenericChart::setCurrentValuePrecision(int chart, int decimals)
{
    if (ChartPlot* p = plot(chart))
        p->setPrecision(decimals);
}

void GenericChart::setMinPanOffset(int chart, int pixels)
{
    if (ChartPlot* p = plot(chart)) {
        p->timeWindow().setFollowOffset(std::max(pixels, 0));
        p->jumpToNewest(false);
    }
}

void GenericChart::setMaxPanOffset(int chart, int pixels)
{
    if (ChartPlot* p = plot(chart))
        p->timeWindow().setPanOffset(std::max(pixels, 0));
}

void GenericChart::vSetMarkerVisible(int chart, bool visible)
{
    if (ChartPlot* p = plot(chart))
        p->setValueTextVisible(visible);
}

void GenericChart::vHideSignalText(int chart)
{
    if (ChartPlot* p = plot(chart))
        p->setSignalTextVisible(false);
}

void GenericChart::vCreateRectangles(int chart, int count)
{
    ChartPlot* p = plot(chart);
    if (p == nullptr)
        return;
    p->echoBars()->resize(count);
    p->markDirty();
    m_linesChart = chart;
}

void GenericChart::AddLayoutRow(int plotsInRow)
{
    if (plotsInRow > 0)
        m_rows.append(plotsInRow);
}

void GenericChart::UpdateLayout()
{
    if (m_window.isNull())
        return;
    QVector<QDockWidget*> docks;
    for (const QPointer<QDockWidget>& dock : qAsConst(m_docks)) {
        if (!dock.isNull())
            docks.append(dock.data());
    }
    // Rows stack top to bottom in one dock area; a row's plots sit side by side.
    int next = 0;
    int row = 0;
    while (next < docks.size()) {
        const int inRow = std::min(row < m_rows.size() ? m_rows[row] : 1, int(docks.size()) - next);
        QDockWidget* first = docks[next];
        m_window->addDockWidget(Qt::TopDockWidgetArea, first, Qt::Vertical);
        for (int i = 1; i < inRow; ++i)
            m_window->splitDockWidget(docks[next + i - 1], docks[next + i], Qt::Horizontal);
        next += inRow;
        ++row;
    }
}

void GenericChart::UpdateMinimumHeights(int height)
{
    int rows = 0;
    for (int covered = 0; covered < m_plots.size(); ++rows)
        covered += rows < m_rows.size() ? m_rows[rows] : 1;
    const int minimum = std::max(smallestPlotHeight, height / std::max(rows, 1) / 2);
    for (ChartPlot* p : qAsConst(m_plots))
        p->setMinimumHeight(minimum);
}

void GenericChart::translateDockTitleBarTexts()
{
    for (int i = 0; i < m_plots.size(); ++i) {
        QDockWidget* dock = m_docks[i].data();
        if (dock == nullptr)
            continue;
        const QString caption = m_plots[i]->caption();
        dock->setWindowTitle(caption.isEmpty() ? defaultTitle(i) : caption);
        dock->toggleViewAction()->setToolTip(tr("Show or hide %1").arg(dock->windowTitle()));
    }
}

QDockWidget* GenericChart::getDockChartItem(int chart) const
{
    return chart >= 0 && chart < m_docks.size() ? m_docks[chart].data() : nullptr;
}

QAction* GenericChart::dockToggleAction(int chart) const
{
    QDockWidget* dock = getDockChartItem(chart);
    return dock != nullptr ? dock->toggleViewAction() : nullptr;
}

QwtPlot* GenericChart::poPlot(int chart) const
{
    return plot(chart);
}

int GenericChart::plotWidth(int chart) const
{
    ChartPlot* p = plot(chart);
    return p != nullptr ? p->canvas()->width() : 0;
}

double GenericChart::getXMax(int chart) const
{
    ChartPlot* p = plot(chart);
    if (p == nullptr)
        return 0.0;
    return p->isIndependent() ? p->axisInterval(QwtPlot::xBottom).maxValue() : p->timeWindow().right();
}

double GenericChart::getYLeftMax(int chart) const
{
    ChartPlot* p = plot(chart);
    return p != nullptr ? p->axisInterval(QwtPlot::yLeft).maxValue() : 0.0;
}

void GenericChart::vSetXMax(int chart, double xMax)
{
    ChartPlot* p = plot(chart);
    if (p == nullptr)
        return;
    if (p->isIndependent()) {
        p->setAxisScale(QwtPlot::xBottom, p->axisInterval(QwtPlot::xBottom).minValue(), xMax);
    } else {
        p->timeWindow().setRight(xMax);
        p->applyTimeWindow();
    }
    p->markDirty();
}

const ValueOverTime* GenericChart::getData(int chart) const
{
    ChartPlot* p = plot(chart);
    return p != nullptr ? &p->history() : nullptr;
}

void GenericChart::vAppendData(int chart, const double& value, bool useClock, const double& time,
                               bool limitHistory, const double& maxAgeSeconds, double maxSamples)
{
    ChartPlot* p = plot(chart);
    if (p == nullptr)
        return;
    p->append(sampleTime(*p, useClock, time), value);
    if (limitHistory)
        p->limitHistory(maxAgeSeconds * 1000.0, maxSamples);
}

void GenericChart::vAppendState(int chart, SampleState state, bool useClock, double time)
{
    if (ChartPlot* p = plot(chart))
        p->appendState(sampleTime(*p, useClock, time), state);
}

void GenericChart::vAppendGap(int chart)
{
    ChartPlot* p = plot(chart);
    if (p == nullptr || p->history().isEmpty())
        return;
    const ValueOverTime& history = p->history();
    const int newest = history.size() - 1;
    if (history.state(newest) == SampleState::Gap)
        return;
    p->appendState(sampleTime(*p, true, 0.0), SampleState::Gap);
}

void GenericChart::vSetValueMarkerCustomText(QString text)
{
    m_customText = text;
    for (ChartPlot* p : qAsConst(m_plots)) {
        if (!p->isIndependent())
            p->setCustomValueText(m_customText);
    }
}

void GenericChart::vUpdateXLines(int chart, QList<double> x, QList<double> heights)
{
    ChartPlot* p = plot(chart);
    if (p == nullptr)
        return;
    p->echoBars()->setBars(x.toVector(), heights.toVector());
    p->markDirty();
    m_linesChart = chart;
}

void GenericChart::vSetXLinesPen(int index, QColor color)
{
    if (ChartPlot* p = plot(m_linesChart)) {
        p->echoBars()->setColor(index, color);
        p->markDirty();
    }
}

void GenericChart::vClearXLines()
{
    for (ChartPlot* p : qAsConst(m_plots)) {
        p->echoBars()->clear();
        p->markDirty();
    }
}

int GenericChart::nGetLinesSize() const
{
    ChartPlot* p = plot(m_linesChart);
    return p != nullptr ? p->echoBars()->count() : 0;
}

void GenericChart::clear()
{
    for (ChartPlot* p : qAsConst(m_plots)) {
        p->clearHistory();
        p->jumpToNewest(false);
    }
}

std::string GenericChart::dataToString(int chart) const
{
    ChartPlot* p = plot(chart);
    if (p == nullptr)
        return std::string();
    return formatHistory(p->history());
}

bool GenericChart::setDataFromString(int chart, const std::string& text, char separator)
{
    ChartPlot* p = plot(chart);
    ValueOverTime history;
    if (p == nullptr || !parseHistory(text, separator, history))
        return false;
    p->setHistory(std::move(history));
    return true;
}

void GenericChart::updateChart(bool force)
{
    for (ChartPlot* p : qAsConst(m_plots))
        p->refresh(force);
}

void GenericChart::setEnabled(bool enabled)
{
    for (ChartPlot* p : qAsConst(m_plots))
        p->setEnabled(enabled);
}

void GenericChart::axisChanged()
{
    for (ChartPlot* p : qAsConst(m_plots)) {
        p->updateAxes();
        p->refresh(true);
    }
}

void GenericChart::jumpToPlottingArea()
{
    for (ChartPlot* p : qAsConst(m_plots)) {
        p->jumpToNewest(false);
        p->refresh(true);
    }
    emit vSignalZommResetForNoiseLine();
}

} // namespace Utils::Charts
