#pragma once

#include <QString>

namespace NimbarSensorPlugin::Core {

struct SensorVariant;

// The connected variant: its code, empty until a sensor said which it is,
// and its distance limits, in millimetres as the catalogue and the sensor
// give them; the defaults hold until a variant is known.
struct VariantLimits
{
    QString code;
    int maxRange = 10000;
    int objMaxRange = 10001;
    int minRange = 50;
    int objMinRange = 0;
    bool hasAnalogOutput = false;
};

// What a length's editor offers, in the unit it is shown in.
struct EditorLimits
{
    double minimum = 0.0;
    double maximum = 0.0;
    int decimals = 0;
};

// The lengths of the parameter tree: which parameters are lengths, how the
// whole millimetres the sensor holds are shown in the unit the user chose
// (millimetres or inches) and back, the ranges their editors offer, and the
// unit's texts. Pure logic: the tree, the chart marks and settings files
// all ask it, so a unit switch there and back never changes a value.
class LengthUnits
{
public:
    static constexpr int Millimetres = 0;
    static constexpr int Inches = 1;
    // The sensor's own "no limit" for the far end of the detection range.
    static constexpr int FarEndNoLimit = 30000;

    void setVariant(const VariantLimits& limits) { m_variant = limits; }
    // The catalogue's entry of the variant the connected sensor said it is.
    void setConnectedVariant(const QString& code, const SensorVariant& variant);
    const VariantLimits& variant() const { return m_variant; }
    // The unit parameter's value as read; anything but inches shows millimetres.
    void setUnit(int unit) { m_unit = unit; }
    int unit() const { return m_unit; }
    bool inches() const { return m_unit == Inches; }

    // Lengths are shown in the chosen unit; every other number as it is.
    bool isLength(const QString& id) const;
    // Empty limits (maximum not above minimum) for a parameter that is no length.
    EditorLimits editorLimits(const QString& id) const;

    // What the sensor holds (whole millimetres) as the tree shows it.
    double shown(const QString& id, int heldMillimetres) const;
    // What the tree shows as the sensor holds it: the nearest whole
    // millimetre, and the far end's largest value as "no limit", so that a
    // sensor fresh from the box shows and saves what it holds.
    int held(const QString& id, double shownValue) const;

    // Where a dragged switching mark may stand, in the shown unit: within
    // what the variant measures; in inches a little below its far end.
    double switchingMarkPlace(double shownValue) const;
    // The nearest a dragged detection-range mark may come, in the shown unit.
    double detectionMarkMinimum() const;

    QString captionSuffix() const { return inches() ? " (inch)" : " (mm)"; }
    QString unitText() const { return inches() ? " inch " : " mm "; }

private:
    VariantLimits m_variant;
    int m_unit = Millimetres;
};

} // namespace NimbarSensorPlugin::Core
