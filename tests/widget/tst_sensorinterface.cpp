#include "WindowUnderTest.h"
#include <ModalAnswers.h>

#include <RecordingBroker.h>
#include <plugin/PluginExports.h>
#include <plugin/SensorInterface.h>
#include <window/SensorWindow.h>

#include <QComboBox>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaMethod>
#include <QPointer>
#include <QtTest>

#include <memory>

using namespace NimbarSensorPlugin::Core;

// The registration state machine of the interface, driven through the same
// signals the window emits, against a broker that records every call.
class SensorInterfaceTest : public QObject
{
    Q_OBJECT

private:
    struct Opened
    {
        std::unique_ptr<QMdiArea> area;
        // Destroyed before the area: it deletes the window the sub-window shows.
        std::unique_ptr<SensorInterface> interface;
    };

    Opened open(const char* name = "RT5-350-M18")
    {
        Opened opened;
        opened.area = std::make_unique<QMdiArea>();
        auto* subWindow = new QMdiSubWindow(opened.area.get());
        opened.interface.reset(
            static_cast<SensorInterface*>(poGetInterfaceInstance(hostRecord(name), subWindow)));
        return opened;
    }

private slots:
    void createsTheWindowInTheSubWindow()
    {
        RecordingBroker broker({});
        Opened opened = open();
        QVERIFY(opened.interface);
        SensorWindow* window = opened.interface->sensorWindow();
        QVERIFY(window);
        auto* subWindow = opened.area->subWindowList().value(0);
        QCOMPARE(subWindow->widget(), window);
        QVERIFY(!opened.interface->isPortRegistered());
        QCOMPARE(window->sensorRecord().name(), std::string("RT5-350-M18"));
        QVERIFY(broker.calls.isEmpty());
    }

    void slotTableKeepsItsOrder()
    {
        const QStringList expected = {"vComPortListChanged()",
                                      "vComPortChanged(QString)",
                                      "vSendDataBytes(QString)",
                                      "vReceivedData(QString)",
                                      "vAvailablePortsUpdated(QStringList)",
                                      "vActionOpen(QString)",
                                      "vActionExit(QString)",
                                      "setWindowActive(bool)",
                                      "vAboutToClose()",
                                      "vAutoConnect(QString)",
                                      "vUpdate(QVariant)",
                                      "vSetCompleteNameDescription(QString)",
                                      "setSensorName(QString)",
                                      "getSensorName()",
                                      "receivedData(std::string)"};
        const QMetaObject& meta = SensorInterface::staticMetaObject;
        QCOMPARE(meta.methodCount() - meta.methodOffset(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(QString(meta.method(meta.methodOffset() + i).methodSignature()), expected.at(i));
        QCOMPARE(meta.method(meta.methodOffset() + 14).access(), QMetaMethod::Private);
    }

    void portSettingsCarryTheSensorsDelays()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open("RT5-6000-M30");
        emit opened.interface->sensorWindow()->vComPortSelected("/dev/ttyUSB0");
        QCOMPARE(broker.lastSettings.portName, QString("/dev/ttyUSB0"));
        QCOMPARE(broker.lastSettings.characterDelay, 1);
        QCOMPARE(broker.lastSettings.lineDelay, 10);
        QCOMPARE(broker.lastSettings.flowControl, 0);
    }

    // The ports the window picks one after another ("" for Offline), what
    // the broker is asked, and whether the interface holds a port at the end.
    void portChoicesReachTheBroker_data()
    {
        QTest::addColumn<QStringList>("openable");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("registered");
        const QString usb0 = "/dev/ttyUSB0";
        const QString usb1 = "/dev/ttyUSB1";
        QTest::newRow("the same port twice registers once")
            << QStringList{usb0} << QStringList{usb0, usb0} << QStringList{"register " + usb0} << true;
        QTest::newRow("another port unregisters the first")
            << QStringList{usb0, usb1} << QStringList{usb0, usb1}
            << QStringList{"register " + usb0, "unregister", "register " + usb1} << true;
        QTest::newRow("offline matters only while registered")
            << QStringList{usb0} << QStringList{"", usb0, ""} << QStringList{"register " + usb0, "unregister"}
            << false;
        QTest::newRow("after offline the same port registers anew")
            << QStringList{usb0} << QStringList{usb0, "", usb0}
            << QStringList{"register " + usb0, "unregister", "register " + usb0} << true;
        QTest::newRow("a port that does not open leaves nothing behind")
            << QStringList{usb0} << QStringList{usb0, "/dev/ttyUSB9"}
            << QStringList{"register " + usb0, "unregister", "register /dev/ttyUSB9"} << false;
        QTest::newRow("a refused port is asked for again")
            << QStringList() << QStringList{usb0, usb0} << QStringList{"register " + usb0, "register " + usb0}
            << false;
    }

    void portChoicesReachTheBroker()
    {
        QFETCH(QStringList, openable);
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, calls);
        QFETCH(bool, registered);
        RecordingBroker broker(QSet<QString>(openable.begin(), openable.end()));
        Opened opened = open();
        SensorWindow* window = opened.interface->sensorWindow();
        for (const QString& port : qAsConst(chosen))
            emit window->vComPortSelected(port);
        QCOMPARE(broker.calls, calls);
        QCOMPARE(opened.interface->isPortRegistered(), registered);
        QVERIFY(window->communication() == (registered ? broker.current() : nullptr));
        if (registered)
            QCOMPARE(broker.current()->currentPortSettings().portName, chosen.last());
    }

    void rawSendsStopAtTheFirstZeroByte()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open();
        SensorWindow* window = opened.interface->sensorWindow();
        emit window->vComPortSelected("/dev/ttyUSB0");
        emit window->vSendData(QString::fromLatin1("\x03\x51\xe9", 3));
        emit window->vSendData(QString::fromLatin1("AB\0CD", 5));
        QCOMPARE(broker.current()->sentBytes.size(), size_t(2));
        QCOMPARE(broker.current()->sentBytes[0], std::string("\x03\x51\xe9"));
        QCOMPARE(broker.current()->sentBytes[1], std::string("AB"));
    }

    void portListUpdateWhileRegisteredKeepsTheHeldPort()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open();
        SensorWindow* window = opened.interface->sensorWindow();
        opened.interface->vAvailablePortsUpdated({"/dev/ttyS0", "/dev/ttyUSB0"});
        window->portSelector()->setCurrentIndex(3);
        emit window->vComPortSelected("/dev/ttyUSB0");
        QVERIFY(opened.interface->isPortRegistered());
        broker.calls.clear();

        // The adapter vanished from the system's list; the window holds it still.
        opened.interface->vAvailablePortsUpdated({"/dev/ttyS0", "/dev/ttyS1"});
        QComboBox* selector = window->portSelector();
        QCOMPARE(selector->count(), 5);
        QCOMPARE(selector->itemText(4), QString("/dev/ttyUSB0"));
        QCOMPARE(selector->currentText(), QString("/dev/ttyUSB0"));
        QVERIFY(broker.calls.isEmpty());

        // Once refilled, choices reach the interface again.
        emit window->vComPortSelected(QString());
        QCOMPARE(broker.calls, QStringList{"unregister"});
    }

    void aboutToCloseUnregistersButKeepsTheFlag()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open();
        emit opened.interface->sensorWindow()->vComPortSelected("/dev/ttyUSB0");
        opened.interface->vAboutToClose();
        QCOMPARE(broker.calls.last(), QString("unregister"));
        QVERIFY(opened.interface->isPortRegistered());
    }

    void closingTheWindowReleasesThePort()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open();
        opened.interface->vAvailablePortsUpdated({"/dev/ttyUSB0"});
        emit opened.interface->sensorWindow()->vComPortSelected("/dev/ttyUSB0");
        broker.calls.clear();
        opened.interface->vActionExit(QString());
        QCOMPARE(broker.calls, (QStringList{"unregister", "unregister"}));
        QVERIFY(!opened.interface->isPortRegistered());
    }

    void destructionUnregistersAndDeletesTheWindow()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open();
        QPointer<SensorWindow> window = opened.interface->sensorWindow();
        emit window->vComPortSelected("/dev/ttyUSB0");
        opened.interface.reset();
        QCOMPARE(broker.calls.last(), QString("unregister plugin"));
        QVERIFY(window.isNull());
        QVERIFY(opened.area->subWindowList().value(0)->widget() == nullptr);
    }

    void openSettingsFromTheHostReachesTheWindow()
    {
        RecordingBroker broker({});
        Opened opened = open();
        DialogAnswers answer({reply(QMessageBox::Ok)});
        opened.interface->vActionOpen("/nonexistent/settings.kvs");
        QCOMPARE(answer.answered(), 1);
        QCOMPARE(answer.texts.value(0), QString("The file /nonexistent/settings.kvs does not exist."));
    }
};

QTEST_MAIN(SensorInterfaceTest)
#include "tst_sensorinterface.moc"
