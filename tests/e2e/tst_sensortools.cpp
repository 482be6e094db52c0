// The sensor and chart tool bars with the real description document against
// a simulated sensor at the wire's speed, while live data run. Restoring the
// factory settings asks first, sends the restore whole, reads every parameter
// again, and the tree then shows the sensor's defaults; offline nothing is
// asked or sent. Printing the live history checks the line once.
#include "LinkTestRig.h"

#include <window/SensorWindowForm.h>

#include <QAction>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>

using NimbarSensorPlugin::Core::factoryResetRequest;
using NimbarSensorPlugin::Core::parseParameterAddress;
using NimbarSensorPlugin::Core::readRequest;

class SensorToolsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    PluginLibrary plugin;
    std::unique_ptr<LinkRig> rig;
    // Parameters the sensor is given other values than its defaults.
    const QMap<QString, int> changes{
        {"SwitchingThresholdA1", 180}, {"HysteresisA1", 12},     {"OnDelay1", 1234},
        {"PinFunctionA1", 2},          {"MeasurementFilter", 2}, {"MesurementUnit", 1}};
    QMap<QString, qlonglong> defaults;

    // The question is answered; the slot returns when the restore is done.
    QStringList restore(QMessageBox::StandardButton answer)
    {
        DialogAnswers answers({reply(answer)});
        rig->window->form().actionDefaultSettings->trigger();
        return answers.titles + answers.texts;
    }
    // Parameters without a read of their own among the requests.
    QStringList parametersNotRead(const QStringList& sent) const
    {
        QStringList notRead;
        const auto& addresses = rig->window->parameterAddressMap();
        for (auto it = addresses.cbegin(); it != addresses.cend(); ++it) {
            const auto address = parseParameterAddress(it.value());
            if (it.key().contains("BUTTON") || !rig->property(it.key()) || !address)
                continue;
            if (!sent.contains(hex(readRequest(address->index, quint8(address->subIndex)))))
                notRead << it.key();
        }
        return notRead;
    }

private slots:
    void initTestCase()
    {
        const QString document = useFamilyDocument();
        QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
        rig = std::make_unique<LinkRig>(plugin, document, dir.filePath("trace.txt"), "UM035/107",
                                        "RT5-350-M18", true);
        QVERIFY(rig->window);
        for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
            defaults[it.key()] = rig->simulated(it.key());
            QVERIFY2(defaults[it.key()] != it.value(), qPrintable(it.key()));
        }
    }

    void offlineNothingIsAskedOrSent()
    {
        QVERIFY(!rig->window->isConnected());
        QCOMPARE(restore(QMessageBox::Ok), QStringList());
        QTest::qWait(200);
        QCOMPARE(rig->sent(), QStringList());
    }

    void cancellingLeavesTheSensorAsItIs()
    {
        for (auto it = changes.cbegin(); it != changes.cend(); ++it)
            rig->setOnSensor(it.key(), it.value());
        rig->connectReading();
        QVERIFY(rig->window->isConnected());
        waitForLiveData(*rig);
        QCOMPARE(rig->property("SwitchingThresholdA1")->propertyName(), QString("Switching point A1 (inch)"));
        rig->clearTrace();

        QCOMPARE(restore(QMessageBox::Cancel),
                 (QStringList{"Restore factory defaults",
                              "All settings will be restored to factory defaults, continue ?"}));
        QTest::qWait(300);
        QVERIFY2(rig->writes().isEmpty(), qPrintable(rig->writes().join("; ")));
        for (auto it = changes.cbegin(); it != changes.cend(); ++it)
            QCOMPARE(rig->simulated(it.key()), qlonglong(it.value()));
        // Live data went on meanwhile.
        QVERIFY(!rig->sent().filter("02 70 22").isEmpty());
    }

    void restoringSendsTheRestoreWholeAndReadsEverythingAgain()
    {
        QVERIFY(rig->window->isConnected());
        rig->clearTrace();
        QCOMPARE(restore(QMessageBox::Ok),
                 (QStringList{"Restore factory defaults",
                              "All settings will be restored to factory defaults, continue ?"}));
        QVERIFY(rig->window->isConnected());

        const QString reset = "06 6b 24 02 00 00 82";
        QCOMPARE(hex(factoryResetRequest()), reset);
        const QStringList sent = rig->sent();
        const int at = int(sent.indexOf(reset));
        QVERIFY2(at >= 1, qPrintable(sent.join("; ")));
        QCOMPARE(sent.mid(at - 1, 4), (QStringList{"02 73 27", reset, "02 70 22", "02 70 22"}));
        QCOMPARE(rig->writes(), QStringList{reset});
        // The reads follow at once, each whole, and leave out no parameter.
        const QStringList after = sent.mid(at + 3);
        QVERIFY2(after.value(0).contains(QRegularExpression("^05 .. 26 ")), qPrintable(after.value(0)));
        QVERIFY2(parametersNotRead(after).isEmpty(), qPrintable(parametersNotRead(after).join("; ")));
        QVERIFY2(requestsBetweenReadsAndFetches(sent).isEmpty(),
                 qPrintable(requestsBetweenReadsAndFetches(sent).join("; ")));

        for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
            QCOMPARE(rig->simulated(it.key()), it.value());
        QVERIFY2(rowsUnlikeTheSensor(*rig, "107").isEmpty(),
                 qPrintable(rowsUnlikeTheSensor(*rig, "107").join("; ")));
        // Back from inches, the lengths' captions name millimetres again.
        QCOMPARE(rig->property("SwitchingThresholdA1")->propertyName(), QString("Switching point A1 (mm)"));
        QVERIFY(rig->window->form().actionEnable_live_data->isChecked());
        waitForLiveData(*rig);
    }

    void printingTheLiveHistoryChecksTheLineOnce()
    {
        QVERIFY(rig->window->isConnected());
        QTRY_VERIFY_WITH_TIMEOUT(rig->window->chart()->getData(0)->size() >= 40, 10000);
        rig->clearTrace();
        const QString path = dir.filePath("live.pdf");
        qputenv("IOLINK_PRINT_PDF", QFile::encodeName(path));
        DialogAnswers noBox({reply(QMessageBox::Ok)});
        rig->window->form().actionPrint_chart_view->trigger();
        qunsetenv("IOLINK_PRINT_PDF");
        QCOMPARE(noBox.titles, QStringList());
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF-"));
        QTest::qWait(300);
        QCOMPARE(rig->sent().filter("03 51 12 01").size(), 1);
        QVERIFY(rig->window->isConnected());
        const QString keep = qEnvironmentVariable("IOLINK_SCREENSHOT_DIR");
        if (!keep.isEmpty()) {
            QFile::remove(keep + "/live-print.pdf");
            QVERIFY(QFile::copy(path, keep + "/live-print.pdf"));
        }
    }

    // The report marks the row that differs from the file last saved, which
    // the window still finds as it is on disk.
    void theReportMarksWhatDiffersFromTheLastSavedFile()
    {
        const QString saved = dir.filePath("line 4.kvs");
        QCOMPARE(rig->window->saveSettingsTo(saved), QString());
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains(";OnDelay1=0;"));
        file.resize(0);
        file.write(QByteArray(text).replace(";OnDelay1=0;", ";OnDelay1=1500;"));
        file.close();
        const QString path = dir.filePath("report.pdf");
        qputenv("IOLINK_REPORT_PDF", QFile::encodeName(path));
        QMetaObject::invokeMethod(rig->window, "printReport");
        qunsetenv("IOLINK_REPORT_PDF");
        QCOMPARE(rig->window->statusBar()->currentMessage(), "Report written to " + path);
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-raw", path, "-"});
        QVERIFY(pdftotext.waitForFinished() && pdftotext.exitCode() == 0);
        const QString report = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
        QVERIFY2(report.contains("Switch-on delay A1 0 ms differs from line 4.kvs (1500 ms there)"),
                 qPrintable(report));
        QCOMPARE(report.count("differs from"), 1);
    }

    void afterGoingOfflineNothingIsAskedOrSent()
    {
        rig->invoke("actionConnectSensor", Q_ARG(int, 0));
        QVERIFY(!rig->window->isConnected());
        rig->clearTrace();
        QCOMPARE(restore(QMessageBox::Ok), QStringList());
        QTest::qWait(200);
        QCOMPARE(rig->sent(), QStringList());
    }

    void cleanupTestCase() { rig.reset(); }
};

QTEST_MAIN(SensorToolsTest)
#include "tst_sensortools.moc"
