#include <ModalAnswers.h>

#include <PluginLibrary.h>
#include <SimulatedSensors.h>
#include <WorkbenchSettings.h>
#include <WorkbenchWindow.h>

#include <extensionsystem/Globals.h>
#include <utils/charts/GenericChart.h>
#include <window/SensorWindow.h>

#include <qwt_plot.h>
#include <qwt_plot_marker.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <qttreepropertybrowser.h>

namespace {

const QString document = IOLINK_PLUGIN_DIR "/../IoLinkMzRT5family.xml";

// Every shortcut of the actions in a menu bar, its menus and sub-menus.
QList<QKeySequence> menuShortcuts(const QList<QAction*>& actions)
{
    QList<QKeySequence> keys;
    for (QAction* action : actions) {
        keys += action->shortcuts();
        if (action->menu())
            keys += menuShortcuts(action->menu()->actions());
    }
    return keys;
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

    static NimbarSensorPlugin::Core::SensorWindow* sensorWindowOf(QMdiSubWindow* subWindow)
    {
        return qobject_cast<NimbarSensorPlugin::Core::SensorWindow*>(subWindow->widget());
    }

    static NimbarSensorPlugin::Core::SensorWindow* sensorAt(WorkbenchWindow& window, int index)
    {
        return sensorWindowOf(window.mdiArea()->subWindowList().value(index));
    }

    static bool activated(WorkbenchWindow& window)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

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

    void listsThePluginsSensorsAndOpensOneInASubWindow()
    {
        WorkbenchWindow window(plugin);
        QCOMPARE(window.sensorList()->topLevelItemCount(), 5);
        QCOMPARE(window.sensorList()->topLevelItem(0)->text(0), QString("RT5-350-M18"));
        QCOMPARE(window.sensorList()->topLevelItem(0)->text(1), QString("UM035"));
        const QString label = window.findChild<QLabel*>("pluginLabel")->text();
        QVERIFY(label.contains("IoLinkMzRT5family") && label.contains("SERIAL"));
        window.show();
        QVERIFY(!window.openSensor("RT5-999"));
        QCOMPARE(window.openSensorCount(), 0);
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

        // Closing the workbench closes every sensor.
        window.openSensor("RT5-350-M18");
        sensorWindow = sensorAt(window, 0);
        QVERIFY(window.close());
        QVERIFY(!sensorWindow->isVisible());

        PluginLibrary missing;
        QVERIFY(!missing.load("/nonexistent/libIoLinkMzRT5family.so"));
        WorkbenchWindow withoutPlugin(missing);
        QCOMPARE(withoutPlugin.sensorList()->topLevelItemCount(), 0);
        QVERIFY(withoutPlugin.findChild<QLabel*>("pluginLabel")->text().contains("/nonexistent"));
    }

    void portsThatComeAndGoReachEveryOpenSensor()
    {
        WorkbenchWindow window(plugin);
        QStringList system = {"/dev/ttyUSB0"};
        window.setPortLister([&system] { return system; });
        window.openSensor("RT5-350-M18");
        auto* selector = sensorAt(window, 0)->findChild<QComboBox*>("portSelector");
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
        QVERIFY(addSimulatedSensor(window.hostPorts(), "UM035/999", document, &error).isEmpty());
        QVERIFY(error.contains("999"));
        const QString simulated = addSimulatedSensor(window.hostPorts(), "UM060/113", document, &error);
        QCOMPARE(simulated, QString("SIM1-UM060-113"));
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
        QCOMPARE(window.statusBar()->currentMessage(),
                 QString("RT5-600-M18 is open already: its window is in front."));
        QMainWindow* first = sensorAt(window, 0);
        QVERIFY(QMetaObject::invokeMethod(first, "vConnectToPort", Q_ARG(QString, simulated)));
        QVERIFY(window.hostPorts().simulated(simulated)->isOpen());
        // One on a port has its sensor: one more of the model may be on another port.
        open->trigger();
        const auto subWindows = window.mdiArea()->subWindowList();
        QCOMPARE(subWindows.size(), 2);
        QMainWindow* second = sensorWindowOf(subWindows.value(1));

        // One port, one window; the refusal names the port and the window
        // that holds it.
        {
            DialogAnswers refusal({reply(QMessageBox::Ok)});
            QVERIFY(QMetaObject::invokeMethod(second, "vConnectToPort", Q_ARG(QString, simulated)));
            QCOMPARE(refusal.answered(), 1);
            QCOMPARE(refusal.texts.value(0), "The port " + simulated + " is in use by the window \"" +
                                                 subWindows.value(0)->windowTitle() +
                                                 "\". Disconnect it there first, or pick another port.");
            QCOMPARE(window.statusBar()->currentMessage(), refusal.texts.value(0));
        }
        {
            DialogAnswers refusal({reply(QMessageBox::Ok)});
            QVERIFY(
                QMetaObject::invokeMethod(second, "vConnectToPort", Q_ARG(QString, "/dev/iolink-missing")));
            QVERIFY(window.statusBar()->currentMessage().contains("/dev/iolink-missing cannot be opened"));
            QVERIFY(refusal.texts.value(0).startsWith("Port /dev/iolink-missing cannot be opened: "));
        }

        // Once the first window lets go, the second gets the port it was refused.
        QVERIFY(QMetaObject::invokeMethod(first, "vConnectToPort", Q_ARG(QString, QString())));
        {
            DialogAnswers refusal({reply(QMessageBox::Ok)});
            QVERIFY(QMetaObject::invokeMethod(second, "vConnectToPort", Q_ARG(QString, simulated)));
            QVERIFY(window.hostPorts().simulated(simulated)->isOpen());
            QCOMPARE(refusal.answered(), 0);
        }

        // Closing the window lets go of the simulated port.
        subWindows.value(1)->close();
        QTRY_VERIFY(!window.hostPorts().simulated(simulated)->isOpen());
    }

    void fitsTheScreenItOpensOn()
    {
        const QMargins frame(4, 36, 4, 4);
        // Room to spare: the default size, centred.
        QCOMPARE(WorkbenchWindow::fittedGeometry(QRect(0, 0, 1920, 1080), frame, {1280, 800}),
                 QRect(320, 156, 1280, 800));
        // The technician's screen, 800 pixels tall with a panel of 30 at the
        // top: frame and all inside what is left.
        const QRect available(0, 30, 1280, 770);
        const QRect fitted = WorkbenchWindow::fittedGeometry(available, frame, {1280, 800});
        QCOMPARE(fitted, QRect(4, 66, 1272, 730));
        QCOMPARE(fitted.marginsAdded(frame), available);

        // Nothing remembered: on a screen too small for the default the
        // window system fits it, frame included.
        WorkbenchWindow window(plugin);
        window.rememberBetweenRuns();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect screen = window.screen()->availableGeometry();
        QVERIFY(screen.width() < 1280 || screen.height() < 800);
        QVERIFY(window.isMaximized());
        QTRY_VERIFY(screen.contains(window.frameGeometry()));
        QVERIFY(screen.contains(window.normalGeometry()));
    }

    void remembersTheLayoutBetweenRunsUntilReset()
    {
        QRect geometry;
        {
            WorkbenchWindow window(plugin);
            window.rememberBetweenRuns();
            window.setWindowState(Qt::WindowNoState);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.setGeometry(40, 50, 700, 500);
            QTRY_COMPARE(window.geometry(), QRect(40, 50, 700, 500));
            geometry = window.geometry();
            // Closed with a sensor open, so with the list hidden.
            window.openSensor("RT5-350-M18");
            QVERIFY(window.sensorDock()->isHidden());
            QVERIFY(window.close());
        }
        QVERIFY(!WorkbenchSettings::geometry().isEmpty());
        QVERIFY(!WorkbenchSettings::windowState().isEmpty());

        WorkbenchWindow window(plugin);
        window.rememberBetweenRuns();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.isMaximized());
        QCOMPARE(window.geometry(), geometry);
        // No sensor is open, so the list is there to open one.
        QVERIFY(window.sensorDock()->isVisible());

        window.findChild<QAction*>("actionResetLayout")->trigger();
        QVERIFY(WorkbenchSettings::geometry().isEmpty());
        QVERIFY(WorkbenchSettings::windowState().isEmpty());
        QVERIFY(window.isMaximized());
        QVERIFY(window.sensorDock()->isVisible());

        // A window that was not asked to remember leaves the settings alone.
        {
            WorkbenchWindow other(plugin);
            other.show();
            QVERIFY(other.close());
        }
        QVERIFY(WorkbenchSettings::geometry().isEmpty());
    }

    // At 1280x800 the sensor window's docks leave the chart little room
    // beside the sensor list: the list steps aside while sensors are open.
    void theSensorListStepsAsideForSensorWindows()
    {
        WorkbenchWindow window(plugin);
        window.resize(1280, 800);
        QVERIFY(activated(window));
        QDockWidget* dock = window.sensorDock();
        QAction* listAction = window.findChild<QAction*>("actionSensorList");
        QVERIFY(dock->isVisible());
        QVERIFY(listAction->isChecked());
        QVERIFY(window.statusBar()->currentMessage().contains("Double-click"));

        // The first sensor is chosen and the list has the focus: Enter opens it.
        QCOMPARE(window.sensorList()->currentItem(), window.sensorList()->topLevelItem(0));
        QTRY_VERIFY(window.sensorList()->hasFocus());
        QTest::keyClick(window.sensorList(), Qt::Key_Return);
        QCOMPARE(window.openSensorCount(), 1);
        QMdiSubWindow* first = window.mdiArea()->subWindowList().value(0);
        QVERIFY(first->isMaximized());
        QVERIFY(dock->isHidden());
        QVERIFY(!listAction->isChecked());
        auto* sensorWindow = sensorWindowOf(first);
        // Its keys work at once: they need the focus inside it.
        QVERIFY(sensorWindow->isAncestorOf(QApplication::focusWidget()));
        QDockWidget* chart = sensorWindow->chart()->getDockChartItem(0);
        QVERIFY(chart->isVisible());
        QTRY_VERIFY2(chart->width() >= window.width() * 2 / 5, qPrintable(QString::number(chart->width())));

        // The list comes back on demand, and the sensor window folds its lists
        // into tabs beside the tree so that the chart keeps its room.
        listAction->trigger();
        QVERIFY(dock->isVisible());
        QTRY_VERIFY2(chart->width() >= window.width() * 2 / 5, qPrintable(QString::number(chart->width())));
        QVERIFY(!sensorWindow->tabifiedDockWidgets(sensorWindow->processDataDock()).isEmpty());
        window.sensorList()->setCurrentItem(window.sensorList()->topLevelItem(1));
        window.findChild<QAction*>("actionOpenSensor")->trigger();
        QCOMPARE(window.openSensorCount(), 2);
        QVERIFY(dock->isHidden());
        // Among windows shown one at a time, one more is shown the same way;
        // among arranged ones it joins them.
        QVERIFY(window.mdiArea()->subWindowList().value(1)->isMaximized());
        window.mdiArea()->tileSubWindows();
        QVERIFY(window.openSensor("RT5-1300-M30"));
        QVERIFY(!window.mdiArea()->subWindowList().value(2)->isMaximized());

        window.mdiArea()->subWindowList().value(0)->close();
        window.mdiArea()->subWindowList().value(1)->close();
        QTRY_COMPARE(window.openSensorCount(), 1);
        QVERIFY(dock->isHidden());
        window.mdiArea()->subWindowList().value(0)->close();
        QTRY_COMPARE(window.openSensorCount(), 0);
        QVERIFY(dock->isVisible());
        QVERIFY(window.sensorList()->hasFocus());
    }

    // The sensor windows bring keys of their own; the workbench must not take
    // them, and the active sensor window must get them.
    void sensorWindowKeysReachTheActiveSensorWindow()
    {
        WorkbenchWindow window(plugin);
        QVERIFY(activated(window));
        QVERIFY(window.openSensor("RT5-350-M18"));
        QVERIFY(window.openSensor("RT5-600-M18"));
        const auto subWindows = window.mdiArea()->subWindowList();

        QList<QKeySequence> sensorKeys = {
            QKeySequence(Qt::CTRL + Qt::Key_K), QKeySequence(Qt::CTRL + Qt::Key_R),
            QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_W), QKeySequence(Qt::CTRL + Qt::Key_L)};
        for (QAction* action : sensorWindowOf(subWindows.value(0))->findChildren<QAction*>())
            sensorKeys += action->shortcuts();
        QList<QKeySequence> workbenchKeys = menuShortcuts(window.menuBar()->actions());
        for (QAction* action : window.actions())
            workbenchKeys += action->shortcuts();
        for (const QKeySequence& key : qAsConst(workbenchKeys)) {
            QVERIFY2(!key.isEmpty(), "an empty shortcut");
            QVERIFY2(!sensorKeys.contains(key), qPrintable(key.toString()));
        }
        for (const QKeySequence& key : {QKeySequence(Qt::Key_F5), QKeySequence(QKeySequence::Save),
                                        QKeySequence(QKeySequence::Open), QKeySequence(QKeySequence::Print)})
            QVERIFY2(sensorKeys.contains(key), qPrintable(key.toString()));
        for (const QKeySequence& key : {QKeySequence(Qt::Key_F1), QKeySequence(Qt::Key_F11)})
            QVERIFY2(workbenchKeys.contains(key), qPrintable(key.toString()));

        // The sensor windows bind their keys to the window and its children:
        // the focus must follow the active window.
        QCOMPARE(window.mdiArea()->activeSubWindow(), subWindows.value(1));
        QVERIFY(sensorWindowOf(subWindows.value(1))->isAncestorOf(QApplication::focusWidget()));
        window.mdiArea()->setActiveSubWindow(subWindows.value(0));
        QVERIFY(sensorWindowOf(subWindows.value(0))->isAncestorOf(QApplication::focusWidget()));
    }

    void presentationModeReachesEveryOpenSensor()
    {
        WorkbenchWindow window(plugin);
        QVERIFY(activated(window));
        window.openSensor("RT5-350-M18");
        window.openSensor("RT5-600-M18");
        // The echo plot, with the detection range's marks, is there when asked for without echo data.
        auto* active = sensorWindowOf(window.mdiArea()->activeSubWindow());
        QVERIFY(active->chart()->getDockChartItem(1)->isHidden());
        active->findChild<QAction*>("actionShowEchoPlot")->setChecked(true);
        QVERIFY(!active->chart()->getDockChartItem(1)->isHidden());
        // F11 enters it, wherever the focus is.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QVERIFY(ExtensionSystem::Globals::getPresentationMode());
        for (QMdiSubWindow* subWindow : window.mdiArea()->subWindowList())
            QVERIFY(sensorWindowOf(subWindow)->propertyTreeDock()->isHidden());
        QVERIFY(active->chart()->getDockChartItem(1)->isHidden());
        // The Window menu lists the open windows, the active one checked.
        QMenu* windowMenu = window.menuBar()->actions().value(2)->menu();
        emit windowMenu->aboutToShow();
        QStringList listed;
        for (QAction* action : windowMenu->actions()) {
            if (action->isCheckable())
                listed << action->text() + (action->isChecked() ? " *" : "");
        }
        QCOMPARE(listed,
                 (QStringList{"&1 " + window.mdiArea()->subWindowList().value(0)->windowTitle(),
                              "&2 " + window.mdiArea()->subWindowList().value(1)->windowTitle() + " *"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!ExtensionSystem::Globals::getPresentationMode());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QVERIFY(ExtensionSystem::Globals::getPresentationMode());
        // A sensor opened later starts in the same mode.
        window.openSensor("RT5-1300-M30");
        auto* last = sensorWindowOf(window.mdiArea()->subWindowList().last());
        QVERIFY(last->findChild<QDockWidget*>("propertyTree")->isHidden());
        window.setPresentationMode(false);
        QVERIFY(!last->findChild<QDockWidget*>("propertyTree")->isHidden());
    }

    // The list stays empty; the label names the file and what is wrong.
    void aBrokenDocumentIsNamedWithItsLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("problem");
        QTest::newRow("not XML") << QByteArray(
                                        "<document>\n<documentId>IoLinkMzRT5family</documentId>\n<sensorList>"
                                        "</document>\n")
                                 << "line 3: ";
        QTest::newRow("deep") << "<document>\n" + QByteArray("<a>").repeated(70)
                              << "line 2: elements are nested";
        QTest::newRow("foreign") << QByteArray("<document><documentId>Other</documentId></document>")
                                 << "is for \"Other\", not for \"IoLinkMzRT5family\"";
    }

    void aBrokenDocumentIsNamedWithItsLine()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString path = dir.filePath("broken.xml");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        qputenv("IOLINK_DESCRIPTION_DOCUMENT", QFile::encodeName(path));
        WorkbenchWindow window(plugin);
        qunsetenv("IOLINK_DESCRIPTION_DOCUMENT");
        QCOMPARE(window.sensorList()->topLevelItemCount(), 0);
        const QString label = window.findChild<QLabel*>("pluginLabel")->text();
        QVERIFY2(label.contains(path) && label.contains(problem.toHtmlEscaped()), qPrintable(label));
    }

    void switchesTheLanguageWhileRunningAndRemembersIt()
    {
        WorkbenchWindow window(plugin);
        window.rememberBetweenRuns();
        window.show();
        window.openSensor("RT5-350-M18");
        auto* sensorWindow = sensorAt(window, 0);
        QtProperty* identification =
            sensorWindow->parameterBrowser()->properties().value(0)->subProperties().value(0);
        auto* german = window.findChild<QAction*>("actionLanguage_de");
        auto* english = window.findChild<QAction*>("actionLanguage_en");
        QCOMPARE(german->text(), QString("Deutsch"));
        QVERIFY(english->isChecked());
        // Texts the host's parts draw themselves follow too: the tree's header, the chart's marks.
        const auto header = [sensorWindow] {
            return sensorWindow->parameterBrowser()->findChild<QTreeWidget*>()->headerItem()->text(0);
        };
        const auto markLabels = [sensorWindow] {
            QStringList labels;
            for (QwtPlotItem* item : sensorWindow->chart()->poPlot(0)->itemList(QwtPlotItem::Rtti_PlotMarker))
                labels << static_cast<QwtPlotMarker*>(item)->label().text();
            return labels.join(' ');
        };
        QVERIFY(markLabels().contains("Threshold"));
        // Lengths keep their unit suffix, once, through the switches.
        QtProperty* hysteresis = sensorWindow->findProperty(sensorWindow->rootProperty(), "HysteresisA2");
        const QString englishHysteresis = hysteresis->propertyName();
        QVERIFY(englishHysteresis.endsWith(" (mm)"));

        german->trigger();
        QCOMPARE(ExtensionSystem::Globals::getLanguage(), std::string("de"));
        QTRY_COMPARE(window.menuBar()->actions().value(0)->text(), QString("&Datei"));
        QTRY_COMPARE(sensorWindow->processDataDock()->windowTitle(), QString("Prozessdaten"));
        QCOMPARE(identification->propertyName(), QString("Identifikation"));
        QCOMPARE(header(), QString("Eigenschaft"));
        QVERIFY(hysteresis->propertyName() != englishHysteresis);
        QVERIFY(hysteresis->propertyName().endsWith(" (mm)") &&
                !hysteresis->propertyName().contains("(mm) (mm)"));
        QTRY_VERIFY2(markLabels().contains("Schaltpunkt") && !markLabels().contains("Threshold"),
                     qPrintable(markLabels()));
        QVERIFY(german->isChecked());
        QCOMPARE(window.sensorList()->headerItem()->text(1), QString("Kennung"));
        // A sensor opened now starts in German.
        window.openSensor("RT5-600-M18");
        QCOMPARE(sensorAt(window, 1)->propertyTreeDock()->windowTitle(), QString("Parameterbaum"));
        // The next start is in German, unless the command line says otherwise.
        QCOMPARE(WorkbenchSettings::startLanguage(QString()), QString("de"));
        QCOMPARE(WorkbenchSettings::startLanguage("en"), QString("en"));

        english->trigger();
        QTRY_COMPARE(window.menuBar()->actions().value(0)->text(), QString("&File"));
        QTRY_COMPARE(sensorWindow->processDataDock()->windowTitle(), QString("Process data"));
        QCOMPARE(identification->propertyName(), QString("Identification"));
        QCOMPARE(header(), QString("Property"));
        QCOMPARE(hysteresis->propertyName(), englishHysteresis);
        QTRY_VERIFY2(!markLabels().contains("Schaltpunkt"), qPrintable(markLabels()));
        QCOMPARE(window.sensorList()->headerItem()->text(1), QString("Id"));
        QCOMPARE(WorkbenchSettings::startLanguage(QString()), QString("en"));
        QCOMPARE(ExtensionSystem::Globals::getLanguage(), std::string("en"));

        // A language without a catalogue leaves everything English.
        german->trigger();
        window.setLanguage("xx");
        QVERIFY(window.statusBar()->currentMessage().contains("no translation for \"xx\""));
        QVERIFY(english->isChecked());
        QCOMPARE(ExtensionSystem::Globals::getLanguage(), std::string("en"));
        QTRY_COMPARE(window.menuBar()->actions().value(0)->text(), QString("&File"));
        QCOMPARE(WorkbenchSettings::startLanguage(QString()), QString("en"));
    }

    // The picture is written beside the target and renamed over it: under a file size limit
    // the previous picture stays whole, and the output and the exit status tell of the failure.
    void screenshotThatCannotBeWrittenKeepsThePreviousOne()
    {
        QTemporaryDir dir;
        const QString shot = dir.filePath("shot.png");
        const QString workbenchBinary = IOLINK_PLUGIN_DIR "/../iolink-workbench";
        QVERIFY(QFileInfo(workbenchBinary).isExecutable());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", dir.filePath("settings"));
        auto run = [&](const QString& fileSizeLimit, QProcess* workbench) {
            workbench->setProcessEnvironment(environment);
            // A write beyond the limit then fails with an error instead of killing the process.
            workbench->start("sh", {"-c", "trap '' XFSZ; ulimit -f " + fileSizeLimit + "; exec \"$0\" \"$@\"",
                                    workbenchBinary, "--screenshot", shot, "--quit-after", "1000"});
            return workbench->waitForFinished(60000);
        };

        QProcess good;
        QVERIFY(run("unlimited", &good));
        QCOMPARE(good.exitCode(), 0);
        QFile file(shot);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray picture = file.readAll();
        file.close();
        // Far beyond the limit below, which a complete picture cannot fit in.
        QVERIFY(picture.size() > 16 * 1024);
        QVERIFY(!QImage::fromData(picture, "PNG").isNull());

        QProcess limited;
        QVERIFY(run("16", &limited));
        QVERIFY(limited.exitStatus() == QProcess::NormalExit);
        QVERIFY(limited.exitCode() != 0);
        const QString errors = QString::fromLocal8Bit(limited.readAllStandardError());
        QVERIFY2(errors.contains("cannot write the screenshot " + shot + ": "), qPrintable(errors));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), picture);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"shot.png"});
    }
};

QTEST_MAIN(WorkbenchTest)
#include "tst_workbench.moc"
