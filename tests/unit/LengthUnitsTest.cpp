#include <catalogue/Sensor.h>
#include <tools/LengthUnits.h>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

// A 350 mm variant with an analog output.
static LengthUnits shortRange(int unit)
{
    LengthUnits units;
    units.setVariant({"107", 350, 351, 20, 0, true});
    units.setUnit(unit);
    return units;
}

const int mm = LengthUnits::Millimetres;
const int in = LengthUnits::Inches;

TEST(LengthUnits, EditorsOfferTheVariantsRangeInTheShownUnit)
{
    const std::tuple<const char*, int, double, double, int> cases[] = {
        {"SwitchingThresholdA1", mm, 1.0, 350.0, 0},
        {"SwitchingThresholdA1", in, 0.039, 350 / 25.4, 2},
        {"HysteresisA2", mm, 5.0, 1000.0, 0},
        {"HysteresisA2", in, 0.19, 40.0, 2},
        {"DetectionRangeNear", mm, 0.0, 350.0, 0},
        {"DetectionRangeFar", mm, 0.0, 351.0, 0},
        {"DetectionRangeFar", in, 0.0, 351 / 25.4, 2},
        {"analog10V", mm, 50.0, 350.0, 0},
        {"analog0V", in, 2.0, 350 / 25.4, 2},
        {"SimulationMeasurementValue", in, 0.0, 350 / 25.4, 2}};
    for (const auto& [id, unit, minimum, maximum, decimals] : cases) {
        const EditorLimits limits = shortRange(unit).editorLimits(id);
        EXPECT_DOUBLE_EQ(limits.minimum, minimum) << id << " unit " << unit;
        EXPECT_DOUBLE_EQ(limits.maximum, maximum) << id << " unit " << unit;
        EXPECT_EQ(limits.decimals, decimals) << id << " unit " << unit;
    }
}

TEST(LengthUnits, OnlyLengthsFollowTheUnit)
{
    LengthUnits units = shortRange(in);
    EXPECT_TRUE(units.isLength("UpperThresholdA2") && !units.isLength("OnDelay1"));
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

// Whole millimetres survive the way to inches and back; what the user types in inches goes to the sensor
// as the nearest whole millimetre.
TEST(LengthUnits, HeldMillimetresRoundTripThroughEitherUnit)
{
    for (int unit : {mm, in})
        for (int millimetres : {0, 1, 25, 50, 51, 299, 350, 1000})
            EXPECT_EQ(
                shortRange(unit).held("HysteresisA1", shortRange(unit).shown("HysteresisA1", millimetres)),
                millimetres)
                << millimetres << " mm, unit " << unit;
    EXPECT_EQ(shortRange(in).held("SwitchingThresholdA1", 1.97), 50);
    EXPECT_NEAR(shortRange(in).shown("SwitchingThresholdA1", 25), 0.984, 0.001);
}

// A connected variant brings its ranges, the ends of its marks and whether it has an analog output.
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
    units.setUnit(in);
    EXPECT_DOUBLE_EQ(units.detectionMarkMinimum(), 30 / 25.4);
    units.setConnectedVariant("107", SensorVariant{350, 20, 351, 0, true, false, true});
    EXPECT_DOUBLE_EQ(units.editorLimits("SwitchingThresholdA1").maximum, 350 / 25.4);
    EXPECT_TRUE(units.isLength("analog0V"));
}

// The sensor's "no limit" for the far end shows as the variant's largest far end, and that end, like the
// document's 10001, goes back as "no limit"; only the far end knows "no limit".
TEST(LengthUnits, TheFarEndsNoLimitIsTheVariantsLargestFarEnd)
{
    for (int unit : {mm, in}) {
        const LengthUnits units = shortRange(unit);
        const double shown = units.shown("DetectionRangeFar", LengthUnits::FarEndNoLimit);
        EXPECT_DOUBLE_EQ(shown, units.editorLimits("DetectionRangeFar").maximum) << unit;
        EXPECT_EQ(units.held("DetectionRangeFar", shown), LengthUnits::FarEndNoLimit) << unit;
        EXPECT_EQ(units.held("DetectionRangeFar", units.shown("DetectionRangeFar", 350)), 350) << unit;
    }
    EXPECT_EQ(shortRange(mm).held("DetectionRangeFar", 10001.0), LengthUnits::FarEndNoLimit);
    EXPECT_EQ(shortRange(mm).held("DetectionRangeNear", 351.0), 351);
    EXPECT_DOUBLE_EQ(shortRange(mm).shown("DetectionRangeNear", LengthUnits::FarEndNoLimit), 30000.0);
}
