#pragma once

namespace Utils::Charts {

// The visible stretch of a time plot's x axis (milliseconds) and the rules
// for following, panning and zooming it. Pure arithmetic, no widgets.
//
// Offsets are pixels of the canvas:
// - the follow offset: while following, the newest sample is drawn this far
//   left of the canvas's right edge; the free strip holds the current-value
//   text;
// - the pan offset: panning stops when the newest sample is this far from the
//   right edge or the oldest this far from the left edge, so some data always
//   stays in view.
// Each is capped at a share of the canvas width so narrow plots keep data in
// view.
class TimeWindow
{
public:
    double left() const { return m_right - m_span; }
    double right() const { return m_right; }
    double span() const { return m_span; }
    bool isFollowing() const { return m_following; }

    // Limits of the visible span (ms); the current and default spans are
    // clamped into them.
    void setSpanLimits(double minSpan, double maxSpan);
    void setDefaultSpan(double span);
    double defaultSpan() const { return m_defaultSpan; }
    void setFollowOffset(double pixels) { m_followOffset = pixels; }
    void setPanOffset(double pixels) { m_panOffset = pixels; }
    double followOffset() const { return m_followOffset; }
    double panOffset() const { return m_panOffset; }

    // While following, keeps the newest sample at the follow offset. Returns
    // whether the window moved.
    bool follow(double newestX, int canvasWidth);
    // Returns to the newest sample and resumes following.
    void jumpTo(double newestX, int canvasWidth);
    // Back to the default span at the newest sample, following.
    void resetZoom(double newestX, int canvasWidth);
    // Moves the window by deltaMs (positive: towards newer data) within the
    // pan limits; the view then stays put until jumpTo.
    void panBy(double deltaMs, double oldestX, double newestX, int canvasWidth);
    // Scales the span by factor (>1 shows more time) around anchorX; while
    // following, around the newest sample instead.
    void zoomAt(double anchorX, double factor, double oldestX, double newestX, int canvasWidth);
    // Puts the right edge at the given time and stops following.
    void setRight(double right);

private:
    double clampSpan(double span) const;
    double pixelsToMs(double pixels, int canvasWidth) const;
    void clampToData(double oldestX, double newestX, int canvasWidth);

    double m_right = 0.0;
    double m_span = 60000.0;
    double m_defaultSpan = 60000.0;
    double m_minSpan = 1000.0;
    double m_maxSpan = 24.0 * 3600000.0;
    double m_followOffset = 0.0;
    double m_panOffset = 0.0;
    bool m_following = true;
};

} // namespace Utils::Charts
