#include <catalogue/Sensor.h>
#include <tools/LengthUnits.h>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

namespace {

// A 350 mm variant with an analog output.
LengthUnits shortRange(int unit)
{
    LengthUnits units;
    units.setVariant({"107", 350, 351, 20, 0, true});
    units.setUnit(unit);
    return units;
}

TEST(LengthUnits, EditorsOfferTheVariantsRangeInTheShownUnit)
{
    const struct
    {
        const char* id;
        int unit;
        double minimum;
        double maximum;
        int decimals;
    } cases[] = {
        {"SwitchingThresholdA1", LengthUnits::Millimetres, 1.0, 350.0, 0},
        {"SwitchingThresholdA1", LengthUnits::Inches, 0.039, 350 / 25.4, 2},
        {"HysteresisA2", LengthUnits::Millimetres, 5.0, 1000.0, 0},
        {"HysteresisA2", LengthUnits::Inches, 0.19, 40.0, 2},
        {"DetectionRangeNear", LengthUnits::Millimetres, 0.0, 350.0, 0},
        {"DetectionRangeFar", LengthUnits::Millimetres, 0.0, 351.0, 0},
        {"DetectionRangeFar", LengthUnits::Inches, 0.0, 351 / 25.4, 2},
        {"analog10V", LengthUnits::Millimetres, 50.0, 350.0, 0},
        {"analog0V", LengthUnits::Inches, 2.0, 350 / 25.4, 2},
        {"SimulationMeasurementValue", LengthUnits::Inches, 0.0, 350 / 25.4, 2},
    };
    for (const auto& c : cases) {
        const EditorLimits limits = shortRange(c.unit).editorLimits(c.id);
        EXPECT_DOUBLE_EQ(limits.minimum, c.minimum) << c.id << " unit " << c.unit;
        EXPECT_DOUBLE_EQ(limits.maximum, c.maximum) << c.id << " unit " << c.unit;
        EXPECT_EQ(limits.decimals, c.decimals) << c.id << " unit " << c.unit;
    }
}

TEST(LengthUnits, OnlyLengthsFollowTheUnit)
{
    LengthUnits units = shortRange(LengthUnits::Inches);
    EXPECT_TRUE(units.isLength("UpperThresholdA2"));
    EXPECT_FALSE(units.isLength("OnDelay1"));
    EXPECT_DOUBLE_EQ(units.shown("OnDelay1", 250), 250.0);
    EXPECT_EQ(units.held("OnDelay1", 250.0), 250);
    EXPECT_LE(units.editorLimits("OnDelay1").maximum, units.editorLimits("OnDelay1").minimum);
    // The analog ends are lengths only where there is an analog output.
    units.setVariant({"107", 350, 351, 20, 0, false});
    EXPECT_FALSE(units.isLength("analog0V"));
    EXPECT_DOUBLE_EQ(units.shown("analog0V", 50), 50.0);
    // A unit value the list does not know shows millimetres.
    units.setUnit(7);
    EXPECT_EQ(units.held("HysteresisA1", 12.0), 12);
}

// A dragged mark stays where the variant measures.
TEST(LengthUnits, MarksStayWithinTheVariantsRange)
{
    const LengthUnits millimetres = shortRange(LengthUnits::Millimetres);
    EXPECT_DOUBLE_EQ(millimetres.switchingMarkPlace(5), 20.0);
    EXPECT_DOUBLE_EQ(millimetres.switchingMarkPlace(400), 350.0);
    EXPECT_DOUBLE_EQ(millimetres.switchingMarkPlace(350), 350.0);
    const LengthUnits inches = shortRange(LengthUnits::Inches);
    EXPECT_DOUBLE_EQ(inches.switchingMarkPlace(0), 20 / 25.4);
    EXPECT_DOUBLE_EQ(inches.switchingMarkPlace(14), 350 / 25.4 - 1);
    EXPECT_DOUBLE_EQ(inches.switchingMarkPlace(13), 13.0);
    LengthUnits nearEnd;
    nearEnd.setVariant({"", 350, 351, 20, 30, false});
    EXPECT_DOUBLE_EQ(nearEnd.detectionMarkMinimum(), 30.0);
    nearEnd.setUnit(LengthUnits::Inches);
    EXPECT_DOUBLE_EQ(nearEnd.detectionMarkMinimum(), 30 / 25.4);
}

// Whole millimetres survive the way to inches and back; what the user
// types in inches goes to the sensor as the nearest whole millimetre.
TEST(LengthUnits, HeldMillimetresRoundTripThroughEitherUnit)
{
    for (int unit : {LengthUnits::Millimetres, LengthUnits::Inches}) {
        const LengthUnits units = shortRange(unit);
        for (int millimetres : {0, 1, 25, 50, 51, 299, 350, 1000})
            EXPECT_EQ(units.held("HysteresisA1", units.shown("HysteresisA1", millimetres)), millimetres)
                << millimetres << " mm, unit " << unit;
    }
    const LengthUnits inches = shortRange(LengthUnits::Inches);
    EXPECT_EQ(inches.held("SwitchingThresholdA1", 1.0), 25);
    EXPECT_NEAR(inches.shown("SwitchingThresholdA1", 25), 0.984, 0.001);
    EXPECT_EQ(inches.held("SwitchingThresholdA1", 1.97), 50);
}

// A connected variant brings its ranges and whether it has an analog output.
TEST(LengthUnits, AConnectedVariantBringsItsRanges)
{
    LengthUnits units;
    units.setConnectedVariant("200", SensorVariant{6000, 50, 6001, 30, false, false, true});
    EXPECT_EQ(units.editorLimits("SwitchingThresholdA1").maximum, 6000.0);
    EXPECT_EQ(units.editorLimits("DetectionRangeFar").maximum, 6001.0);
    EXPECT_DOUBLE_EQ(units.switchingMarkPlace(0), 50.0);
    EXPECT_DOUBLE_EQ(units.detectionMarkMinimum(), 30.0);
    EXPECT_FALSE(units.isLength("analog0V"));
    EXPECT_EQ(units.variant().code, QString("200"));
    units.setConnectedVariant("107", SensorVariant{350, 20, 351, 0, true, false, true});
    EXPECT_EQ(units.editorLimits("SwitchingThresholdA1").maximum, 350.0);
    EXPECT_TRUE(units.isLength("analog0V"));
}

// The sensor's "no limit" for the far end shows as the variant's largest
// far end, and that end, like the document's 10001, goes back as "no limit".
TEST(LengthUnits, TheFarEndsNoLimitIsTheVariantsLargestFarEnd)
{
    for (int unit : {LengthUnits::Millimetres, LengthUnits::Inches}) {
        const LengthUnits units = shortRange(unit);
        const double shown = units.shown("DetectionRangeFar", LengthUnits::FarEndNoLimit);
        EXPECT_DOUBLE_EQ(shown, units.editorLimits("DetectionRangeFar").maximum) << unit;
        EXPECT_EQ(units.held("DetectionRangeFar", shown), LengthUnits::FarEndNoLimit) << unit;
        EXPECT_EQ(units.held("DetectionRangeFar", units.shown("DetectionRangeFar", 350)), 350) << unit;
    }
    const LengthUnits millimetres = shortRange(LengthUnits::Millimetres);
    EXPECT_EQ(millimetres.held("DetectionRangeFar", 10001.0), LengthUnits::FarEndNoLimit);
    // Only the far end knows "no limit".
    EXPECT_EQ(millimetres.held("DetectionRangeNear", 351.0), 351);
    EXPECT_DOUBLE_EQ(millimetres.shown("DetectionRangeNear", LengthUnits::FarEndNoLimit), 30000.0);
}

} // namespace
