#include "SensorDescription.h"
#include "SimulatorTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

using namespace SimulatorTest;

// A document without a section serves the built-in parameters.
TEST(DescriptionLoading, AChosenVariantBringsItsRangesAndParameters)
{
    QTemporaryDir dir;
    // The test document with another parameter section.
    const auto document = [&dir](const QString& name, const QByteArray& section) {
        QFile source(testDocument), file(dir.filePath(name));
        EXPECT_TRUE(source.open(QIODevice::ReadOnly) && file.open(QIODevice::WriteOnly));
        QByteArray text = source.readAll();
        const int from = text.indexOf("<treeGui>");
        file.write(text.replace(from, text.indexOf("</treeGui>") + 10 - from, section));
        return file.fileName();
    };
    QString error;
    const auto chosen = loadSensorDescription(document("plain.xml", {}), "UM035", "108", &error);
    ASSERT_TRUE(chosen) << error.toStdString();
    EXPECT_EQ(std::pair(chosen->variant.minRange, chosen->variant.maxRange), std::pair(30, 340));
    for (const char* id : {"HysteresisA2", "TeachInMode1", "TEACHBUTTON23", "RESETBUTTON", "CrashCounter"})
        EXPECT_TRUE(chosen->find(QLatin1String(id))) << id;
    const qint64 threshold = chosen->find(QStringLiteral("SwitchingThresholdA1"))->defaultNumber;
    EXPECT_TRUE(threshold >= 30 && threshold <= 340) << threshold;
    const auto withSection = loadSensorDescription(testDocument, "UM035", QString(), &error);
    ASSERT_TRUE(withSection) << error.toStdString();
    EXPECT_FALSE(withSection->find(QStringLiteral("Skipped")) ||
                 withSection->find(QStringLiteral("Output1Settings")));
    // A hexadecimal index is refused rather than read as another address.
    const QByteArray hex = "<treeGui><default><node><type>int</type><id>Hex</id><index>0x18</index>"
                           "<subIndex>0</subIndex><size>6</size></node></default></treeGui>";
    EXPECT_FALSE(loadSensorDescription(document("hex.xml", hex), "UM035", {}, &error));
    EXPECT_TRUE(error.contains("'Hex' has index '0x18'")) << error.toStdString();
}

// The simulator's check-octet rule reproduces each fixed request byte for byte.
TEST(ModelRequests, FixedRequestsAreAnsweredWithValidFrames)
{
    const std::pair<QByteArray, int> cases[] = {
        {connectionCheck, 4},
        {bytes({0x04, 0x73, 0x11, 0x09, 0x03}), 3},             // connect setup
        {bytes({0x03, 0x70, 0x21, 0x03}), 3},                   // connect mode
        {bytes({0x03, 0x4F, 0x23, 0x9B}), 3},                   // single byte
        {bytes({0x02, 0x52, 0x25}), 3},                         // prepare tag write
        {bytes({0x06, 0x4C, 0x24, 0x00, 0x00, 0x01, 0x98}), 3}, // single-byte commit
        {factoryResetRequest, 3},
        {processDataRequest, 8},
        {bytes({0x05, 0x57, 0x26, 0x12, 0x00, 0x00}), 8}, // identity read
        {bytes({0x05, 0x52, 0x26, 0x11, 0x12, 0x00}), 8}, // echo read
        {bytes({0x05, 0x76, 0x26, 0x34, 0x12, 0x05}), 8}, // read 0x1234/5
    };
    ModelFixture f;
    for (const auto& [request, answerSize] : cases) {
        const std::string name = request.toHex().toStdString();
        EXPECT_EQ(Frame::build(static_cast<quint8>(request.at(2)), request.mid(3)), request) << name;
        const QByteArray answer = f.ask(request);
        ASSERT_EQ(answer.size(), answerSize) << name;
        EXPECT_EQ(answer.at(2), request.at(2)) << name;
        EXPECT_TRUE(Frame::isValid(answer)) << name;
    }
    EXPECT_EQ(f.model->pendingRead(), (ParameterAddress{0x1234, 5}));
}

TEST(ModelRequests, RefusedRequestsGetErrorAnswersAndChangeNothing)
{
    ModelFixture f;
    EXPECT_EQ(f.ask(fetchRequest), indexNotAvailable); // no read before
    EXPECT_EQ(f.read(0x7777, 0), indexNotAvailable);
    EXPECT_EQ(f.ask(writeRequest(0x7777, 0, valueBytes(6, 1))), Frame::errorAnswer(0x24, 0x8011));
    EXPECT_EQ(f.write("SerialCounter", 5), Frame::errorAnswer(Frame::ParameterWrite, Frame::AccessDenied));
    EXPECT_EQ(f.number("SerialCounter"), 77);
    EXPECT_EQ(f.ask(Frame::build(0x3F)), Frame::errorAnswer(0x3F, Frame::FunctionNotAvailable));
    EXPECT_TRUE(f.ask(bytes({0x03, 0x52, 0x12, 0x01})).isEmpty()); // check octet
    EXPECT_TRUE(f.ask(bytes({0x05, 0x51, 0x12, 0x01})).isEmpty()); // length byte
    // The far end's "no limit" lies beyond its declared range.
    const std::tuple<const char*, int, bool> writes[] = {
        {"SwitchingThresholdA1", 19, false}, {"SwitchingThresholdA1", 351, false},
        {"SwitchingThresholdA1", 20, true},  {"SwitchingThresholdA1", 350, true},
        {"OnDelay1", 60001, false},          {"OnDelay1", 60000, true},
        {"HysteresisA1", 101, false},        {"HysteresisA1", 0, true},
        {"DetectionRangeFar", 29999, false}, {"DetectionRangeFar", 30000, true}};
    for (const auto& [id, value, accepted] : writes) {
        const qint64 before = f.number(id);
        EXPECT_EQ(f.write(id, value), accepted ? writeAcknowledgement : bytes({0x04, 0x73, 0xA4, 0x80, 0x30}))
            << id << value;
        EXPECT_EQ(f.number(id), accepted ? value : before) << id << " = " << value;
    }
}

// Numbers the workbench decodes: a length byte above 4 in decimal hex digits.
TEST(ModelParameters, WrittenValuesOfEverySizeReadBackUntilAFactoryReset)
{
    const std::tuple<quint16, quint8, int, int, int> cases[] = {
        {81, 0, 6, 0, 1}, {100, 1, 7, 200, 333}, {100, 2, 7, 10, 33}, {4660, 5, 9, 1500, 0x1234}};
    ModelFixture f;
    for (const auto& [index, subIndex, size, defaultValue, written] : cases) {
        const QByteArray answer = f.read(index, subIndex);
        bool decimal = false;
        EXPECT_TRUE(answer.left(1).toHex().toInt(&decimal, 10) > 4 && decimal && Frame::isValid(answer));
        EXPECT_EQ(answerNumber(answer), defaultValue) << index << "/" << int(subIndex);
        f.ask(writeRequest(index, subIndex, valueBytes(size, written)));
        EXPECT_EQ(answerNumber(f.read(index, subIndex)), written) << index << "/" << int(subIndex);
    }
    f.ask(tagWrite(0x18, "kept?"));
    f.ask(writeRequest(2, 0, valueBytes(6, 0x81))); // another system command
    EXPECT_EQ(answerNumber(f.read(100, 1)), 333);
    EXPECT_EQ(f.ask(factoryResetRequest), writeAcknowledgement);
    for (const auto& [index, subIndex, size, defaultValue, written] : cases)
        EXPECT_EQ(answerNumber(f.read(index, subIndex)), defaultValue) << index << "/" << int(subIndex);
    EXPECT_TRUE(answerText(f.read(0x18, 0)).isEmpty());

    // A single byte waits for its commit.
    f.ask(Frame::build(0x23, bytes({0x99})));
    EXPECT_EQ(f.model->processDataSelection(), 0);
    f.ask(bytes({0x06, 0x4C, 0x24, 0x00, 0x00, 0x01, 0x98}));
    EXPECT_EQ(f.model->processDataSelection(), 0x99);
}

TEST(ModelParameters, TextsTagsTheSelfReadOnlyNumberAndTheCrashCounter)
{
    ModelFixture f(QStringLiteral("108"));
    EXPECT_EQ(answerText(f.read(0x12, 0)), QString("UM035-108"));
    EXPECT_EQ(f.read(0x1323, 0), indexNotAvailable); // no crash detection
    const QByteArray hours = f.read(122, 0);
    EXPECT_TRUE(Frame::isValid(hours) && hours.right(4).toHex().toInt(nullptr, 16) == 123456);
    // A free text loses only its zero padding.
    EXPECT_EQ(f.ask(writeRequest(130, 0, QByteArray("Hall 3\0", 7))), writeAcknowledgement);
    EXPECT_EQ(f.model->parameterValue(QStringLiteral("Location")).toByteArray(), QByteArray("Hall 3"));
    for (const quint8 index : {0x18, 0x19, 0x1A}) {
        EXPECT_TRUE(answerText(f.read(index, 0)).isEmpty());
        const QByteArray text = "Tag " + QByteArray::number(index);
        EXPECT_EQ(f.ask(tagWrite(index, text)), writeAcknowledgement);
        EXPECT_EQ(f.read(index, 0), Frame::build(Frame::Fetch, text + QByteArray(32 - text.size(), '\0')));
    }

    ModelFixture crashes;
    const int counter = answerNumber(crashes.read(0x1323, 0));
    EXPECT_TRUE(counter >= 1 && counter <= 5) << counter;
    crashes.write("RESETBUTTON", 0);
    EXPECT_EQ(crashes.read(0x1323, 0).right(2), bytes({0, 0}));
}

// 22 bytes: 15 check 27, echo count, 00, index of the evaluated echo, four
// distances and four amplitudes, unused ones FFFF.
TEST(EchoRecord, HoldsTheTargetAmongUpToFourEchoesNoneWithoutATarget)
{
    ModelFixture f;
    for (const qint64 from : {0, 7000, 40000}) {
        f.moveTo(TargetMotion::Kind::Distance, from);
        const QByteArray record = f.read(0x1211, 0);
        ASSERT_EQ(record.size(), 22);
        EXPECT_TRUE(record.at(0) == 0x15 && Frame::isValid(record));
        const int count = static_cast<quint8>(record.at(3));
        const int evaluated = static_cast<quint8>(record.at(5));
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
    QByteArray record = f.read(0x1211, 0);
    EXPECT_EQ(record.at(3), 0);
    EXPECT_GT(static_cast<quint8>(record.at(5)), 3);
    EXPECT_EQ(record.mid(6), QByteArray(16, '\xFF'));
    f.moveTo(TargetMotion::Kind::TooClose);
    EXPECT_EQ(f.read(0x1211, 0).mid(6, 2).toHex(), QByteArray("8008"));
}
