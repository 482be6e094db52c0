#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

#include <utils/ValueOverTime.h>

#include <string>

class QAction;
class QDockWidget;
class QMainWindow;
class QTimer;
class QwtPlot;

namespace Utils::Charts {

class ChartPlot;

// A set of live plots stacked in docks of a main window, addressed by index.
//
// Time plots (the default) keep a history of (time, value) samples, time in
// milliseconds since the epoch, show local clock time on the x axis and
// follow the newest sample until the user drags the canvas; the wheel zooms
// the time axis, a double click resets the zoom and resumes following.
// An independent plot (setIndependentPlot) has its own linear x axis that the
// owner sets; it shows echo bars (vUpdateXLines) and reports double clicks.
//
// Drawing cost follows the canvas width, not the history length: each plot
// draws its history through a reduction to four points per pixel column.
// Samples in a state (too close, too far, no data; see vAppendState) and gaps
// (a NaN value; see vAppendGap) stay in the history and break the line; the
// states are drawn as marks along the canvas edges, named by a legend.
class GenericChart : public QObject
{
    Q_OBJECT

public:
    // Creates chartCount plots, each in a dock of `window` stacked top to
    // bottom. floatableDocks lets the user float (and move) the docks;
    // closableDocks lets him close them (each dock's toggle action, see
    // dockToggleAction, brings it back).
    GenericChart(int chartCount, QWidget* parent, QMainWindow* window, bool floatableDocks,
                 bool closableDocks);
    ~GenericChart() override;

    int chartCount() const { return m_plots.size(); }

    // --- Set-up ---
    // Caption of the plot: its dock title and the signal text on the canvas
    // show the title (when showTitle) followed by the unit (when showUnit);
    // the unit also follows the current value.
    void setPlotTitle(int chart, const QString& title, bool showTitle, const QString& unit, bool showUnit);
    // Line colour and width; with fill the area below the line is filled.
    void setPlotColor(int chart, const QColor& lineColor, const QColor& fillColor, bool fill,
                      double lineWidth);
    // Value (y) axis range.
    void setScale(int chart, double yMin, double yMax);
    // Axis of an independent plot's own quantity, its x axis, with a major
    // step (0: automatic). On a time plot it sets the value axis instead.
    void setPlotAxisScale(int chart, double min, double max, double step);
    // Narrowest and widest time span (seconds) the time axes can be zoomed to.
    void setTimelineScale(double minSeconds, double maxSeconds);
    // Time span (seconds) the time axes show by default and after a zoom reset.
    void setVisibleTimeSpan(double seconds);
    // When not allowed, negative samples are stored as 0 and the value axis
    // starts at 0 at the lowest.
    void setAllowNegativeValues(int chart, bool allow);
    void setIndependentPlot(int chart, bool independent);
    // Shows the x value under the mouse pointer on the canvas.
    void enableXAxisDisplayValue(int chart, bool enable = true);
    // Decimals of the current value shown on the canvas.
    void setCurrentValuePrecision(int chart, int decimals);
    // Pixels between the newest sample and the canvas's right edge while
    // following: room for the current-value text. At most 45% of the canvas.
    void setMinPanOffset(int chart, int pixels);
    // How far the user may pan past the data: the newest sample stays at
    // least this many pixels from the right edge, the oldest from the left
    // edge (at most 90% of the canvas).
    void setMaxPanOffset(int chart, int pixels);
    // Shows or hides the current-value text of a plot.
    void vSetMarkerVisible(int chart, bool visible);
    // Hides the caption written on the plot's canvas (the dock keeps it).
    void vHideSignalText(int chart);
    // Prepares `count` echo bars (at 0, height 0) on the plot; they are the
    // lines vSetXLinesPen and nGetLinesSize address until vUpdateXLines
    // replaces them.
    void vCreateRectangles(int chart, int count);
    // The next row of the layout holds this many plots side by side.
    void AddLayoutRow(int plotsInRow);
    // Arranges the docks in the rows given by AddLayoutRow; plots beyond them
    // get a row of their own.
    void UpdateLayout();
    // Minimum plot heights for a window this tall: each row gets at least
    // half of its share of the height, and never less than 120 pixels.
    void UpdateMinimumHeights(int height);
    // Re-captions the dock title bars and toggle actions (after a language
    // change or new plot titles).
    void translateDockTitleBarTexts();

    // --- Access ---
    QDockWidget* getDockChartItem(int chart) const;
    QAction* dockToggleAction(int chart) const;
    QwtPlot* poPlot(int chart) const;
    int plotWidth(int chart) const;
    // Upper end of the x axis: the distance axis of an independent plot,
    // the newest time in view (ms since the epoch) of a time plot.
    double getXMax(int chart) const;
    double getYLeftMax(int chart) const;
    // Independent plot: sets the upper end of the x axis. Time plot: shows
    // the time up to xMax and stops following.
    void vSetXMax(int chart, double xMax);
    const ValueOverTime* getData(int chart) const;

    // --- Data ---
    // Appends `value` to the plot's history. With useClock the sample is
    // stamped with the current time; otherwise `time` is its time (ms since
    // the epoch; on an independent plot its x position). Times never run
    // backwards: an earlier time is taken as the newest one. With
    // limitHistory, samples older than maxAgeSeconds before the newest one
    // and beyond the newest maxSamples are dropped (a limit <= 0 is none;
    // the history may exceed a limit by an eighth before it is trimmed).
    void vAppendData(int chart, const double& value, bool useClock, const double& time, bool limitHistory,
                     const double& maxAgeSeconds, double maxSamples);
    // Appends a sample in `state` (no value), stamped like vAppendData.
    void vAppendState(int chart, SampleState state, bool useClock, double time);
    // Ends the plot's line where live data stop (offline, a lost line, live
    // data paused): appends a gap sample, NaN stamped with the current time,
    // so that nothing is drawn until the next sample. Nothing is appended to
    // an empty history or one that already ends with a gap.
    void vAppendGap(int chart);
    // Text shown instead of the current value on every time plot (such as
    // "No data"); an empty text shows the value again.
    void vSetValueMarkerCustomText(QString text);
    // Echo bars of a plot: one per position, from 0 up to its height, in the
    // default grey. Extra entries of the longer list are ignored.
    void vUpdateXLines(int chart, QList<double> x, QList<double> heights);
    // Colours echo bar `index` of the plot last given echo bars.
    void vSetXLinesPen(int index, QColor color);
    void vClearXLines();
    int nGetLinesSize() const;
    // Empties every plot's history.
    void clear();
    // A plot's history as text (see HistoryText.h), ';' between samples.
    std::string dataToString(int chart) const;
    // Replaces a plot's history by the one in `text`; a malformed text is
    // refused (false) and the history stays as it was.
    bool setDataFromString(int chart, const std::string& text, char separator);

public slots:
    // Redraws the plots whose data or view changed, or all with force.
    void updateChart(bool force);
    void setEnabled(bool enabled);
    // Recomputes the axes and redraws after scale changes.
    void axisChanged();
    // Shows the newest data on every time plot, resumes following and
    // emits vSignalZommResetForNoiseLine.
    void jumpToPlottingArea();

signals:
    // Double click on the canvas of an independent plot.
    void IndependentPlotDoubleClick(int chart);
    // The time view was reset: by a double click on a time plot (default
    // zoom, newest data) or by jumpToPlottingArea.
    void vSignalZommResetForNoiseLine();

private:
    ChartPlot* plot(int chart) const;
    QString defaultTitle(int chart) const;

    QPointer<QMainWindow> m_window;
    QVector<ChartPlot*> m_plots;
    QVector<QPointer<QDockWidget>> m_docks;
    QVector<int> m_rows;
    QTimer* m_refreshTimer;
    QString m_customText;
    int m_linesChart = -1;
};

} // namespace Utils::Charts
