// An adapter unplugged and plugged in again: iolink-sim behind a link of a
// fixed name, ended and started again. The window waits for the port, reads
// the sensor again by itself, and keeps its history and unwritten edits.
#include <PtyRig.h>
#include <SimulatorProcess.h>
#include <TestDocuments.h>

#include <utils/ValueOverTime.h>
#include <utils/charts/GenericChart.h>
#include <window/SensorWindowForm.h>

#include <qtpropertymanager.h>

#include <QAction>
#include <QStatusBar>
#include <QTemporaryDir>

#include <cmath>

class ReplugTest : public QObject
{
    Q_OBJECT

private slots:
    void aLostSensorIsReadAgainWhenItsPortComesBack()
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
        PtyRig rig(plugin, folder.filePath("trace.txt"), "RT5-350-M18");
        auto* window = rig.window;
        rig.offer(link);
        QVERIFY(window->findChild<QAction*>("reconnectAction")->isChecked());

        {
            DialogAnswers answers({choose("sensorToPc")});
            rig.choose(link);
        }
        QVERIFY(window->isConnected());
        QTRY_VERIFY_WITH_TIMEOUT(window->chart()->getData(0)->size() >= 3, 15000);

        DialogAnswers lost({reply(QMessageBox::Ok)});
        sensor.kill();
        QTRY_VERIFY_WITH_TIMEOUT(!window->isConnected(), 15000);
        const Utils::ValueOverTime* history = window->chart()->getData(0);
        const int samplesBefore = history->size();

        // Edited while the sensor is away: the window keeps it, not written.
        QtProperty* point = window->findProperty(window->rootProperty(), "SwitchingThresholdA1");
        const double held = point->valueText().toDouble();
        static_cast<QtDoublePropertyManager*>(point->propertyManager())->setValue(point, held + 10);

        const int requestsBefore = rig.sent().size();
        QVERIFY2(sensor.start(IOLINK_SIM, simulator, &error), qPrintable(error));
        QTRY_VERIFY_WITH_TIMEOUT(window->isConnected(), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(window->statusBar()->currentMessage(),
                                  QString("Connected again to %1; 1 edit(s) kept, not written").arg(link),
                                  30000);
        QTRY_VERIFY_WITH_TIMEOUT(history->size() >= samplesBefore + 3, 15000);

        // The history goes on after its gap; the edit stays marked; the sensor was read, not written.
        QVERIFY(std::isnan(history->y(samplesBefore - 1)));
        QVERIFY(!window->rowMark("SwitchingThresholdA1").isEmpty());
        QCOMPARE(point->valueText().toDouble(), held + 10);
        const QStringList sent = rig.sent().mid(requestsBefore);
        QVERIFY(sent.filter(QRegularExpression("^.. .. 26 ")).size() > 50);
        VERIFY_NONE(sent.filter(QRegularExpression("^.. .. 2[345] ")));
    }
};

QTEST_MAIN(ReplugTest)
#include "tst_replug.moc"
