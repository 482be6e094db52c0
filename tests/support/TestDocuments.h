#pragma once

// The description documents the tests that run the plug-in's window make
// it read: a small one of their own, or the family's real one.

#include <QFile>
#include <QString>

// A small description document for the end-to-end tests of the link: two
// models whose variants cover the analog output, a single switching output
// and missing crash detection, a few parameters of every kind, so that
// reading or writing all of them takes a second or two, and the rows of the
// process-data list up to the master's output bits.
inline const char* linkTestDocument()
{
    return R"(<?xml version="1.0" encoding="utf-8"?>
<document>
  <documentId>IoLinkMzRT5family</documentId>
  <sensorList>
    <sensor><id>UM060</id><name>Test M18</name>
      <portsettings><characterdelay>0</characterdelay><linedelay>0</linedelay></portsettings>
      <chartsettings><thresholdsreadonly>1</thresholdsreadonly></chartsettings>
      <sensors>
        <variant><ID3>113</ID3><analogOutput>0</analogOutput><maxRange>600</maxRange><minRange>30</minRange>
          <objMaxRange>601</objMaxRange><objMinRange>0</objMinRange><A2PinFct>0</A2PinFct><resetAcc>1</resetAcc></variant>
        <variant><ID3>111</ID3><analogOutput>0</analogOutput><maxRange>600</maxRange><minRange>30</minRange>
          <objMaxRange>601</objMaxRange><objMinRange>0</objMinRange><A2PinFct>1</A2PinFct><resetAcc>0</resetAcc></variant>
      </sensors>
    </sensor>
    <sensor><id>UK130</id><name>Test M30</name>
      <portsettings><characterdelay>0</characterdelay><linedelay>0</linedelay></portsettings>
      <chartsettings><thresholdsreadonly>0</thresholdsreadonly></chartsettings>
      <sensors>
        <variant><ID3>137</ID3><analogOutput>1</analogOutput><maxRange>1300</maxRange><minRange>80</minRange>
          <objMaxRange>1301</objMaxRange><objMinRange>0</objMinRange><A2PinFct>0</A2PinFct><resetAcc>1</resetAcc></variant>
        <variant><ID3>120</ID3><analogOutput>0</analogOutput><maxRange>1300</maxRange><minRange>80</minRange>
          <objMaxRange>1301</objMaxRange><objMinRange>0</objMinRange><A2PinFct>0</A2PinFct><resetAcc>1</resetAcc></variant>
      </sensors>
    </sensor>
  </sensorList>
  <treeGui><default>
    <n><type>category</type><id>OutputA1Group</id><text><en>Output A1</en></text>
      <property><type>enumerator</type><id>PinFunctionA1</id><text><en>Pin A1</en></text>
        <index>72</index><subIndex>1</subIndex><size>6</size><defaultvalue>0</defaultvalue><readonly>false</readonly>
        <items><a><en>PNP</en></a><b><en>NPN</en></b><c><en>Push-pull</en></c><d><en>Sync</en></d>
          <e><en>Teach input</en></e><f><en>Off</en></f><g><en>Crash</en></g></items></property>
      <property><type>double</type><id>SwitchingThresholdA1</id><text><en>Switching point A1 (mm)</en></text>
        <index>64</index><subIndex>1</subIndex><size>7</size><min>1</min><max>10000</max>
        <defaultvalue>300</defaultvalue><readonly>false</readonly></property>
      <property><type>category</type><id>Output1Settings</id><text><en>Settings A1</en></text>
        <property><type>int</type><id>OnDelay1</id><text><en>On delay</en></text>
          <index>75</index><subIndex>1</subIndex><size>9</size><min>0</min><max>100000</max>
          <defaultvalue>0</defaultvalue><readonly>false</readonly></property>
        <property><type>enumerator</type><id>InputMode1</id><text><en>Input mode</en></text>
          <index>77</index><subIndex>1</subIndex><size>6</size><defaultvalue>0</defaultvalue><readonly>false</readonly>
          <items><a><en>Low</en></a><b><en>High</en></b></items></property>
      </property>
      <property><type>action</type><id>TEACHBUTTON1</id><text><en>Teach A1</en></text>
        <index>69</index><subIndex>1</subIndex><size>6</size><readonly>false</readonly>
        <caption><text><en>Teach</en></text></caption></property>
    </n>
    <n><type>category</type><id>Output2Settings</id><text><en>Settings A2</en></text>
      <property><type>enumerator</type><id>PinFunctionA2</id><text><en>Pin A2</en></text>
        <index>72</index><subIndex>2</subIndex><size>6</size><defaultvalue>0</defaultvalue><readonly>false</readonly>
        <items><a><en>PNP</en></a><b><en>NPN</en></b><c><en>Push-pull</en></c><d><en>Sync</en></d>
          <e><en>Teach input</en></e><f><en>Off</en></f><g><en>Inverse</en></g><h><en>Crash</en></h></items></property>
    </n>
    <n><type>category</type><id>AnalogMode</id><text><en>Analog</en></text>
      <property><type>enumerator</type><id>AnalogSubt</id><text><en>Analog kind</en></text>
        <index>78</index><subIndex>1</subIndex><size>6</size><defaultvalue>0</defaultvalue><readonly>false</readonly>
        <items><a><en>Current</en></a><b><en>Voltage</en></b></items></property>
      <property><type>double</type><id>analog0V</id><text><en>Distance at 0 V</en></text>
        <index>78</index><subIndex>2</subIndex><size>7</size><min>0</min><max>10000</max>
        <defaultvalue>50</defaultvalue><readonly>false</readonly></property>
      <property><type>double</type><id>analog10V</id><text><en>Distance at 10 V</en></text>
        <index>78</index><subIndex>3</subIndex><size>7</size><min>0</min><max>10000</max>
        <defaultvalue>350</defaultvalue><readonly>false</readonly></property>
    </n>
    <n><type>enumerator</type><id>ErrorWarning1</id><text><en>Source of status bit 4</en></text>
      <index>87</index><subIndex>1</subIndex><size>6</size><defaultvalue>1</defaultvalue><readonly>false</readonly>
      <items><i><en>None</en></i><i><en>Temperature high</en></i><i><en>Temperature low</en></i>
        <i><en>Temperature range</en></i><i><en>Undervoltage</en></i><i><en>Short circuit</en></i>
        <i><en>Transducer dirty</en></i><i><en>Range dirty</en></i><i><en>Noise</en></i><i><en>No echo</en></i>
        <i><en>Blind zone</en></i><i><en>Beyond range</en></i><i><en>Ring-down</en></i>
        <i><en>Impact detected</en></i><i><en>Internal device error</en></i><i><en>Cross-talk</en></i>
        <i><en>Any warning</en></i></items></n>
    <n><type>enumerator</type><id>MesurementUnit</id><text><en>Unit</en></text>
      <index>81</index><subIndex>0</subIndex><size>6</size><defaultvalue>0</defaultvalue><readonly>false</readonly>
      <items><a><en>mm</en></a><b><en>inch</en></b></items></n>
    <n><type>string</type><id>SerialNumberReadOnly</id><text><en>Serial number</en></text>
      <index>21</index><subIndex>0</subIndex><size>9</size><defaultvalue></defaultvalue></n>
    <n><type>string</type><id>FunctionTag</id><isString>true</isString><text><en>Function tag</en></text>
      <index>25</index><subIndex>0</subIndex><size>9</size><defaultvalue></defaultvalue><readonly>false</readonly></n>
    <n><type>category</type><id>CrashDetection</id><text><en>Crash detection</en></text>
      <property><type>int</type><id>CrashCounter</id><text><en>Crash counter</en></text>
        <index>4899</index><subIndex>0</subIndex><size>7</size><min>0</min><max>65535</max><defaultvalue>0</defaultvalue></property>
    </n>
  </default></treeGui>
  <guiCategory><default>
    <c><id>n01</id><text><en>Distance</en></text></c>
    <c><id>n02</id><text><en>Signal strength</en></text></c>
    <c><id>001</id><text><en>Switching output A1</en></text></c>
    <c><id>002</id><text><en>Switching output A2</en></text></c>
    <c><id>003</id><text><en>Warning</en></text></c>
    <c><id>004</id><text><en>Error</en></text></c>
    <c><id>005</id><text><en>Status bit 4</en></text></c>
    <c><id>006</id><text><en>Status bit 5</en></text></c>
    <c><id>007</id><text><en>Status bit 6</en></text></c>
    <c><id>008</id><text><en>Status bit 7</en></text></c>
    <c><id>101</id><text><en>Measurement on</en></text></c>
    <c><id>102</id><text><en>Synchronisation</en></text></c>
    <c><id>103</id><text><en>Hold outputs</en></text></c>
    <c><id>104</id><text><en>Teach-in lock</en></text></c>
    <c><id>105</id><text><en>Acknowledge impact</en></text></c>
  </default></guiCategory>
</document>
)";
}

// Writes the document into folder and makes the plug-in read it instead of
// the real one; its path, or empty when it could not be written.
inline QString useLinkTestDocument(const QString& folder)
{
    const QString path = folder + "/IoLinkMzRT5family.xml";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(linkTestDocument()) < 0)
        return QString();
    qputenv("IOLINK_DESCRIPTION_DOCUMENT", path.toLocal8Bit());
    return path;
}

// The family's own description document beside the plug-in; the window
// reads it from now on.
inline QString useFamilyDocument()
{
    const QString document = IOLINK_PLUGIN_DIR "/../IoLinkMzRT5family.xml";
    qputenv("IOLINK_DESCRIPTION_DOCUMENT", document.toLocal8Bit());
    return document;
}
