#include "BuiltInParameters.h"
#include "SimulatorTestSupport.h"

using namespace SimulatorTest;

namespace {

// A numeric answer the workbench can decode: a valid frame whose length byte
// is above 4 and written with decimal hex digits.
void expectNumberLayout(const QByteArray& answer)
{
    ASSERT_GE(answer.size(), 5);
    EXPECT_TRUE(Frame::isValid(answer));
    bool decimal = false;
    EXPECT_GT(answer.left(1).toHex().toInt(&decimal, 10), 4);
    EXPECT_TRUE(decimal);
}

} // namespace

TEST(ModelParameters, DefaultThenWrittenValueOfEverySizeReadsBack)
{
    const struct
    {
        quint16 index;
        quint8 subIndex;
        int size;
        int defaultValue;
        int written;
    } cases[] = {
        {101, 0, 6, 0, 2},          {100, 1, 7, 200, 333}, {100, 2, 7, 10, 33}, // two on one index
        {4660, 5, 9, 1500, 0x1234}, {120, 0, 6, 1, 0},                          // a bool
    };
    ModelFixture f;
    for (const auto& c : cases) {
        const QByteArray answer = f.read(c.index, c.subIndex);
        expectNumberLayout(answer);
        if (c.defaultValue == 1) // a true bool may sit in either value byte
            EXPECT_NE(answer.right(2), bytes({0, 0}));
        else
            EXPECT_EQ(answerNumber(answer), c.defaultValue) << c.index << "/" << int(c.subIndex);
    }
    for (const auto& c : cases)
        f.ask(writeRequest(c.index, c.subIndex, valueBytes(c.size, c.written)));
    for (const auto& c : cases)
        EXPECT_EQ(answerNumber(f.read(c.index, c.subIndex)), c.written) << c.index << "/" << int(c.subIndex);
    EXPECT_EQ(f.model->parameterValue(QStringLiteral("OnDelay1")).toLongLong(), 0x1234);
    EXPECT_EQ(f.model->parameterValue(ParameterAddress{100, 1}).toLongLong(), 333);
}

TEST(ModelParameters, TagsStartEmptyAndHoldThirtyTwoBytesZeroPadded)
{
    ModelFixture f;
    for (const quint8 index : {0x18, 0x19, 0x1A}) {
        EXPECT_TRUE(answerText(f.read(index, 0)).isEmpty());
        const QByteArray text = "Tag " + QByteArray::number(index);
        EXPECT_EQ(f.ask(tagWrite(index, text)).size(), 3);
        const QByteArray answer = f.read(index, 0);
        ASSERT_EQ(answer.size(), 3 + 32);
        EXPECT_TRUE(Frame::isValid(answer));
        EXPECT_EQ(answer.mid(3), text + QByteArray(32 - text.size(), '\0'));
    }
}

TEST(ModelParameters, IdentityAndTextParametersReadAsText)
{
    ModelFixture f(true, QStringLiteral("108"));
    EXPECT_EQ(answerText(f.read(0x12, 0)), QString("UM035-108"));
    EXPECT_EQ(answerText(f.read(23, 0)), QString("V1.02"));
}

TEST(ModelParameters, SelfReadOnlyStringReadsAsSignedNumberInLastFourBytes)
{
    ModelFixture f;
    const QByteArray answer = f.read(122, 0);
    EXPECT_TRUE(Frame::isValid(answer));
    EXPECT_EQ(answer.right(4).toHex().toInt(nullptr, 16), 123456);
}

TEST(ModelParameters, FactoryResetRestoresEveryDefaultOtherSystemCommandsNone)
{
    ModelFixture f;
    f.ask(writeRequest(100, 1, valueBytes(7, 321)));
    f.ask(writeRequest(4660, 5, valueBytes(9, 9)));
    f.ask(tagWrite(0x18, "kept?"));
    f.ask(writeRequest(2, 0, valueBytes(6, 0x81)));
    EXPECT_EQ(answerNumber(f.read(100, 1)), 321);
    EXPECT_EQ(f.ask(bytes({0x06, 0x6B, 0x24, 0x02, 0x00, 0x00, 0x82})).size(), 3);
    EXPECT_EQ(answerNumber(f.read(100, 1)), 200);
    EXPECT_EQ(answerNumber(f.read(4660, 5)), 1500);
    EXPECT_TRUE(answerText(f.read(0x18, 0)).isEmpty());
}

TEST(ModelParameters, SingleByteWriteTakesEffectWithItsCommit)
{
    ModelFixture f;
    f.ask(Frame::build(0x23, bytes({0x99})));
    EXPECT_EQ(f.model->processDataSelection(), 0);
    f.ask(bytes({0x06, 0x4C, 0x24, 0x00, 0x00, 0x01, 0x98}));
    EXPECT_EQ(f.model->processDataSelection(), 0x99);
}

TEST(ModelParameters, CrashCounterIsSmallResetByTheButtonAndMissingWithoutCrashDetection)
{
    ModelFixture f;
    const QByteArray before = f.read(0x1323, 0);
    EXPECT_GT(before.toHex().size(), 7);
    const int counter = before.right(2).toHex().toInt(nullptr, 16);
    EXPECT_GE(counter, 1);
    EXPECT_LE(counter, 5);
    const ParameterSpec* button = f.model->description().find(QStringLiteral("RESETBUTTON"));
    ASSERT_TRUE(button);
    f.ask(writeRequest(button->address.index, button->address.subIndex, valueBytes(button->size, 0)));
    EXPECT_EQ(f.read(0x1323, 0).right(2), bytes({0, 0}));
    EXPECT_EQ(f.model->crashCounter(), 0);

    ModelFixture withoutCrashDetection(true, QStringLiteral("108"));
    EXPECT_EQ(withoutCrashDetection.read(0x1323, 0), bytes({0x04, 0x76, 0xA7, 0x80, 0x11}));
}

TEST(EchoRecord, HoldsTheTargetAmongUpToFourEchoes)
{
    ModelFixture f;
    const TargetMotion motion = f.motion();
    for (qint64 from : {0, 7000, 40000}) {
        *f.now = momentOf(motion, TargetMotion::Kind::Distance, from);
        const QByteArray record = f.read(0x1211, 0);
        ASSERT_EQ(record.size(), 22);
        EXPECT_EQ(static_cast<quint8>(record.at(0)), 0x15);
        EXPECT_TRUE(Frame::isValid(record));
        const int count = static_cast<quint8>(record.at(3));
        const int evaluated = static_cast<quint8>(record.at(5));
        ASSERT_GE(count, 1);
        ASSERT_LE(count, 4);
        ASSERT_LT(evaluated, count);
        EXPECT_EQ(Frame::readUint16(record, 6 + 2 * evaluated), f.model->distanceCode());
        for (int echo = 0; echo < 4; ++echo) {
            const quint16 distance = Frame::readUint16(record, 6 + 2 * echo);
            const quint16 amplitude = Frame::readUint16(record, 14 + 2 * echo);
            if (echo < count) {
                EXPECT_GE(distance, 20);
                EXPECT_LE(distance, 350);
                EXPECT_NE(amplitude, 0xFFFF);
            } else {
                EXPECT_EQ(distance, 0xFFFF);
                EXPECT_EQ(amplitude, 0xFFFF);
            }
        }
    }
}

TEST(EchoRecord, NoTargetMeansNoEchoTooCloseIsMarked)
{
    ModelFixture f;
    *f.now = momentOf(f.motion(), TargetMotion::Kind::NoData);
    QByteArray record = f.read(0x1211, 0);
    ASSERT_EQ(record.size(), 22);
    EXPECT_EQ(record.at(3), 0);
    EXPECT_GT(static_cast<quint8>(record.at(5)), 3);
    EXPECT_EQ(record.mid(6), QByteArray(16, '\xFF'));

    *f.now = momentOf(f.motion(), TargetMotion::Kind::TooClose);
    record = f.read(0x1211, 0);
    EXPECT_EQ(record.mid(6, 2).toHex(), QByteArray("8008"));
}
