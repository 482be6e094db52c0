#include <link/RequestFrames.h>

#include <gtest/gtest.h>

#include <functional>

using namespace NimbarSensorPlugin::Core;

namespace {

// The fixed requests, and reads and a single-byte write worked out by hand.
TEST(RequestFrames, RequestsAreSentByteForByte)
{
    const struct
    {
        const char* name;
        std::function<QByteArray()> build;
        const char* expected;
    } requests[] = {{"connection check", connectionCheckRequest, "03511201"},
                    {"connect setup", connectSetupRequest, "0473110903"},
                    {"process data", processDataRequest, "027022"},
                    {"connect mode", connectModeRequest, "03702103"},
                    {"fetch", fetchRequest, "027327"},
                    {"identity read", identityReadRequest, "055726120000"},
                    {"echo read", echoReadRequest, "055226111200"},
                    {"crash counter read", crashCounterReadRequest, "055226231300"},
                    {"factory reset", factoryResetRequest, "066b2402000082"},
                    {"single-byte commit", singleByteCommitRequest, "064c2400000198"},
                    {"prepare tag write", prepareTagWriteRequest, "025225"},
                    {"read 0x1234 sub 5", [] { return readRequest(0x1234, 5); }, "057626341205"},
                    {"read 0x0100", [] { return readRequest(0x0100, 0); }, "057326000100"},
                    {"single byte", [] { return singleByteRequest(0x9B); }, "034f239b"}};
    for (const auto& request : requests)
        EXPECT_EQ(request.build().toHex(), QByteArray(request.expected)) << request.name;
    // Zero bytes leave the sum alone, so padding needs no new check octet.
    EXPECT_EQ(checkOctet(0x24, QByteArray::fromHex("1800004142")),
              checkOctet(0x24, QByteArray::fromHex("180000414200000000")));
}

// The size (6, 7 or 9) is the frame's length byte and sets how many value
// bytes follow the address.
TEST(RequestFrames, WriteRequestLengthAndValueBytesFollowTheSize)
{
    const std::pair<int, const char*> writes[] = {
        {300, "3412052c"}, {1000, "34120503e8"}, {70000, "34120500001170"}};
    for (const auto& [value, hex] : writes) {
        const QByteArray data = QByteArray::fromHex(hex);
        const int size = data.size() + 2;
        EXPECT_EQ(writeRequest({0x1234, 5, size}, value).toHex(),
                  (char(size) + QByteArray(1, char(checkOctet(0x24, data))) + '\x24' + data).toHex());
    }
    EXPECT_TRUE(writeRequest({0x1234, 5, 8}, 1).isEmpty());
}

TEST(RequestFrames, TagWriteIsPaddedOrCutToThirtyTwoBytes)
{
    const QByteArray frame = tagWriteRequest(0x18, "Tank1");
    ASSERT_EQ(frame.size(), 38);
    EXPECT_EQ(frame.at(0), static_cast<char>(0x25));
    EXPECT_EQ(frame.at(1), static_cast<char>(checkOctet(0x24, QByteArray::fromHex("180000") + "Tank1")));
    EXPECT_EQ(frame.mid(2, 9), QByteArray::fromHex("24180000") + "Tank1");
    EXPECT_EQ(frame.mid(11), QByteArray(27, '\0'));
    const QByteArray exact(32, 'x');
    EXPECT_EQ(tagWriteRequest(0x19, exact).mid(6), exact);
    // 31 letters and a two-byte character: the character does not fit whole.
    EXPECT_EQ(tagWriteRequest(0x1A, QByteArray(31, 'a') + "\xc3\xa9").mid(6), QByteArray(31, 'a') + '\0');
}

TEST(RequestFrames, StripAnswerRemovesZeroBytesThenTheHeader)
{
    EXPECT_EQ(stripAnswer(QByteArray::fromHex("1252a7"
                                              "4d5a00003132"),
                          3),
              QByteArray("MZ12"));
    // Three bytes or fewer left after the zero bytes: the header stays.
    EXPECT_EQ(stripAnswer(QByteArray::fromHex("0552a70000"), 3), QByteArray::fromHex("0552a7"));
    EXPECT_EQ(stripAnswer(QByteArray::fromHex("0552a741"), 0), QByteArray::fromHex("0552a741"));
    // A single byte is kept even when it is zero.
    EXPECT_EQ(stripAnswer(QByteArray::fromHex("00"), 3), QByteArray::fromHex("00"));
}

// How each answer classifier reads an answer: an error answer of the
// protocol, the master's ERROR frame, a refused tag write, a fetch failure.
TEST(RequestFrames, AnswersAreClassifiedOnlyWhenWhole)
{
    const struct
    {
        const char* answer;
        bool isError;
        bool isErrorText;
        bool isRefusedTag;
        FetchFailure failure;
    } cases[] = {{"", false, false, false, FetchFailure::NoAnswer},
                 {"0476a78011", true, false, true, FetchFailure::IndexNotAvailable},
                 {"0457a78020", true, false, true, FetchFailure::ServiceUnavailable},
                 {"0450a78023", false, false, false, FetchFailure::Refused},
                 {"0476a7801100", false, false, true, FetchFailure::IndexNotAvailable},
                 {"0476a78020", false, false, true, FetchFailure::ServiceUnavailable},
                 {"0476a78021", false, false, false, FetchFailure::Refused},
                 {"0552a7008020", false, false, true, FetchFailure::Refused},
                 {"054552524f52", false, true, false, FetchFailure::Refused},
                 // The letters without their length byte, or with a byte more.
                 {"4552524f52", false, false, false, FetchFailure::None},
                 {"064552524f5200", false, false, false, FetchFailure::None},
                 // Values whose bytes hold an error code or the letters ERROR are
                 // values; a tag whose text reads 8020 is no refusal.
                 {"066127000000c8", false, false, false, FetchFailure::None},
                 {"0661278011802000", false, false, false, FetchFailure::None},
                 {"0c61274552524f522054414731", false, false, false, FetchFailure::None},
                 {"2552a738303230", false, false, false, FetchFailure::Refused}};
    for (const auto& c : cases) {
        const QByteArray answer = QByteArray::fromHex(c.answer);
        EXPECT_EQ(isErrorAnswer(answer), c.isError) << c.answer;
        EXPECT_EQ(isErrorTextAnswer(answer), c.isErrorText) << c.answer;
        EXPECT_EQ(isRefusedTagAnswer(answer), c.isRefusedTag) << c.answer;
        EXPECT_EQ(fetchFailure(answer), c.failure) << c.answer;
    }
    EXPECT_EQ(fetchErrorCode(QByteArray::fromHex("0450a78023")), 0x8023);
    EXPECT_EQ(fetchErrorCode(QByteArray::fromHex("066127000000c8")), 0);
}

} // namespace
