#include <link/RequestFrames.h>

#include <QByteArrayList>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

namespace {

// The fixed requests, and reads and a single-byte write worked out by hand.
TEST(RequestFrames, RequestsAreSentByteForByte)
{
    QByteArrayList built{connectionCheckRequest(), connectSetupRequest(),
                         processDataRequest(),     connectModeRequest(),
                         fetchRequest(),           identityReadRequest(),
                         echoReadRequest(),        crashCounterReadRequest(),
                         factoryResetRequest(),    singleByteCommitRequest(),
                         prepareTagWriteRequest(), readRequest(0x1234, 5),
                         readRequest(0x0100, 0),   singleByteRequest(0x9B)};
    for (QByteArray& request : built)
        request = request.toHex();
    EXPECT_EQ(built.join(' '),
              "03511201 0473110903 027022 03702103 027327 055726120000 055226111200 055226231300 "
              "066b2402000082 064c2400000198 025225 057626341205 057326000100 034f239b");
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

// 31 letters and a two-byte character: the character does not fit whole.
TEST(RequestFrames, TagWriteIsPaddedOrCutToThirtyTwoBytes)
{
    const QByteArray data = QByteArray::fromHex("180000") + "Tank1";
    EXPECT_EQ(
        tagWriteRequest(0x18, "Tank1").toHex(),
        (QByteArray::fromHex("25") + char(checkOctet(0x24, data)) + '\x24' + data + QByteArray(27, '\0'))
            .toHex());
    const QByteArray exact(32, 'x');
    EXPECT_EQ(tagWriteRequest(0x19, exact).mid(6), exact);
    EXPECT_EQ(tagWriteRequest(0x1A, QByteArray(31, 'a') + "\xc3\xa9").mid(6), QByteArray(31, 'a') + '\0');
}

// Three bytes or fewer left after the zero bytes: the header stays; a single byte stays even when zero.
TEST(RequestFrames, StripAnswerRemovesZeroBytesThenTheHeader)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1252a74d5a00003132", "4d5a3132"}, {"0552a70000", "0552a7"}, {"00", "00"}};
    for (const auto& [answer, stripped] : cases)
        EXPECT_EQ(stripAnswer(QByteArray::fromHex(answer), 3).toHex(), stripped) << answer;
    EXPECT_EQ(stripAnswer(QByteArray::fromHex("0552a741"), 0), QByteArray::fromHex("0552a741"));
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
