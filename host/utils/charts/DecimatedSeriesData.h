#pragma once

#include "ColumnDecimation.h"

#include <qwt_series_data.h>

#include <QPointF>
#include <QRectF>

#include <vector>

namespace Utils {
class ValueOverTime;
}

namespace Utils::Charts {

// Presents a plot's history to Qwt reduced to what the canvas can show
// (see decimateColumns), so that drawing costs follow the canvas width and
// not the length of the history, together with the marks of its states in
// view (see decimateStates). Both are rebuilt only when the visible x range,
// the number of pixel columns or the data changed.
class DecimatedSeriesData : public QwtSeriesData<QPointF>
{
public:
    explicit DecimatedSeriesData(const ValueOverTime* history);

    size_t size() const override { return m_points.size(); }
    QPointF sample(size_t i) const override { return m_points[i]; }
    // Time span of the whole history and value span of the reduced points.
    QRectF boundingRect() const override;

    // Brings the reduced points up to date for this range and column count.
    void update(double xMin, double xMax, int columns);
    const std::vector<StateMark>& stateMarks() const { return m_marks; }
    // The history changed: the next update rebuilds.
    void invalidate() { m_valid = false; }
    // How many times the reduced points were rebuilt.
    int rebuildCount() const { return m_rebuilds; }

private:
    const ValueOverTime* m_history;
    std::vector<QPointF> m_points;
    std::vector<StateMark> m_marks;
    QRectF m_valueBounds;
    double m_xMin = 0.0;
    double m_xMax = 0.0;
    int m_columns = 0;
    int m_rebuilds = 0;
    bool m_valid = false;
};

} // namespace Utils::Charts
