// The sensor window with the small test document against the simulated
// master at the wire's speed: what only the whole window asks and shows.
#include <InProcessRig.h>
#include <TestDocuments.h>

#include <tools/SettingsCompareDialog.h>
#include <tools/SettingsFile.h>
#include <window/SensorWindowForm.h>

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

using namespace NimbarSensorPlugin::Core;

class SensorLinkTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString document;
    PluginLibrary plugin;

    // At the wire's speed timers fire during sequences as on a real line.
    std::unique_ptr<LinkRig> rig(const QString& spec = "UM060/113", const QString& sensorName = "Test M18")
    {
        return std::make_unique<LinkRig>(plugin, document, dir.filePath("trace.txt"), spec, sensorName, true);
    }

private slots:
    void initTestCase()
    {
        document = useLinkTestDocument(dir.path());
        QVERIFY(!document.isEmpty());
        QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
    }

    // Enter takes the choice that leaves the sensor as it is: the identity
    // exchange, then a read of every parameter but the button, and no write.
    void enterConnectsReadingEverythingAndClosingWhileReadingIsSafe()
    {
        auto r = rig();
        r->connectPressingEnter();
        const QStringList sent = r->sent();
        const QStringList sequence{"03 51 12 01", "03 51 12 01", "04 73 11 09 03",
                                   "02 70 22",    "03 70 21 03", "05 57 26 12 00 00",
                                   "02 70 22",    "02 70 22",    "02 73 27"};
        QCOMPARE(sent.mid(0, sequence.size()), sequence);
        const QStringList reads = sent.mid(sequence.size()).filter(QRegularExpression("^05 .. 26 "));
        QCOMPARE(reads.size(), r->window->parameterAddressMap().size() - 1);
        QVERIFY(!reads.contains(hex(readRequest(69, 1))));
        QVERIFY(r->writes().isEmpty());

        // Closed while it reads everything, the window goes without harm, lets
        // go of the port and polls no more.
        QMdiSubWindow* subWindow = r->workbench.mdiArea()->subWindowList().value(0);
        QSignalSpy aboutToClose(r->window, SIGNAL(vAboutToClose()));
        // As in the running workbench, the read starts from the main event loop.
        QEventLoop mainLoop;
        QTimer::singleShot(0, r->window, [&] {
            r->invoke("vRadAllSettings", Q_ARG(bool, true));
            mainLoop.quit();
        });
        QTimer::singleShot(300, subWindow, &QMdiSubWindow::close);
        mainLoop.exec();
        QTRY_COMPARE(r->workbench.openSensorCount(), 0);
        QCOMPARE(aboutToClose.count(), 1);
        QTRY_VERIFY(!r->device->isOpen());
        r->clearTrace();
        QTest::qWait(300);
        QVERIFY(r->sent().isEmpty());
    }

    // A value beyond the variant's limits is neither cut nor written back,
    // and a refused read leaves its row: both are marked. A file's value
    // taken in the compare is an edit left in the window even in write mode:
    // the sensor gets nothing.
    void readingMarksWhatItCannotShowAndTheVariantLimitsEntries()
    {
        auto r = rig();
        r->setOnSensor("SwitchingThresholdA1", 9000);
        r->device->faults().refuseNextRead(75);
        r->connectReading();
        QTest::qWait(600);
        VERIFY_NONE(r->writes());
        QCOMPARE(r->simulated("SwitchingThresholdA1"), 9000);
        QCOMPARE(r->mark("SwitchingThresholdA1"), QString("the sensor holds 9000; allowed 1 to 600"));
        QCOMPARE(r->mark("OnDelay1"), QString("Not read from the sensor: service temporarily not available"));
        r->window->form().actionRead->trigger();
        QCOMPARE(r->manager<QtDoublePropertyManager>("SwitchingThresholdA1")
                     ->maximum(r->property("SwitchingThresholdA1")),
                 600.0);
        QVERIFY(r->mark("OnDelay1").isEmpty());

        const QString path = dir.filePath("compare.kvs");
        QCOMPARE(
            saveSettingsFile(
                path, settingsFileText("Test M18", "MesurementUnit=0;PinFunctionA1=1;OnDelay1=700;", "")),
            QString());
        QTRY_VERIFY_WITH_TIMEOUT(!r->window->isSettling(), 10000);
        QVERIFY(r->window->form().actionWritePermanent->isChecked() &&
                r->window->form().actionWriting->isChecked());
        QTest::qWait(1000);
        r->clearTrace();
        r->window->compareWithSettingsFile(path);
        auto* dialog = r->window->findChild<SettingsCompareDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->table()->rowCount(), 2);
        dialog->findChild<QPushButton*>("take:OnDelay1")->click();
        QCOMPARE(dialog->table()->rowCount(), 1);
        QCOMPARE(r->manager<QtIntPropertyManager>("OnDelay1")->value(r->property("OnDelay1")), 700);
        QCOMPARE(r->mark("OnDelay1"), QString("Not written to the sensor yet"));
        QTest::qWait(600);
        VERIFY_NONE(r->writes());
        QVERIFY(r->mark("PinFunctionA1").isEmpty());
        dialog->close();
    }

    // Live data in inches (sent in tenths) show the object where it is. An
    // output row of the master's data sends the switch byte when its box
    // changes, and only then.
    void liveDataAndTheOutputBoxes()
    {
        auto r = rig();
        r->setOnSensor("MesurementUnit", 1);
        r->device->model().holdTarget(381);
        r->connectReading();
        waitForLiveData(*r);
        QTreeWidgetItem* distance = r->window->processDataTree()->topLevelItem(0)->child(0);
        QTRY_VERIFY(qAbs(distance->text(2).trimmed().toDouble() - 381 / 25.4) <= 0.1);

        // Only a change of the box sends, not one of the row's texts.
        QTreeWidget* list = r->window->processDataTree();
        QTreeWidgetItem* row = list->topLevelItem(2)->child(1);
        auto switchBytes = [&r] { return r->sent().filter(QRegularExpression("^03 .. 23 ")); };
        r->clearTrace();
        row->setText(0, row->text(0));
        row->setText(3, "?");
        list->setFocus();
        list->setCurrentItem(row, 2);
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(row->checkState(2), Qt::Checked);
        QTRY_COMPARE(switchBytes().size(), 1);
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(row->checkState(2), Qt::Unchecked);
        QTRY_COMPARE(switchBytes().size(), 2);
        QVERIFY(switchBytes()[0] != switchBytes()[1]);
        QTest::qWait(400);
        QCOMPARE(switchBytes().size(), 2);
    }
};

QTEST_MAIN(SensorLinkTest)
#include "tst_sensorlink.moc"
