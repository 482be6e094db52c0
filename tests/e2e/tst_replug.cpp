// A sensor window whose adapter is unplugged and plugged in again: iolink-sim
// on a pseudo-terminal behind a link of a fixed name, ended and started
// again, with the real description document at 38400 baud. The window waits
// for the port, reads the sensor again by itself, and keeps its history and
// the user's unwritten edits.
#include "LinkTestRig.h"
#include "SimulatorProcess.h"

#include <window/SensorWindowForm.h>

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>

class ReplugTest : public QObject
{
    Q_OBJECT

private slots:
    void aLostSensorIsReadAgainWhenItsPortComesBack();
};

void ReplugTest::aLostSensorIsReadAgainWhenItsPortComesBack()
{
    QTemporaryDir folder;
    const QString link = folder.filePath("adapter");
    const QStringList simulator{"--model", "UM035", "--variant", "107", "--link", link};
    SimulatorProcess sensor;
    QString error;
    QVERIFY2(sensor.start(IOLINK_SIM, simulator, &error), qPrintable(error));

    useFamilyDocument();
    PluginLibrary plugin;
    QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
    WorkbenchWindow workbench(plugin);
    workbench.setPortLister([] { return QStringList(); });
    workbench.hostPorts().addPath(link);
    const QString trace = folder.filePath("trace.txt");
    QVERIFY(workbench.hostPorts().setTraceFile(trace, &error));
    workbench.refreshPorts();
    QVERIFY(workbench.openSensor("RT5-350-M18"));
    auto* window = qobject_cast<NimbarSensorPlugin::Core::SensorWindow*>(workbench.activeSensorWindow());
    QVERIFY(window);
    QVERIFY(window->findChild<QAction*>("reconnectAction")->isChecked());

    {
        DialogAnswers answers({choose("sensorToPc")});
        window->portSelector()->setCurrentIndex(window->portSelector()->findText(link));
        QVERIFY(QMetaObject::invokeMethod(window, "actionConnectSensor",
                                          Q_ARG(int, window->portSelector()->currentIndex())));
    }
    QVERIFY(window->isConnected());
    QTRY_VERIFY_WITH_TIMEOUT(window->chart()->getData(0)->size() >= 3, 15000);

    DialogAnswers lost({reply(QMessageBox::Ok)});
    sensor.kill();
    QTRY_VERIFY_WITH_TIMEOUT(!window->isConnected(), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(window->findChild<QLabel*>("modeLabel")->text(),
                              QString("Waiting for %1 to come back...").arg(link), 5000);
    const Utils::ValueOverTime* history = window->chart()->getData(0);
    const int samplesBefore = history->size();
    QVERIFY(std::isnan(history->y(samplesBefore - 1)));

    // Edited while the sensor is away: the window keeps it, not written.
    QtProperty* point = window->findProperty(window->rootProperty(), "SwitchingThresholdA1");
    const double held = point->valueText().toDouble();
    static_cast<QtDoublePropertyManager*>(point->propertyManager())->setValue(point, held + 10);
    QTRY_VERIFY(!window->rowMark("SwitchingThresholdA1").isEmpty());
    QTest::qWait(1000);
    QVERIFY(!window->isConnected());

    const int requestsBefore = TraceLines::read(trace).requests().size();
    QVERIFY2(sensor.start(IOLINK_SIM, simulator, &error), qPrintable(error));
    QTRY_VERIFY_WITH_TIMEOUT(window->isConnected(), 60000);
    QTRY_COMPARE_WITH_TIMEOUT(window->statusBar()->currentMessage(),
                              QString("Connected again to %1; 1 edit(s) kept, not written").arg(link), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(history->size() >= samplesBefore + 3, 15000);

    // The history goes on after its gap; the edit is still an edit, marked,
    // and the sensor was read, not written.
    QVERIFY(std::isnan(history->y(samplesBefore - 1)));
    QCOMPARE(window->rowMark("SwitchingThresholdA1").isEmpty(), false);
    QCOMPARE(point->valueText().toDouble(), held + 10);
    const QStringList sent = TraceLines::read(trace).requests().mid(requestsBefore);
    QVERIFY(sent.filter(QRegularExpression("^.. .. 26 ")).size() > 50);
    QVERIFY2(requestsBetweenReadsAndFetches(sent).isEmpty(),
             qPrintable(requestsBetweenReadsAndFetches(sent).join("; ")));
    QVERIFY2(sent.filter(QRegularExpression("^.. .. 2[345] ")).isEmpty(),
             qPrintable(sent.filter(QRegularExpression("^.. .. 2[345] ")).join("; ")));
}

QTEST_MAIN(ReplugTest)
#include "tst_replug.moc"
