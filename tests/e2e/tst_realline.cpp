// The sensor window with the real description document against one simulated
// sensor at 38400 baud, every sequence that talks to the sensor in turn on one
// connection: a whole read takes ten seconds, so the poll, the pop-up and the
// write timer all fire meanwhile. Every exchange must go out whole.
#include <CanvasDrag.h>
#include <InProcessRig.h>

#include <window/SensorWindowForm.h>

#include <qwt_plot.h>

#include <QAction>
#include <QStatusBar>
#include <QTemporaryDir>

using namespace NimbarSensorPlugin::Core;

class RealLineTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    PluginLibrary plugin;
    std::unique_ptr<LinkRig> rig;
    // Parameters the factory settings are restored from, with other values.
    const QMap<QString, int> changes{
        {"SwitchingThresholdA1", 180}, {"HysteresisA1", 12},     {"OnDelay1", 1234},
        {"PinFunctionA1", 2},          {"MeasurementFilter", 2}, {"MesurementUnit", 1}};
    QMap<QString, qlonglong> defaults;

    // The texts of the events of a kind the window reported to the host.
    static QStringList eventTexts(const QSignalSpy& events, const QString& kind)
    {
        QStringList found;
        for (const QList<QVariant>& event : events) {
            if (event.value(0).toMap().value("kind") == kind)
                found << event.value(0).toMap().value("text").toString();
        }
        return found;
    }

    double shown(const QString& id) const
    {
        return rig->manager<QtDoublePropertyManager>(id)->value(rig->property(id));
    }

    QString message() const { return rig->window->statusBar()->currentMessage(); }

    void press(const char* button)
    {
        rig->invoke("buttonClicked", Q_ARG(QtProperty*, rig->property(button)));
    }

    // Values unlike the defaults: a row not read, or read from another answer, shows.
    void setSensorValues(int offset)
    {
        rig->setOnSensor("SwitchingThresholdA1", 180 + offset);
        rig->setOnSensor("SwitchingThresholdA2", 200 + offset);
        rig->setOnSensor("HysteresisA1", 7 + offset);
        rig->setOnSensor("OnDelay1", 1234 + offset);
        rig->setOnSensor("OffDelay2", 77 + offset);
        rig->setOnSensor("analog0V", 40 + offset);
        rig->setOnSensor("analog10V", 330 + offset);
        rig->setOnSensor("DetectionRangeNear", 25 + offset);
        rig->setOnSensor("PinFunctionA1", offset == 0 ? 2 : 1);
        rig->setOnSensor("ErrorWarning1", offset == 0 ? 28 : 29);
        rig->setOnSensor("MeasurementFilter", offset == 0 ? 2 : 0);
        rig->device->model().answer(tagWriteRequest(0x19, offset == 0 ? "Conveyor 3" : "Pallet 9"));
    }

    // Every exchange went out whole, and the tree shows what the sensor holds.
    void checkWholeAndInStep(const QStringList& sent)
    {
        VERIFY_NONE(writesApartFromTheirFetch(sent));
        VERIFY_NONE(requestsBetweenReadsAndFetches(sent));
        VERIFY_NONE(rowsUnlikeTheSensor(*rig, "107"));
    }

    // From the event loop, as a click: the sequence runs inside the trigger.
    static void start(QAction* action) { QTimer::singleShot(0, action, &QAction::trigger); }

    // Reads everything; the status bar says when it is done.
    void readAll()
    {
        rig->window->statusBar()->clearMessage();
        start(rig->window->form().actionRead);
        QTRY_VERIFY_WITH_TIMEOUT(message().contains("not read: 0"), 30000);
    }

    // The question is answered; the slot returns when the restore is done.
    QStringList restore(QMessageBox::StandardButton answer)
    {
        DialogAnswers answers({reply(answer)});
        rig->window->form().actionDefaultSettings->trigger();
        return answers.titles + answers.texts;
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

    // Connecting, which reads everything, and a write of everything while
    // live data run: the poll goes between the exchanges, never inside one.
    void connectingAndWritingEverythingWhileLiveDataRun()
    {
        setSensorValues(0);
        rig->connectReading();
        waitForLiveData(*rig);
        QTest::qWait(500);
        checkWholeAndInStep(rig->sent());
        VERIFY_NONE(rig->writes());
        QVERIFY(message().contains("not read: 0"));

        // Writing everything puts back what changed behind the window's back.
        setSensorValues(10);
        rig->clearTrace();
        start(rig->window->form().actionWritePermanent);
        // The distances at 0 V and 10 V come last in the order of ids.
        QTRY_COMPARE_WITH_TIMEOUT(rig->simulated("analog10V"), qlonglong(330), 40000);
        QTest::qWait(1000);
        QCOMPARE(rig->simulated("SwitchingThresholdA1"), qlonglong(180));
        checkWholeAndInStep(rig->sent());
        waitForLiveData(*rig);
    }

    // Cancelling a write of everything stops the writes at once; what was
    // not written is marked, nothing is left half-sent.
    void cancellingAWriteOfEverything()
    {
        waitForLiveData(*rig);
        auto* cancel = rig->window->findChild<QPushButton*>("cancelSequence");
        QVERIFY(cancel);
        setSensorValues(20);
        // The number of requests sent before the click.
        int before = -1;
        const auto clicking =
            connect(rig->window->statusBar(), &QStatusBar::messageChanged, cancel, [&](const QString& text) {
                if (before < 0 && text.startsWith("Writing 5 of") && cancel->isVisible()) {
                    before = int(rig->sent().size());
                    cancel->click();
                }
            });
        rig->clearTrace();
        start(rig->window->form().actionWritePermanent);
        QTRY_VERIFY_WITH_TIMEOUT(message().startsWith("Writing cancelled:"), 20000);
        disconnect(clicking);
        QTest::qWait(1000);
        const QStringList sent = rig->sent();
        QVERIFY(before >= 0);
        QVERIFY2(writesOf(sent.mid(before)).size() <= 1, qPrintable(sent.mid(before).join("; ")));
        VERIFY_NONE(writesApartFromTheirFetch(sent));
        // The distances at 0 V and 10 V come last: not written, and marked.
        QCOMPARE(rig->simulated("analog10V"), qlonglong(350));
        QVERIFY(!rig->mark("analog10V").isEmpty());
        for (const QString& difference : rowsUnlikeTheSensor(*rig, "107"))
            QVERIFY2(!rig->mark(difference.section(':', 0, 0)).isEmpty(), qPrintable(difference));
        waitForLiveData(*rig);
        readAll();
    }

    // A teach button's write is followed 4.5 s later by reading the output's
    // three thresholds back, in this order. The press and what it taught are
    // reported to the host, each once, as no write.
    void teachingReadsTheTaughtThresholdsBack()
    {
        waitForLiveData(*rig);
        // Window mode: the window around the point is taught too.
        rig->manager<QtEnumPropertyManager>("TeachInMode1")->setValue(rig->property("TeachInMode1"), 2);
        QTRY_COMPARE(rig->simulated("TeachInMode1"), qlonglong(2));
        waitForLiveData(*rig);
        rig->device->model().holdTarget(250);
        rig->clearTrace();
        QSignalSpy events(rig->window->findChild<QObject*>("scripting"), SIGNAL(sensorEvent(QVariantMap)));
        press("TEACHBUTTON1");
        QTRY_COMPARE_WITH_TIMEOUT(rig->simulated("SwitchingThresholdA1"), qlonglong(250), 5000);
        const QString lower = hex(readRequest(65, 1));
        QTRY_VERIFY_WITH_TIMEOUT(!rig->sent().filter(lower).isEmpty(), 10000);
        QTest::qWait(300);

        const QStringList sent = rig->sent();
        const int written = int(sent.indexOf(hex(writeRequest({69, 1, 6}, 1))));
        QVERIFY(written >= 0);
        // The status poll's own reads (echoes, crash counter) aside.
        const QStringList reads = sent.mid(written).filter(QRegularExpression("^05 .. 26 (?!23 13|11 12)"));
        QVERIFY2(reads.mid(0, 3) == (QStringList{hex(readRequest(64, 1)), hex(readRequest(65, 2)), lower}),
                 qPrintable(reads.join("; ")));
        VERIFY_NONE(requestsBetweenReadsAndFetches(sent));
        QTRY_COMPARE(shown("SwitchingThresholdA1"), 250.0);
        const QString taught(
            "Switching point A1 taught: 250 mm, Window above switching point A1 taught: 20 mm, "
            "Window below switching point A1 taught: 20 mm");
        QTRY_COMPARE(message(), taught);
        QTRY_COMPARE(eventTexts(events, "teach"), (QStringList{"Teach switching point A1 pressed", taught}));
        QCOMPARE(eventTexts(events, "written"), QStringList());
        rig->device->model().holdTarget(0);
    }

    // Dragging the far end of the detection range on the echo plot writes
    // that end, and only it, at once.
    void draggingTheDetectionRangeWritesItsEnd()
    {
        waitForLiveData(*rig);
        rig->manager<QtEnumPropertyManager>("ObjectInfo")->setValue(rig->property("ObjectInfo"), 1);
        QTRY_COMPARE(rig->simulated("ObjectInfo"), qlonglong(1));
        rig->workbench.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig->workbench));
        QwtPlot* echoes = rig->window->chart()->poPlot(1);
        QTRY_VERIFY(echoes->isVisible());
        echoes->replot();
        rig->clearTrace();
        const double far = rig->window->chart()->getXMax(1);
        dragOnCanvas(echoes, Qt::Horizontal, shown("DetectionRangeFar"), far * 0.8);
        const double end = shown("DetectionRangeFar");
        QVERIFY2(qAbs(end - far * 0.8) <= 2, qPrintable(QString::number(end)));
        QTRY_COMPARE(rig->writes(), QStringList{hex(writeRequest({68, 2, 7}, int(end)))});
    }

    // An impact is said once; the reset button writes the counter's reset
    // and reads the counter back.
    void anImpactIsReportedAndResettingTheCrashCounterReadsItBack()
    {
        waitForLiveData(*rig);
        QSignalSpy events(rig->window->findChild<QObject*>("scripting"), SIGNAL(sensorEvent(QVariantMap)));
        const int counted = rig->device->model().crashCounter();
        rig->device->model().recordImpact();
        const QStringList rose{QString("The crash counter rose from %1 to %2").arg(counted).arg(counted + 1)};
        QTRY_COMPARE_WITH_TIMEOUT(eventTexts(events, "crashCounter"), rose, 10000);
        rig->clearTrace();
        press("RESETBUTTON");
        const QString reset = hex(writeRequest({71, 0, 6}, 0));
        QTRY_VERIFY_WITH_TIMEOUT(rig->sent().contains(reset), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(
            rig->sent().mid(rig->sent().indexOf(reset)).contains(hex(readRequest(0x1323, 0))), 10000);
        QTRY_COMPARE(rig->manager<QtIntPropertyManager>("CrashCounter")->value(rig->property("CrashCounter")),
                     0);
        // The poll reads the counter too; the read-back is done once it is said.
        QTRY_VERIFY_WITH_TIMEOUT(message().endsWith(" reset: 0"), 10000);
        QCOMPARE(eventTexts(events, "crashCounter"), rose);
    }

    // "PC -> Sensor" puts back the window's values where the sensor differs:
    // an offline edit and values changed behind the window's back. Only
    // those go out, and only those are read back.
    void overwritingTheSensorWritesOnlyWhatDiffers()
    {
        rig->invoke("actionConnectSensor", Q_ARG(int, 0));
        QVERIFY(!rig->window->isConnected());
        auto* ints = rig->manager<QtIntPropertyManager>("OnDelay1");
        ints->setValue(rig->property("OnDelay1"), 4321);
        const int offDelay = ints->value(rig->property("OffDelay2"));
        const int point = int(shown("SwitchingThresholdA1"));
        rig->setOnSensor("SwitchingThresholdA1", point + 7);
        rig->setOnSensor("OffDelay2", offDelay + 100);
        rig->clearTrace();
        rig->connectOverwriting();
        waitForLiveData(*rig);

        QStringList writes, reads;
        for (const auto& [id, value] : {std::pair<QString, int>{"OnDelay1", 4321},
                                        {"OffDelay2", offDelay},
                                        {"SwitchingThresholdA1", point}}) {
            const auto address = *parseParameterAddress(rig->window->parameterAddressMap().value(id));
            writes << hex(writeRequest(address, value));
            reads << hex(readRequest(quint16(address.index), quint8(address.subIndex)));
        }
        const QStringList sent = rig->sent();
        QCOMPARE(rig->writes(), writes);
        const int lastWrite = int(sent.lastIndexOf(QRegularExpression(".. .. 24 .*")));
        // The status poll's own reads (echoes, crash counter) go on with live data.
        QCOMPARE(sent.mid(lastWrite).filter(QRegularExpression("^05 .. 26 (?!23 13|11 12)")), reads);
        QVERIFY(sent.mid(0, lastWrite).filter(QRegularExpression("^05 .. 26 ")).size() > 60);
        checkWholeAndInStep(sent);
        QCOMPARE(rig->mark("OnDelay1"), QString());
    }

    // Restoring the factory settings asks first; cancelled, it leaves the
    // sensor alone. Otherwise it sends the restore whole and reads every
    // parameter again: the tree shows the defaults.
    void restoringTheFactorySettingsReadsEverythingAgain()
    {
        for (auto it = changes.cbegin(); it != changes.cend(); ++it)
            rig->setOnSensor(it.key(), it.value());
        readAll();
        waitForLiveData(*rig);
        const QStringList question{"Restore factory defaults",
                                   "All settings will be restored to factory defaults, continue ?"};
        rig->clearTrace();
        QCOMPARE(restore(QMessageBox::Cancel), question);
        QTest::qWait(300);
        VERIFY_NONE(rig->writes());

        rig->clearTrace();
        QCOMPARE(restore(QMessageBox::Ok), question);
        QVERIFY(rig->window->isConnected());
        const QString reset = hex(factoryResetRequest());
        const QStringList sent = rig->sent();
        const int at = int(sent.indexOf(reset));
        QVERIFY2(at >= 1, qPrintable(sent.join("; ")));
        QCOMPARE(sent.mid(at - 1, 4), (QStringList{"02 73 27", reset, "02 70 22", "02 70 22"}));
        QCOMPARE(rig->writes(), QStringList{reset});
        // The reads follow at once, each whole; the tree shows the defaults.
        const QStringList after = sent.mid(at + 3);
        QVERIFY2(after.value(0).contains(QRegularExpression("^05 .. 26 ")), qPrintable(after.value(0)));
        VERIFY_NONE(requestsBetweenReadsAndFetches(sent));
        for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
            QCOMPARE(rig->simulated(it.key()), it.value());
        VERIFY_NONE(rowsUnlikeTheSensor(*rig, "107"));
        waitForLiveData(*rig);
    }

    // Printing the live history checks the line once and stays connected.
    void printingTheLiveHistoryChecksTheLineOnce()
    {
        QTRY_VERIFY_WITH_TIMEOUT(rig->window->chart()->getData(0)->size() >= 40, 10000);
        rig->clearTrace();
        qputenv("IOLINK_PRINT_PDF", QFile::encodeName(dir.filePath("live.pdf")));
        DialogAnswers noBox({reply(QMessageBox::Ok)});
        rig->window->form().actionPrint_chart_view->trigger();
        qunsetenv("IOLINK_PRINT_PDF");
        QCOMPARE(noBox.titles, QStringList());
        QTest::qWait(300);
        QCOMPARE(rig->sent().filter("03 51 12 01").size(), 1);
        QVERIFY(rig->window->isConnected());
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
        QCOMPARE(message(), "Report written to " + path);
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-raw", path, "-"});
        QVERIFY(pdftotext.waitForFinished() && pdftotext.exitCode() == 0);
        const QString report = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
        QVERIFY2(report.contains("Switch-on delay A1 0 ms differs from line 4.kvs (1500 ms there)"),
                 qPrintable(report));
        QCOMPARE(report.count("differs from"), 1);
    }

    void cleanupTestCase() { rig.reset(); }
};

QTEST_MAIN(RealLineTest)
#include "tst_realline.moc"
