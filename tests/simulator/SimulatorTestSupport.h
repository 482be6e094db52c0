#pragma once

#include "Frame.h"
#include "SensorModel.h"
#include "TargetMotion.h"

#include <parameters/ValueCodec.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace SimulatorTest {

using namespace IoLinkSimulator;
// Answers read as the sensor window reads them.
using NimbarSensorPlugin::Core::answerNumber;
using NimbarSensorPlugin::Core::answerText;

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (const int value : values)
        result.append(static_cast<char>(value));
    return result;
}

inline QByteArray readRequest(quint16 index, quint8 subIndex)
{
    return Frame::build(Frame::ReadRequest, bytes({index & 0xFF, index >> 8, subIndex}));
}

inline QByteArray writeRequest(quint16 index, quint8 subIndex, const QByteArray& value)
{
    return Frame::build(Frame::ParameterWrite, bytes({index & 0xFF, index >> 8, subIndex}) + value);
}

// Value bytes by the parameter's size: 6 one byte, 7 two, 9 four (00 00 H L).
inline QByteArray valueBytes(int size, int value)
{
    const QByteArray four = bytes({0, 0, (value >> 8) & 0xFF, value & 0xFF});
    return four.right(size == 6 ? 1 : size == 7 ? 2 : 4);
}

inline QByteArray tagWrite(quint8 index, const QByteArray& text)
{
    return writeRequest(index, 0, text + QByteArray(32 - text.size(), '\0'));
}

inline const QByteArray connectionCheck = bytes({0x03, 0x51, 0x12, 0x01});
inline const QByteArray processDataRequest = bytes({0x02, 0x70, 0x22});
inline const QByteArray fetchRequest = bytes({0x02, 0x73, 0x27});
inline const QByteArray factoryResetRequest = bytes({0x06, 0x6B, 0x24, 0x02, 0x00, 0x00, 0x82});
inline const QByteArray writeAcknowledgement = bytes({0x02, 0x43, 0x24});
inline const QByteArray indexNotAvailable = bytes({0x04, 0x76, 0xA7, 0x80, 0x11});

class TestDocument
{
public:
    static constexpr const char* ParameterSection = R"(<treeGui><default>
  <node><type>category</type><id>Output1Settings</id>
    <property><type>double</type><id>SwitchingThresholdA1</id><index>100</index><subIndex>1</subIndex>
      <size>7</size><min>20</min><max>350</max><defaultvalue>200.0</defaultvalue></property>
    <property><type>double</type><id>HysteresisA1</id><index>100</index><subIndex>2</subIndex>
      <size>7</size><min>0</min><max>100</max><defaultvalue>10</defaultvalue></property>
  </node>
  <node><type>int</type><id>OnDelay1</id><index>4660</index><subIndex>5</subIndex><size>9</size>
    <min>0</min><max>60000</max><defaultvalue>1500</defaultvalue><readonly>false</readonly></node>
  <node><type>enumerator</type><id>MesurementUnit</id><index>81</index><subIndex>0</subIndex>
    <size>6</size><defaultvalue>0</defaultvalue></node>
  <node><type>int</type><id>SerialCounter</id><index>121</index><subIndex>0</subIndex><size>7</size>
    <defaultvalue>77</defaultvalue></node>
  <node><type>string</type><id>OperatingHoursSelfReadOnly</id><index>122</index><subIndex>0</subIndex>
    <size>9</size><defaultvalue>123456</defaultvalue></node>
  <node><type>string</type><id>Location</id><isString>true</isString><index>130</index><subIndex>0</subIndex>
    <size>16</size></node>
  <node><type>nonsense</type><id>Skipped</id></node>
</default></treeGui>
)";

    static std::string family(const std::string& treeGui = "")
    {
        return R"(<?xml version="1.0" encoding="utf-8"?>
<document><documentId>IoLinkMzRT5family</documentId><sensorList>
  <sensor><id>UM035</id><name>Test-350</name><sensors>
    <variant><ID3>107</ID3><maxRange>350</maxRange><minRange>20</minRange></variant>
    <variant><ID3>108</ID3><maxRange>340</maxRange><minRange>30</minRange><A2PinFct>1</A2PinFct>
      <resetAcc>0</resetAcc></variant>
  </sensors></sensor>
  <sensor><id>UK600</id><name>Test-6000</name><sensors>
    <variant><ID3>111</ID3><maxRange>6000</maxRange><minRange>350</minRange></variant>
  </sensors></sensor>
</sensorList>
)" + treeGui + "</document>\n";
    }

    QString write(const std::string& text, const QString& name = QStringLiteral("family.xml"))
    {
        const QString path = m_dir.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << text;
        return path;
    }

    QString withParameters() { return write(family(ParameterSection)); }
    QString withoutParameters() { return write(family(), QStringLiteral("plain.xml")); }

private:
    QTemporaryDir m_dir;
};

struct ModelFixture
{
    std::shared_ptr<qint64> now = std::make_shared<qint64>(0);
    TestDocument document;
    std::unique_ptr<SensorModel> model;

    explicit ModelFixture(const QString& variant = QString())
    {
        QString error;
        model = SensorModel::create(document.withParameters(), QStringLiteral("UM035"), variant, 7, &error,
                                    [clock = now] { return *clock; });
        EXPECT_TRUE(model) << error.toStdString();
    }

    TargetMotion motion() const
    {
        return TargetMotion(model->seed(), model->description().variant.minRange,
                            model->description().variant.maxRange);
    }

    // Moves the clock to a moment the target shows this kind of reading.
    void moveTo(TargetMotion::Kind kind, qint64 from = 3000, int low = 0, int high = 0xFFFF)
    {
        const TargetMotion target = motion();
        for (*now = from; *now < from + 120000; *now += 50) {
            const TargetMotion::Sample sample = target.at(*now);
            if (sample.kind == kind && sample.distanceMm >= low && sample.distanceMm <= high)
                return;
        }
        ADD_FAILURE() << "no such moment within two minutes";
    }
    void moveBetween(int low, int high) { moveTo(TargetMotion::Kind::Distance, 3000, low, high); }

    QByteArray ask(const QByteArray& request) { return model->answer(request); }

    QByteArray read(quint16 index, quint8 subIndex)
    {
        ask(readRequest(index, subIndex));
        ask(processDataRequest);
        return ask(fetchRequest);
    }

    QByteArray write(const char* id, int value)
    {
        const ParameterSpec* parameter = model->description().find(QLatin1String(id));
        EXPECT_TRUE(parameter) << id;
        return parameter ? ask(writeRequest(parameter->address.index, parameter->address.subIndex,
                                            valueBytes(parameter->size, value)))
                         : QByteArray();
    }

    qint64 number(const char* id) const { return model->parameterValue(QLatin1String(id)).toLongLong(); }
};

} // namespace SimulatorTest
