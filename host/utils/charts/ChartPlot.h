#pragma once

#include "TimeWindow.h"

#include <utils/ValueOverTime.h>

#include <qwt_plot.h>

#include <QColor>
#include <QPoint>
#include <QString>

class QwtPlotPicker;
class QwtPlotTextLabel;

namespace Utils::Charts {

class EchoBarsItem;
class HistoryCurve;
class StateMarksItem;

// One plot of a GenericChart: its history, its line, the texts on its canvas
// and the mouse handling of its x axis. A time plot shows local clock time on
// its x axis and follows the newest sample until the user pans; an
// independent plot has a plain linear x axis that only the user and the
// owner move.
class ChartPlot : public QwtPlot
{
    Q_OBJECT

public:
    ChartPlot(int index, QWidget* parent);
    ~ChartPlot() override;

    int index() const { return m_index; }
    const ValueOverTime& history() const { return m_history; }
    // Replaces the history; a time plot then shows its newest data.
    void setHistory(ValueOverTime history);
    void append(double x, double y);
    void appendState(double x, SampleState state);
    // Drops samples older than maxAgeMs before the newest and beyond the
    // newest maxSamples (a limit <= 0 is no limit).
    void limitHistory(double maxAgeMs, double maxSamples);
    void clearHistory();

    void setIndependent(bool independent);
    bool isIndependent() const { return m_independent; }

    void setTitleTexts(const QString& title, bool showTitle, const QString& unit, bool showUnit);
    // The title and unit as they are shown (dock caption, canvas text).
    QString caption() const;
    void setSignalTextVisible(bool visible);
    void setValueTextVisible(bool visible);
    bool isValueTextVisible() const;
    void setCustomValueText(const QString& text);
    QString valueText() const;
    void setPrecision(int decimals);
    void setAllowNegativeValues(bool allow) { m_allowNegative = allow; }
    bool allowsNegativeValues() const { return m_allowNegative; }
    void setLineStyle(const QColor& line, const QColor& fill, bool filled, double width);
    void setXValueDisplay(bool on);

    EchoBarsItem* echoBars() const { return m_echoBars; }
    HistoryCurve* curve() const { return m_curve; }
    TimeWindow& timeWindow() { return m_window; }
    const TimeWindow& timeWindow() const { return m_window; }

    // Puts the time window on the x axis (time plots).
    void applyTimeWindow();
    // Back to the newest data, following; with resetZoom also the default span.
    void jumpToNewest(bool resetZoom);
    // Marks the plot for the next refresh.
    void markDirty() { m_dirty = true; }
    // Replots when something changed since the last replot, or always when forced.
    void refresh(bool force);
    int canvasWidth() const;

signals:
    // Double click on the canvas (independent plots).
    void doubleClicked(int index);
    // The zoom of a time plot went back to its default.
    void zoomReset();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateValueText();
    void appended(double x);
    void updateSignalText();
    void panPixels(int dx);
    void zoomAround(int canvasX, double factor);
    double newestX() const;
    double oldestX() const;

    const int m_index;
    ValueOverTime m_history;
    TimeWindow m_window;
    HistoryCurve* m_curve;
    StateMarksItem* m_stateMarks;
    EchoBarsItem* m_echoBars;
    QwtPlotTextLabel* m_valueLabel;
    QwtPlotTextLabel* m_signalLabel;
    QwtPlotPicker* m_picker = nullptr;
    QString m_title;
    QString m_unit;
    QString m_customText;
    int m_precision = 1;
    int m_dragX = 0;
    bool m_showTitle = true;
    bool m_showUnit = false;
    bool m_signalTextVisible = true;
    bool m_independent = false;
    bool m_allowNegative = true;
    bool m_dragging = false;
    bool m_dirty = true;
};

} // namespace Utils::Charts
