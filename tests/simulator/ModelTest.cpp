#include "SensorDescription.h"
#include "SimulatorTestSupport.h"

#include <QTemporaryFile>

using namespace SimulatorTest;

// The test document's section serves no categories and no nodes of unknown type; a hexadecimal index is
// refused rather than read as another address.
TEST(DescriptionLoading, ASectionServesOnlyParametersAndRefusesHexadecimalIndexes)
{
    ModelFixture f;
    const SensorDescription& description = f.model->description();
    EXPECT_FALSE(description.find(QStringLiteral("Skipped")) ||
                 description.find(QStringLiteral("Output1Settings")));
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(
        "<document><documentId>IoLinkMzRT5family</documentId><sensorList><sensor><id>UM035</id><sensors>"
        "<variant><ID3>107</ID3></variant></sensors></sensor></sensorList><treeGui><default><node>"
        "<type>int</type><id>Hex</id><index>0x18</index></node></default></treeGui></document>");
    file.close();
    QString error;
    EXPECT_FALSE(loadSensorDescription(file.fileName(), "UM035", {}, &error));
    EXPECT_TRUE(error.contains("'Hex' has index '0x18'")) << error.toStdString();
}

// The check-octet rule reproduces the workbench's fixed requests (connection check, connect setup and mode,
// single byte and its commit, tag preparation, factory reset, process data, reads) byte for byte. Refused
// requests change nothing; the far end's "no limit" lies beyond its declared range.
TEST(ModelRequests, FixedRequestsGetValidFramesRefusedOnesErrorAnswers)
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
    const std::tuple<const char*, int, int> limits[] = {
        {"SwitchingThresholdA1", 20, 19}, {"SwitchingThresholdA1", 350, 351},
        {"OnDelay1", 60000, 60001},       {"HysteresisA1", 100, 101},
        {"HysteresisA1", 0, 101},         {"DetectionRangeFar", 30000, 29999}};
    for (const auto& [id, accepted, refused] : limits) {
        EXPECT_EQ(f.write(id, accepted), writeAcknowledgement) << id << accepted;
        EXPECT_EQ(f.write(id, refused), bytes({0x04, 0x73, 0xA4, 0x80, 0x30})) << id << refused;
        EXPECT_EQ(f.number(id), accepted) << id;
    }
    const std::pair<const char*, int> cases[] = {
        {"03511201", 4},     {"0473110903", 3},     {"03702103", 3},       {"034F239B", 3},
        {"025225", 3},       {"064C2400000198", 3}, {"066B2402000082", 3}, {"027022", 8},
        {"055726120000", 8}, {"055226111200", 8},   {"057626341205", 8}};
    for (const auto& [hex, answerSize] : cases) {
        const QByteArray request = QByteArray::fromHex(hex);
        EXPECT_EQ(Frame::build(static_cast<quint8>(request.at(2)), request.mid(3)), request);
        const QByteArray answer = f.ask(request);
        EXPECT_TRUE(answer.size() == answerSize && answer.at(2) == request.at(2) && Frame::isValid(answer))
            << hex << " got " << answer.toHex().toStdString();
    }
    EXPECT_EQ(f.model->pendingRead(), (ParameterAddress{0x1234, 5}));
}

// Numbers the workbench decodes: a length byte above 4 in decimal hex digits. A single byte waits for its
// commit; a free text loses only its zero padding; the crash counter counts until it is reset.
TEST(ModelParameters, WrittenValuesOfEverySizeReadBackUntilAFactoryReset)
{
    const std::tuple<quint16, quint8, int, int, int> cases[] = {
        {81, 0, 6, 0, 1}, {100, 1, 7, 200, 333}, {100, 2, 7, 10, 33}, {4660, 5, 9, 1500, 0x1234}};
    ModelFixture f;
    const int crashes = answerNumber(f.read(0x1323, 0));
    EXPECT_TRUE(crashes >= 1 && crashes <= 5) << crashes;
    f.write("RESETBUTTON", 0);
    EXPECT_EQ(f.read(0x1323, 0).right(2), bytes({0, 0}));
    for (const auto& [index, subIndex, size, defaultValue, written] : cases) {
        const QByteArray answer = f.read(index, subIndex);
        bool decimal = false;
        EXPECT_TRUE(answer.left(1).toHex().toInt(&decimal, 10) > 4 && decimal && Frame::isValid(answer));
        f.ask(writeRequest(index, subIndex, valueBytes(size, written)));
        EXPECT_EQ(answerNumber(f.read(index, subIndex)), written) << index << "/" << int(subIndex);
    }
    f.ask(writeRequest(0x18, 0, QByteArray("kept?").leftJustified(32, '\0')));
    EXPECT_EQ(answerText(f.read(0x18, 0)), QString("kept?"));
    f.ask(writeRequest(2, 0, valueBytes(6, 0x81))); // another system command
    EXPECT_EQ(answerNumber(f.read(100, 1)), 333);
    EXPECT_EQ(f.ask(factoryResetRequest), writeAcknowledgement);
    for (const auto& [index, subIndex, size, defaultValue, written] : cases)
        EXPECT_EQ(answerNumber(f.read(index, subIndex)), defaultValue) << index << "/" << int(subIndex);
    EXPECT_TRUE(answerText(f.read(0x18, 0)).isEmpty());

    f.ask(Frame::build(0x23, bytes({0x99})));
    EXPECT_EQ(f.model->processDataSelection(), 0);
    f.ask(bytes({0x06, 0x4C, 0x24, 0x00, 0x00, 0x01, 0x98}));
    EXPECT_EQ(f.model->processDataSelection(), 0x99);
    EXPECT_EQ(f.ask(writeRequest(130, 0, QByteArray("Hall 3\0", 7))), writeAcknowledgement);
    EXPECT_EQ(f.model->parameterValue(QStringLiteral("Location")).toByteArray(), QByteArray("Hall 3"));
    const QByteArray hours = f.read(122, 0);
    EXPECT_TRUE(Frame::isValid(hours) && hours.right(4).toHex().toInt(nullptr, 16) == 123456);
}
