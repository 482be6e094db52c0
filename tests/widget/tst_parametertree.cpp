#include "WindowUnderTest.h"

#include <parameters/RowVisibility.h>

#include <extensionsystem/Globals.h>
#include <utils/widgets/ButtonManager.h>

#include <qtpropertymanager.h>

#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>

using namespace NimbarSensorPlugin::Core;

class ParameterTreeTest : public QObject
{
    Q_OBJECT

private:
    // Lets the window read the named test document instead of the family's own.
    static void useDocument(const char* name)
    {
        qputenv("IOLINK_DESCRIPTION_DOCUMENT", WIDGET_TEST_DATA "/" + QByteArray(name));
    }

    // Per section of the process data: the value and unit of a measurement, the state of a status bit, the
    // state and command code of a switch, the rows of an object group.
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

    // A sensor the document lacks still gets a window.
    void familyDocumentBuildsCompletely()
    {
        QCOMPARE(SensorWindow(hostRecord("RT9-unknown")).windowTitle(), QString(" (Offline)"));
        SensorWindow window(hostRecord("RT5-600-M18"));
        QVERIFY2(window.descriptionProblems().isEmpty(), qPrintable(window.descriptionProblems().join('\n')));
        auto* errors = managerOf<QtEnumPropertyManager>(window, "ErrorWarning1");
        QCOMPARE((QVariantList{window.parameterAddressMap().value("SwitchingThresholdA1"),
                               window.parameterAddressMap().value("LocationTag"),
                               row(window, "CrashCounter")->statusTip(),
                               errors->enumNames(row(window, "ErrorWarning1")).size()}),
                 (QVariantList{"64;1;7", "26;0;9", "readOnly", 17}));

        // An unreadable document is reported, not fatal.
        useDocument("unreadable.xml");
        SensorWindow broken(hostRecord("Test sensor"));
        QVERIFY(broken.parameterAddressMap().isEmpty() && broken.descriptionProblems().size() == 1 &&
                broken.statusBar()->currentMessage().contains("broken") &&
                broken.propertyTreeDock()->findChild<QLabel*>("documentProblems")->isVisibleTo(&broken));
    }

    void typeRulesOfTheTree()
    {
        useDocument("edge-cases.xml");
        TreeUnderTest built("de");
        ParameterTree& tree = built.tree;
        QtProperty* noRange = tree.find("NoRange");
        QtProperty* editable = tree.find("Editable");
        QtProperty* text = tree.find("Text");

        // Captions in the window's language, English where that is empty or missing; of two nodes with one id
        // only the first is built.
        QCOMPARE((QStringList{tree.find("Group")->propertyName(), editable->propertyName(),
                              text->propertyName(), tree.find("Twice")->propertyName(),
                              tree.managers().buttons->value(tree.find("PUSH"))}),
                 (QStringList{"Gruppe", "Editable", "Nur deutsch", "First", "Los"}));
        QCOMPARE(tree.choiceLists().value("Choice"), (QStringList{"eins", "two"}));

        // No range means 0..0, whatever the default; a range clamps it.
        QCOMPARE((QList<int>{tree.managers().ints->value(noRange), tree.managers().ints->value(editable)}),
                 (QList<int>{0, 20}));

        // Read-only by status tip, enabled by the readonly key alone.
        QCOMPARE((QStringList{noRange->statusTip(), editable->statusTip(), text->statusTip()}),
                 (QStringList{"readOnly", QString(), "readOnly"}));
        QVERIFY(noRange->isEnabled() && text->isEnabled());
        for (QtProperty* property : {noRange, editable, text})
            property->setEnabled(false);
        tree.enableEditableRows();
        QVERIFY(!noRange->isEnabled() && editable->isEnabled() && !text->isEnabled());

        // A hidden node is not shown, but keeps its address and its children.
        QVERIFY(!tree.find("Hidden") && tree.hiddenIds() == QStringList{"Hidden"});
        QCOMPARE((QStringList{tree.addresses().value("Twice"), tree.addresses().value("UnderHidden")}),
                 (QStringList{"73;0;6", "75;0;7"}));
    }

    // What a row ends as is the last word about it.
    static QMap<QString, bool> finalVisibility(const RowVisibility& rows)
    {
        QMap<QString, bool> shown;
        for (const auto& [id, visible] : rows)
            shown.insert(id, visible);
        return shown;
    }

    // The rows of an output follow its pin function and teach mode: the rows named end shown, those after a
    // "!" hidden.
    void rowsFollowTheChoices()
    {
        const std::tuple<const char*, int, QString> choices[] = {
            {"PinFunctionA1", 0, "NONCA1 OnDelay1 SwitchingThresholdA1 !InputMode1 !LowerThresholdA1"},
            {"PinFunctionA1", 3, "InputMode1 Output1Settings !NONCA1 !OffDelay1"},
            {"PinFunctionA1", 5, "!Output1Settings"},
            {"TeachInMode1", 2, "LowerThresholdA1 UpperThresholdA1"},
            {"PinFunctionA2", 1, "Output2Settings NONCA2 !InputMode2"},
            {"PinFunctionA2", 3, "InputMode2 !NONCA2"},
            {"PinFunctionA2", 5, "!Output2Settings"},
            {"PinFunctionA3", 2, "!InputMode3 !Output3Settings"}};
        for (const auto& [choice, position, rows] : choices) {
            TreeUnderTest built;
            built.tree.managers().enums->setValue(built.tree.find(choice), position);
            const QMap<QString, bool> shown = finalVisibility(outputRowVisibility(built.tree));
            for (const QString& id : rows.split(' ')) {
                const bool hidden = id.startsWith('!');
                QVERIFY2(shown.contains(id.mid(hidden)) && shown.value(id.mid(hidden)) != hidden,
                         qPrintable(choice + QString::number(position) + " " + id));
            }
        }
    }

    // The test rows show in test mode, the acceleration sensor's only where there is one.
    void testAndVariantRows()
    {
        TreeUnderTest built;
        built.tree.managers().enums->setValue(built.tree.find("SimulationDistanceValue"), 1);
        QVERIFY(!finalVisibility(testRowVisibility(built.tree, false)).values().contains(true));
        QMap<QString, bool> test = finalVisibility(testRowVisibility(built.tree, true));
        QVERIFY(test.value("SimulationMeasurementValue") && test.value("SimulationAccelerationSensor") &&
                !test.value("SimulationAnalogOutput", true));
        built.tree.setCrashDetectionAvailable(false);
        QVERIFY(!finalVisibility(testRowVisibility(built.tree, true)).value("SimulationAccelerationSensor"));

        // A variant's outputs decide its rows: analog; one switching output without acceleration sensor.
        QMap<QString, bool> rows =
            finalVisibility(variantRowVisibility(SensorVariant{0, 0, 0, 0, true}, "113"));
        QVERIFY(rows.value("AnalogMode") && rows.value("AnalogSubt") && !rows.value("PinFunctionA2", true) &&
                !rows.value("Output2Settings", true));
        rows = finalVisibility(variantRowVisibility(SensorVariant{0, 0, 0, 0, false, true, false}, "200"));
        QCOMPARE(rows.keys(), (QStringList{"CrashDetection", "Output2Settings", "PinFunctionA2"}));
        QVERIFY(!rows.values().contains(true) && variantRowVisibility(SensorVariant{}, "200").isEmpty());
    }

    // Broken nodes are left out and named; the rest is built, shown in the process data as far as the caption
    // section goes, and recaptioned in place.
    void brokenNodesAreLeftOutAndTheRestFollowsTheLanguage()
    {
        useDocument("edge-cases.xml");
        SensorWindow window(hostRecord("Test sensor"));
        const QString problems = window.descriptionProblems().join('\n');
        QCOMPARE(window.descriptionProblems().size(), 4);
        for (const char* part :
             {"\"Text\" has no caption", "\"Twice\" of an earlier node", "slider", "subIndex"})
            QVERIFY2(problems.contains(part), qPrintable(problems));
        QVERIFY(!row(window, "NoAddress") && !window.parameterAddressMap().contains("NoAddress"));
        auto* notice = window.propertyTreeDock()->findChild<QLabel*>("documentProblems");
        QVERIFY(notice && notice->text().contains(WIDGET_TEST_DATA "/edge-cases.xml"));
        // The stray entry takes no row and no place in the list's groups.
        QTreeWidget* tree = window.processDataTree();
        QCOMPARE(processDataRows(tree), QString("[ 0 mm ] [!] [Off-2] [0 1 0 0]"));

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
        QCOMPARE((QVariantList{row(window, "Group")->propertyName(), strings->value(choice),
                               enums->enumNames(twice), enums->value(twice),
                               window.outputSelector()->currentIndex(), window.outputSelector()->count(),
                               tree->topLevelItem(1)->child(0)->text(0)}),
                 (QVariantList{"Gruppe", "eins", QStringList{"A", "B"}, 1, 1, 2, "Ausgang 1 "}));
    }
};

QTEST_MAIN(ParameterTreeTest)
#include "tst_parametertree.moc"
