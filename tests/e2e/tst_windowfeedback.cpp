// What the sensor window tells the user about writes, limits and its mode,
// against the simulated master at the wire's speed.
#include "LinkTestDocument.h"
#include "LinkTestRig.h"

#include <window/SensorWindow.h>
#include <window/SensorWindowForm.h>

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <QtTest>

using namespace NimbarSensorPlugin::Core;

class WindowFeedbackTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    PluginLibrary plugin;

    std::unique_ptr<LinkRig> rig()
    {
        return std::make_unique<LinkRig>(plugin, dir.filePath("IoLinkMzRT5family.xml"),
                                         dir.filePath("trace.txt"), "UM060/113", "Test M18", true);
    }
    static QString status(const LinkRig& r) { return r.window->statusBar()->currentMessage(); }
    static QString mode(const LinkRig& r) { return r.window->findChild<QLabel*>("modeLabel")->text(); }

private slots:
    void initTestCase()
    {
        QVERIFY(!useLinkTestDocument(dir.path()).isEmpty());
        QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
    }

    // A single write says what was written, a refused one says so, until a
    // write gets through; what the model makes of it is the writer's test.
    void aWriteSaysWhatTheSensorMadeOfIt()
    {
        auto r = rig();
        r->connectReading();
        QVERIFY(r->window->isConnected());
        waitForLiveData(*r);
        r->clearTrace();
        auto* doubles = r->manager<QtDoublePropertyManager>("SwitchingThresholdA1");
        QtProperty* point = r->property("SwitchingThresholdA1");

        doubles->setValue(point, 250);
        QTRY_COMPARE(status(*r), QString("Switching point A1 = 250 mm written"));
        QCOMPARE(r->writes(), QStringList{hex(writeRequest({64, 1, 7}, 250))});

        r->device->faults().refuseNextWrite(64);
        doubles->setValue(point, 260);
        QTRY_VERIFY(
            status(*r).startsWith("Switching point A1 was not written to the sensor: refused by the sensor"));
        QCOMPARE(r->writes().last(), hex(writeRequest({64, 1, 7}, 260)));

        doubles->setValue(point, 270);
        QTRY_COMPARE(status(*r), QString("Switching point A1 = 270 mm written"));
    }

    void aWriteOfEverythingListsWhatTheSensorRefused()
    {
        auto r = rig();
        r->device->faults().refuseNextWrite(64);
        // Everything, not only what differs: the refused row holds the window's value already.
        DialogAnswers answers(
            {choose("pcToSensor"), {QString(), QMessageBox::Ok, true}, reply(QMessageBox::Ok)});
        r->selectPort();
        r->choosePort();
        QVERIFY(r->window->isConnected());
        QCOMPARE(answers.titles.value(2), QString("Not written to the sensor"));
        QVERIFY(status(*r).startsWith("Written to the sensor: "));
        QVERIFY2(status(*r).contains("; not written: 1; read back otherwise: 0 (marked in the tree). Wrote all "),
                 qPrintable(status(*r)));
        QVERIFY(!r->mark("SwitchingThresholdA1").isEmpty());
        QVERIFY(!r->writes().filter(QRegularExpression("^.. .. 24 40 00 01")).isEmpty());
    }

    // The variant measures up to 600 mm: no threshold beyond it can be
    // entered, also after everything was read again.
    void limitsFollowTheConnectedVariant()
    {
        auto r = rig();
        r->connectReading();
        QVERIFY(r->window->isConnected());
        auto* doubles = r->manager<QtDoublePropertyManager>("SwitchingThresholdA1");
        QtProperty* point = r->property("SwitchingThresholdA1");
        QCOMPARE(doubles->maximum(point), 600.0);
        QVERIFY(point->toolTip().contains("Allowed: 1 to 600 mm"));

        r->window->form().actionRead->trigger();
        QCOMPARE(doubles->maximum(point), 600.0);
        waitForLiveData(*r);
        doubles->setValue(point, 9999);
        QCOMPARE(doubles->value(point), 600.0);
        QTRY_COMPARE(r->simulated("SwitchingThresholdA1"), 600);
    }

    // In inches the sensor sends tenths of an inch: the window shows the
    // object where it is.
    void theDistanceInInchesIsWhereTheObjectIs()
    {
        auto r = rig();
        r->setOnSensor("MesurementUnit", 1);
        r->device->model().holdTarget(381);
        r->connectReading();
        QVERIFY(r->window->isConnected());
        waitForLiveData(*r);
        QTreeWidgetItem* distance = r->window->processDataTree()->topLevelItem(0)->child(0);
        QTRY_VERIFY(qAbs(distance->text(2).trimmed().toDouble() - 381 / 25.4) <= 0.1);
        QVERIFY(distance->text(3).contains("inch"));
        QVERIFY(!r->sent().filter("02 70 22").isEmpty());
    }

    void theMenuKeysDriveTheSensorAndTheModeIsShown()
    {
        auto r = rig();
        QCOMPARE(mode(*r), QString("Offline"));
        r->connectReading();
        QVERIFY(r->window->isConnected());
        QCOMPARE(mode(*r), QString("Mode: write"));
        r->window->form().actionWritePermanent->setChecked(false);
        QCOMPARE(mode(*r), QString("Mode: window only"));
        r->window->form().actionWritePermanent->setChecked(true);

        r->clearTrace();
        r->workbench.show();
        QVERIFY(QTest::qWaitForWindowActive(&r->workbench));
        r->window->parameterBrowser()->setFocus();
        QTRY_VERIFY(r->window->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!r->sent().filter(hex(readRequest(64, 1))).isEmpty());
        QVERIFY(r->writes().isEmpty());

        // Reading gives the keyboard focus back to the tree once it is done.
        waitForLiveData(*r);
        QTRY_VERIFY(r->window->isAncestorOf(QApplication::focusWidget()));
        const bool live = r->window->form().actionEnable_live_data->isChecked();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(r->window->form().actionEnable_live_data->isChecked(), !live);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(!r->window->isConnected());
        QCOMPARE(mode(*r), QString("Offline"));
    }
};

QTEST_MAIN(WindowFeedbackTest)
#include "tst_windowfeedback.moc"
