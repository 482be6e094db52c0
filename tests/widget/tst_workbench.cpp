#include "WindowUnderTest.h"
#include <ModalAnswers.h>

#include <PluginLibrary.h>
#include <SimulatedSensors.h>
#include <WorkbenchSettings.h>
#include <WorkbenchWindow.h>

#include <extensionsystem/Globals.h>

#include <qwt_plot.h>
#include <qwt_plot_marker.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>

#include <qttreepropertybrowser.h>

using NimbarSensorPlugin::Core::SensorWindow;

namespace {

const QString document = IOLINK_PLUGIN_DIR "/../IoLinkMzRT5family.xml";

SensorWindow* sensorAt(WorkbenchWindow& window, int index)
{
    return qobject_cast<SensorWindow*>(window.mdiArea()->subWindowList().value(index)->widget());
}

} // namespace

// The workbench with the real plug-in loaded from the build's plug-in folder.
class WorkbenchTest : public QObject
{
    Q_OBJECT

private:
    PluginLibrary plugin;
    // The user's settings while the tests run, away from the real ones.
    QTemporaryDir settingsDir;

private slots:
    void initTestCase()
    {
        QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
        QVERIFY(settingsDir.isValid());
        QCoreApplication::setOrganizationName("iolink-workbench-test");
        QCoreApplication::setApplicationName("tst_workbench");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QVERIFY(QSettings().fileName().startsWith(settingsDir.path()));
    }

    void init() { QSettings().clear(); }

    void sensorsArePickedAndPortsOfferedAndOpenedThroughTheBroker()
    {
        WorkbenchWindow window(plugin);
        QStringList system = {"/dev/ttyUSB0", "/dev/iolink-missing"};
        window.setPortLister([&system] { return system; });
        QCOMPARE(window.sensorList()->topLevelItemCount(), 5);
        QVERIFY(!window.openSensor("RT5-999"));
        QString error;
        const QString simulated = addSimulatedSensor(window.hostPorts(), "UM060/113", document, &error);
        window.hostPorts().addPath("/dev/iolink-missing");
        window.refreshPorts();
        QCOMPARE(window.availablePorts(),
                 (QStringList{"SIM1-UM060-113", "/dev/iolink-missing", "/dev/ttyUSB0"}));
        // The sensor that can be tried out at once is the one Enter opens.
        QCOMPARE(window.sensorList()->currentItem()->text(0), QString("RT5-600-M18"));

        // Opened again by the user, a sensor with an idle window has it brought to the front.
        QAction* open = window.findChild<QAction*>("actionOpenSensor");
        open->trigger();
        open->trigger();
        QCOMPARE(window.openSensorCount(), 1);
        SensorWindow* first = sensorAt(window, 0);
        // Ports that come and go reach every open sensor.
        system = QStringList{"/dev/ttyACM0"};
        window.refreshPorts();
        QCOMPARE(first->findChild<QComboBox*>("portSelector")->itemText(4), QString("/dev/ttyACM0"));
        const auto connectTo = [](QMainWindow* sensorWindow, const QString& port) {
            return QMetaObject::invokeMethod(sensorWindow, "vConnectToPort", Q_ARG(QString, port));
        };
        QVERIFY(connectTo(first, simulated) && window.hostPorts().simulated(simulated)->isOpen());
        // One on a port has its sensor: one more of the model may be on another port.
        open->trigger();
        QCOMPARE(window.openSensorCount(), 2);
        QPointer<SensorWindow> second = sensorAt(window, 1);

        // One port, one window; the refusal names the port and the window that holds it.
        DialogAnswers refusals({reply(QMessageBox::Ok), reply(QMessageBox::Ok)});
        QVERIFY(connectTo(second, simulated));
        QCOMPARE(refusals.texts.value(0), "The port " + simulated + " is in use by the window \"" +
                                              window.mdiArea()->subWindowList().value(0)->windowTitle() +
                                              "\". Disconnect it there first, or pick another port.");
        QVERIFY(connectTo(second, "/dev/iolink-missing"));
        QVERIFY(refusals.texts.value(1).startsWith("Port /dev/iolink-missing cannot be opened: "));

        // Closing a window lets go of its port and of the window.
        QVERIFY(window.mdiArea()->subWindowList().value(0)->close());
        QTRY_VERIFY(!window.hostPorts().simulated(simulated)->isOpen());
        QVERIFY(connectTo(second, simulated) && window.hostPorts().simulated(simulated)->isOpen());
        QVERIFY(window.close());
        QTRY_VERIFY(second.isNull());

        PluginLibrary missing;
        QVERIFY(!missing.load("/nonexistent/libIoLinkMzRT5family.so"));
        WorkbenchWindow withoutPlugin(missing);
        QVERIFY(withoutPlugin.sensorList()->topLevelItemCount() == 0 &&
                withoutPlugin.findChild<QLabel*>("pluginLabel")->text().contains("/nonexistent"));
        // A broken document leaves the list empty too; the label names the file and the line.
        qputenv("IOLINK_DESCRIPTION_DOCUMENT", WIDGET_TEST_DATA "/unreadable.xml");
        WorkbenchWindow broken(plugin);
        qunsetenv("IOLINK_DESCRIPTION_DOCUMENT");
        QCOMPARE(broken.sensorList()->topLevelItemCount(), 0);
        const QString label = broken.findChild<QLabel*>("pluginLabel")->text();
        QVERIFY2(label.contains(WIDGET_TEST_DATA "/unreadable.xml, line 4: "), qPrintable(label));
    }

    void remembersTheLayoutBetweenRunsUntilReset()
    {
        // A screen 800 pixels tall with a panel of 30 at the top: frame and all inside what is left.
        const QMargins frame(4, 36, 4, 4);
        QCOMPARE(WorkbenchWindow::fittedGeometry(QRect(0, 0, 1920, 1080), frame, {1280, 800}),
                 QRect(320, 156, 1280, 800));
        QCOMPARE(WorkbenchWindow::fittedGeometry(QRect(0, 30, 1280, 770), frame, {1280, 800}),
                 QRect(4, 66, 1272, 730));
        const QRect geometry(40, 50, 700, 500);
        {
            // Nothing remembered: on a screen too small for the default the window system fits it.
            WorkbenchWindow window(plugin);
            window.rememberBetweenRuns();
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const QRect screen = window.screen()->availableGeometry();
            QVERIFY((screen.width() < 1280 || screen.height() < 800) && window.isMaximized());
            QTRY_VERIFY(screen.contains(window.frameGeometry()));
            window.setWindowState(Qt::WindowNoState);
            window.setGeometry(geometry);
            QTRY_COMPARE(window.geometry(), geometry);
            // Closed with a sensor open, so with the list hidden.
            window.openSensor("RT5-350-M18");
            QVERIFY(window.close());
        }
        WorkbenchWindow window(plugin);
        window.rememberBetweenRuns();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.geometry(), geometry);
        // No sensor is open, so the list is there to open one.
        QVERIFY(!window.isMaximized() && window.sensorDock()->isVisible());

        window.findChild<QAction*>("actionResetLayout")->trigger();
        QVERIFY(WorkbenchSettings::geometry().isEmpty() && WorkbenchSettings::windowState().isEmpty() &&
                window.isMaximized());
        // A window that was not asked to remember leaves the settings alone.
        {
            WorkbenchWindow other(plugin);
            other.show();
            QVERIFY(other.close());
        }
        QVERIFY(WorkbenchSettings::geometry().isEmpty());
    }

    // The sensor list steps aside while sensors are open. The sensor windows bring keys of their own; the
    // workbench must not take them, and the active sensor window must get them.
    void sensorWindowsShareTheWorkbenchAndItsLanguage()
    {
        WorkbenchWindow window(plugin);
        window.resize(1280, 800);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QDockWidget* dock = window.sensorDock();
        QAction* listAction = window.findChild<QAction*>("actionSensorList");
        QVERIFY(dock->isVisible() && listAction->isChecked());

        // The first sensor is chosen and the list has the focus: Enter opens it.
        QTRY_VERIFY(window.sensorList()->hasFocus());
        QTest::keyClick(window.sensorList(), Qt::Key_Return);
        QVERIFY(window.openSensorCount() == 1 && window.mdiArea()->subWindowList().value(0)->isMaximized());
        QVERIFY(dock->isHidden() && !listAction->isChecked());
        SensorWindow* first = sensorAt(window, 0);
        // Its keys work at once: they need the focus inside it.
        QVERIFY(first->isAncestorOf(QApplication::focusWidget()));

        // The list comes back on demand.
        listAction->trigger();
        QVERIFY(dock->isVisible());
        window.sensorList()->setCurrentItem(window.sensorList()->topLevelItem(1));
        window.findChild<QAction*>("actionOpenSensor")->trigger();
        QVERIFY(dock->isHidden());

        QList<QKeySequence> sensorKeys = {
            QKeySequence(Qt::CTRL + Qt::Key_K), QKeySequence(Qt::CTRL + Qt::Key_R),
            QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_W), QKeySequence(Qt::CTRL + Qt::Key_L)};
        for (QAction* action : first->findChildren<QAction*>())
            sensorKeys += action->shortcuts();
        QList<QKeySequence> workbenchKeys; // of the actions outside the sub-windows
        for (QAction* action : window.findChildren<QAction*>()) {
            QObject* owner = action->parent();
            while (owner && owner != window.mdiArea())
                owner = owner->parent();
            if (!owner)
                workbenchKeys += action->shortcuts();
        }
        for (const QKeySequence& key : qAsConst(workbenchKeys))
            QVERIFY2(!key.isEmpty() && !sensorKeys.contains(key), qPrintable(key.toString()));

        // The sensor windows bind their keys to themselves: the focus must follow the active window.
        QVERIFY(sensorAt(window, 1)->isAncestorOf(QApplication::focusWidget()));
        window.mdiArea()->setActiveSubWindow(window.mdiArea()->subWindowList().value(0));
        QVERIFY(first->isAncestorOf(QApplication::focusWidget()));

        // Presentation mode leaves the distance and the outputs' LEDs in view.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QVERIFY(ExtensionSystem::Globals::getPresentationMode());
        QVERIFY(sensorAt(window, 1)->propertyTreeDock()->isHidden() && first->observationDock()->isHidden());
        QVERIFY(!first->chart()->getDockChartItem(0)->isHidden() && !first->processDataDock()->isHidden());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!ExtensionSystem::Globals::getPresentationMode());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        // A sensor opened later starts in the same mode.
        QVERIFY(window.openSensor("RT5-1300-M30") && sensorAt(window, 2)->propertyTreeDock()->isHidden());
        window.setPresentationMode(false);
        QVERIFY(!sensorAt(window, 2)->propertyTreeDock()->isHidden());

        // The language switches while running and is remembered. Texts the host's parts draw themselves
        // follow too: the tree's header, the chart's marks; lengths keep their unit suffix, once.
        window.rememberBetweenRuns();
        SensorWindow* sensorWindow = sensorAt(window, 2);
        QtProperty* hysteresis = row(*sensorWindow, "HysteresisA2");
        const auto shown = [&] {
            QStringList texts = {
                window.menuBar()->actions().value(0)->text(),
                sensorWindow->processDataDock()->windowTitle().trimmed(),
                sensorWindow->parameterBrowser()->findChild<QTreeWidget*>()->headerItem()->text(0),
                window.sensorList()->headerItem()->text(1), hysteresis->propertyName()};
            for (QwtPlotItem* item : sensorWindow->chart()->poPlot(0)->itemList(QwtPlotItem::Rtti_PlotMarker))
                texts << static_cast<QwtPlotMarker*>(item)->label().text();
            return texts.join('|');
        };
        const QString inEnglish = shown();
        QVERIFY2(inEnglish.startsWith("&File|Process data|Property|Id|") && inEnglish.contains(" (mm)|") &&
                     inEnglish.contains("Threshold"),
                 qPrintable(inEnglish));

        window.findChild<QAction*>("actionLanguage_de")->trigger();
        QTRY_VERIFY2(shown().startsWith("&Datei|Prozessdaten|Eigenschaft|Kennung|") &&
                         shown().contains("Schaltpunkt") && !shown().contains("Threshold") &&
                         shown().count(" (mm)") == inEnglish.count(" (mm)"),
                     qPrintable(shown()));
        // So does the next start, unless the command line says otherwise.
        QCOMPARE((QStringList{WorkbenchSettings::startLanguage(QString()),
                              WorkbenchSettings::startLanguage("en")}),
                 (QStringList{"de", "en"}));

        // A language without a catalogue leaves everything English.
        window.setLanguage("xx");
        QVERIFY(window.statusBar()->currentMessage().contains("no translation for \"xx\""));
        QTRY_COMPARE(shown(), inEnglish);
        QVERIFY(ExtensionSystem::Globals::getLanguage() == "en" &&
                WorkbenchSettings::startLanguage(QString()) == "en");

        window.mdiArea()->closeAllSubWindows();
        QTRY_COMPARE(window.openSensorCount(), 0);
        QVERIFY(dock->isVisible() && window.sensorList()->hasFocus());
    }
};

QTEST_MAIN(WorkbenchTest)
#include "tst_workbench.moc"
