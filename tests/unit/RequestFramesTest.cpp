#include <link/RequestFrames.h>

#include <gtest/gtest.h>

#include <functional>

using namespace NimbarSensorPlugin::Core;

namespace {

TEST(RequestFrames, CheckOctetFollowsTheChecksumRule)
{
    // The fixed requests below check the rule's values. Zero bytes leave the sum alone, so padding needs no
    // new check octet.
    EXPECT_EQ(checkOctet(0x24, QByteArray::fromHex("1800004142")),
              checkOctet(0x24, QByteArray::fromHex("180000414200000000")));
}

// The fixed requests, and reads and a single-byte write worked out by hand.
TEST(RequestFrames, RequestsAreSentByteForByte)
{
    const struct
    {
        const char* name;
        std::function<QByteArray()> build;
        const char* expected;
    } requests[] = {
        {"connection check", connectionCheckRequest, "03511201"},
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
        {"single byte", [] { return singleByteRequest(0x9B); }, "034f239b"},
    };
    for (const auto& request : requests)
        EXPECT_EQ(request.build().toHex(), QByteArray(request.expected)) << request.name;
}

TEST(RequestFrames, WriteRequestLengthAndValueBytesFollowTheSize)
{
    const struct
    {
        int size;
        int value;
        const char* data;
    } writes[] = {
        {6, 300, "3412052c"},
        {7, 1000, "34120503e8"},
        {9, 70000,
         "3412050000"
         "1170"},
    };
    for (const auto& write : writes) {
        const QByteArray frame = writeRequest({0x1234, 5, write.size}, write.value);
        ASSERT_EQ(frame.size(), write.size + 1) << write.size;
        EXPECT_EQ(frame.at(0), static_cast<char>(write.size));
        EXPECT_EQ(frame.at(2), static_cast<char>(0x24));
        EXPECT_EQ(frame.mid(3), QByteArray::fromHex(write.data)) << write.size;
        EXPECT_EQ(frame.at(1), static_cast<char>(checkOctet(0x24, QByteArray::fromHex(write.data))));
    }
    EXPECT_TRUE(writeRequest({0x1234, 5, 8}, 1).isEmpty());
}

TEST(RequestFrames, TagWriteIsPaddedToThirtyTwoBytes)
{
    const QByteArray frame = tagWriteRequest(0x18, "Tank1");
    ASSERT_EQ(frame.size(), 38);
    EXPECT_EQ(frame.at(0), static_cast<char>(0x25));
    EXPECT_EQ(frame.at(1), static_cast<char>(checkOctet(0x24, QByteArray::fromHex("180000") + "Tank1")));
    EXPECT_EQ(frame.mid(2, 9), QByteArray::fromHex("24180000") + "Tank1");
    EXPECT_EQ(frame.mid(11), QByteArray(27, '\0'));
}

TEST(RequestFrames, LongTagIsCutAtACharacterBoundary)
{
    const QByteArray exact(32, 'x');
    EXPECT_EQ(tagWriteRequest(0x19, exact).mid(6), exact);

    // 31 letters and a two-byte character: the character does not fit whole.
    const QByteArray text = QByteArray(31, 'a') + "\xc3\xa9";
    const QByteArray frame = tagWriteRequest(0x1A, text);
    ASSERT_EQ(frame.size(), 38);
    EXPECT_EQ(frame.mid(6), QByteArray(31, 'a') + QByteArray(1, '\0'));
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

TEST(RequestFrames, ErrorAnswersAreRecognisedOnlyWhole)
{
    EXPECT_TRUE(isErrorAnswer(QByteArray::fromHex("0476a78011")));
    EXPECT_TRUE(isErrorAnswer(QByteArray::fromHex("0457a78020")));
    EXPECT_FALSE(isErrorAnswer(QByteArray::fromHex("0476a7801100")));
    EXPECT_FALSE(isErrorAnswer(QByteArray::fromHex("0476a78020")));
    EXPECT_FALSE(isErrorAnswer({}));
}

TEST(RequestFrames, TheErrorFrameIsRecognisedOnlyWhole)
{
    const struct
    {
        const char* answer;
        bool isError;
    } cases[] = {
        {"054552524f52", true},
        {"", false},
        {"4552524f52", false},                 // the letters without their length byte
        {"064552524f5200", false},             // with a byte more
        {"0c6127544f4f4c204552524f52", false}, // a tag that holds the letters
    };
    for (const auto& c : cases)
        EXPECT_EQ(isErrorTextAnswer(QByteArray::fromHex(c.answer)), c.isError) << c.answer;
}

TEST(RequestFrames, RefusedTagAnswersAreTheTwoErrorCodes)
{
    EXPECT_TRUE(isRefusedTagAnswer(QByteArray::fromHex("0476a78011")));
    EXPECT_TRUE(isRefusedTagAnswer(QByteArray::fromHex("0457a78020")));
    EXPECT_TRUE(isRefusedTagAnswer(QByteArray::fromHex("0552a7008020")));
    EXPECT_FALSE(isRefusedTagAnswer(QByteArray::fromHex("0476a78021")));
    EXPECT_FALSE(isRefusedTagAnswer(QByteArray::fromHex("2552a7") + "8020"));
}

TEST(RequestFrames, FetchFailuresAreToldApartFromValues)
{
    const struct
    {
        const char* answer;
        FetchFailure failure;
    } cases[] = {
        {"", FetchFailure::NoAnswer},
        {"0476a78011", FetchFailure::IndexNotAvailable},
        {"0457a78020", FetchFailure::ServiceUnavailable},
        {"0450a78023", FetchFailure::Refused},
        {"054552524f52", FetchFailure::Refused}, // the master's "ERROR"
        {"066127000000c8", FetchFailure::None},
        // A value whose bytes happen to look like an error code is a value.
        {"0661278011802000", FetchFailure::None},
        {"0b6127554d3033352d313037", FetchFailure::None},
        // A tag whose text holds the letters ERROR is a value.
        {"0c61274552524f522054414731", FetchFailure::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fetchFailure(QByteArray::fromHex(c.answer)), c.failure) << c.answer;
    EXPECT_EQ(fetchErrorCode(QByteArray::fromHex("0450a78023")), 0x8023);
    EXPECT_EQ(fetchErrorCode(QByteArray::fromHex("066127000000c8")), 0);
}

} // namespace
