#include "WindowUnderTest.h"

#include <RecordingBroker.h>
#include <plugin/PluginExports.h>
#include <plugin/SensorInterface.h>
#include <window/SensorWindow.h>

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaMethod>
#include <QPointer>
#include <QtTest>

#include <memory>

using namespace NimbarSensorPlugin::Core;

// The interface's port registration, driven through the window's signals,
// against a broker that records every call.
class SensorInterfaceTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QMdiArea> area;
    // Destroyed before the area: it deletes the window the sub-window shows.
    std::unique_ptr<SensorInterface> interface;
    SensorWindow* window = nullptr;

    void open(const char* name = "RT5-350-M18")
    {
        area = std::make_unique<QMdiArea>();
        auto* subWindow = new QMdiSubWindow(area.get());
        interface.reset(static_cast<SensorInterface*>(poGetInterfaceInstance(hostRecord(name), subWindow)));
        QVERIFY(interface);
        window = interface->sensorWindow();
        QCOMPARE(subWindow->widget(), window);
    }

private slots:
    void cleanup()
    {
        interface.reset();
        area.reset();
    }

    // Hosts invoke the interface by these indices.
    void slotTableKeepsItsOrder()
    {
        const QMetaObject& meta = SensorInterface::staticMetaObject;
        QStringList found;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
            found << meta.method(i).methodSignature();
        QCOMPARE(found.join(' '),
                 QString("vComPortListChanged() vComPortChanged(QString) vSendDataBytes(QString) "
                         "vReceivedData(QString) vAvailablePortsUpdated(QStringList) vActionOpen(QString) "
                         "vActionExit(QString) setWindowActive(bool) vAboutToClose() vAutoConnect(QString) "
                         "vUpdate(QVariant) vSetCompleteNameDescription(QString) setSensorName(QString) "
                         "getSensorName() receivedData(std::string)"));
        QCOMPARE(meta.method(meta.methodOffset() + 14).access(), QMetaMethod::Private);
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
        open();
        for (const QString& port : qAsConst(chosen))
            emit window->vComPortSelected(port);
        QCOMPARE(broker.calls, calls);
        QCOMPARE(interface->isPortRegistered(), registered);
        QVERIFY(window->communication() == (registered ? broker.current() : nullptr));
        if (registered)
            QCOMPARE(broker.current()->currentPortSettings().portName, chosen.last());
    }

    // The port is opened with the sensor's delays; raw sends stop at the first zero byte.
    void portSettingsAndRawSends()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        open("RT5-6000-M30");
        emit window->vComPortSelected("/dev/ttyUSB0");
        const auto& settings = broker.lastSettings;
        QCOMPARE((QVariantList{settings.portName, settings.characterDelay, settings.lineDelay,
                               settings.flowControl}),
                 (QVariantList{"/dev/ttyUSB0", 1, 10, 0}));
        emit window->vSendData(QString::fromLatin1("\x03\x51\xe9", 3));
        emit window->vSendData(QString::fromLatin1("AB\0CD", 5));
        QCOMPARE(broker.current()->sentBytes, (std::vector<std::string>{"\x03\x51\xe9", "AB"}));
    }

    void portListUpdateWhileRegisteredKeepsTheHeldPort()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        open();
        interface->vAvailablePortsUpdated({"/dev/ttyS0", "/dev/ttyUSB0"});
        window->portSelector()->setCurrentIndex(3);
        emit window->vComPortSelected("/dev/ttyUSB0");
        broker.calls.clear();

        // The adapter vanished from the system's list; the window holds it still.
        interface->vAvailablePortsUpdated({"/dev/ttyS0", "/dev/ttyS1"});
        QComboBox* selector = window->portSelector();
        QCOMPARE(selector->count(), 5);
        QCOMPARE(selector->currentIndex(), 4);
        QCOMPARE(selector->currentText(), QString("/dev/ttyUSB0"));
        QVERIFY(broker.calls.isEmpty());

        // Once refilled, choices reach the interface again.
        emit window->vComPortSelected(QString());
        QCOMPARE(broker.calls, QStringList{"unregister"});
    }

    // How the host lets go of a sensor on a port, what the broker is told
    // and whether the interface still counts the port as held.
    void lettingGoReleasesThePort_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("registered");
        QTest::newRow("about to close") << 0 << QStringList{"unregister"} << true;
        QTest::newRow("exit") << 1 << QStringList{"unregister", "unregister"} << false;
        QTest::newRow("destroyed") << 2 << QStringList{"unregister plugin"} << false;
    }

    void lettingGoReleasesThePort()
    {
        QFETCH(int, how);
        QFETCH(QStringList, calls);
        QFETCH(bool, registered);
        RecordingBroker broker({"/dev/ttyUSB0"});
        open();
        QPointer<SensorWindow> shown = window;
        interface->vAvailablePortsUpdated({"/dev/ttyUSB0"});
        emit window->vComPortSelected("/dev/ttyUSB0");
        broker.calls.clear();
        if (how == 0)
            interface->vAboutToClose();
        else if (how == 1)
            interface->vActionExit(QString());
        else
            interface.reset();
        QCOMPARE(broker.calls, calls);
        if (interface)
            QCOMPARE(interface->isPortRegistered(), registered);
        else
            QVERIFY(shown.isNull() && !area->subWindowList().value(0)->widget());
    }
};

QTEST_MAIN(SensorInterfaceTest)
#include "tst_sensorinterface.moc"
