#pragma once

#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QVector>

class QwtPlot;
class QwtPlotItem;
class QwtPlotMarker;

namespace Utils {

class ThresholdBandItem;

// Threshold marks drawn on one QwtPlot, which the user can drag with the mouse.
//
// On a time plot: horizontal lower, upper and middle marks, each with an
// optional hysteresis ("noise") band, and a second middle mark at the far edge
// of the middle mark's band. On an independent plot: vertical left and right
// marks per component (a range each, the outside shaded).
//
// Marks live in plot coordinates, so they follow every rescale of the axes.
// Setters never emit: only a drag by the user does, once, when the mouse is
// released, because the listener writes each value to a device and a stream
// of intermediate values would only be overwritten.
class ThresholdWindowWidgetUniversal : public QObject
{
    Q_OBJECT

public:
    // The mark numbers emitValueChanged() reports.
    enum Mark : unsigned int
    {
        LowerMark = 0,
        UpperMark = 1,
        MiddleMark = 2,
        LeftMark = 4,
        RightMark = 5
    };

    // Attaches the marks to plot (which must not be null) and becomes its
    // child. componentIndex only identifies this widget to its listeners.
    ThresholdWindowWidgetUniversal(QwtPlot* plot, int componentIndex);
    ~ThresholdWindowWidgetUniversal() override;

    int getComponentIndex() const { return m_componentIndex; }

    // Values only; visibility is set by the show functions. Lower, upper and
    // middle marks start hidden, so that a plot that only uses left and right
    // marks shows nothing else.
    void setLowerMark(const double& value);
    void setUpperMark(const double& value);
    void setMiddleMark(const double& value);
    double lowerMark() const { return m_lower.value; }
    double upperMark() const { return m_upper.value; }
    double middleMark() const { return m_middle.value; }

    // A left or right mark of the range numbered component (0, 1, ...); a
    // range's mark is shown from its first set on. Negative components are
    // ignored.
    void setLeftMark(int component, const double& value);
    void setRightMark(int component, const double& value);
    // 0 for a mark that has never been set.
    double leftMark(int component) const;
    double rightMark(int component) const;
    // The range of the left or right mark dragged last (emitValueChanged()
    // carries only the mark number).
    int lastDraggedComponent() const { return m_lastDraggedComponent; }

    // Hidden marks are neither drawn nor draggable, nor are their bands drawn.
    void showLowerMark(bool show);
    void showUpperMark(bool show);
    void showMiddleMark(bool show);
    // The second middle mark: the far edge of the middle mark's band, drawn
    // together with the band only while the middle mark is shown too.
    void showMiddleMark1(bool show);

    // Hysteresis band of width at mark 0 (lower), 1 (upper), 2 (middle) or, for
    // -1, at all three. centred puts the band symmetrically around the mark;
    // otherwise it lies on the side setNoiseOrientation() gives. A width of 0
    // removes the band.
    void setNoise(const double& width, int mark, bool centred);
    // The middle mark's band width (the second middle mark lies at its far
    // edge) and whether the second middle mark is shown.
    void setNoiseMiddleMark(const double& width, bool visible);
    // The side of each mark's one-sided band: true below the mark (towards
    // smaller values), false above. The default (true, false, false) puts the
    // window limits' bands outside the window and the middle band above it.
    void setNoiseOrientation(bool lowerBelow, bool upperBelow, bool middleBelow);

    // Read-only marks are drawn but cannot be dragged.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    // A label with the distance between lower and upper mark, between them
    // (shown by default, while both marks are shown).
    void setWindowSizeVisible(bool visible);
    // Whether a dragged mark may pass its neighbours: lower, middle and upper
    // keep this order, and a range's left mark stays left of its right mark,
    // unless overlapping is allowed. Not allowed by default.
    void allowOverlapping(bool allow);
    // Minimum distance in pixels that a dragged mark keeps from the ends of
    // the axis and, while overlapping is not allowed, from the neighbours it
    // may not pass. Pixels rather than axis units keep marks apart enough to
    // be grabbed one by one at any zoom. 0 by default.
    void vSetRestrictionFactor(int pixels);

signals:
    // The user has released a dragged mark at value (plot coordinates).
    void emitValueChanged(unsigned int mark, const double value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct LineMark
    {
        double value = 0.0;
        bool visible = false;
        double noiseWidth = 0.0;
        bool noiseBelow = false;
        bool noiseCentred = false;
        QwtPlotMarker* line = nullptr;
        ThresholdBandItem* band = nullptr;
    };
    struct RangeMarks
    {
        bool hasLeft = false;
        bool hasRight = false;
        double left = 0.0;
        double right = 0.0;
        QwtPlotMarker* leftLine = nullptr;
        QwtPlotMarker* rightLine = nullptr;
        ThresholdBandItem* beforeLeft = nullptr;
        ThresholdBandItem* afterRight = nullptr;
    };

    LineMark* lineMark(unsigned int mark);
    const LineMark* lineMark(unsigned int mark) const;
    RangeMarks& range(int component);
    void createLineMark(LineMark& mark, const QColor& colour, Qt::Alignment labelAlignment);

    int grabbableMarkAt(const QPointF& pos) const;
    double markValue(int key) const;
    void setMarkValue(int key, double value);
    double restrictedValue(int key, double wanted) const;
    void startDrag(int key, const QPointF& pos);
    void moveDrag(const QPointF& pos);
    void finishDrag();
    void cancelDrag();
    void updateHoverCursor(const QPointF& pos);
    void restoreCursor();

    void refreshItems();
    void scheduleReplot();

    QwtPlot* m_plot;
    QPointer<QWidget> m_canvas;
    int m_componentIndex;

    LineMark m_lower;
    LineMark m_upper;
    LineMark m_middle;
    bool m_middle1Visible = false;
    QwtPlotMarker* m_middle1Line = nullptr;
    QwtPlotMarker* m_windowSizeLabel = nullptr;
    QVector<RangeMarks> m_ranges;
    QwtPlotItem* m_guard = nullptr;
    bool m_itemsGone = false;

    bool m_readOnly = false;
    bool m_windowSizeVisible = true;
    bool m_overlappingAllowed = false;
    int m_restrictionPixels = 0;

    int m_dragKey = -1;
    double m_dragStartValue = 0.0;
    double m_grabOffset = 0.0;
    int m_lastDraggedComponent = 0;

    bool m_cursorOverridden = false;
    bool m_canvasHadCursor = false;
    QCursor m_canvasCursor;
    bool m_replotPending = false;
};

} // namespace Utils
