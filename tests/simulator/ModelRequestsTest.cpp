#include "SimulatorTestSupport.h"

using namespace SimulatorTest;

TEST(CheckOctet, MatchesTheFixedRequestsOfTheCommandSet)
{
    EXPECT_EQ(Frame::build(0x12, bytes({0x01})), bytes({0x03, 0x51, 0x12, 0x01}));
    EXPECT_EQ(Frame::build(0x22), bytes({0x02, 0x70, 0x22}));
    EXPECT_EQ(Frame::build(0x11, bytes({0x09, 0x03})), bytes({0x04, 0x73, 0x11, 0x09, 0x03}));
    EXPECT_EQ(Frame::build(0x24, bytes({0x02, 0x00, 0x00, 0x82})),
              bytes({0x06, 0x6B, 0x24, 0x02, 0x00, 0x00, 0x82}));
    EXPECT_EQ(Frame::build(0x24, bytes({0x00, 0x00, 0x01, 0x98})),
              bytes({0x06, 0x4C, 0x24, 0x00, 0x00, 0x01, 0x98}));
    EXPECT_EQ(Frame::build(0x26, bytes({0x11, 0x12, 0x00})), bytes({0x05, 0x52, 0x26, 0x11, 0x12, 0x00}));
}

TEST(CheckOctet, ErrorAnswersFollowTheSameRule)
{
    EXPECT_EQ(Frame::errorAnswer(0x27, 0x8011), bytes({0x04, 0x76, 0xA7, 0x80, 0x11}));
    EXPECT_EQ(Frame::errorAnswer(0x27, 0x8020), bytes({0x04, 0x57, 0xA7, 0x80, 0x20}));
}

TEST(CheckOctet, ZeroPaddingLeavesItUnchanged)
{
    EXPECT_EQ(tagWrite(0x19, "ab").at(1), Frame::build(0x24, bytes({0x19, 0, 0}) + "ab").at(1));
}

TEST(ModelRequests, ConnectionCheckGetsAFourByteAnswer)
{
    ModelFixture f;
    const QByteArray answer = f.ask(bytes({0x03, 0x51, 0x12, 0x01}));
    EXPECT_EQ(answer.size(), 4);
    EXPECT_TRUE(checkOctetFits(answer));
}

TEST(ModelRequests, ConnectSetupAndWritesAreAcknowledgedShortly)
{
    ModelFixture f;
    const QList<QByteArray> requests = {bytes({0x04, 0x73, 0x11, 0x09, 0x03}),
                                        bytes({0x03, 0x70, 0x21, 0x03}), Frame::build(0x23, bytes({0x1B})),
                                        bytes({0x02, 0x52, 0x25}), writeRequest(100, 1, valueBytes(7, 150))};
    for (const QByteArray& request : requests) {
        const QByteArray answer = f.ask(request);
        EXPECT_EQ(answer.size(), 3) << request.toHex().toStdString();
        EXPECT_EQ(static_cast<quint8>(answer.at(2)), static_cast<quint8>(request.at(2)));
        EXPECT_TRUE(checkOctetFits(answer));
        EXPECT_FALSE(answer.contains("ERROR"));
    }
}

TEST(ModelRequests, ProcessDataRecordCarriesDistanceAndStatus)
{
    ModelFixture f;
    *f.now = momentOf(f.motion(), TargetMotion::Kind::Distance, 5000);
    const QByteArray record = f.ask(processDataRequest);
    ASSERT_EQ(record.size(), 8);
    EXPECT_TRUE(checkOctetFits(record));
    EXPECT_EQ(Frame::readUint16(record, 4), f.motion().at(*f.now).distanceMm);
    EXPECT_EQ(static_cast<quint8>(record.at(7)), f.model->statusBits());
}

TEST(ModelRequests, ReadRequestIsRememberedAndAnsweredWithProcessData)
{
    ModelFixture f;
    const QByteArray answer = f.ask(readRequest(0x1234, 5));
    EXPECT_EQ(answer.size(), 8);
    EXPECT_TRUE(checkOctetFits(answer));
    ASSERT_TRUE(f.model->pendingRead());
    EXPECT_EQ(f.model->pendingRead()->index, 0x1234);
    EXPECT_EQ(f.model->pendingRead()->subIndex, 5);
}

TEST(ModelRequests, BadCheckOctetGetsNoAnswer)
{
    ModelFixture f;
    EXPECT_TRUE(f.ask(bytes({0x03, 0x52, 0x12, 0x01})).isEmpty());
    EXPECT_TRUE(f.ask(bytes({0x05, 0x51, 0x12, 0x01})).isEmpty());
}

TEST(ModelErrors, UnknownIndexIsAnsweredWithIndexNotAvailable)
{
    ModelFixture f;
    EXPECT_EQ(f.read(0x7777, 0), bytes({0x04, 0x76, 0xA7, 0x80, 0x11}));
}

TEST(ModelErrors, FetchWithoutReadIsAnsweredWithIndexNotAvailable)
{
    ModelFixture f;
    EXPECT_EQ(f.ask(fetchRequest), bytes({0x04, 0x76, 0xA7, 0x80, 0x11}));
}

TEST(ModelErrors, WritingAReadOnlyParameterIsRefusedAndChangesNothing)
{
    ModelFixture f;
    const QByteArray answer = f.ask(writeRequest(121, 0, valueBytes(7, 5)));
    EXPECT_EQ(static_cast<quint8>(answer.at(2)), 0xA4);
    EXPECT_TRUE(checkOctetFits(answer));
    EXPECT_EQ(f.model->parameterValue(QStringLiteral("SerialCounter")).toLongLong(), 77);
}

TEST(ModelErrors, WritingAnUnknownIndexIsRefused)
{
    ModelFixture f;
    const QByteArray answer = f.ask(writeRequest(0x7777, 0, valueBytes(6, 1)));
    EXPECT_EQ(answer, Frame::errorAnswer(0x24, 0x8011));
}

TEST(ModelErrors, UnknownCommandGetsAnErrorAnswer)
{
    ModelFixture f;
    const QByteArray answer = f.ask(Frame::build(0x3F));
    ASSERT_GE(answer.size(), 3);
    EXPECT_EQ(static_cast<quint8>(answer.at(2)), 0xBF);
    EXPECT_TRUE(checkOctetFits(answer));
}
