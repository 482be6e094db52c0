// Settings files through the window, also under a German numeric locale.
#include "WindowUnderTest.h"
#include <ModalAnswers.h>

#include <FileDialogAnswer.h>

#include <catalogue/DescriptionDocument.h>
#include <parameters/ParameterModel.h>
#include <parameters/ParameterTree.h>
#include <tools/LengthUnits.h>
#include <tools/TreeSettings.h>
#include <window/SensorWindow.h>
#include <window/SensorWindowForm.h>

#include <utils/ValueOverTime.h>
#include <utils/charts/GenericChart.h>
#include <utils/charts/HistoryText.h>

#include <qtpropertybrowser.h>
#include <qtpropertymanager.h>

#include <QAction>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <FileFaults.h>

#include <cstdio>

using namespace NimbarSensorPlugin::Core;

namespace {

// Every value the tree shows, by id, as text.
QMap<QString, QString> treeValues(const SensorWindow& window)
{
    QMap<QString, QString> values;
    for (QtProperty* p : window.collectProperties(window.rootProperty())) {
        QtAbstractPropertyManager* manager = p->propertyManager();
        if (auto* enums = qobject_cast<QtEnumPropertyManager*>(manager))
            values.insert(p->propertyId(), QString::number(enums->value(p)));
        else if (auto* bools = qobject_cast<QtBoolPropertyManager*>(manager))
            values.insert(p->propertyId(), bools->value(p) ? "1" : "0");
        else if (auto* ints = qobject_cast<QtIntPropertyManager*>(manager))
            values.insert(p->propertyId(), QString::number(ints->value(p)));
        else if (auto* doubles = qobject_cast<QtDoublePropertyManager*>(manager))
            values.insert(p->propertyId(), QString::number(doubles->value(p), 'f', 6));
        else if (auto* strings = qobject_cast<QtStringPropertyManager*>(manager))
            values.insert(p->propertyId(), strings->value(p));
    }
    return values;
}

QVector<QPointF> history(const SensorWindow& window)
{
    QVector<QPointF> samples;
    const Utils::ValueOverTime* data = window.chart()->getData(0);
    for (int i = 0; i < data->size(); ++i)
        samples << QPointF(data->pxData()[i], data->pyData()[i]);
    return samples;
}

void setHistory(SensorWindow& window, int count, double first)
{
    std::vector<double> x;
    std::vector<double> y;
    for (int i = 0; i < count; ++i) {
        x.push_back(1764000000000.0 + 85.0 * i);
        y.push_back(first + 0.25 * i);
    }
    Utils::ValueOverTime samples;
    samples.assign(std::move(x), std::move(y));
    QVERIFY(window.chart()->setDataFromString(0, Utils::Charts::formatHistory(samples), ';'));
}

template <class Manager, class Value> void edit(SensorWindow& window, const QString& id, const Value& value)
{
    managerOf<Manager>(window, id)->setValue(row(window, id), value);
}

const QByteArray ours = "<root pluginid=\"IoLinkMzRT5family\" sensorid=\"RT5-350-M18\">";

} // namespace

class SettingsFilesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.kvs");

    void writeFile(const QByteArray& text)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

private slots:
    void initTestCase()
    {
        // Run under the German locale, the numbers must really be German
        // ones for the desktop, or the test proves nothing.
        if (qEnvironmentVariableIsSet("IOLINK_EXPECT_DECIMAL_COMMA")) {
            char text[32];
            std::snprintf(text, sizeof text, "%f", 0.5);
            QCOMPARE(QByteArray(text), QByteArray("0,500000"));
        }
    }

    void cleanup() { QFile::remove(path); }

    void aSavedWindowComesBackWhole()
    {
        SensorWindow window(hostRecord("RT5-350-M18"));
        edit<QtEnumPropertyManager>(window, "MesurementUnit", 1);
        // The window changes its unit once the edit's delay is over.
        QTRY_VERIFY(row(window, "SwitchingThresholdA1")->propertyName().endsWith("(inch)"));
        edit<QtEnumPropertyManager>(window, "PinFunctionA1", 2);
        managerOf<QtBoolPropertyManager>(window, "TemperatureCompensation")
            ->setValue(row(window, "TemperatureCompensation"), false, QString(), QString());
        edit<QtIntPropertyManager>(window, "OnDelay1", 1234);
        // Shown as the whole millimetres the sensor holds: 181 mm.
        edit<QtDoublePropertyManager>(window, "SwitchingThresholdA1", 7.125);
        edit<QtStringPropertyManager>(window, "LocationTag", QString::fromUtf8("Halle Süd – Tor 3 ✓"));
        // Read-only texts are the sensor's and are not in the file.
        edit<QtStringPropertyManager>(window, "VendorNameReadOnly", QString("Vendor text"));
        setHistory(window, 500, 480.5);
        QMap<QString, QString> saved = treeValues(window);
        QCOMPARE(saved.value("SwitchingThresholdA1"), QString("7.125984"));

        FileDialogAnswer answer(path);
        window.vSaveSettings();
        QCOMPARE(answer.caption, QString("Save As..."));
        QCOMPARE(QFileInfo(answer.offered).fileName(),
                 "RT5-350-M18-settings-" + QDate::currentDate().toString("dd-MM-yyyy") + ".kvs");
        const QByteArray text = contentOf(path);
        QVERIFY(text.contains("SwitchingThresholdA1=7.125984;"));
        QVERIFY(text.contains(QString::fromUtf8("LocationTag=Halle Süd – Tor 3 ✓;").toUtf8()));
        QVERIFY(!text.contains("ReadOnly"));
        QVERIFY(QRegularExpression("HysteresisA1=\\d+\\.\\d{6};").match(QString::fromUtf8(text)).hasMatch());

        SensorWindow fresh(hostRecord("RT5-350-M18"));
        const QString vendor = treeValues(fresh).value("VendorNameReadOnly");
        QVERIFY(fresh.bOpenSettings(path));
        saved.insert("VendorNameReadOnly", vendor);
        QCOMPARE(treeValues(fresh), saved);
        QCOMPARE(history(fresh), history(window));
        QVERIFY(fresh.form().chartToolbar->isEnabled());
        // The captions of lengths name the file's unit.
        QVERIFY(row(fresh, "SwitchingThresholdA1")->propertyName().endsWith("(inch)"));
    }

    // A refused file changes nothing and says why; one with a section
    // missing applies what is there, unasked, and still fails.
    void incompleteFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("onDelay");
        QTest::addColumn<bool>("chartFromFile");
        const QString foreign = "The selected settings are not for the current sensor";
        const QString corrupted = "The selected settings are corupted";
        const QByteArray settings = "<pluginsettings><propertytreedata data=\"OnDelay1=99;\"/>"
                                    "<chartdata data=\"1:2;\"/></pluginsettings></root>";
        QTest::newRow("another sensor")
            << "<root pluginid=\"IoLinkMzRT5family\" sensorid=\"RT5-600-M18\">" + settings << foreign << "0"
            << false;
        QTest::newRow("no root") << QByteArray("<settings>" + settings.chopped(7) + "</settings>")
                                 << corrupted << "0" << false;
        QTest::newRow("not XML") << QByteArray(ours + "<pluginsettings><propertytreedata data=\"OnDelay1=9")
                                 << corrupted << "0" << false;
        QTest::newRow("empty") << QByteArray() << corrupted << "0" << false;
        QTest::newRow("no chart")
            << ours + "<pluginsettings><propertytreedata data=\"OnDelay1=321;\"/></pluginsettings></root>"
            << QString() << "321" << false;
        QTest::newRow("no tree") << ours + "<pluginsettings><chartdata data=\"1000:5;1085:6;\"/>"
                                           "</pluginsettings></root>"
                                 << QString() << "0" << true;
        QTest::newRow("nothing") << ours + "</root>" << QString() << "0" << false;
    }

    void incompleteFilesAreRefused()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        QFETCH(QString, onDelay);
        QFETCH(bool, chartFromFile);
        writeFile(text);
        SensorWindow window(hostRecord("RT5-350-M18"));
        setHistory(window, 10, 100.0);
        QMap<QString, QString> expected = treeValues(window);
        expected.insert("OnDelay1", onDelay);
        const QVector<QPointF> historyBefore = history(window);
        DialogAnswers answer({reply(QMessageBox::Ok)});
        QVERIFY(!window.bOpenSettings(path));
        QCOMPARE(answer.texts, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(answer.titles, message.isEmpty() ? QStringList() : QStringList{"Opening settings..."});
        QCOMPARE(treeValues(window), expected);
        if (chartFromFile)
            QCOMPARE(history(window), (QVector<QPointF>{{1000, 5}, {1085, 6}}));
        else
            QCOMPARE(history(window), historyBefore);
    }

    // Cancelled, the dialogs read and write nothing. Entries of ids the
    // document lacks are skipped; an entry without a value sets its row from nothing.
    void unknownAndEmptyEntries()
    {
        writeFile(ours + "<pluginsettings><propertytreedata data=\"NoSuchRow=5;OnDelay2;OffDelay2=12=13;"
                         "FunctionTag=a&amp;b &lt;c&gt;;\"/><chartdata data=\"\"/></pluginsettings></root>");
        SensorWindow window(hostRecord("RT5-350-M18"));
        edit<QtIntPropertyManager>(window, "OnDelay2", 55);
        const QMap<QString, QString> before = treeValues(window);
        QDir::setCurrent(dir.path());
        for (QAction* action : {window.form().actionOpen_Settings, window.form().actionSave_Settings}) {
            FileDialogAnswer cancel{QString()};
            action->trigger();
            QCOMPARE(cancel.asked, 1);
        }
        QCOMPARE(treeValues(window), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"settings.kvs"});
        // The value that is no number is listed and left out; the user applies the others.
        DialogAnswers answer({choose("applyOthers")});
        FileDialogAnswer file(path);
        window.form().actionOpen_Settings->trigger();
        QCOMPARE(file.filters, QStringList{"Sensor Settings (*.kvs)"});
        const QString listed = answer.informativeTexts.value(0);
        QVERIFY2(listed.startsWith("On-delay") || listed.contains(": "), qPrintable(listed));
        QCOMPARE(listed.count('\n'), 0);
        const QMap<QString, QString> values = treeValues(window);
        QCOMPARE(values.value("OnDelay2"), QString("55"));
        QCOMPARE(values.value("OffDelay2"), QString("12"));
        QCOMPARE(values.value("FunctionTag"), QString("a&b <c>"));
    }

    // The defaults as a known file; a save that cannot complete keeps it.
    void aFailedSaveKeepsTheOldFileAndSaysSo()
    {
        SensorWindow window(hostRecord("RT5-350-M18"));
        setHistory(window, 3, 250.0);
        {
            FileDialogAnswer first(path);
            window.vSaveSettings();
        }
        const QByteArray old = contentOf(path);
        QCOMPARE(old, contentOf(WIDGET_TEST_DATA "/RT5-350-M18-defaults.kvs"));
        setHistory(window, 2000, 300.0);
        DialogAnswers answer({reply(QMessageBox::Ok)});
        {
            const FileSizeLimit limit(old.size() + 100);
            FileDialogAnswer files(path);
            window.vSaveSettings();
        }
        QCOMPARE(answer.titles, QStringList{"Saving settings..."});
        QVERIFY2(answer.texts.value(0).startsWith("The settings could not be saved to " + path + ": "),
                 qPrintable(answer.texts.value(0)));
        QCOMPARE(contentOf(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"settings.kvs"});
    }

    // What differs, as the tree shows it and in the window's unit whatever
    // unit the file was written in; equal values, the unit row and
    // read-only rows are no difference; a value the sensor cannot take is
    // shown as written and cannot be taken.
    void theCompareListsWhatDiffersAsTheTreeShowsIt_data()
    {
        QTest::addColumn<int>("windowUnit");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("three kinds") << 0
                                     << "MesurementUnit=0;SwitchingThresholdA1=450.000000;OnDelay1=0;"
                                        "TeachInMode1=2;FunctionTag=Press 4;"
                                        "SerialNumberReadOnly=1234;"
                                     << QStringList{"Teach-in mode A1|Switching point|Window||take",
                                                    "Switching point A1|300|450|mm|take",
                                                    "Function tag|***|Press 4||take"};
        QTest::newRow("file in inches") << 0 << "MesurementUnit=1;SwitchingThresholdA1=11.811024;OnDelay1=5;"
                                        << QStringList{"Switch-on delay A1|0|5|ms|take"};
        QTest::newRow("window in inches") << 1 << "MesurementUnit=0;SwitchingThresholdA1=450;"
                                          << QStringList{"Switching point A1|11.81|17.72|inch|take"};
        QTest::newRow("beyond the range")
            << 0 << "SwitchingThresholdA1=99999;" << QStringList{"Switching point A1|300|99999|mm|-"};
    }

    void theCompareListsWhatDiffersAsTheTreeShowsIt()
    {
        QFETCH(int, windowUnit);
        QFETCH(QString, file);
        QFETCH(QStringList, rows);
        ParameterModel model;
        LengthUnits units;
        ParameterTree tree{model, units};
        tree.build(descriptionDocumentPath(), "root", "en");
        tree.resetModel();
        units.setUnit(windowUnit);
        tree.refreshUnitSuffixes();
        QStringList shown;
        for (const SettingsComparison& row :
             TreeSettings(tree, model, units).compare(parseParameterText(file.toStdString())))
            shown << QStringList{row.caption, row.windowValue, row.fileValue, row.unit,
                                 row.fileSensorValue.isValid() ? "take" : "-"}
                         .join('|');
        QCOMPARE(shown, rows);
    }
};

QTEST_MAIN(SettingsFilesTest)
#include "tst_settingsfiles.moc"
