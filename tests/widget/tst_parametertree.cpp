#include "WindowUnderTest.h"

#include <catalogue/DescriptionDocument.h>
#include <parameters/ParameterModel.h>
#include <parameters/ParameterTree.h>
#include <parameters/RowVisibility.h>
#include <tools/LengthUnits.h>
#include <window/SensorWindow.h>

#include <extensionsystem/Globals.h>
#include <utils/widgets/ButtonManager.h>

#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>

#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace NimbarSensorPlugin::Core;

namespace {

const char* const catalogue = R"(<documentId>IoLinkMzRT5family</documentId>
  <sensorList><sensor><id>UT001</id><name>Test sensor</name>
    <portsettings><characterdelay>0</characterdelay><linedelay>0</linedelay></portsettings>
    <sensors><variant><ID3>107</ID3></variant></sensors></sensor></sensorList>)";

// Cases the family's own document does not contain.
const char* const edgeCases = R"(<treeGui><default>
  <node><type>category</type><id>Group</id><text><en>Group</en><de>Gruppe</de></text>
    <property><type>int</type><id>NoRange</id><text><en>No range</en></text>
      <index>70</index><subIndex>1</subIndex><size>7</size><defaultvalue>500</defaultvalue></property>
    <property><type>int</type><id>Editable</id><text><en>Editable</en><de></de></text>
      <index>70</index><subIndex>2</subIndex><size>7</size><min>10</min><max>20</max>
      <defaultvalue>30</defaultvalue><readonly>false</readonly></property>
  </node>
  <node><type>string</type><id>Text</id><text><de>Nur deutsch</de></text>
    <index>71</index><subIndex>0</subIndex><size>9</size><defaultvalue>abc</defaultvalue></node>
  <node><type>string</type><id>Choice</id><text><en>Choice</en></text><readonly>false</readonly>
    <index>72</index><subIndex>0</subIndex><size>6</size><defaultvalue>one</defaultvalue>
    <items><a><en>one</en><de>eins</de></a><b><en>two</en><de></de></b></items></node>
  <node><type>enumerator</type><id>Twice</id><text><en>First</en></text>
    <index>73</index><subIndex>0</subIndex><size>6</size><defaultvalue>1</defaultvalue>
    <items><a><en>a</en><de>A</de></a><b><en>b</en><de>B</de></b></items></node>
  <node><type>bool</type><id>Twice</id><text><en>Second</en></text>
    <index>74</index><subIndex>0</subIndex><size>6</size><defaultvalue>1</defaultvalue></node>
  <node><type>category</type><id>Hidden</id><visible>no</visible><text><en>Hidden</en></text>
    <property><type>double</type><id>UnderHidden</id><text><en>Under hidden</en></text>
      <index>75</index><subIndex>0</subIndex><size>7</size><max>9.5</max><defaultvalue>12</defaultvalue></property>
  </node>
  <node><type>action</type><id>PUSH</id><text><en>Push</en></text>
    <index>76</index><subIndex>0</subIndex><size>6</size><caption><text><en>Go</en><de>Los</de></text></caption></node>
  <node><type>slider</type><id>Unknown</id><text><en>Unknown</en></text></node>
  <node><type>double</type><id>NoAddress</id><text><en>No address</en></text><index>77</index></node>
  <empty/>
</default></treeGui>
<guiCategory><default>
  <c><id>n01</id><text><en>Distance</en></text></c>
  <c><id>001</id><text><en>Output 1</en><de>Ausgang 1</de></text></c>
  <c><id>101</id><text><en>Switch</en></text></c>
  <c><id>201</id><parent>Object2</parent><text><en>Echo</en></text></c>
  <c><id>x01</id><text><en>Stray</en></text></c>
</default></guiCategory>)";

} // namespace

class ParameterTreeTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    // Lets the window read the document with the given sections instead of
    // the family's own.
    void useDocument(const QByteArray& sections)
    {
        const QString path = dir.filePath("IoLinkMzRT5family.xml");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<?xml version=\"1.0\" encoding=\"utf-8\"?><document>" + QByteArray(catalogue) + sections +
                   "</document>");
        qputenv("IOLINK_DESCRIPTION_DOCUMENT", path.toLocal8Bit());
    }

    // The tree alone, built from the document in use.
    struct Tree
    {
        ParameterModel model;
        LengthUnits units;
        ParameterTree tree{model, units};
        explicit Tree(const char* language) { tree.build(descriptionDocumentPath(), "root", language); }
    };

    // Per section of the process data: the value and unit of a measurement,
    // the state of a status bit, the state and command code of a switch, the
    // rows of an object group.
    static QString processDataRows(QTreeWidget* tree)
    {
        QStringList sections;
        for (int top = 0; top < 4; ++top) {
            QTreeWidgetItem* section = tree->topLevelItem(top);
            QStringList rows;
            for (int k = 0; k < section->childCount(); ++k) {
                QTreeWidgetItem* item = section->child(k);
                rows << (top == 0   ? item->text(2) + item->text(3)
                         : top == 1 ? item->text(3) + (item->icon(2).isNull() ? "!" : "")
                         : top == 2 ? item->text(3) + (item->checkState(2) == Qt::Checked ? "+" : "-") +
                                          item->data(2, 99).toString()
                                    : QString::number(item->childCount()));
            }
            sections << "[" + rows.join(' ') + "]";
        }
        return sections.join(' ');
    }

private slots:
    void cleanup()
    {
        qunsetenv("IOLINK_DESCRIPTION_DOCUMENT");
        ExtensionSystem::Globals::setLanguage("en");
    }

    void familyDocumentBuildsCompletely()
    {
        SensorWindow window(hostRecord("RT5-600-M18"));
        QVERIFY2(window.descriptionProblems().isEmpty(), qPrintable(window.descriptionProblems().join('\n')));
        QCOMPARE(window.rootProperty()->propertyName(), QString("RT5-600-M18 (Offline)"));
        QCOMPARE(window.parameterAddressMap().value("SwitchingThresholdA1"), QString("64;1;7"));
        QCOMPARE(window.parameterAddressMap().value("LocationTag"), QString("26;0;9"));
        QCOMPARE(row(window, "CrashCounter")->statusTip(), QString("readOnly"));
        auto* errors = managerOf<QtEnumPropertyManager>(window, "ErrorWarning1");
        QCOMPARE(errors->enumNames(row(window, "ErrorWarning1")).size(), 17);

        // Rows the window hides until a sensor variant needs them are still
        // in the tree, so they are read and saved.
        QtTreePropertyBrowser* browser = window.parameterBrowser();
        for (const char* id : {"AnalogMode", "TeachStatus"}) {
            QtBrowserItem* item = browser->items(row(window, id)).value(0);
            QVERIFY2(item && !browser->isItemVisible(item), id);
        }
        QVERIFY(browser->items(row(window, "MeasuringDataChannel")).value(0));
        QCOMPARE(
            processDataRows(window.processDataTree()),
            QString(
                "[ 0 mm  ] [Off Off Off Off Off Off Off Off] [On+10 Off-11 Off-12 Off-13 Off-14] [2 2 2 2]"));
    }

    void typeRulesOfTheTree()
    {
        useDocument(edgeCases);
        Tree built("de");
        ParameterTree& tree = built.tree;
        QtProperty* noRange = tree.find("NoRange");
        QtProperty* editable = tree.find("Editable");
        QtProperty* text = tree.find("Text");

        // Captions in the window's language, English where that is empty or
        // missing; of two nodes with one id only the first is built.
        QCOMPARE((QStringList{tree.find("Group")->propertyName(), editable->propertyName(),
                              text->propertyName(), tree.find("Twice")->propertyName(),
                              tree.managers().buttons->value(tree.find("PUSH"))}),
                 (QStringList{"Gruppe", "Editable", "Nur deutsch", "First", "Los"}));
        QCOMPARE(tree.choiceLists().value("Choice"), (QStringList{"eins", "two"}));
        QCOMPARE(tree.addresses().value("Twice"), QString("73;0;6"));

        // No range means 0..0, whatever the default; a range clamps it.
        QCOMPARE(tree.managers().ints->value(noRange), 0);
        QCOMPARE(tree.managers().ints->value(editable), 20);

        // Read-only by status tip, enabled by the readonly key alone.
        QCOMPARE((QStringList{noRange->statusTip(), editable->statusTip(), text->statusTip()}),
                 (QStringList{"readOnly", QString(), "readOnly"}));
        QVERIFY(noRange->isEnabled() && text->isEnabled());
        for (QtProperty* property : {noRange, editable, text})
            property->setEnabled(false);
        tree.enableEditableRows();
        QVERIFY(!noRange->isEnabled() && editable->isEnabled() && !text->isEnabled());

        // A hidden node is not shown, but keeps its address and its children.
        QVERIFY(!tree.find("Hidden"));
        QCOMPARE(tree.hiddenIds(), QStringList{"Hidden"});
        QCOMPARE(tree.addresses().value("UnderHidden"), QString("75;0;7"));
    }

    // What a row ends as is the last word about it.
    static QMap<QString, bool> finalVisibility(const RowVisibility& rows)
    {
        QMap<QString, bool> shown;
        for (const auto& [id, visible] : rows)
            shown.insert(id, visible);
        return shown;
    }

    // The rows of an output follow its pin function and teach mode: the
    // rows named end shown, those after a "!" hidden.
    void rowsFollowTheChoices_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("rows");
        QTest::newRow("switching output")
            << "PinFunctionA1" << 0 << "NONCA1 OnDelay1 SwitchingThresholdA1 !InputMode1 !LowerThresholdA1";
        QTest::newRow("input") << "PinFunctionA1" << 3 << "InputMode1 Output1Settings !NONCA1 !OffDelay1";
        QTest::newRow("output off") << "PinFunctionA1" << 5 << "!Output1Settings";
        QTest::newRow("window mode") << "TeachInMode1" << 2 << "LowerThresholdA1 UpperThresholdA1";
        QTest::newRow("second output") << "PinFunctionA2" << 1 << "Output2Settings NONCA2 !InputMode2";
        QTest::newRow("second input") << "PinFunctionA2" << 3 << "InputMode2 !NONCA2";
        QTest::newRow("second off") << "PinFunctionA2" << 5 << "!Output2Settings";
        QTest::newRow("third off") << "PinFunctionA3" << 2 << "!InputMode3 !Output3Settings";
    }

    void rowsFollowTheChoices()
    {
        QFETCH(QString, choice);
        QFETCH(int, position);
        QFETCH(QString, rows);
        Tree built("en");
        built.tree.managers().enums->setValue(built.tree.find(choice), position);
        const QMap<QString, bool> shown = finalVisibility(outputRowVisibility(built.tree));
        for (const QString& id : rows.split(' ')) {
            const bool hidden = id.startsWith('!');
            QVERIFY2(shown.contains(id.mid(hidden)) && shown.value(id.mid(hidden)) != hidden, qPrintable(id));
        }
    }

    // The test rows show in test mode, the acceleration sensor's only where
    // there is one.
    void testRowsShowInTestModeOnly()
    {
        Tree built("en");
        built.tree.managers().enums->setValue(built.tree.find("SimulationDistanceValue"), 1);
        QVERIFY(!finalVisibility(testRowVisibility(built.tree, false)).values().contains(true));
        QMap<QString, bool> test = finalVisibility(testRowVisibility(built.tree, true));
        QVERIFY(test.value("SimulationMeasurementValue") && test.value("SimulationAccelerationSensor"));
        QVERIFY(!test.value("SimulationAnalogOutput", true));
        built.tree.setCrashDetectionAvailable(false);
        QVERIFY(!finalVisibility(testRowVisibility(built.tree, true)).value("SimulationAccelerationSensor"));
    }

    // A variant's outputs decide which rows it has.
    void variantsHaveTheirRows()
    {
        SensorVariant analog;
        analog.analogOutput = true;
        QMap<QString, bool> rows = finalVisibility(variantRowVisibility(analog, "113"));
        QVERIFY(rows.value("AnalogMode") && rows.value("AnalogSubt"));
        QVERIFY(!rows.value("PinFunctionA2", true) && !rows.value("Output2Settings", true));
        QVERIFY(!finalVisibility(variantRowVisibility(analog, "137")).value("AnalogSubt", true));
        SensorVariant single;
        single.singleSwitchingOutput = true;
        single.accelerationSensor = false;
        rows = finalVisibility(variantRowVisibility(single, "200"));
        QCOMPARE(rows.keys(), (QStringList{"CrashDetection", "Output2Settings", "PinFunctionA2"}));
        QVERIFY(!rows.values().contains(true));
        QVERIFY(variantRowVisibility(SensorVariant{}, "200").isEmpty());
    }

    // Broken nodes are left out and named; the rest is built, shown in the
    // process data as far as the caption section goes, and recaptioned in place.
    void brokenNodesAreLeftOutAndTheRestFollowsTheLanguage()
    {
        useDocument(edgeCases);
        SensorWindow window(hostRecord("Test sensor"));
        const QStringList problems = window.descriptionProblems();
        QCOMPARE(problems.size(), 4);
        QVERIFY(problems[0].contains("\"Text\" has no caption"));
        QVERIFY(problems[1].contains("\"Twice\" of an earlier node"));
        QVERIFY(problems[2].contains("Unknown") && problems[2].contains("slider"));
        QVERIFY(problems[3].contains("No address") && problems[3].contains("subIndex"));
        QVERIFY(!row(window, "NoAddress") && !window.parameterAddressMap().contains("NoAddress"));
        auto* notice = window.propertyTreeDock()->findChild<QLabel*>("documentProblems");
        QVERIFY(notice && notice->text().contains(dir.filePath("IoLinkMzRT5family.xml")));
        // The stray entry takes no row and no place in the list's groups.
        QTreeWidget* tree = window.processDataTree();
        QCOMPARE(processDataRows(tree), QString("[ 0 mm ] [!] [Off-2] [0 1 0 0]"));
        QCOMPARE(tree->topLevelItem(1)->child(0)->text(0), QString("Output 1"));
        QCOMPARE(tree->topLevelItem(3)->child(1)->child(0)->text(0), QString("Echo"));

        QtProperty* choice = row(window, "Choice");
        QtProperty* twice = row(window, "Twice");
        auto* strings = managerOf<QtStringPropertyManager>(window, "Choice");
        auto* enums = managerOf<QtEnumPropertyManager>(window, "Twice");
        strings->setValue(choice, "one");
        enums->setValue(twice, 1);
        window.outputSelector()->setCurrentIndex(1);
        ExtensionSystem::Globals::setLanguage("de");
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&window, &change);
        QCOMPARE(row(window, "Group")->propertyName(), QString("Gruppe"));
        QCOMPARE(strings->value(choice), QString("eins"));
        QCOMPARE(enums->enumNames(twice), (QStringList{"A", "B"}));
        QCOMPARE(enums->value(twice), 1);
        QCOMPARE(window.outputSelector()->currentIndex(), 1);
        QCOMPARE(window.outputSelector()->count(), 2);
        QCOMPARE(tree->topLevelItem(1)->child(0)->text(0), QString("Ausgang 1 "));
        QCOMPARE(window.rootProperty()->propertyName(), QString("Test sensor (Offline)"));
    }

    // Mistakes the tree can live with are listed; rows that cannot be told
    // apart or addressed are left out, the others get 0 or their id.
    void problemsTheWindowLivesWithAreListed()
    {
        useDocument(R"(<treeGui><default>
  <node><type>int</type><text><en>No id</en></text><index>80</index><subIndex>0</subIndex><size>7</size></node>
  <node><type>int</type><id>Bad</id><text><en>Bad</en></text><index>81</index><subIndex>0</subIndex>
    <size>7</size><min>low</min><max>20</max><defaultvalue>5x</defaultvalue></node>
  <node><type>int</type><id>Where</id><text><en>Where</en></text><index>0x52</index><subIndex>0</subIndex>
    <size>7</size></node>
  <node><type>bool</type><id>Nameless</id><index>83</index><subIndex>0</subIndex><size>6</size></node>
</default></treeGui>)");
        Tree built("en");
        const QStringList problems = built.tree.problems();
        QCOMPARE(problems,
                 (QStringList{
                     "Node \"No id\" has no id; it is left out.",
                     "Node \"Bad\" (id \"Bad\") has min \"low\", which is no number; 0 is used.",
                     "Node \"Bad\" (id \"Bad\") has defaultvalue \"5x\", which is no number; 0 is used.",
                     "Node \"Where\" (id \"Where\") has index \"0x52\", which is no number; it is left out.",
                     "Node with id \"Nameless\" has no caption; its id is shown instead."}));
        QCOMPARE(built.tree.addresses().keys(), (QStringList{"Bad", "Nameless"}));
        QCOMPARE(built.tree.find("Nameless")->propertyName(), QString("Nameless"));
    }

    void unreadableDocumentIsReportedNotFatal()
    {
        useDocument("<treeGui><default><node><type>int</type></default>");
        SensorWindow window(hostRecord("Test sensor"));
        QCOMPARE(window.parameterAddressMap().size(), 0);
        QCOMPARE(window.descriptionProblems().size(), 1);
        QVERIFY(window.statusBar()->currentMessage().contains("broken"));
        QVERIFY(window.propertyTreeDock()->findChild<QLabel*>("documentProblems")->isVisibleTo(&window));
    }
};

QTEST_MAIN(ParameterTreeTest)
#include "tst_parametertree.moc"
