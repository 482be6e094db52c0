#include "DecimatedSeriesData.h"

#include <utils/ValueOverTime.h>

#include <algorithm>

namespace Utils::Charts {

DecimatedSeriesData::DecimatedSeriesData(const ValueOverTime* history) : m_history(history) {}

QRectF DecimatedSeriesData::boundingRect() const
{
    if (m_history->isEmpty() || !m_valueBounds.isValid())
        return QRectF(1.0, 1.0, -2.0, -2.0);
    const double first = m_history->x(0);
    const double last = m_history->x(m_history->size() - 1);
    return QRectF(first, m_valueBounds.top(), last - first, m_valueBounds.height());
}

void DecimatedSeriesData::update(double xMin, double xMax, int columns)
{
    if (m_valid && xMin == m_xMin && xMax == m_xMax && columns == m_columns)
        return;
    m_xMin = xMin;
    m_xMax = xMax;
    m_columns = columns;
    m_valid = true;
    ++m_rebuilds;

    // One sample beyond each edge, so the line runs to the canvas border.
    const int begin = std::max(0, m_history->lowerBound(xMin) - 1);
    const int end = std::min(m_history->size(), m_history->upperBound(xMax) + 1);
    // A few samples per column are scanned; many are read from the summaries.
    if (end - begin <= 4 * columns) {
        decimateColumns(m_history->pxData(), m_history->pyData(), begin, end, xMin, xMax, columns, m_points);
        decimateStates(m_history->pxData(), m_history->stateData(), begin, end, xMin, xMax, columns, m_marks);
    } else {
        decimateHistory(*m_history, begin, end, xMin, xMax, columns, m_points, m_marks);
    }

    double low = 0.0;
    double high = -1.0;
    for (const QPointF& point : m_points) {
        if (isLineBreak(point))
            continue;
        if (low > high) {
            low = high = point.y();
            continue;
        }
        low = std::min(low, point.y());
        high = std::max(high, point.y());
    }
    m_valueBounds = low > high ? QRectF() : QRectF(xMin, low, xMax - xMin, high - low);
}

} // namespace Utils::Charts
