// The sensor window with the small test document against the simulated
// master at the wire's speed: what only the whole window asks and shows.
#include <InProcessRig.h>
#include <TestDocuments.h>

#include <tools/SettingsCompareDialog.h>
#include <window/SensorWindowForm.h>

#include <QAction>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
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
    static QtDoublePropertyManager* doubles(const LinkRig& r)
    {
        return r.manager<QtDoublePropertyManager>("SwitchingThresholdA1");
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
            r->selectPort();
            r->choosePort();
            QCOMPARE(r->window->portSelector()->currentIndex(), 0);
        }
        {
            // Overwriting the sensor asks once more; cancelling leaves it alone.
            DialogAnswers answers({choose("pcToSensor"), reply(QMessageBox::Cancel)});
            r->selectPort();
            r->choosePort();
            QCOMPARE(answers.titles, (QStringList{"Connect to the sensor", "IO-Link Sensor Workbench"}));
            QCOMPARE(answers.texts, QStringList{"Sensor settings will be overwritten with the ones from PC"});
            QCOMPARE(r->window->portSelector()->currentIndex(), 0);
            QVERIFY(!r->window->isConnected());
        }
        QVERIFY(r->sent().isEmpty());
        r->connectPressingEnter();
        const QStringList sent = r->sent();
        const QStringList sequence{"03 51 12 01", "03 51 12 01", "04 73 11 09 03",
                                   "02 70 22",    "03 70 21 03", "05 57 26 12 00 00",
                                   "02 70 22",    "02 70 22",    "02 73 27"};
        QCOMPARE(sent.mid(0, sequence.size()), sequence);
        const QStringList reads = sent.mid(sequence.size()).filter(QRegularExpression("^05 .. 26 "));
        QCOMPARE(reads.size(), r->window->parameterAddressMap().size() - 1);
        QVERIFY(!reads.contains(hex(readRequest(69, 1))));
        QVERIFY(r->writes().isEmpty());
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
    // and a refused read leaves its row: both are marked. A file's value
    // taken in the compare is an edit left in the window even in write mode:
    // the sensor gets nothing.
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
        r->window->form().actionRead->trigger();
        QCOMPARE(doubles(*r)->maximum(r->property("SwitchingThresholdA1")), 600.0);
        QVERIFY(r->mark("OnDelay1").isEmpty());

        const QString path = dir.filePath("compare.kvs");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "<root pluginid=\"IoLinkMzRT5family\" sensorid=\"Test M18\"><pluginsettings><propertytreedata "
            "data=\"MesurementUnit=0;PinFunctionA1=1;OnDelay1=700;\"/>"
            "</pluginsettings></root>");
        file.close();
        QTRY_VERIFY_WITH_TIMEOUT(!r->window->isSettling(), 10000);
        QVERIFY(r->window->form().actionWritePermanent->isChecked() &&
                r->window->form().actionWriting->isChecked());
        QTest::qWait(1000);
        r->clearTrace();
        r->window->compareWithSettingsFile(path);
        auto* dialog = r->window->findChild<SettingsCompareDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->table()->rowCount(), 2);
        dialog->findChild<QPushButton*>("take:OnDelay1")->click();
        QCOMPARE(dialog->table()->rowCount(), 1);
        QCOMPARE(r->manager<QtIntPropertyManager>("OnDelay1")->value(r->property("OnDelay1")), 700);
        QCOMPARE(r->mark("OnDelay1"), QString("Not written to the sensor yet"));
        QTest::qWait(600);
        VERIFY_NONE(r->writes());
        QCOMPARE(r->simulated("OnDelay1"), 0);
        QVERIFY(r->mark("PinFunctionA1").isEmpty());
        dialog->close();
    }

    // Live data in inches (sent in tenths) show the object where it is. An
    // output row of the master's data sends the switch byte when its box
    // changes, by the mouse on the box or by Space, and only then.
    void liveDataAndTheOutputBoxes()
    {
        auto r = rig();
        r->setOnSensor("MesurementUnit", 1);
        r->device->model().holdTarget(381);
        r->connectReading();
        waitForLiveData(*r);
        QTreeWidgetItem* distance = r->window->processDataTree()->topLevelItem(0)->child(0);
        QTRY_VERIFY(qAbs(distance->text(2).trimmed().toDouble() - 381 / 25.4) <= 0.1);
        QVERIFY(distance->text(3).contains("inch"));

        r->workbench.show();
        QVERIFY(QTest::qWaitForWindowActive(&r->workbench));
        QTreeWidget* list = r->window->processDataTree();
        QTreeWidgetItem* row = list->topLevelItem(2)->child(1);
        list->scrollToItem(row);
        list->setCurrentItem(row, 2);
        QStyleOptionViewItem box;
        box.rect = list->visualRect(list->currentIndex());
        box.features = QStyleOptionViewItem::HasCheckIndicator;
        const QPoint onTheBox =
            list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &box, list).center();
        list->setCurrentItem(row, 0);
        const QPoint besideTheBox = list->visualRect(list->currentIndex()).center();
        auto switchBytes = [&r] { return r->sent().filter(QRegularExpression("^03 .. 23 ")); };
        r->clearTrace();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, besideTheBox);
        row->setText(0, row->text(0));
        row->setText(3, "?");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, onTheBox);
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
};

QTEST_MAIN(SensorLinkTest)
#include "tst_sensorlink.moc"
