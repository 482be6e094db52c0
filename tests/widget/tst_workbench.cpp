#include "ModalAnswer.h"

#include <HostTranslator.h>
#include <PluginLibrary.h>
#include <SimulatedSensors.h>
#include <WorkbenchWindow.h>

#include <extensionsystem/Globals.h>

#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTreeWidget>
#include <QtTest>

#include <qttreepropertybrowser.h>

// The workbench with the real plug-in loaded from the build's plug-in folder.
class WorkbenchTest : public QObject
{
    Q_OBJECT

private:
    PluginLibrary plugin;

    static QMainWindow* sensorWindowOf(QMdiSubWindow* subWindow)
    {
        return qobject_cast<QMainWindow*>(subWindow->widget());
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
    }

    void listsThePluginsSensors()
    {
        WorkbenchWindow window(plugin);
        QTreeWidget* list = window.sensorList();
        QCOMPARE(list->topLevelItemCount(), 5);
        QCOMPARE(list->topLevelItem(0)->text(0), QString("RT5-350-M18"));
        QCOMPARE(list->topLevelItem(0)->text(1), QString("UM035"));
        auto* label = window.findChild<QLabel*>("pluginLabel");
        QVERIFY(label->text().contains("IoLinkMzRT5family"));
        QVERIFY(label->text().contains("SERIAL"));
    }

    void opensASensorInASubWindowAndReleasesItOnClose()
    {
        WorkbenchWindow window(plugin);
        window.show();
        QVERIFY(window.openSensor("RT5-600-M18"));
        QCOMPARE(window.openSensorCount(), 1);
        QMdiSubWindow* subWindow = window.mdiArea()->subWindowList().value(0);
        QVERIFY(subWindow);
        QPointer<QMainWindow> sensorWindow = sensorWindowOf(subWindow);
        QVERIFY(sensorWindow);
        QCOMPARE(sensorWindow->windowTitle(), QString("RT5-600-M18 (Offline)"));

        QVERIFY(subWindow->close());
        QTRY_COMPARE(window.openSensorCount(), 0);
        QTRY_VERIFY(sensorWindow.isNull());
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
    }

    void portsThatComeAndGoReachEveryOpenSensor()
    {
        WorkbenchWindow window(plugin);
        QStringList system = {"/dev/ttyUSB0"};
        window.setPortLister([&system] { return system; });
        window.openSensor("RT5-350-M18");
        auto* selector =
            sensorWindowOf(window.mdiArea()->subWindowList().value(0))->findChild<QComboBox*>("portSelector");
        QCOMPARE(selector->count(), 3);
        QCOMPARE(selector->itemText(2), QString("/dev/ttyUSB0"));

        system = QStringList{"/dev/ttyACM0", "/dev/ttyUSB0"};
        window.refreshPorts();
        QCOMPARE(selector->count(), 4);
        QCOMPARE(selector->itemText(2), QString("/dev/ttyACM0"));

        system.clear();
        window.refreshPorts();
        QCOMPARE(selector->count(), 2);
    }

    void simulatedSensorsAndGivenPathsAreOfferedAndOpenedThroughTheBroker()
    {
        WorkbenchWindow window(plugin);
        window.setPortLister([] { return QStringList{"/dev/ttyUSB0", "/dev/iolink-missing"}; });
        QString error;
        const QString document = IOLINK_PLUGIN_DIR "/../IoLinkMzRT5family.xml";
        QVERIFY(addSimulatedSensor(window.hostPorts(), "UM035/999", document, &error).isEmpty());
        QVERIFY(error.contains("999"));
        const QString simulated = addSimulatedSensor(window.hostPorts(), "UM060/113", document, &error);
        QCOMPARE(simulated, QString("SIM1-UM060-113"));
        window.hostPorts().addPath("/dev/iolink-missing");
        window.refreshPorts();
        QCOMPARE(window.availablePorts(),
                 (QStringList{"SIM1-UM060-113", "/dev/iolink-missing", "/dev/ttyUSB0"}));

        window.openSensor("RT5-600-M18");
        window.openSensor("RT5-600-M18");
        const auto subWindows = window.mdiArea()->subWindowList();
        QMainWindow* first = sensorWindowOf(subWindows.value(0));
        QMainWindow* second = sensorWindowOf(subWindows.value(1));
        QVERIFY(QMetaObject::invokeMethod(first, "vConnectToPort", Q_ARG(QString, simulated)));
        QVERIFY(window.hostPorts().simulated(simulated)->isOpen());

        // One port, one window; the refusal names the port and the reason.
        {
            ModalAnswer refusal(QMessageBox::Ok);
            QVERIFY(QMetaObject::invokeMethod(second, "vConnectToPort", Q_ARG(QString, simulated)));
            QVERIFY(window.statusBar()->currentMessage().contains("already in use"));
            QCOMPARE(refusal.answered, 1);
            QCOMPARE(refusal.text, "Port " + simulated + " is already in use by another sensor window.");
        }
        {
            ModalAnswer refusal(QMessageBox::Ok);
            QVERIFY(
                QMetaObject::invokeMethod(second, "vConnectToPort", Q_ARG(QString, "/dev/iolink-missing")));
            QVERIFY(window.statusBar()->currentMessage().contains("/dev/iolink-missing cannot be opened"));
            QVERIFY(refusal.text.startsWith("Port /dev/iolink-missing cannot be opened: "));
        }

        // Once the first window lets go, the second gets the port it was refused.
        QVERIFY(QMetaObject::invokeMethod(first, "vConnectToPort", Q_ARG(QString, QString())));
        {
            ModalAnswer refusal(QMessageBox::Ok);
            QVERIFY(QMetaObject::invokeMethod(second, "vConnectToPort", Q_ARG(QString, simulated)));
            QVERIFY(window.hostPorts().simulated(simulated)->isOpen());
            QCOMPARE(refusal.answered, 0);
        }

        // Closing the window lets go of the simulated port.
        subWindows.value(1)->close();
        QTRY_VERIFY(!window.hostPorts().simulated(simulated)->isOpen());
    }

    void unknownSensorsAreNotOpened()
    {
        WorkbenchWindow window(plugin);
        QVERIFY(!window.openSensor("RT5-999"));
        QCOMPARE(window.openSensorCount(), 0);
    }

    void presentationModeReachesEveryOpenSensor()
    {
        WorkbenchWindow window(plugin);
        window.show();
        window.openSensor("RT5-350-M18");
        window.openSensor("RT5-600-M18");
        window.setPresentationMode(true);
        QVERIFY(ExtensionSystem::Globals::getPresentationMode());
        for (QMdiSubWindow* subWindow : window.mdiArea()->subWindowList()) {
            auto* dock = sensorWindowOf(subWindow)->findChild<QDockWidget*>("propertyTree");
            QVERIFY(dock->isHidden());
        }
        // A sensor opened later starts in the same mode.
        window.openSensor("RT5-1300-M30");
        auto* last = sensorWindowOf(window.mdiArea()->subWindowList().last());
        QVERIFY(last->findChild<QDockWidget*>("propertyTree")->isHidden());
        window.setPresentationMode(false);
        QVERIFY(!last->findChild<QDockWidget*>("propertyTree")->isHidden());
    }

    void closingTheWorkbenchClosesEverySensor()
    {
        WorkbenchWindow window(plugin);
        window.show();
        window.openSensor("RT5-350-M18");
        QPointer<QMainWindow> sensorWindow = sensorWindowOf(window.mdiArea()->subWindowList().value(0));
        QVERIFY(window.close());
        QVERIFY(!sensorWindow->isVisible());
    }

    void aMissingPluginIsShownNotFatal()
    {
        PluginLibrary missing;
        QVERIFY(!missing.load("/nonexistent/libIoLinkMzRT5family.so"));
        WorkbenchWindow window(missing);
        QCOMPARE(window.sensorList()->topLevelItemCount(), 0);
        QVERIFY(window.findChild<QLabel*>("pluginLabel")->text().contains("/nonexistent"));
    }

    // Last: translators stay installed for the rest of the process.
    void germanCaptionsWhenAsked()
    {
        QVERIFY(!installHostTranslations("xx"));
        QVERIFY(installHostTranslations("de"));
        // The plug-in, the widget library and the property browser.
        QCOMPARE(installLibraryTranslations("de"), 3);
        ExtensionSystem::Globals::setLanguage("de");
        WorkbenchWindow window(plugin);
        QCOMPARE(window.menuBar()->actions().value(0)->text(), QString("&Datei"));
        QCOMPARE(window.sensorList()->headerItem()->text(1), QString("Kennung"));

        // The sensor window: its own texts and the parameter captions.
        window.openSensor("RT5-350-M18");
        QMainWindow* sensorWindow = sensorWindowOf(window.mdiArea()->subWindowList().value(0));
        QCOMPARE(sensorWindow->findChild<QDockWidget*>("propertyTree")->windowTitle(),
                 QString("Parameterbaum"));
        QtTreePropertyBrowser* browser = sensorWindow->findChild<QtTreePropertyBrowser*>();
        QtProperty* identification = browser->properties().value(0)->subProperties().value(0);
        QCOMPARE(identification->propertyName(), QString("Identifikation"));
        ExtensionSystem::Globals::setLanguage("en");
    }
};

QTEST_MAIN(WorkbenchTest)
#include "tst_workbench.moc"
