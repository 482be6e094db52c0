#include "SimulatorTestSupport.h"

using namespace SimulatorTest;

// Every fixed request of the command set: the simulator's check-octet rule
// reproduces it byte for byte, and the model answers it with a valid frame
// naming the command.
TEST(ModelRequests, FixedRequestsAreAnsweredWithValidFrames)
{
    const struct
    {
        QByteArray request;
        int answerSize;
    } cases[] = {
        {connectionCheck, 4},
        {bytes({0x04, 0x73, 0x11, 0x09, 0x03}), 3},             // connect setup
        {bytes({0x03, 0x70, 0x21, 0x03}), 3},                   // connect mode
        {bytes({0x03, 0x4F, 0x23, 0x9B}), 3},                   // single byte
        {bytes({0x02, 0x52, 0x25}), 3},                         // prepare tag write
        {bytes({0x06, 0x4C, 0x24, 0x00, 0x00, 0x01, 0x98}), 3}, // single-byte commit
        {bytes({0x06, 0x6B, 0x24, 0x02, 0x00, 0x00, 0x82}), 3}, // factory reset
        {processDataRequest, 8},
        {bytes({0x05, 0x57, 0x26, 0x12, 0x00, 0x00}), 8}, // identity read
        {bytes({0x05, 0x52, 0x26, 0x11, 0x12, 0x00}), 8}, // echo read
        {bytes({0x05, 0x76, 0x26, 0x34, 0x12, 0x05}), 8}, // read 0x1234/5
    };
    ModelFixture f;
    for (const auto& c : cases) {
        const std::string name = c.request.toHex().toStdString();
        EXPECT_EQ(Frame::build(static_cast<quint8>(c.request.at(2)), c.request.mid(3)), c.request) << name;
        const QByteArray answer = f.ask(c.request);
        ASSERT_EQ(answer.size(), c.answerSize) << name;
        EXPECT_EQ(answer.at(2), c.request.at(2)) << name; // the command answered
        EXPECT_TRUE(Frame::isValid(answer)) << name;
    }
    // The last read is remembered for the fetch.
    ASSERT_TRUE(f.model->pendingRead());
    EXPECT_EQ(f.model->pendingRead()->index, 0x1234);
    EXPECT_EQ(f.model->pendingRead()->subIndex, 5);
}

TEST(ModelRequests, ProcessDataRecordCarriesDistanceAndStatus)
{
    ModelFixture f;
    *f.now = momentOf(f.motion(), TargetMotion::Kind::Distance, 5000);
    const QByteArray record = f.ask(processDataRequest);
    ASSERT_EQ(record.size(), 8);
    EXPECT_EQ(Frame::readUint16(record, 4), f.motion().at(*f.now).distanceMm);
    EXPECT_EQ(static_cast<quint8>(record.at(7)), f.model->statusBits());
}

TEST(ModelErrors, RefusedRequestsGetErrorAnswersAndChangeNothing)
{
    ModelFixture f;
    const QByteArray indexNotAvailable = bytes({0x04, 0x76, 0xA7, 0x80, 0x11});
    EXPECT_EQ(f.ask(fetchRequest), indexNotAvailable); // no read before
    EXPECT_EQ(f.read(0x7777, 0), indexNotAvailable);
    EXPECT_EQ(f.ask(writeRequest(0x7777, 0, valueBytes(6, 1))), Frame::errorAnswer(0x24, 0x8011));

    const QByteArray readOnly = f.ask(writeRequest(121, 0, valueBytes(7, 5)));
    EXPECT_EQ(static_cast<quint8>(readOnly.at(2)), 0xA4);
    EXPECT_TRUE(Frame::isValid(readOnly));
    EXPECT_EQ(f.model->parameterValue(QStringLiteral("SerialCounter")).toLongLong(), 77);

    const QByteArray unknownCommand = f.ask(Frame::build(0x3F));
    ASSERT_GE(unknownCommand.size(), 3);
    EXPECT_EQ(static_cast<quint8>(unknownCommand.at(2)), 0xBF);
    EXPECT_TRUE(Frame::isValid(unknownCommand));

    // A wrong check octet or length byte gets no answer at all.
    EXPECT_TRUE(f.ask(bytes({0x03, 0x52, 0x12, 0x01})).isEmpty());
    EXPECT_TRUE(f.ask(bytes({0x05, 0x51, 0x12, 0x01})).isEmpty());
}

// Only the ends the description declares are checked; both are allowed.
TEST(ModelErrors, WritesOutsideTheDeclaredRangeAreRefusedAndChangeNothing)
{
    const struct
    {
        const char* id;
        int value;
        bool accepted;
    } cases[] = {
        {"SwitchingThresholdA1", 19, false},
        {"SwitchingThresholdA1", 351, false},
        {"SwitchingThresholdA1", 20, true},
        {"SwitchingThresholdA1", 350, true},
        {"OnDelay1", 60001, false},
        {"OnDelay1", 60000, true},
        {"HysteresisA1", 101, false},
        {"HysteresisA1", 0, true},
        // The far end's "no limit" lies beyond its declared range.
        {"DetectionRangeFar", 30000, true},
        {"DetectionRangeFar", 29999, false},
    };
    for (const auto& c : cases) {
        ModelFixture f;
        const ParameterSpec* spec = f.model->description().find(QLatin1String(c.id));
        ASSERT_TRUE(spec) << c.id;
        const qint64 before = f.model->parameterValue(QLatin1String(c.id)).toLongLong();
        const QByteArray answer =
            f.ask(writeRequest(spec->address.index, spec->address.subIndex, valueBytes(spec->size, c.value)));
        const std::string name = std::string(c.id) + " = " + std::to_string(c.value);
        if (c.accepted) {
            EXPECT_EQ(answer, bytes({0x02, 0x43, 0x24})) << name;
            EXPECT_EQ(f.model->parameterValue(QLatin1String(c.id)).toLongLong(), c.value) << name;
        } else {
            EXPECT_EQ(answer, bytes({0x04, 0x73, 0xA4, 0x80, 0x30})) << name;
            EXPECT_EQ(f.model->parameterValue(QLatin1String(c.id)).toLongLong(), before) << name;
        }
    }
}
