#include "TimeWindow.h"

#include <algorithm>

namespace Utils::Charts {

namespace {

// Shares of the canvas width the offsets may take at most.
constexpr double maxFollowShare = 0.45;
constexpr double maxPanShare = 0.9;

} // namespace

void TimeWindow::setSpanLimits(double minSpan, double maxSpan)
{
    m_minSpan = std::max(1.0, std::min(minSpan, maxSpan));
    m_maxSpan = std::max(m_minSpan, maxSpan);
    m_span = clampSpan(m_span);
    m_defaultSpan = clampSpan(m_defaultSpan);
}

void TimeWindow::setDefaultSpan(double span)
{
    m_defaultSpan = clampSpan(span);
}

double TimeWindow::clampSpan(double span) const
{
    return std::clamp(span, m_minSpan, m_maxSpan);
}

double TimeWindow::pixelsToMs(double pixels, int canvasWidth) const
{
    return pixels * m_span / std::max(canvasWidth, 1);
}

bool TimeWindow::follow(double newestX, int canvasWidth)
{
    if (!m_following)
        return false;
    const double offset = std::min(m_followOffset, maxFollowShare * std::max(canvasWidth, 1));
    const double right = newestX + pixelsToMs(offset, canvasWidth);
    if (right == m_right)
        return false;
    m_right = right;
    return true;
}

void TimeWindow::jumpTo(double newestX, int canvasWidth)
{
    m_following = true;
    follow(newestX, canvasWidth);
}

void TimeWindow::resetZoom(double newestX, int canvasWidth)
{
    m_span = m_defaultSpan;
    jumpTo(newestX, canvasWidth);
}

void TimeWindow::clampToData(double oldestX, double newestX, int canvasWidth)
{
    const double margin =
        pixelsToMs(std::min(m_panOffset, maxPanShare * std::max(canvasWidth, 1)), canvasWidth);
    const double lowest = oldestX - margin + m_span;
    const double highest = newestX + margin;
    // A history shorter than the window: the newest data decides.
    m_right = lowest > highest ? highest : std::clamp(m_right, lowest, highest);
}

void TimeWindow::panBy(double deltaMs, double oldestX, double newestX, int canvasWidth)
{
    m_following = false;
    m_right += deltaMs;
    clampToData(oldestX, newestX, canvasWidth);
}

void TimeWindow::zoomAt(double anchorX, double factor, double oldestX, double newestX, int canvasWidth)
{
    const double span = clampSpan(m_span * factor);
    if (m_following) {
        m_span = span;
        follow(newestX, canvasWidth);
        return;
    }
    m_right = anchorX + (m_right - anchorX) * span / m_span;
    m_span = span;
    clampToData(oldestX, newestX, canvasWidth);
}

void TimeWindow::setRight(double right)
{
    m_following = false;
    m_right = right;
}

} // namespace Utils::Charts
