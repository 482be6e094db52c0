#include "SimulatorTestSupport.h"

#include <set>

using namespace SimulatorTest;

// The seed alone decides the motion; every minute shows all four kinds, distances within the range.
TEST(TargetMotion, EveryMinuteShowsAllFourKindsInTheVariantRangeTheSeedDecidesTheMotion)
{
    int differences = 0;
    for (qint64 ms = 0; ms < 30000; ms += 100) {
        EXPECT_EQ(TargetMotion(3, 20, 350).at(ms).code(), TargetMotion(3, 20, 350).at(ms).code());
        differences += TargetMotion(3, 20, 350).at(ms).code() != TargetMotion(4, 20, 350).at(ms).code();
    }
    EXPECT_GT(differences, 100);

    ModelFixture f;
    for (const qint64 start : {0LL, 100000LL, 3600000LL}) {
        std::set<quint16> codes;
        for (*f.now = start; *f.now < start + 60000; *f.now += 85) {
            const quint16 code = Frame::readUint16(f.ask(processDataRequest), 4);
            codes.insert(code);
            EXPECT_TRUE(code == 0 || code == 0x7FF8 || code == 0x7FFC || (code >= 20 && code <= 350)) << code;
        }
        EXPECT_TRUE(codes.count(0) && codes.count(0x7FF8) && codes.count(0x7FFC) && codes.size() > 103);
    }
}

// On at or below the switching point, kept on within the hysteresis above
// it; in window mode within the widths around it.
TEST(Switching, StatusBitsFollowTheSettingsOfBothOutputsAndTeachTakesTheCurrentDistance)
{
    ModelFixture f;
    f.moveBetween(100, 250);
    const int distance = f.model->distanceCode();
    const auto bits = [&f] { return static_cast<quint8>(f.ask(processDataRequest).at(7)) & 0x03; };
    f.write("SwitchingThresholdA1", distance + 5);
    f.write("SwitchingThresholdA2", distance - 50);
    EXPECT_EQ(bits(), 0x01);
    f.write("SwitchingThresholdA1", distance - 50);
    f.write("SwitchingThresholdA2", distance + 5);
    EXPECT_EQ(bits(), 0x02);

    f.write("HysteresisA1", 10);
    for (const auto& [offset, on] : {std::pair{-11, 0}, {-5, 0}, {0, 1}, {-10, 1}, {-11, 0}}) {
        f.write("SwitchingThresholdA1", distance + offset);
        EXPECT_EQ(bits() & 0x01, on) << offset;
    }
    f.write("TeachInMode1", 2);
    f.write("HysteresisA1", 0);
    f.write("LowerThresholdA1", 10);
    f.write("UpperThresholdA1", 20);
    for (const auto& [offset, on] : {std::pair{8, 1}, {-21, 0}, {-20, 1}, {11, 0}}) {
        f.write("SwitchingThresholdA1", distance + offset);
        EXPECT_EQ(bits() & 0x01, on) << offset;
    }

    ModelFixture singleOutput(QStringLiteral("108"));
    singleOutput.moveBetween(100, 250);
    singleOutput.write("SwitchingThresholdA2", 340);
    EXPECT_EQ(singleOutput.model->statusBits() & 0x02, 0x00);

    // Button 1 teaches the switching point, 13 and 14 the window's edges as
    // distances from it; without a target nothing is taught.
    f.write("TEACHBUTTON1", 1);
    EXPECT_EQ(answerNumber(f.read(100, 1)), distance);
    f.write("TEACHBUTTON2", 1);
    EXPECT_EQ(f.number("SwitchingThresholdA2"), distance);
    f.write("SwitchingThresholdA1", distance + 40);
    f.write("TEACHBUTTON13", 2);
    EXPECT_EQ(f.number("LowerThresholdA1"), 40);
    f.write("SwitchingThresholdA1", distance - 30);
    f.write("TEACHBUTTON14", 3);
    EXPECT_EQ(f.number("UpperThresholdA1"), 30);

    f.moveTo(TargetMotion::Kind::NoData, *f.now);
    f.write("TEACHBUTTON1", 1);
    EXPECT_EQ(f.number("SwitchingThresholdA1"), distance - 30);
}

TEST(DistanceUnit, InInchModeOnlyTheProcessDataDistanceIsInTenthsOfAnInchRoundedToTheNearest)
{
    const int cases[][2] = {{381, 150}, {254, 100}, {127, 50},  {128, 50},    {129, 51},
                            {2, 1},     {20, 8},    {350, 138}, {10000, 3937}};
    for (const auto& [millimetres, tenths] : cases)
        EXPECT_EQ(DistanceCode::inTenthsOfAnInch(quint16(millimetres)), tenths) << millimetres;
    for (const quint16 special : {DistanceCode::TooClose, DistanceCode::TooFar, DistanceCode::NoData})
        EXPECT_EQ(DistanceCode::inTenthsOfAnInch(special), special);

    // Only the process data's distance follows the unit; thresholds and echoes
    // stay in millimetres, and a factory reset brings millimetres back.
    ModelFixture f;
    const auto processData = [&f] { return f.ask(processDataRequest); };
    f.moveBetween(100, 250);
    const int millimetres = f.motion().at(*f.now).distanceMm;
    EXPECT_EQ(f.write("MesurementUnit", 1), writeAcknowledgement);
    EXPECT_EQ(Frame::readUint16(processData(), 4), qRound(millimetres / 2.54));
    f.write("HysteresisA1", 0);
    f.write("SwitchingThresholdA1", millimetres - 30);
    EXPECT_EQ(processData().at(7) & 0x01, 0x00);
    f.write("SwitchingThresholdA1", millimetres + 5);
    EXPECT_EQ(processData().at(7) & 0x01, 0x01);
    const QByteArray record = f.read(0x1211, 0);
    ASSERT_EQ(record.size(), 22);
    EXPECT_EQ(Frame::readUint16(record, 6 + 2 * static_cast<quint8>(record.at(5))), millimetres);

    f.ask(factoryResetRequest);
    EXPECT_EQ(answerNumber(f.read(81, 0)), 0);
    EXPECT_EQ(Frame::readUint16(processData(), 4), millimetres);
}
