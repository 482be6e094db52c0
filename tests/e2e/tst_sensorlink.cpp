// The sensor window with the small test document against the simulated
// master through the workbench's broker at the wire's speed: what only the
// whole window asks, shows and tells the user.
#include <InProcessRig.h>
#include <TestDocuments.h>

#include <tools/SettingsCompareDialog.h>
#include <window/SensorWindowForm.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>

using namespace NimbarSensorPlugin::Core;

class SensorLinkTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString document;
    PluginLibrary plugin;

    // At the wire's speed timers fire during sequences as on a real line.
    std::unique_ptr<LinkRig> rig(const QString& spec = "UM060/113", const QString& sensorName = "Test M18")
    {
        return std::make_unique<LinkRig>(plugin, document, dir.filePath("trace.txt"), spec, sensorName, true);
    }
    static QString status(const LinkRig& r) { return r.window->statusBar()->currentMessage(); }
    static QString mode(const LinkRig& r) { return r.window->findChild<QLabel*>("modeLabel")->text(); }
    static QtDoublePropertyManager* doubles(const LinkRig& r)
    {
        return r.manager<QtDoublePropertyManager>("SwitchingThresholdA1");
    }
    static double point(const LinkRig& r) { return doubles(r)->value(r.property("SwitchingThresholdA1")); }
    static void setPoint(const LinkRig& r, double value)
    {
        doubles(r)->setValue(r.property("SwitchingThresholdA1"), value);
    }

private slots:
    void initTestCase()
    {
        document = useLinkTestDocument(dir.path());
        QVERIFY(!document.isEmpty());
        QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
    }

    // Cancelled, or answered while the selector says "Offline", the question
    // sends nothing; Enter takes the choice that leaves the sensor as it is.
    void theConnectionQuestion()
    {
        auto r = rig();
        QSignalSpy portRequests(r->window, SIGNAL(vComPortSelected(QString)));
        {
            DialogAnswers answers({choose("sensorToPc")});
            r->invoke("actionConnectSensor", Q_ARG(int, 1));
        }
        QVERIFY(!r->window->isConnected());
        for (const QList<QVariant>& request : qAsConst(portRequests))
            QCOMPARE(request.value(0).toString(), QString());
        {
            DialogAnswers answers({choose("cancel")});
            r->choose(r->port);
            QCOMPARE(r->window->portSelector()->currentIndex(), 0);
        }
        {
            // Overwriting the sensor asks once more; cancelling leaves it alone.
            DialogAnswers answers({choose("pcToSensor"), reply(QMessageBox::Cancel)});
            r->choose(r->port);
            QCOMPARE(answers.titles, (QStringList{"Connect to the sensor", "IO-Link Sensor Workbench"}));
            QCOMPARE(answers.texts, QStringList{"Sensor settings will be overwritten with the ones from PC"});
            QCOMPARE(r->window->portSelector()->currentIndex(), 0);
            QVERIFY(!r->window->isConnected());
        }
        QVERIFY(r->sent().isEmpty());
        r->connectPressingEnter();
        QCOMPARE(r->window->windowTitle(), "Test M18 (" + r->port + ")");
        const QStringList sent = r->sent();
        const QStringList sequence{"03 51 12 01", "03 51 12 01", "04 73 11 09 03",
                                   "02 70 22",    "03 70 21 03", "05 57 26 12 00 00",
                                   "02 70 22",    "02 70 22",    "02 73 27"};
        QCOMPARE(sent.mid(0, sequence.size()), sequence);
        const QStringList reads = sent.mid(sequence.size()).filter(QRegularExpression("^05 .. 26 "));
        QCOMPARE(reads.size(), r->window->parameterAddressMap().size() - 1);
        QVERIFY(!reads.contains(hex(readRequest(69, 1))));
        QVERIFY(r->writes().isEmpty());
        QVERIFY(r->window->form().sensorOperationsToolbar->isEnabled());
        QVERIFY(!r->window->form().actionOpen_Settings->isEnabled());
        QCOMPARE(mode(*r), QString("Mode: write"));
    }

    // A file's value taken in the compare is the user's edit, marked and left
    // in the window even in write mode: the sensor gets nothing.
    void takingAFilesValueInTheCompareWritesNothing()
    {
        auto r = rig();
        r->connectReading();
        const QString path = dir.filePath("compare.kvs");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "<root pluginid=\"IoLinkMzRT5family\" sensorid=\"Test M18\"><pluginsettings><propertytreedata "
            "data=\"MesurementUnit=0;SwitchingThresholdA1=450.000000;PinFunctionA1=1;OnDelay1=0;\"/>"
            "</pluginsettings></root>");
        file.close();
        QTRY_VERIFY_WITH_TIMEOUT(!r->window->isSettling(), 10000);
        r->window->form().actionWritePermanent->trigger();
        QTRY_VERIFY(r->window->form().actionWritePermanent->isChecked() &&
                    r->window->form().actionWriting->isChecked());
        QTest::qWait(1000);
        r->clearTrace();

        r->window->compareWithSettingsFile(path);
        auto* dialog = r->window->findChild<SettingsCompareDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QString("Compare with settings file"));
        const auto rows = [dialog] {
            QStringList texts;
            for (int row = 0; row < dialog->table()->rowCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < 4; ++column)
                    cells << dialog->table()->item(row, column)->text();
                texts << cells.join('|');
            }
            return texts;
        };
        const QStringList pins =
            r->manager<QtEnumPropertyManager>("PinFunctionA1")->enumNames(r->property("PinFunctionA1"));
        const QString pinRow = "Pin A1|" + pins.value(0) + "|" + pins.value(1) + "|";
        QCOMPARE(rows(), (QStringList{pinRow, "Switching point A1|300|450|mm"}));

        dialog->findChild<QPushButton*>("take:SwitchingThresholdA1")->click();
        QCOMPARE(rows(), QStringList{pinRow});
        QCOMPARE(point(*r), 450.0);
        QCOMPARE(r->mark("SwitchingThresholdA1"), QString("Not written to the sensor yet"));
        QTest::qWait(600);
        VERIFY_NONE(r->writes());
        QCOMPARE(r->simulated("SwitchingThresholdA1"), 300);
        QVERIFY(r->mark("PinFunctionA1").isEmpty());
        dialog->close();
    }

    // An output row of the master's data sends the switch byte when its box
    // changes, by the mouse on the box or by Space on the row, and only then.
    void theObservationBoxesSendWhatChangedOnly()
    {
        auto r = rig();
        r->connectReading();
        waitForLiveData(*r);
        r->workbench.show();
        QVERIFY(QTest::qWaitForWindowExposed(&r->workbench));
        QTreeWidget* list = r->window->processDataTree();
        QTreeWidgetItem* row = list->topLevelItem(2)->child(1);
        list->scrollToItem(row);
        // Taken at the moment of the click: the columns follow the widths of
        // the live values, so a point taken earlier may have moved.
        auto click = [&](int column) {
            QStyleOptionViewItem cell;
            cell.rect = list->visualRect(list->model()->index(1, column, list->model()->index(2, 0)));
            cell.features = QStyleOptionViewItem::HasCheckIndicator;
            const QPoint point =
                column == 2 ? list->style()
                                  ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &cell, list)
                                  .center()
                            : cell.rect.center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        };
        auto switchBytes = [&r] { return r->sent().filter(QRegularExpression("^03 .. 23 ")); };
        r->clearTrace();

        click(0);
        row->setText(0, row->text(0));
        row->setText(3, "?");
        QTest::qWait(400);
        QCOMPARE(switchBytes(), QStringList());

        click(2);
        QCOMPARE(row->checkState(2), Qt::Checked);
        QTRY_COMPARE(switchBytes().size(), 1);

        list->setFocus();
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(row->checkState(2), Qt::Unchecked);
        QTRY_COMPARE(switchBytes().size(), 2);
        QVERIFY(switchBytes()[0] != switchBytes()[1]);
        QTest::qWait(400);
        QCOMPARE(switchBytes().size(), 2);
    }

    // Closed while it reads everything, the window goes without harm, lets go
    // of the port and polls no more.
    void closingTheWindowInTheMiddleOfReadingIsSafe()
    {
        auto r = rig();
        r->connectOverwriting();
        QMdiSubWindow* subWindow = r->workbench.mdiArea()->subWindowList().value(0);
        QSignalSpy aboutToClose(r->window, SIGNAL(vAboutToClose()));
        // As in the running workbench, the read starts from the main event loop.
        QEventLoop mainLoop;
        QTimer::singleShot(0, r->window, [&] {
            r->invoke("vRadAllSettings", Q_ARG(bool, true));
            mainLoop.quit();
        });
        QTimer::singleShot(300, subWindow, &QMdiSubWindow::close);
        mainLoop.exec();
        QTRY_COMPARE(r->workbench.openSensorCount(), 0);
        QCOMPARE(aboutToClose.count(), 1);
        QTRY_VERIFY(!r->device->isOpen());
        r->clearTrace();
        QTest::qWait(300);
        QVERIFY(r->sent().isEmpty());
    }

    // A value beyond the variant's limits is neither cut nor written back,
    // and a refused read leaves its row: the tree and the status bar say so.
    // A larger entry is written as the limit.
    void readingMarksWhatItCannotShowAndTheVariantLimitsEntries()
    {
        auto r = rig();
        r->setOnSensor("SwitchingThresholdA1", 9000);
        r->device->faults().refuseNextRead(75);
        r->connectReading();
        QTest::qWait(600);
        VERIFY_NONE(r->writes());
        QCOMPARE(r->simulated("SwitchingThresholdA1"), 9000);
        QCOMPARE(r->mark("SwitchingThresholdA1"), QString("the sensor holds 9000; allowed 1 to 600"));
        QCOMPARE(r->mark("OnDelay1"), QString("Not read from the sensor: service temporarily not available"));
        QVERIFY(status(*r).contains("not read: 1"));
        QtTreePropertyBrowser* browser = r->window->parameterBrowser();
        QVERIFY(!browser->itemIcon(browser->items(r->property("OnDelay1")).value(0)).isNull());
        QVERIFY(r->property("SwitchingThresholdA1")->toolTip().contains("Allowed: 1 to 600 mm"));
        r->window->form().actionRead->trigger();
        QCOMPARE(doubles(*r)->maximum(r->property("SwitchingThresholdA1")), 600.0);
        QVERIFY(r->mark("OnDelay1").isEmpty());

        waitForLiveData(*r);
        setPoint(*r, 250);
        QTRY_COMPARE(r->simulated("SwitchingThresholdA1"), 250);
        setPoint(*r, 9999);
        QCOMPARE(point(*r), 600.0);
        QTRY_COMPARE(r->simulated("SwitchingThresholdA1"), 600);
    }

    // The keys reach the sensor; an arrow key on the port selector asks
    // before letting the sensor go, and No, the default, keeps it.
    void theKeysDriveTheSensorAndTheModeIsShown()
    {
        auto r = rig();
        QCOMPARE(mode(*r), QString("Offline"));
        r->connectReading();
        r->window->form().actionWritePermanent->setChecked(false);
        QCOMPARE(mode(*r), QString("Mode: window only"));
        r->window->form().actionWritePermanent->setChecked(true);

        r->clearTrace();
        r->workbench.show();
        QVERIFY(QTest::qWaitForWindowActive(&r->workbench));
        r->window->parameterBrowser()->setFocus();
        QTRY_VERIFY(r->window->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!r->sent().filter(hex(readRequest(64, 1))).isEmpty());
        QVERIFY(r->writes().isEmpty());
        // Reading gives the keyboard focus back to the tree once it is done.
        waitForLiveData(*r);
        QTRY_VERIFY(r->window->isAncestorOf(QApplication::focusWidget()));
        const bool live = r->window->form().actionEnable_live_data->isChecked();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(r->window->form().actionEnable_live_data->isChecked(), !live);

        QComboBox* selector = r->window->portSelector();
        const int port = selector->currentIndex();
        QStringList asked;
        QTimer enter;
        QObject::connect(&enter, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked << box->text();
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        enter.start(10);
        QTest::keyClick(selector, Qt::Key_Up);
        enter.stop();
        QCOMPARE(asked, QStringList{"Disconnect the sensor on " + r->port + "?"});
        QCOMPARE(selector->currentIndex(), port);
        QVERIFY(r->window->isConnected());
        DialogAnswers yes({reply(QMessageBox::Yes)});
        QTest::keyClick(selector, Qt::Key_Up);
        QVERIFY(!r->window->isConnected());
        QCOMPARE(selector->currentIndex(), 0);
        QCOMPARE(mode(*r), QString("Offline"));
    }
};

QTEST_MAIN(SensorLinkTest)
#include "tst_sensorlink.moc"
