#include <link/ProcessData.h>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

namespace {

// A top bit in byte 4 does not parse as a signed number and reads as code 0.
TEST(ProcessData, DistanceStatusBitsAndSpecialCodesFromTheRecord)
{
    const QByteArray record = QByteArray::fromHex("0870220004d20083");
    EXPECT_EQ(processDataDistanceCode(record), 1234);
    EXPECT_EQ(processDataStatusBits(record), 0x83);
    EXPECT_EQ(distanceKind(1234), DistanceKind::Distance);
    EXPECT_DOUBLE_EQ(shownDistance(1234, 0) + shownDistance(1234, 1), 1234.0 + 123.4);
    const std::pair<const char*, DistanceKind> kinds[] = {{"087022007ffc0000", DistanceKind::NoData},
                                                          {"087022007ff80000", DistanceKind::TooFar},
                                                          {"0870220000000003", DistanceKind::TooClose}};
    for (const auto& [answer, kind] : kinds)
        EXPECT_EQ(distanceKind(processDataDistanceCode(QByteArray::fromHex(answer))), kind) << answer;
    EXPECT_EQ(processDataDistanceCode(QByteArray::fromHex("0870220080080001")), 0);
}

TEST(ProcessData, EchoRecordNeedsMoreThanTwentyBytes)
{
    const QByteArray record = QByteArray::fromHex("157327000002"
                                                  "01f4ffff7ff80010"
                                                  "0100002a0000ffff");
    const auto echoes = decodeEchoRecord(record);
    ASSERT_TRUE(echoes.has_value());
    EXPECT_EQ(echoes->evaluatedEcho, 2);
    EXPECT_EQ(echoes->distanceCodes, (std::array<int, 4>{500, 0, 0x7FF8, 16}));
    EXPECT_EQ(echoes->amplitudes, (std::array<int, 4>{256, 42, 0, 0}));
    EXPECT_TRUE(decodeEchoRecord(record.left(21)).has_value());
    EXPECT_FALSE(decodeEchoRecord(record.left(20)).has_value());
}

// Error answers, the master's ERROR frame and answers too short for a number give no count.
TEST(ProcessData, CrashCounterSkipsErrorAndShortAnswers)
{
    EXPECT_EQ(crashCounterFromAnswer(QByteArray::fromHex("0552a7012c")), 300);
    EXPECT_EQ(crashCounterFromAnswer(QByteArray::fromHex("03a7002a")), 42);
    for (const QByteArray& answer :
         {QByteArray::fromHex("0476a78011"), QByteArray::fromHex("0457a78020"), QByteArray::fromHex("02a72a"),
          QByteArray("\x05"
                     "ERROR")})
        EXPECT_FALSE(crashCounterFromAnswer(answer).has_value()) << answer.toHex().constData();
}

} // namespace
