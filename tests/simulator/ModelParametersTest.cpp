#include "BuiltInParameters.h"
#include "SimulatorTestSupport.h"

using namespace SimulatorTest;

namespace {

// A numeric answer the workbench can decode: length byte above 4 written
// with decimal hex digits.
void expectNumberLayout(const QByteArray& answer)
{
    ASSERT_GE(answer.size(), 5);
    EXPECT_TRUE(checkOctetFits(answer));
    bool decimal = false;
    EXPECT_GT(answer.left(1).toHex().toInt(&decimal, 10), 4);
    EXPECT_TRUE(decimal);
}

} // namespace

TEST(ModelParameters, DefaultsOfEverySizeReadBack)
{
    ModelFixture f;
    const QByteArray threshold = f.read(100, 1); // size 7, default 200.0
    expectNumberLayout(threshold);
    EXPECT_EQ(workbenchNumber(threshold), 200);
    const QByteArray delay = f.read(4660, 5); // size 9, default 1500
    expectNumberLayout(delay);
    EXPECT_EQ(workbenchNumber(delay), 1500);
    const QByteArray flag = f.read(120, 0); // size 6 bool, default 1
    expectNumberLayout(flag);
    EXPECT_TRUE(flag.right(2) != bytes({0, 0}));
}

TEST(ModelParameters, WriteThenReadOfEverySize)
{
    ModelFixture f;
    f.ask(writeRequest(101, 0, valueBytes(6, 2)));
    f.ask(writeRequest(100, 1, valueBytes(7, 1000)));
    f.ask(writeRequest(4660, 5, valueBytes(9, 0x1234)));
    f.ask(writeRequest(120, 0, valueBytes(6, 0)));
    EXPECT_EQ(workbenchNumber(f.read(101, 0)), 2);
    EXPECT_EQ(workbenchNumber(f.read(100, 1)), 1000);
    EXPECT_EQ(workbenchNumber(f.read(4660, 5)), 0x1234);
    EXPECT_EQ(f.read(120, 0).right(2), bytes({0, 0}));
    EXPECT_EQ(f.model->parameterValue(QStringLiteral("OnDelay1")).toLongLong(), 0x1234);
    EXPECT_EQ(f.model->parameterValue(ParameterAddress{100, 1}).toLongLong(), 1000);
}

TEST(ModelParameters, ParametersSharingAnIndexKeepTheirOwnValues)
{
    ModelFixture f;
    f.ask(writeRequest(100, 2, valueBytes(7, 33)));
    EXPECT_EQ(workbenchNumber(f.read(100, 1)), 200);
    EXPECT_EQ(workbenchNumber(f.read(100, 2)), 33);
}

TEST(ModelParameters, TagsHoldThirtyTwoBytesZeroPadded)
{
    ModelFixture f;
    for (const quint8 index : {0x18, 0x19, 0x1A}) {
        const QByteArray text = "Tag " + QByteArray::number(index);
        EXPECT_EQ(f.ask(tagWrite(index, text)).size(), 3);
        const QByteArray answer = f.read(index, 0);
        ASSERT_EQ(answer.size(), 3 + 32);
        EXPECT_TRUE(checkOctetFits(answer));
        EXPECT_EQ(workbenchText(answer), text);
        EXPECT_EQ(answer.mid(3 + text.size()), QByteArray(32 - text.size(), '\0'));
    }
}

TEST(ModelParameters, TagsStartEmpty)
{
    ModelFixture f;
    EXPECT_TRUE(workbenchText(f.read(0x19, 0)).isEmpty());
    EXPECT_TRUE(workbenchText(f.read(0x1A, 0)).isEmpty());
}

TEST(ModelParameters, IdentityTextPassesTheWorkbenchComparison)
{
    ModelFixture f(true, QStringLiteral("108"));
    const QString identity = QString::fromLatin1(workbenchText(f.read(0x12, 0)));
    EXPECT_EQ(identity, QStringLiteral("UM035-108"));
    const QString model = QStringLiteral("UM035");
    EXPECT_EQ(identity.at(0), model.at(0));
    EXPECT_EQ(identity.mid(2, 3), model.mid(2, 3));
    EXPECT_EQ(identity.right(3), QStringLiteral("108"));
}

TEST(ModelParameters, TextParameterReadsAsItsText)
{
    ModelFixture f;
    EXPECT_EQ(workbenchText(f.read(23, 0)), QByteArray("V1.02"));
}

TEST(ModelParameters, SelfReadOnlyStringReadsAsSignedNumberInLastFourBytes)
{
    ModelFixture f;
    const QByteArray answer = f.read(122, 0);
    EXPECT_TRUE(checkOctetFits(answer));
    EXPECT_EQ(answer.right(4).toHex().toInt(nullptr, 16), 123456);
}

TEST(ModelParameters, FactoryResetRestoresEveryDefault)
{
    ModelFixture f;
    f.ask(writeRequest(100, 1, valueBytes(7, 321)));
    f.ask(writeRequest(4660, 5, valueBytes(9, 9)));
    f.ask(tagWrite(0x18, "kept?"));
    EXPECT_EQ(f.ask(bytes({0x06, 0x6B, 0x24, 0x02, 0x00, 0x00, 0x82})).size(), 3);
    EXPECT_EQ(workbenchNumber(f.read(100, 1)), 200);
    EXPECT_EQ(workbenchNumber(f.read(4660, 5)), 1500);
    EXPECT_TRUE(workbenchText(f.read(0x18, 0)).isEmpty());
}

TEST(ModelParameters, OtherSystemCommandsKeepTheValues)
{
    ModelFixture f;
    f.ask(writeRequest(100, 1, valueBytes(7, 321)));
    f.ask(writeRequest(2, 0, valueBytes(6, 0x81)));
    EXPECT_EQ(workbenchNumber(f.read(100, 1)), 321);
}

TEST(ModelParameters, SingleByteWriteTakesEffectWithItsCommit)
{
    ModelFixture f;
    f.ask(Frame::build(0x23, bytes({0x99})));
    EXPECT_EQ(f.model->processDataSelection(), 0);
    f.ask(bytes({0x06, 0x4C, 0x24, 0x00, 0x00, 0x01, 0x98}));
    EXPECT_EQ(f.model->processDataSelection(), 0x99);
}

TEST(ModelParameters, CrashCounterIsSmallAndResetByTheResetButton)
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
}

TEST(ModelParameters, VariantWithoutCrashDetectionHasNoCrashCounter)
{
    ModelFixture f(true, QStringLiteral("108"));
    EXPECT_EQ(f.read(0x1323, 0), bytes({0x04, 0x76, 0xA7, 0x80, 0x11}));
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
        EXPECT_TRUE(checkOctetFits(record));
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

TEST(EchoRecord, NoTargetMeansNoEcho)
{
    ModelFixture f;
    *f.now = momentOf(f.motion(), TargetMotion::Kind::NoData);
    const QByteArray record = f.read(0x1211, 0);
    ASSERT_EQ(record.size(), 22);
    EXPECT_EQ(record.at(3), 0);
    EXPECT_GT(static_cast<quint8>(record.at(5)), 3);
    EXPECT_EQ(record.mid(6), QByteArray(16, '\xFF'));
}

TEST(EchoRecord, TooCloseTargetIsMarkedInTheRecord)
{
    ModelFixture f;
    *f.now = momentOf(f.motion(), TargetMotion::Kind::TooClose);
    const QByteArray record = f.read(0x1211, 0);
    EXPECT_EQ(record.mid(6, 2).toHex(), QByteArray("8008"));
}
