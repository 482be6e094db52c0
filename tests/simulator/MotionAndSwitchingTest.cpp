#include "SimulatorTestSupport.h"
#include "SwitchingOutput.h"

#include <set>

using namespace SimulatorTest;

namespace {

void writeNumber(ModelFixture& f, const char* id, int value)
{
    const ParameterSpec* spec = f.model->description().find(QLatin1String(id));
    ASSERT_TRUE(spec) << id;
    const QByteArray answer =
        f.ask(writeRequest(spec->address.index, spec->address.subIndex, valueBytes(spec->size, value)));
    ASSERT_EQ(answer.size(), 3) << id;
}

qint64 number(ModelFixture& f, const char* id)
{
    return f.model->parameterValue(QLatin1String(id)).toLongLong();
}

} // namespace

TEST(TargetMotion, EveryMinuteShowsAllFourKindsOfReading)
{
    for (const quint32 seed : {1u, 2u, 99u, 123456u}) {
        const TargetMotion motion(seed, 20, 350);
        for (const qint64 start : {0LL, 12345LL, 100000LL, 3600000LL}) {
            std::set<TargetMotion::Kind> seen;
            for (qint64 ms = start; ms < start + 60000; ms += 85)
                seen.insert(motion.at(ms).kind);
            EXPECT_EQ(seen.size(), 4u) << "seed " << seed << " from " << start;
        }
    }
}

TEST(TargetMotion, SameSeedSameMotionOtherSeedOtherMotion)
{
    const TargetMotion first(3, 20, 350);
    const TargetMotion again(3, 20, 350);
    const TargetMotion other(4, 20, 350);
    int differences = 0;
    for (qint64 ms = 0; ms < 30000; ms += 100) {
        EXPECT_EQ(first.at(ms).code(), again.at(ms).code());
        differences += first.at(ms).code() != other.at(ms).code();
    }
    EXPECT_GT(differences, 100);
}

TEST(TargetMotion, ModelReportsTheFourDistanceCodesAndMovesInTheVariantRange)
{
    ModelFixture f;
    std::set<quint16> specialCodes;
    std::set<quint16> distances;
    for (*f.now = 0; *f.now < 60000; *f.now += 85) {
        const quint16 code = Frame::readUint16(f.ask(processDataRequest), 4);
        const bool special = code == 0 || code == 0x7FF8 || code == 0x7FFC;
        (special ? specialCodes : distances).insert(code);
        EXPECT_TRUE(special || (code >= 20 && code <= 350)) << code;
    }
    EXPECT_EQ(specialCodes, (std::set<quint16>{0, 0x7FF8, 0x7FFC}));
    EXPECT_GT(distances.size(), 100u);
}

TEST(SwitchingOutput, WindowModeSwitchesInsideTheWindowWithHysteresisOutside)
{
    SwitchingOutput output;
    const OutputSettings settings{true, 200, 20, 30, 5};
    EXPECT_FALSE(output.update(179, settings));
    EXPECT_TRUE(output.update(180, settings));
    EXPECT_TRUE(output.update(176, settings));
    EXPECT_TRUE(output.update(235, settings));
    EXPECT_FALSE(output.update(236, settings));
    EXPECT_FALSE(output.update(232, settings));
    EXPECT_TRUE(output.update(230, settings));
}

TEST(SwitchingOutput, SpecialCodes)
{
    SwitchingOutput point;
    const OutputSettings pointSettings{false, 100, 0, 0, 0};
    EXPECT_TRUE(point.update(DistanceCode::TooClose, pointSettings));
    EXPECT_FALSE(point.update(DistanceCode::NoData, pointSettings));
    EXPECT_TRUE(point.update(50, pointSettings));
    EXPECT_FALSE(point.update(DistanceCode::TooFar, pointSettings));
    SwitchingOutput window;
    EXPECT_FALSE(window.update(DistanceCode::TooClose, OutputSettings{true, 100, 50, 50, 0}));
}

TEST(Switching, StatusBitsFollowThresholdsOfBothOutputsUnlessThereIsOnlyOne)
{
    ModelFixture f;
    *f.now = momentBetween(f.motion(), 100, 250, 3000);
    const int distance = f.model->distanceCode();
    writeNumber(f, "SwitchingThresholdA1", distance + 5);
    writeNumber(f, "SwitchingThresholdA2", distance - 50);
    EXPECT_EQ(static_cast<quint8>(f.ask(processDataRequest).at(7)) & 0x03, 0x01);
    writeNumber(f, "SwitchingThresholdA1", distance - 50);
    writeNumber(f, "SwitchingThresholdA2", distance + 5);
    EXPECT_EQ(static_cast<quint8>(f.ask(processDataRequest).at(7)) & 0x03, 0x02);

    ModelFixture singleOutput(true, QStringLiteral("108"));
    *singleOutput.now = momentBetween(singleOutput.motion(), 100, 250, 3000);
    writeNumber(singleOutput, "SwitchingThresholdA2", 340);
    EXPECT_EQ(singleOutput.model->statusBits() & 0x02, 0x00);
}

// On at or below the switching point; once on, the hysteresis above it keeps the output on.
TEST(Switching, PointModeWithHysteresis)
{
    ModelFixture f;
    *f.now = momentBetween(f.motion(), 100, 250, 3000);
    const int distance = f.model->distanceCode();
    writeNumber(f, "HysteresisA1", 10);
    for (const auto& [offset, on] : {std::pair{-11, 0}, {-5, 0}, {0, 1}, {-10, 1}, {-11, 0}}) {
        writeNumber(f, "SwitchingThresholdA1", distance + offset);
        EXPECT_EQ(f.model->statusBits() & 0x01, on) << offset;
    }
}

TEST(Switching, WindowModeUsesTheWidthsAroundTheSwitchingPoint)
{
    ModelFixture f;
    *f.now = momentBetween(f.motion(), 100, 250, 3000);
    const int distance = f.model->distanceCode();
    writeNumber(f, "TeachInMode1", 2);
    writeNumber(f, "HysteresisA1", 0);
    writeNumber(f, "LowerThresholdA1", 10);
    writeNumber(f, "UpperThresholdA1", 10);
    writeNumber(f, "SwitchingThresholdA1", distance + 8);
    EXPECT_EQ(f.model->statusBits() & 0x01, 0x01);
    writeNumber(f, "SwitchingThresholdA1", distance - 12);
    EXPECT_EQ(f.model->statusBits() & 0x01, 0x00);
}

TEST(Teach, ButtonsTakeTheCurrentDistance)
{
    ModelFixture f;
    *f.now = momentBetween(f.motion(), 100, 250, 9000);
    const int distance = f.model->distanceCode();
    writeNumber(f, "TEACHBUTTON1", 1);
    EXPECT_EQ(number(f, "SwitchingThresholdA1"), distance);
    EXPECT_EQ(answerNumber(f.read(100, 1)), distance);
    writeNumber(f, "TEACHBUTTON2", 1);
    EXPECT_EQ(number(f, "SwitchingThresholdA2"), distance);

    // Without a target nothing is taught.
    *f.now = momentOf(f.motion(), TargetMotion::Kind::NoData, *f.now);
    writeNumber(f, "TEACHBUTTON1", 1);
    EXPECT_EQ(number(f, "SwitchingThresholdA1"), distance);
}

TEST(Teach, WindowEdgesAreTaughtAsDistancesFromTheSwitchingPoint)
{
    ModelFixture f;
    *f.now = momentBetween(f.motion(), 100, 250, 9000);
    const int distance = f.model->distanceCode();
    writeNumber(f, "SwitchingThresholdA1", distance + 40);
    writeNumber(f, "TEACHBUTTON13", 2);
    EXPECT_EQ(number(f, "LowerThresholdA1"), 40);
    writeNumber(f, "SwitchingThresholdA1", distance - 30);
    writeNumber(f, "TEACHBUTTON14", 3);
    EXPECT_EQ(number(f, "UpperThresholdA1"), 30);
}

TEST(DistanceUnit, TenthsOfAnInchRoundToTheNearestAndSpecialCodesStay)
{
    const std::pair<quint16, quint16> cases[] = {
        {381, 150},
        {254, 100},
        {127, 50},
        {128, 50},
        {129, 51},
        {2, 1},
        {20, 8},
        {350, 138},
        {10000, 3937},
        {DistanceCode::TooClose, DistanceCode::TooClose},
        {DistanceCode::TooFar, DistanceCode::TooFar},
        {DistanceCode::NoData, DistanceCode::NoData},
    };
    for (const auto& [millimetres, tenths] : cases)
        EXPECT_EQ(DistanceCode::inTenthsOfAnInch(millimetres), tenths) << millimetres;
}

// The unit is written as the workbench writes it; thresholds and echoes stay in millimetres.
TEST(DistanceUnit, InInchModeOnlyTheProcessDataDistanceIsInTenthsOfAnInch)
{
    ModelFixture f;
    const auto setUnit = [&f](int unit) {
        ASSERT_EQ(f.ask(writeRequest(81, 0, valueBytes(6, unit))).size(), 3);
    };
    const auto processDataCode = [&f] { return Frame::readUint16(f.ask(processDataRequest), 4); };
    *f.now = momentBetween(f.motion(), 100, 250, 3000);
    const int millimetres = f.motion().at(*f.now).distanceMm;
    const int tenths = qRound(millimetres / 2.54);

    setUnit(1);
    EXPECT_EQ(processDataCode(), tenths);
    EXPECT_EQ(answerNumber(f.read(81, 0)), 1);
    writeNumber(f, "HysteresisA1", 0);
    writeNumber(f, "SwitchingThresholdA1", millimetres - 30);
    EXPECT_EQ(static_cast<quint8>(f.ask(processDataRequest).at(7)) & 0x01, 0x00);
    writeNumber(f, "SwitchingThresholdA1", millimetres + 5);
    EXPECT_EQ(static_cast<quint8>(f.ask(processDataRequest).at(7)) & 0x01, 0x01);
    const QByteArray record = f.read(0x1211, 0);
    ASSERT_EQ(record.size(), 22);
    const int evaluated = static_cast<quint8>(record.at(5));
    ASSERT_LT(evaluated, 4);
    EXPECT_EQ(Frame::readUint16(record, 6 + 2 * evaluated), millimetres);

    const qint64 moment = *f.now;
    for (const auto kind :
         {TargetMotion::Kind::TooClose, TargetMotion::Kind::TooFar, TargetMotion::Kind::NoData}) {
        *f.now = momentOf(f.motion(), kind, moment);
        EXPECT_EQ(processDataCode(), f.motion().at(*f.now).code()) << static_cast<int>(kind);
    }
    *f.now = moment;

    setUnit(0);
    EXPECT_EQ(processDataCode(), millimetres);

    setUnit(1);
    EXPECT_EQ(f.ask(bytes({0x06, 0x6B, 0x24, 0x02, 0x00, 0x00, 0x82})).size(), 3); // factory reset
    EXPECT_EQ(answerNumber(f.read(81, 0)), 0);
    EXPECT_EQ(processDataCode(), millimetres);
}
