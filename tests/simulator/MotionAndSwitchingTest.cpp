#include "SimulatorTestSupport.h"

#include <set>

using namespace SimulatorTest;

// The seed alone decides the motion; every minute shows all four kinds, distances within the range. The echo
// record has 22 bytes: 15 check 27, echo count, 00, index of the evaluated echo, four distances and four
// amplitudes, unused ones FFFF.
TEST(TargetMotion, EveryMinuteShowsAllFourKindsInTheRangeAndTheEchoRecordHoldsTheTarget)
{
    for (qint64 ms = 0; ms < 30000; ms += 100)
        EXPECT_EQ(TargetMotion(3, 20, 350).at(ms).code(), TargetMotion(3, 20, 350).at(ms).code()) << ms;
    ModelFixture f;
    for (const qint64 start : {0LL, 100000LL, 3600000LL}) {
        std::set<quint16> codes;
        for (*f.now = start; *f.now < start + 60000; *f.now += 85)
            codes.insert(Frame::readUint16(f.ask(processDataRequest), 4));
        EXPECT_EQ(codes.erase(0) + codes.erase(0x7FF8) + codes.erase(0x7FFC), 3u);
        EXPECT_TRUE(codes.size() > 100 && *codes.begin() >= 20 && *codes.rbegin() <= 350) << codes.size();
    }
    for (const qint64 from : {0, 7000, 40000}) {
        f.moveTo(TargetMotion::Kind::Distance, from);
        const QByteArray record = f.read(0x1211, 0);
        ASSERT_TRUE(record.size() == 22 && record.at(0) == 0x15 && Frame::isValid(record));
        const int count = quint8(record.at(3)), evaluated = quint8(record.at(5));
        ASSERT_TRUE(count >= 1 && count <= 4 && evaluated < count) << count << " " << evaluated;
        EXPECT_EQ(Frame::readUint16(record, 6 + 2 * evaluated), f.model->distanceCode());
        for (int echo = 0; echo < 4; ++echo) {
            const quint16 distance = Frame::readUint16(record, 6 + 2 * echo);
            const quint16 amplitude = Frame::readUint16(record, 14 + 2 * echo);
            EXPECT_EQ(distance >= 20 && distance <= 350 && amplitude != 0xFFFF, echo < count);
            EXPECT_EQ(distance == 0xFFFF && amplitude == 0xFFFF, echo >= count);
        }
    }
    f.moveTo(TargetMotion::Kind::NoData);
    const QByteArray record = f.read(0x1211, 0);
    EXPECT_TRUE(record.at(3) == 0 && static_cast<quint8>(record.at(5)) > 3) << record.toHex().toStdString();
    EXPECT_EQ(record.mid(6), QByteArray(16, '\xFF'));
    f.moveTo(TargetMotion::Kind::TooClose);
    EXPECT_EQ(f.read(0x1211, 0).mid(6, 2).toHex(), QByteArray("8008"));
}

// Runs in inches, in which only the process data's distance is sent: the switching points, the echoes and
// what teaching takes stay in millimetres, and a factory reset brings millimetres back. An output is on at or
// below its switching point, kept on within the hysteresis above it; in window mode within the widths around
// it.
TEST(Switching, StatusBitsFollowTheSettingsOfBothOutputsAndTeachTakesTheCurrentDistance)
{
    ModelFixture f;
    f.moveTo(TargetMotion::Kind::Distance, 3000, 100, 250);
    const int distance = f.model->distanceCode();
    EXPECT_EQ(f.write("MesurementUnit", 1), writeAcknowledgement);
    EXPECT_EQ(Frame::readUint16(f.ask(processDataRequest), 4), qRound(distance / 2.54));
    const QByteArray record = f.read(0x1211, 0);
    EXPECT_EQ(Frame::readUint16(record, 6 + 2 * static_cast<quint8>(record.at(5))), distance);
    const auto bitsAfter = [&f](const char* id, int value) {
        f.write(id, value);
        return static_cast<quint8>(f.ask(processDataRequest).at(7)) & 0x03;
    };
    f.write("SwitchingThresholdA2", distance - 50);
    EXPECT_EQ(bitsAfter("SwitchingThresholdA1", distance + 5), 0x01);
    f.write("SwitchingThresholdA1", distance - 50);
    EXPECT_EQ(bitsAfter("SwitchingThresholdA2", distance + 5), 0x02);
    f.write("HysteresisA1", 10);
    for (const auto& [offset, on] : {std::pair{-11, 0}, {-5, 0}, {0, 1}, {-10, 1}, {-11, 0}})
        EXPECT_EQ(bitsAfter("SwitchingThresholdA1", distance + offset) & 0x01, on) << offset;
    f.write("TeachInMode1", 2);
    f.write("HysteresisA1", 0);
    f.write("LowerThresholdA1", 10);
    f.write("UpperThresholdA1", 20);
    for (const auto& [offset, on] : {std::pair{8, 1}, {-21, 0}, {-20, 1}, {11, 0}})
        EXPECT_EQ(bitsAfter("SwitchingThresholdA1", distance + offset) & 0x01, on) << offset;

    // Command 1 teaches the switching point, 2 and 3 the window's edges as distances from it.
    const std::tuple<const char*, int, int, const char*, int> teaches[] = {
        {"TEACHBUTTON1", 1, 60, "SwitchingThresholdA1", distance},
        {"TEACHBUTTON2", 1, 60, "SwitchingThresholdA2", distance},
        {"TEACHBUTTON13", 2, 40, "LowerThresholdA1", 40},
        {"TEACHBUTTON14", 3, -30, "UpperThresholdA1", 30}};
    for (const auto& [button, command, offset, id, taught] : teaches) {
        f.write("SwitchingThresholdA1", distance + offset);
        f.write(button, command);
        EXPECT_EQ(f.number(id), taught) << button;
    }
    f.ask(factoryResetRequest);
    EXPECT_EQ(Frame::readUint16(f.ask(processDataRequest), 4), distance);
    f.moveTo(TargetMotion::Kind::NoData, *f.now);
    f.write("TEACHBUTTON1", 1);
    EXPECT_EQ(f.number("SwitchingThresholdA1"), 200); // the document's default, untaught

    // Variant 108 has one switching output and no crash detection.
    ModelFixture other(QStringLiteral("108"));
    other.moveTo(TargetMotion::Kind::Distance, 3000, 100, 250);
    EXPECT_EQ(other.write("SwitchingThresholdA2", 340), writeAcknowledgement);
    EXPECT_EQ(other.model->statusBits() & 0x02, 0x00);
    EXPECT_EQ(answerText(other.read(0x12, 0)), QString("UM035-108"));
    EXPECT_EQ(other.read(0x1323, 0), indexNotAvailable);
}

// The codes without a distance stay as they are.
TEST(DistanceUnit, TenthsOfAnInchAreRoundedToTheNearest)
{
    const quint16 cases[][2] = {{381, 150},    {127, 50}, {128, 50},        {129, 51},       {2, 1},
                                {10000, 3937}, {0, 0},    {0x7FF8, 0x7FF8}, {0x7FFC, 0x7FFC}};
    for (const auto& [millimetres, tenths] : cases)
        EXPECT_EQ(DistanceCode::inTenthsOfAnInch(millimetres), tenths) << millimetres;
}
