// Settings files through the window, also under a German numeric locale.
#include "WindowUnderTest.h"
#include <ModalAnswers.h>

#include <FileDialogAnswer.h>

#include <tools/TreeSettings.h>
#include <window/SensorWindowForm.h>

#include <utils/ValueOverTime.h>
#include <utils/charts/HistoryText.h>

#include <qtpropertymanager.h>

#include <QAction>
#include <QToolBar>

#include <FileFaults.h>

#include <string>

using namespace NimbarSensorPlugin::Core;

namespace {

// Every value the tree shows, by id, as it shows it.
QMap<QString, QString> treeValues(const SensorWindow& window)
{
    QMap<QString, QString> values;
    for (QtProperty* p : window.collectProperties(window.rootProperty()))
        values.insert(p->propertyId(), p->valueText());
    return values;
}

// The chart's history as it is kept in a file.
QString history(const SensorWindow& window)
{
    return QString::fromStdString(Utils::Charts::formatHistory(*window.chart()->getData(0)));
}

void setHistory(SensorWindow& window, int count, double first)
{
    Utils::ValueOverTime samples;
    for (int i = 0; i < count; ++i)
        samples.append(1764000000000.0 + 85.0 * i, first + 0.25 * i);
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
    void save(SensorWindow& window)
    {
        FileDialogAnswer answer(path);
        window.vSaveSettings();
    }

private slots:
    void initTestCase()
    {
        // Under the German locale the C library must really write a decimal comma, or the run proves nothing.
        if (qEnvironmentVariableIsSet("IOLINK_EXPECT_DECIMAL_COMMA"))
            QCOMPARE(QByteArray::fromStdString(std::to_string(0.5)), QByteArray("0,500000"));
    }

    void cleanup() { QFile::remove(path); }

    // The defaults save as a known file; an edited window comes back whole; a save that cannot complete keeps
    // the older file and says so.
    void aSavedWindowComesBackWholeAndAFailedSaveKeepsTheFile()
    {
        SensorWindow window(hostRecord("RT5-350-M18"));
        setHistory(window, 3, 250.0);
        save(window);
        QCOMPARE(contentOf(path), contentOf(WIDGET_TEST_DATA "/RT5-350-M18-defaults.kvs"));
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

        save(window);
        const QByteArray text = contentOf(path);
        QVERIFY(text.contains("SwitchingThresholdA1=7.125984;") && !text.contains("ReadOnly") &&
                text.contains(QString::fromUtf8("LocationTag=Halle Süd – Tor 3 ✓;").toUtf8()));

        SensorWindow fresh(hostRecord("RT5-350-M18"));
        const QString vendor = treeValues(fresh).value("VendorNameReadOnly");
        QVERIFY(fresh.bOpenSettings(path));
        saved.insert("VendorNameReadOnly", vendor);
        QCOMPARE(treeValues(fresh), saved);
        QCOMPARE(history(fresh), history(window));
        // The captions of lengths name the file's unit.
        QVERIFY(fresh.form().chartToolbar->isEnabled() &&
                row(fresh, "SwitchingThresholdA1")->propertyName().endsWith("(inch)"));

        setHistory(window, 2000, 300.0);
        DialogAnswers answer({reply(QMessageBox::Ok)});
        {
            const FileSizeLimit limit(text.size() + 100);
            save(window);
        }
        QVERIFY2(answer.texts.value(0).startsWith("The settings could not be saved to " + path + ": "),
                 qPrintable(answer.texts.value(0)));
        QCOMPARE(contentOf(path), text);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"settings.kvs"});
    }

    // A refused file changes nothing and says why; one with a section missing applies what is there, unasked,
    // and still fails.
    void incompleteFilesAreRefused()
    {
        const QString foreign = "The selected settings are not for the current sensor";
        const QString corrupted = "The selected settings are corupted";
        const QByteArray settings = "<pluginsettings><propertytreedata data=\"OnDelay1=99;\"/>"
                                    "<chartdata data=\"1:2;\"/></pluginsettings></root>";
        // The file, the message, and the on-delay and history it leaves ("" for the window's own).
        const std::tuple<QByteArray, QString, QString, QString> files[] = {
            {"<root pluginid=\"IoLinkMzRT5family\" sensorid=\"RT5-600-M18\">" + settings, foreign, "0", ""},
            {ours + "<pluginsettings><propertytreedata data=\"OnDelay1=9", corrupted, "0", ""},
            {"", corrupted, "0", ""},
            {ours + "<pluginsettings><propertytreedata data=\"OnDelay1=321;\"/></pluginsettings></root>", "",
             "321", ""},
            {ours + "<pluginsettings><chartdata data=\"1000:5;1085:6;\"/></pluginsettings></root>", "", "0",
             "1000:5;1085:6;"},
            {ours + "</root>", "", "0", ""}};
        for (const auto& [text, message, onDelay, chart] : files) {
            writeFile(text);
            SensorWindow window(hostRecord("RT5-350-M18"));
            setHistory(window, 10, 100.0);
            QMap<QString, QString> expected = treeValues(window);
            expected.insert("OnDelay1", onDelay);
            const QString historyBefore = history(window);
            DialogAnswers answer({reply(QMessageBox::Ok)});
            QVERIFY2(!window.bOpenSettings(path), text.constData());
            QCOMPARE(answer.texts, message.isEmpty() ? QStringList() : QStringList{message});
            QCOMPARE(treeValues(window), expected);
            QCOMPARE(history(window), chart.isEmpty() ? historyBefore : chart);
        }
    }

    // Cancelled, the dialogs read and write nothing. Entries of ids the document lacks are skipped; an entry
    // without a value sets its row from nothing.
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
        const QString listed = answer.informativeTexts.value(0);
        QVERIFY2(listed.contains(": ") && !listed.contains('\n'), qPrintable(listed));
        const QMap<QString, QString> values = treeValues(window);
        QCOMPARE(
            (QStringList{values.value("OnDelay2"), values.value("OffDelay2"), values.value("FunctionTag")}),
            (QStringList{"55", "12", "a&b <c>"}));
    }

    // What differs, as the tree shows it in the window's unit; equal values, the unit row and read-only rows
    // are no difference; a value the sensor cannot take is shown as written and cannot be taken.
    void theCompareListsWhatDiffersAsTheTreeShowsIt()
    {
        const std::tuple<int, std::string, QStringList> comparisons[] = {
            {0,
             "MesurementUnit=1;SwitchingThresholdA1=11.811024;OnDelay1=5;SerialNumberReadOnly=1234;",
             {"Switch-on delay A1|0|5|ms|take"}},
            {1, "MesurementUnit=0;SwitchingThresholdA1=450;", {"Switching point A1|11.81|17.72|inch|take"}},
            {0, "SwitchingThresholdA1=99999;", {"Switching point A1|300|99999|mm|-"}}};
        for (const auto& [windowUnit, file, rows] : comparisons) {
            TreeUnderTest built;
            built.units.setUnit(windowUnit);
            built.tree.refreshUnitSuffixes();
            QStringList shown;
            for (const SettingsComparison& row :
                 TreeSettings(built.tree, built.model, built.units).compare(parseParameterText(file)))
                shown << QStringList{row.caption, row.windowValue, row.fileValue, row.unit,
                                     row.fileSensorValue.isValid() ? "take" : "-"}
                             .join('|');
            QCOMPARE(shown, rows);
        }
    }
};

QTEST_MAIN(SettingsFilesTest)
#include "tst_settingsfiles.moc"
