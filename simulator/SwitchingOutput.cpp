#include "SwitchingOutput.h"

#include "TargetMotion.h"

namespace IoLinkSimulator {

bool SwitchingOutput::update(quint16 distanceCode, const OutputSettings& settings)
{
    if (distanceCode == DistanceCode::TooFar || distanceCode == DistanceCode::NoData) {
        m_on = false;
        return m_on;
    }
    if (distanceCode == DistanceCode::TooClose) {
        m_on = !settings.windowMode;
        return m_on;
    }
    const int distance = distanceCode;
    const int margin = m_on ? settings.hysteresis : 0;
    if (settings.windowMode) {
        const int lower = settings.switchingPoint - settings.lowerWidth - margin;
        const int upper = settings.switchingPoint + settings.upperWidth + margin;
        m_on = distance >= lower && distance <= upper;
    } else {
        m_on = distance <= settings.switchingPoint + margin;
    }
    return m_on;
}

} // namespace IoLinkSimulator
