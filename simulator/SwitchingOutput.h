#pragma once

#include <QtGlobal>

namespace IoLinkSimulator {

// Settings of one switching output, distances in millimetres.
struct OutputSettings
{
    bool windowMode = false;
    int switchingPoint = 0;
    int lowerWidth = 0; // window: reaches this far below the switching point
    int upperWidth = 0; // window: reaches this far above the switching point
    int hysteresis = 0;
};

// One switching output with its memory for the hysteresis. Point mode: on
// while the object is nearer than the switching point, off again only once
// it is farther than the point plus the hysteresis. Window mode: on inside
// [point - lower, point + upper], off again only beyond that by more than the
// hysteresis. An object too close counts as near; too far and no data switch
// the output off.
class SwitchingOutput
{
public:
    bool update(quint16 distanceCode, const OutputSettings& settings);
    bool isOn() const { return m_on; }
    void reset() { m_on = false; }

private:
    bool m_on = false;
};

} // namespace IoLinkSimulator
