#include "LengthUnits.h"

#include "catalogue/Sensor.h"

#include "parameters/ValueCodec.h"

#include <algorithm>
#include <cstddef>

namespace NimbarSensorPlugin::Core {

namespace {

const char* const thresholdIds[] = {"LowerThresholdA1", "SwitchingThresholdA1", "UpperThresholdA1",
                                    "LowerThresholdA2", "SwitchingThresholdA2", "UpperThresholdA2"};
const char* const otherLengthIds[] = {"DetectionRangeFar", "DetectionRangeNear", "HysteresisA1",
                                      "HysteresisA2", "SimulationMeasurementValue"};
// The document's largest far end, what the tree holds before a variant's
// limits apply; like the variant's largest it means "no limit".
constexpr int documentFarEnd = 10001;

template <std::size_t N> bool isOneOf(const QString& id, const char* const (&ids)[N])
{
    for (const char* one : ids) {
        if (id == QLatin1String(one))
            return true;
    }
    return false;
}

bool isThreshold(const QString& id)
{
    return isOneOf(id, thresholdIds);
}

} // namespace

bool LengthUnits::isLength(const QString& id) const
{
    if (isThreshold(id) || isOneOf(id, otherLengthIds))
        return true;
    // Only a variant with an analog output has its ends as lengths.
    return m_variant.hasAnalogOutput && (id == "analog0V" || id == "analog10V");
}

EditorLimits LengthUnits::editorLimits(const QString& id) const
{
    if (!isLength(id))
        return {};
    const bool inches = this->inches();
    const double scale = inches ? 25.4 : 1.0;
    const double maxRange = m_variant.maxRange / scale;
    EditorLimits limits;
    // Whole millimetres, or inches to the hundredth: what the sensor holds.
    limits.decimals = inches ? 2 : 0;
    if (id == "DetectionRangeNear") {
        limits.minimum = m_variant.objMinRange;
        limits.maximum = maxRange;
    } else if (id == "DetectionRangeFar") {
        limits.minimum = m_variant.objMinRange;
        limits.maximum = m_variant.objMaxRange / scale;
    } else if (isThreshold(id)) {
        limits.minimum = inches ? 0.039 : 1.0;
        limits.maximum = maxRange;
    } else if (id.startsWith("Hysteresis")) {
        limits.minimum = inches ? 0.19 : 5.0;
        limits.maximum = inches ? 40.0 : 1000.0;
    } else if (id.startsWith("analog")) {
        limits.minimum = inches ? 2.0 : 50.0;
        limits.maximum = maxRange;
    } else {
        limits.maximum = maxRange;
    }
    return limits;
}

double LengthUnits::shown(const QString& id, int heldMillimetres) const
{
    if (!isLength(id))
        return heldMillimetres;
    const int millimetres = id == "DetectionRangeFar" && heldMillimetres == FarEndNoLimit
                                ? m_variant.objMaxRange
                                : heldMillimetres;
    return inches() ? inchesFromMillimetres(millimetres) : millimetres;
}

int LengthUnits::held(const QString& id, double shownValue) const
{
    if (!isLength(id))
        return wholeMillimetres(shownValue, Millimetres);
    const int millimetres = wholeMillimetres(shownValue, inches() ? Inches : Millimetres);
    if (id == "DetectionRangeFar" && (millimetres == m_variant.objMaxRange || millimetres == documentFarEnd))
        return FarEndNoLimit;
    return millimetres;
}

// An analog output, once seen, stays: the rows it showed stay shown too.
void LengthUnits::setConnectedVariant(const QString& code, const SensorVariant& variant)
{
    m_variant.code = code;
    m_variant.hasAnalogOutput = m_variant.hasAnalogOutput || variant.analogOutput;
    m_variant.maxRange = variant.maxRange;
    m_variant.minRange = variant.minRange;
    m_variant.objMaxRange = variant.objMaxRange;
    m_variant.objMinRange = variant.objMinRange;
}

double LengthUnits::switchingMarkPlace(double shownValue) const
{
    if (!inches())
        return std::clamp(shownValue, double(m_variant.minRange), double(m_variant.maxRange));
    const double place = std::max(shownValue, m_variant.minRange / 25.4);
    return place > m_variant.maxRange / 25.4 ? m_variant.maxRange / 25.4 - 1 : place;
}

double LengthUnits::detectionMarkMinimum() const
{
    return inches() ? m_variant.objMinRange / 25.4 : double(m_variant.objMinRange);
}

} // namespace NimbarSensorPlugin::Core
