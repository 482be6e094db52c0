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

// Requests as the workbench forms them.
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
    const int high = (value >> 8) & 0xFF;
    const int low = value & 0xFF;
    if (size == 6)
        return bytes({low});
    if (size == 7)
        return bytes({high, low});
    return bytes({0, 0, high, low});
}

inline QByteArray tagWrite(quint8 index, const QByteArray& text)
{
    return writeRequest(index, 0, text + QByteArray(32 - text.size(), '\0'));
}

inline const QByteArray connectionCheck = bytes({0x03, 0x51, 0x12, 0x01});
inline const QByteArray processDataRequest = bytes({0x02, 0x70, 0x22});
inline const QByteArray fetchRequest = bytes({0x02, 0x73, 0x27});

// Answers read as the sensor window reads them.
using NimbarSensorPlugin::Core::answerNumber;
using NimbarSensorPlugin::Core::answerText;

// A moment (ms) at which the target shows the given kind of reading.
inline qint64 momentOf(const TargetMotion& motion, TargetMotion::Kind kind, qint64 from = 0)
{
    for (qint64 ms = from; ms < from + 120000; ms += 50) {
        if (motion.at(ms).kind == kind)
            return ms;
    }
    ADD_FAILURE() << "no such moment within two minutes";
    return from;
}

// A moment at which the target is between low and high millimetres.
inline qint64 momentBetween(const TargetMotion& motion, int low, int high, qint64 from = 0)
{
    for (qint64 ms = from; ms < from + 120000; ms += 50) {
        const TargetMotion::Sample sample = motion.at(ms);
        if (sample.kind == TargetMotion::Kind::Distance && sample.distanceMm >= low &&
            sample.distanceMm <= high)
            return ms;
    }
    ADD_FAILURE() << "the target never came between " << low << " and " << high;
    return from;
}

// A description document with a parameter section, written for one test.
class TestDocument
{
public:
    static constexpr const char* ParameterSection = R"(
  <treeGui>
    <default>
      <node>
        <type>category</type>
        <id>Output1Settings</id>
        <property>
          <type>double</type><id>SwitchingThresholdA1</id>
          <index>100</index><subIndex>1</subIndex><size>7</size>
          <min>20</min><max>350</max><defaultvalue>200.0</defaultvalue><readonly>false</readonly>
        </property>
        <property>
          <type>double</type><id>HysteresisA1</id>
          <index>100</index><subIndex>2</subIndex><size>7</size>
          <min>0</min><max>100</max><defaultvalue>10</defaultvalue><readonly>false</readonly>
        </property>
        <property>
          <type>enumerator</type><id>TeachInMode1</id>
          <index>101</index><subIndex>0</subIndex><size>6</size><defaultvalue>0</defaultvalue>
          <items><a><en>Point</en></a><b><en>Two points</en></b><c><en>Window</en></c></items>
        </property>
        <property>
          <type>double</type><id>LowerThresholdA1</id>
          <index>102</index><subIndex>1</subIndex><size>7</size><defaultvalue>15</defaultvalue>
        </property>
        <property>
          <type>double</type><id>UpperThresholdA1</id>
          <index>102</index><subIndex>2</subIndex><size>7</size><defaultvalue>25</defaultvalue>
        </property>
        <property>
          <type>action</type><id>TEACHBUTTON1</id>
          <index>110</index><subIndex>1</subIndex><size>6</size>
          <caption><text><en>Teach</en></text></caption>
        </property>
      </node>
      <node>
        <type>int</type><id>OnDelay1</id>
        <index>4660</index><subIndex>5</subIndex><size>9</size>
        <min>0</min><max>60000</max><defaultvalue>1500</defaultvalue><readonly>false</readonly>
      </node>
      <node>
        <type>enumerator</type><id>MesurementUnit</id>
        <index>81</index><subIndex>0</subIndex><size>6</size><defaultvalue>0</defaultvalue>
        <items><a><en>mm</en></a><b><en>inch</en></b></items>
      </node>
      <node>
        <type>bool</type><id>NONCA1</id>
        <index>120</index><subIndex>0</subIndex><size>6</size><defaultvalue>1</defaultvalue>
      </node>
      <node>
        <type>int</type><id>SerialCounter</id>
        <index>121</index><subIndex>0</subIndex><size>7</size><defaultvalue>77</defaultvalue>
      </node>
      <node>
        <type>string</type><id>FirmwareRevisionReadOnly</id>
        <index>23</index><subIndex>0</subIndex><size>10</size><defaultvalue>V1.02</defaultvalue>
      </node>
      <node>
        <type>string</type><id>OperatingHoursSelfReadOnly</id>
        <index>122</index><subIndex>0</subIndex><size>9</size><defaultvalue>123456</defaultvalue>
      </node>
      <node>
        <type>string</type><id>FunctionTag</id><isString>true</isString>
        <index>25</index><subIndex>0</subIndex><size>32</size><defaultvalue>ignored</defaultvalue>
      </node>
      <node>
        <type>nonsense</type><id>Skipped</id>
      </node>
    </default>
  </treeGui>
)";

    static std::string family(const std::string& treeGui = "")
    {
        return std::string(
                   "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<document>\n"
                   "  <documentId>IoLinkMzRT5family</documentId>\n  <sensorList>\n"
                   "    <sensor><id>UM035</id><name>Test-350</name><sensors>\n"
                   "      <!-- first variant -->\n"
                   "      <variant><ID3>107</ID3><analogOutput>1</analogOutput><maxRange>350</maxRange>"
                   "<minRange>20</minRange><objMaxRange>351</objMaxRange><objMinRange>0</objMinRange>"
                   "<A2PinFct>0</A2PinFct><resetAcc>1</resetAcc></variant>\n"
                   "      <variant><ID3>108</ID3><analogOutput>0</analogOutput><maxRange>340</maxRange>"
                   "<minRange>30</minRange><A2PinFct>1</A2PinFct><resetAcc>0</resetAcc></variant>\n"
                   "    </sensors></sensor>\n"
                   "    <sensor><id>UK600</id><name>Test-6000</name><sensors>\n"
                   "      <variant><ID3>111</ID3><maxRange>6000</maxRange><minRange>350</minRange>"
                   "</variant>\n"
                   "    </sensors></sensor>\n"
                   "  </sensorList>\n") +
               treeGui + "</document>\n";
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

// A model of the test document on a clock the test moves.
struct ModelFixture
{
    std::shared_ptr<qint64> now = std::make_shared<qint64>(0);
    TestDocument document;
    std::unique_ptr<SensorModel> model;

    explicit ModelFixture(bool parameters = true, const QString& variant = QString(), quint32 seed = 7)
    {
        QString error;
        const QString path = parameters ? document.withParameters() : document.withoutParameters();
        model = SensorModel::create(path, QStringLiteral("UM035"), variant, seed, &error,
                                    [clock = now] { return *clock; });
        EXPECT_TRUE(model) << error.toStdString();
    }

    TargetMotion motion() const
    {
        const VariantInfo& variant = model->description().variant;
        return TargetMotion(model->seed(), variant.minRange, variant.maxRange);
    }

    QByteArray ask(const QByteArray& request) { return model->answer(request); }

    // Read request, then fetch, as the workbench reads a parameter.
    QByteArray read(quint16 index, quint8 subIndex)
    {
        ask(readRequest(index, subIndex));
        ask(processDataRequest);
        return ask(fetchRequest);
    }
};

} // namespace SimulatorTest
