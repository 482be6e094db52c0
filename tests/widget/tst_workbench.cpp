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

#include <FileFaults.h>

using NimbarSensorPlugin::Core::SensorWindow;

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

SensorWindow* sensorAt(WorkbenchWindow& window, int index)
{
    return qobject_cast<SensorWindow*>(window.mdiArea()->subWindowList().value(index)->widget());
}

QString pluginLabel(const WorkbenchWindow& window)
{
    return window.findChild<QLabel*>("pluginLabel")->text();
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

    void sensorsArePickedAndPortsOfferedAndOpenedThroughTheBroker()
    {
        WorkbenchWindow window(plugin);
        QStringList system = {"/dev/ttyUSB0", "/dev/iolink-missing"};
        window.setPortLister([&system] { return system; });
        QCOMPARE(window.sensorList()->topLevelItemCount(), 5);
        QCOMPARE(window.sensorList()->topLevelItem(0)->text(1), QString("UM035"));
        QVERIFY(pluginLabel(window).contains("IoLinkMzRT5family") && pluginLabel(window).contains("SERIAL"));
        QVERIFY(!window.openSensor("RT5-999"));
        QString error;
        QVERIFY(addSimulatedSensor(window.hostPorts(), "UM035/999", document, &error).isEmpty());
        QVERIFY(error.contains("999"));
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
        QCOMPARE(window.statusBar()->currentMessage(),
                 QString("RT5-600-M18 is open already: its window is in front."));
        SensorWindow* first = sensorAt(window, 0);
        QCOMPARE(first->windowTitle(), QString("RT5-600-M18 (Offline)"));
        // Ports that come and go reach every open sensor.
        system = QStringList{"/dev/ttyACM0"};
        window.refreshPorts();
        QCOMPARE(first->findChild<QComboBox*>("portSelector")->itemText(4), QString("/dev/ttyACM0"));
        const auto connectTo = [](QMainWindow* sensorWindow, const QString& port) {
            return QMetaObject::invokeMethod(sensorWindow, "vConnectToPort", Q_ARG(QString, port));
        };
        QVERIFY(connectTo(first, simulated));
        QVERIFY(window.hostPorts().simulated(simulated)->isOpen());
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
        QCOMPARE(window.statusBar()->currentMessage(), refusals.texts.value(0));
        QVERIFY(connectTo(second, "/dev/iolink-missing"));
        QVERIFY(refusals.texts.value(1).startsWith("Port /dev/iolink-missing cannot be opened: "));
        QVERIFY(window.statusBar()->currentMessage().contains("/dev/iolink-missing cannot be opened"));

        // Closing a window lets go of its port and of the window.
        QVERIFY(window.mdiArea()->subWindowList().value(0)->close());
        QTRY_VERIFY(!window.hostPorts().simulated(simulated)->isOpen());
        QVERIFY(connectTo(second, simulated));
        QVERIFY(window.hostPorts().simulated(simulated)->isOpen());
        QCOMPARE(refusals.answered(), 2);
        QVERIFY(window.close());
        QTRY_VERIFY(second.isNull());
        QCOMPARE(window.openSensorCount(), 0);

        PluginLibrary missing;
        QVERIFY(!missing.load("/nonexistent/libIoLinkMzRT5family.so"));
        WorkbenchWindow withoutPlugin(missing);
        QCOMPARE(withoutPlugin.sensorList()->topLevelItemCount(), 0);
        QVERIFY(pluginLabel(withoutPlugin).contains("/nonexistent"));
    }

    void remembersTheLayoutBetweenRunsUntilReset()
    {
        // The technician's screen, 800 pixels tall with a panel of 30 at the
        // top: frame and all inside what is left.
        const QMargins frame(4, 36, 4, 4);
        QCOMPARE(WorkbenchWindow::fittedGeometry(QRect(0, 0, 1920, 1080), frame, {1280, 800}),
                 QRect(320, 156, 1280, 800));
        QCOMPARE(WorkbenchWindow::fittedGeometry(QRect(0, 30, 1280, 770), frame, {1280, 800}),
                 QRect(4, 66, 1272, 730));
        QRect geometry;
        {
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
            window.setWindowState(Qt::WindowNoState);
            window.setGeometry(40, 50, 700, 500);
            QTRY_COMPARE(window.geometry(), QRect(40, 50, 700, 500));
            geometry = window.geometry();
            // Closed with a sensor open, so with the list hidden.
            window.openSensor("RT5-350-M18");
            QVERIFY(window.close());
        }
        WorkbenchWindow window(plugin);
        window.rememberBetweenRuns();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.isMaximized());
        QCOMPARE(window.geometry(), geometry);
        // No sensor is open, so the list is there to open one.
        QVERIFY(window.sensorDock()->isVisible());

        window.findChild<QAction*>("actionResetLayout")->trigger();
        QVERIFY(WorkbenchSettings::geometry().isEmpty() && WorkbenchSettings::windowState().isEmpty());
        QVERIFY(window.isMaximized());
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
    // The sensor windows bring keys of their own; the workbench must not
    // take them, and the active sensor window must get them.
    void sensorWindowsShareTheWorkbench()
    {
        WorkbenchWindow window(plugin);
        window.resize(1280, 800);
        QVERIFY(activated(window));
        QDockWidget* dock = window.sensorDock();
        QAction* listAction = window.findChild<QAction*>("actionSensorList");
        QVERIFY(dock->isVisible() && listAction->isChecked());

        // The first sensor is chosen and the list has the focus: Enter opens it.
        QTRY_VERIFY(window.sensorList()->hasFocus());
        QTest::keyClick(window.sensorList(), Qt::Key_Return);
        QCOMPARE(window.openSensorCount(), 1);
        QVERIFY(window.mdiArea()->subWindowList().value(0)->isMaximized());
        QVERIFY(dock->isHidden() && !listAction->isChecked());
        SensorWindow* first = sensorAt(window, 0);
        // Its keys work at once: they need the focus inside it.
        QVERIFY(first->isAncestorOf(QApplication::focusWidget()));

        // The list comes back on demand, and the sensor window folds its lists
        // into tabs beside the tree so that the chart keeps its room.
        listAction->trigger();
        QVERIFY(dock->isVisible());
        QDockWidget* chart = first->chart()->getDockChartItem(0);
        QTRY_VERIFY2(chart->width() >= window.width() * 2 / 5, qPrintable(QString::number(chart->width())));
        QVERIFY(!first->tabifiedDockWidgets(first->processDataDock()).isEmpty());
        window.sensorList()->setCurrentItem(window.sensorList()->topLevelItem(1));
        window.findChild<QAction*>("actionOpenSensor")->trigger();
        QVERIFY(dock->isHidden());
        // Among windows shown one at a time, one more is shown the same way.
        QVERIFY(window.mdiArea()->subWindowList().value(1)->isMaximized());

        QList<QKeySequence> sensorKeys = {
            QKeySequence(Qt::CTRL + Qt::Key_K), QKeySequence(Qt::CTRL + Qt::Key_R),
            QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_W), QKeySequence(Qt::CTRL + Qt::Key_L)};
        for (QAction* action : first->findChildren<QAction*>())
            sensorKeys += action->shortcuts();
        QList<QKeySequence> workbenchKeys = menuShortcuts(window.menuBar()->actions());
        for (QAction* action : window.actions())
            workbenchKeys += action->shortcuts();
        for (const QKeySequence& key : qAsConst(workbenchKeys))
            QVERIFY2(!key.isEmpty() && !sensorKeys.contains(key), qPrintable(key.toString()));
        for (const QKeySequence& key : {QKeySequence(Qt::Key_F5), QKeySequence(QKeySequence::Save),
                                        QKeySequence(QKeySequence::Open), QKeySequence(QKeySequence::Print)})
            QVERIFY2(sensorKeys.contains(key), qPrintable(key.toString()));
        QVERIFY(workbenchKeys.contains(QKeySequence(Qt::Key_F1)));
        QVERIFY(workbenchKeys.contains(QKeySequence(Qt::Key_F11)));

        // The sensor windows bind their keys to the window and its children:
        // the focus must follow the active window.
        QVERIFY(sensorAt(window, 1)->isAncestorOf(QApplication::focusWidget()));
        window.mdiArea()->setActiveSubWindow(window.mdiArea()->subWindowList().value(0));
        QVERIFY(first->isAncestorOf(QApplication::focusWidget()));

        // The echo plot asked for without echo data goes with presentation mode.
        first->findChild<QAction*>("actionShowEchoPlot")->setChecked(true);
        QVERIFY(!first->chart()->getDockChartItem(1)->isHidden());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QVERIFY(ExtensionSystem::Globals::getPresentationMode());
        QVERIFY(sensorAt(window, 1)->propertyTreeDock()->isHidden() && first->observationDock()->isHidden());
        QVERIFY(first->chart()->getDockChartItem(1)->isHidden());
        // The distance and the outputs' LEDs stay in view.
        QVERIFY(!chart->isHidden() && !first->processDataDock()->isHidden());
        QTreeWidget* processData = first->processDataTree();
        QVERIFY(processData->topLevelItem(1)->isExpanded() && !processData->topLevelItem(2)->isExpanded());
        // The Window menu lists the open windows, the active one checked.
        QMenu* windowMenu = window.menuBar()->actions().value(2)->menu();
        emit windowMenu->aboutToShow();
        QStringList listed;
        for (QAction* action : windowMenu->actions()) {
            if (action->isCheckable())
                listed << action->text() + (action->isChecked() ? " *" : "");
        }
        QCOMPARE(listed,
                 (QStringList{"&1 " + window.mdiArea()->subWindowList().value(0)->windowTitle() + " *",
                              "&2 " + window.mdiArea()->subWindowList().value(1)->windowTitle()}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!ExtensionSystem::Globals::getPresentationMode());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        // A sensor opened later starts in the same mode; among arranged
        // windows it joins them.
        window.mdiArea()->tileSubWindows();
        QVERIFY(window.openSensor("RT5-1300-M30"));
        QVERIFY(!window.mdiArea()->subWindowList().value(2)->isMaximized());
        QVERIFY(sensorAt(window, 2)->propertyTreeDock()->isHidden());
        window.setPresentationMode(false);
        QVERIFY(!sensorAt(window, 2)->propertyTreeDock()->isHidden());

        window.mdiArea()->closeAllSubWindows();
        QTRY_COMPARE(window.openSensorCount(), 0);
        QVERIFY(dock->isVisible());
        QVERIFY(window.sensorList()->hasFocus());
    }

    // The list stays empty; the label names the file and what is wrong.
    void aBrokenDocumentIsNamedWithItsLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("problem");
        QTest::newRow("not XML") << QByteArray("<document>\n<documentId>IoLinkMzRT5family</documentId>\n"
                                               "<sensorList></document>\n")
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
        QFile file(dir.filePath("broken.xml"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        qputenv("IOLINK_DESCRIPTION_DOCUMENT", QFile::encodeName(file.fileName()));
        WorkbenchWindow window(plugin);
        qunsetenv("IOLINK_DESCRIPTION_DOCUMENT");
        QCOMPARE(window.sensorList()->topLevelItemCount(), 0);
        const QString label = pluginLabel(window);
        QVERIFY2(label.contains(file.fileName()) && label.contains(problem.toHtmlEscaped()),
                 qPrintable(label));
    }

    void switchesTheLanguageWhileRunningAndRemembersIt()
    {
        WorkbenchWindow window(plugin);
        window.rememberBetweenRuns();
        window.show();
        window.openSensor("RT5-350-M18");
        SensorWindow* sensorWindow = sensorAt(window, 0);
        auto* german = window.findChild<QAction*>("actionLanguage_de");
        auto* english = window.findChild<QAction*>("actionLanguage_en");
        QtProperty* hysteresis = sensorWindow->findProperty(sensorWindow->rootProperty(), "HysteresisA2");
        const QString englishHysteresis = hysteresis->propertyName();
        // Texts the host's parts draw themselves follow too: the tree's header, the chart's marks;
        // lengths keep their unit suffix, once.
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
        QVERIFY2(inEnglish.startsWith("&File|Process data|Property|Id|" + englishHysteresis + "|") &&
                     englishHysteresis.endsWith(" (mm)") && inEnglish.contains("Threshold"),
                 qPrintable(inEnglish));

        german->trigger();
        QCOMPARE(ExtensionSystem::Globals::getLanguage(), std::string("de"));
        QTRY_VERIFY2(shown().startsWith("&Datei|Prozessdaten|Eigenschaft|Kennung|") &&
                         shown().contains("Schaltpunkt") && !shown().contains("Threshold"),
                     qPrintable(shown()));
        QVERIFY(hysteresis->propertyName() != englishHysteresis);
        QVERIFY(hysteresis->propertyName().endsWith(" (mm)") &&
                !hysteresis->propertyName().contains("(mm) (mm)"));
        QVERIFY(german->isChecked());
        // A sensor opened now starts in German.
        window.openSensor("RT5-600-M18");
        QCOMPARE(sensorAt(window, 1)->propertyTreeDock()->windowTitle(), QString("Parameterbaum"));
        // The next start is in German, unless the command line says otherwise.
        QCOMPARE(WorkbenchSettings::startLanguage(QString()), QString("de"));
        QCOMPARE(WorkbenchSettings::startLanguage("en"), QString("en"));

        english->trigger();
        QTRY_COMPARE(shown(), inEnglish);
        QCOMPARE(WorkbenchSettings::startLanguage(QString()), QString("en"));

        // A language without a catalogue leaves everything English.
        german->trigger();
        window.setLanguage("xx");
        QVERIFY(window.statusBar()->currentMessage().contains("no translation for \"xx\""));
        QVERIFY(english->isChecked());
        QCOMPARE(ExtensionSystem::Globals::getLanguage(), std::string("en"));
        QTRY_COMPARE(shown(), inEnglish);
        QCOMPARE(WorkbenchSettings::startLanguage(QString()), QString("en"));
    }

    // The picture is written beside the target and renamed over it: under a file size limit
    // the previous picture stays whole, and the output and the exit status tell of the failure.
    void screenshotThatCannotBeWrittenKeepsThePreviousOne()
    {
        QTemporaryDir dir;
        const QString shot = dir.filePath("shot.png");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", dir.filePath("settings"));
        auto run = [&](const QString& fileSizeLimit, QProcess* workbench) {
            workbench->setProcessEnvironment(environment);
            // A write beyond the limit then fails with an error instead of killing the process.
            workbench->start("sh", {"-c", "trap '' XFSZ; ulimit -f " + fileSizeLimit + "; exec \"$0\" \"$@\"",
                                    IOLINK_PLUGIN_DIR "/../iolink-workbench", "--screenshot", shot,
                                    "--quit-after", "1000"});
            return workbench->waitForFinished(60000);
        };

        QProcess good;
        QVERIFY(run("unlimited", &good));
        QCOMPARE(good.exitCode(), 0);
        const QByteArray picture = contentOf(shot);
        // Far beyond the limit below, which a complete picture cannot fit in.
        QVERIFY(picture.size() > 16 * 1024);
        QVERIFY(!QImage::fromData(picture, "PNG").isNull());

        QProcess limited;
        QVERIFY(run("16", &limited));
        QVERIFY(limited.exitStatus() == QProcess::NormalExit && limited.exitCode() != 0);
        const QString errors = QString::fromLocal8Bit(limited.readAllStandardError());
        QVERIFY2(errors.contains("cannot write the screenshot " + shot + ": "), qPrintable(errors));
        QCOMPARE(contentOf(shot), picture);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"shot.png"});
    }
};

QTEST_MAIN(WorkbenchTest)
#include "tst_workbench.moc"
