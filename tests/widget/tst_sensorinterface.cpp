#include "WindowUnderTest.h"

#include <RecordingBroker.h>
#include <plugin/PluginExports.h>
#include <plugin/SensorInterface.h>

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <memory>

using namespace NimbarSensorPlugin::Core;

// Port registration driven through the window's signals, against a broker that records every call.
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

    // The ports the window picks one after another ("" for Offline), what the broker is asked, and whether
    // the interface holds a port at the end.
    void portChoicesReachTheBroker()
    {
        const QString usb0 = "/dev/ttyUSB0";
        const QString usb1 = "/dev/ttyUSB1";
        const std::tuple<QStringList, QStringList, QStringList, bool> cases[] = {
            // The same port twice registers once; another port unregisters the first.
            {{usb0}, {usb0, usb0}, {"register " + usb0}, true},
            {{usb0, usb1}, {usb0, usb1}, {"register " + usb0, "unregister", "register " + usb1}, true},
            // Offline matters only while registered; after it the same port registers anew.
            {{usb0}, {"", usb0, ""}, {"register " + usb0, "unregister"}, false},
            {{usb0}, {usb0, "", usb0}, {"register " + usb0, "unregister", "register " + usb0}, true},
            // A port that does not open leaves nothing behind; a refused one is asked for again.
            {{usb0},
             {usb0, "/dev/ttyUSB9"},
             {"register " + usb0, "unregister", "register /dev/ttyUSB9"},
             false},
            {{}, {usb0, usb0}, {"register " + usb0, "register " + usb0}, false}};
        for (const auto& [openable, chosen, calls, registered] : cases) {
            cleanup();
            RecordingBroker broker(QSet<QString>(openable.begin(), openable.end()));
            open();
            for (const QString& port : chosen)
                emit window->vComPortSelected(port);
            QCOMPARE(broker.calls, calls);
            QCOMPARE(interface->isPortRegistered(), registered);
            QVERIFY(window->communication() == (registered ? broker.current() : nullptr));
            if (registered)
                QCOMPARE(broker.current()->currentPortSettings().portName, chosen.last());
        }
    }

    // The port is opened with the sensor's delays; raw sends stop at the first zero byte. A port list
    // update while registered keeps the held port.
    void portSettingsRawSendsAndPortListUpdates()
    {
        RecordingBroker broker({"/dev/ttyUSB0"});
        open("RT5-6000-M30");
        interface->vAvailablePortsUpdated({"/dev/ttyS0", "/dev/ttyUSB0"});
        window->portSelector()->setCurrentIndex(3);
        emit window->vComPortSelected("/dev/ttyUSB0");
        const auto& settings = broker.lastSettings;
        QCOMPARE((QVariantList{settings.portName, settings.characterDelay, settings.lineDelay,
                               settings.flowControl}),
                 (QVariantList{"/dev/ttyUSB0", 1, 10, 0}));
        emit window->vSendData(QString::fromLatin1("\x03\x51\xe9", 3));
        emit window->vSendData(QString::fromLatin1("AB\0CD", 5));
        QCOMPARE(broker.current()->sentBytes, (std::vector<std::string>{"\x03\x51\xe9", "AB"}));
        broker.calls.clear();

        // The adapter vanished from the system's list; the window holds it still.
        interface->vAvailablePortsUpdated({"/dev/ttyS0", "/dev/ttyS1"});
        QComboBox* selector = window->portSelector();
        QCOMPARE((QVariantList{selector->count(), selector->currentIndex(), selector->currentText()}),
                 (QVariantList{5, 4, "/dev/ttyUSB0"}));
        // Once refilled, choices reach the interface again.
        emit window->vComPortSelected(QString());
        QCOMPARE(broker.calls, QStringList{"unregister"});
    }

    // How the host lets go of a sensor on a port: what the broker is told, and whether the interface still
    // counts the port as held or the window is gone with it.
    void lettingGoReleasesThePort()
    {
        const std::tuple<int, QStringList, bool> ways[] = {{0, {"unregister"}, true},
                                                           {1, {"unregister", "unregister"}, false},
                                                           {2, {"unregister plugin"}, false}};
        for (const auto& [how, calls, registered] : ways) {
            cleanup();
            RecordingBroker broker({"/dev/ttyUSB0"});
            open();
            QPointer<SensorWindow> shown = window;
            emit window->vComPortSelected("/dev/ttyUSB0");
            broker.calls.clear();
            if (how == 0)
                interface->vAboutToClose();
            else if (how == 1)
                interface->vActionExit(QString());
            else
                interface.reset();
            QCOMPARE(broker.calls, calls);
            QVERIFY(interface ? interface->isPortRegistered() == registered
                              : shown.isNull() && !area->subWindowList().value(0)->widget());
        }
    }
};

QTEST_MAIN(SensorInterfaceTest)
#include "tst_sensorinterface.moc"
