#include "ModalAnswer.h"

#include <RecordingBroker.h>
#include <plugin/PluginExports.h>
#include <plugin/SensorInterface.h>
#include <window/SensorWindow.h>

#include <catalogue/SensorCatalogue.h>

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
        SensorInterface* interface;
    };

    Opened open(const char* name = "RT5-350-M18")
    {
        Opened opened;
        opened.area = std::make_unique<QMdiArea>();
        auto* subWindow = new QMdiSubWindow(opened.area.get());
        opened.interface =
            static_cast<SensorInterface*>(poGetInterfaceInstance(sensorNamed(name), subWindow));
        return opened;
    }

    static ExtensionSystem::SensorBasic sensorNamed(const char* name)
    {
        for (const auto& sensor : loadSensorCatalogue()) {
            if (sensor.name() == name)
                return sensor;
        }
        return ExtensionSystem::SensorBasic();
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
        delete opened.interface;
    }

    void identityAndNames()
    {
        RecordingBroker broker({});
        Opened opened = open();
        SensorInterface* interface = opened.interface;
        QCOMPARE(interface->pluginNamespace(), QString("NimbarSensorPlugin"));
        QCOMPARE(interface->pluginGroup(), QString("NimbarSensors"));
        QVERIFY(interface->additionalEntries().isEmpty());
        QVERIFY(interface->getSensorName().isEmpty());
        interface->setSensorName("Line 3 / left");
        QCOMPARE(interface->getSensorName(), QString("Line 3 / left"));
        interface->vSetCompleteNameDescription("IoLinkMzRT5family / RT5-350-M18");
        QCOMPARE(interface->sensorWindow()->completeName(), QString("IoLinkMzRT5family / RT5-350-M18"));
        QCOMPARE(QString(interface->metaObject()->className()),
                 QString("NimbarSensorPlugin::Core::SensorInterface"));
        QVERIFY(interface->qt_metacast("NimbarSensorPlugin::Core::SensorInterface"));
        QVERIFY(interface->qt_metacast("ExtensionSystem::PluginInterface"));
        delete interface;
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

    void samePortTwiceRegistersOnce()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open();
        SensorWindow* window = opened.interface->sensorWindow();
        emit window->vComPortSelected("/dev/ttyUSB0");
        emit window->vComPortSelected("/dev/ttyUSB0");
        QCOMPARE(broker.calls, QStringList{"register /dev/ttyUSB0"});
        QVERIFY(opened.interface->isPortRegistered());
        QVERIFY(window->communication() == broker.current());
        delete opened.interface;
    }

    void anotherPortUnregistersFirst()
    {
        RecordingBroker broker({"/dev/ttyUSB0", "/dev/ttyUSB1"});
        Opened opened = open();
        SensorWindow* window = opened.interface->sensorWindow();
        emit window->vComPortSelected("/dev/ttyUSB0");
        emit window->vComPortSelected("/dev/ttyUSB1");
        QCOMPARE(broker.calls, (QStringList{"register /dev/ttyUSB0", "unregister", "register /dev/ttyUSB1"}));
        QVERIFY(window->communication() == broker.current());
        QCOMPARE(broker.current()->currentPortSettings().portName, QString("/dev/ttyUSB1"));
        delete opened.interface;
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
        delete opened.interface;
    }

    void emptyPortOnlyMattersWhileRegistered()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open();
        SensorWindow* window = opened.interface->sensorWindow();
        emit window->vComPortSelected(QString());
        QVERIFY(broker.calls.isEmpty());

        emit window->vComPortSelected("/dev/ttyUSB0");
        emit window->vComPortSelected(QString());
        QCOMPARE(broker.calls, (QStringList{"register /dev/ttyUSB0", "unregister"}));
        QVERIFY(!opened.interface->isPortRegistered());
        QVERIFY(!window->communication());

        // The held settings were reset, so the same port registers anew.
        emit window->vComPortSelected("/dev/ttyUSB0");
        QCOMPARE(broker.calls.size(), 3);
        delete opened.interface;
    }

    void aPortThatDoesNotOpenLeavesNothingBehind()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open();
        SensorWindow* window = opened.interface->sensorWindow();
        emit window->vComPortSelected("/dev/ttyUSB0");
        QPointer<FakeCommunication> first = broker.current();
        emit window->vComPortSelected("/dev/ttyUSB9");
        QCOMPARE(broker.calls, (QStringList{"register /dev/ttyUSB0", "unregister", "register /dev/ttyUSB9"}));
        QVERIFY(!opened.interface->isPortRegistered());
        QVERIFY(!window->communication());

        // Raw sends go nowhere now.
        emit window->vSendData("abc");
        QVERIFY(first->sentBytes.empty());
        delete opened.interface;
    }

    void aRefusedPortIsAskedForAgain()
    {
        RecordingBroker broker({});
        Opened opened = open();
        SensorWindow* window = opened.interface->sensorWindow();
        emit window->vComPortSelected("/dev/ttyUSB0");
        emit window->vComPortSelected("/dev/ttyUSB0");
        QCOMPARE(broker.calls, (QStringList{"register /dev/ttyUSB0", "register /dev/ttyUSB0"}));
        QVERIFY(!window->communication());
        delete opened.interface;
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
        delete opened.interface;
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
        delete opened.interface;
    }

    void aboutToCloseUnregistersButKeepsTheFlag()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open();
        emit opened.interface->sensorWindow()->vComPortSelected("/dev/ttyUSB0");
        opened.interface->vAboutToClose();
        QCOMPARE(broker.calls.last(), QString("unregister"));
        QVERIFY(opened.interface->isPortRegistered());
        delete opened.interface;
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
        delete opened.interface;
    }

    void destructionUnregistersAndDeletesTheWindow()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        Opened opened = open();
        QPointer<SensorWindow> window = opened.interface->sensorWindow();
        emit window->vComPortSelected("/dev/ttyUSB0");
        delete opened.interface;
        QCOMPARE(broker.calls.last(), QString("unregister plugin"));
        QVERIFY(window.isNull());
        QVERIFY(opened.area->subWindowList().value(0)->widget() == nullptr);
    }

    void openSettingsFromTheHostReachesTheWindow()
    {
        RecordingBroker broker({});
        Opened opened = open();
        ModalAnswer answer(QMessageBox::Ok);
        opened.interface->vActionOpen("/nonexistent/settings.kvs");
        QCOMPARE(answer.answered, 1);
        QCOMPARE(answer.text, QString("The file /nonexistent/settings.kvs does not exist."));
        delete opened.interface;
    }

    void presentationSwitchReachesTheWindow()
    {
        RecordingBroker broker({});
        Opened opened = open();
        SensorWindow* window = opened.interface->sensorWindow();
        opened.interface->vUpdate(true);
        QVERIFY(window->propertyTreeDock()->isHidden());
        QVERIFY(!window->processDataDock()->isHidden());
        opened.interface->vUpdate(QVariant());
        QVERIFY(!window->propertyTreeDock()->isHidden());
        delete opened.interface;
    }
};

QTEST_MAIN(SensorInterfaceTest)
#include "tst_sensorinterface.moc"
