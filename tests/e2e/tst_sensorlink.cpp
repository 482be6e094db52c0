// The sensor window against the simulated master, through the workbench's
// real broker and communication component, checking the bytes on the wire.
#include "LinkTestDocument.h"

#include <PluginLibrary.h>
#include <SimulatedSensors.h>
#include <WorkbenchWindow.h>
#include <window/SensorWindow.h>
#include <window/SensorWindowForm.h>

#include <SimulatedPortDevice.h>
#include <link/RequestFrames.h>
#include <parameters/ValueCodec.h>
#include <utils/ValueOverTime.h>
#include <utils/charts/GenericChart.h>

#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

using namespace NimbarSensorPlugin::Core;
using IoLinkSimulator::SimulatedPortDevice;

namespace {

// Answers the modal dialogs that come up, in order: a connection question
// by the object name of its button, a message box by its button.
class DialogAnswers : public QObject
{
public:
    struct Answer
    {
        QString button;
        QMessageBox::StandardButton standard = QMessageBox::NoButton;
    };

    explicit DialogAnswers(QList<Answer> answers) : m_answers(std::move(answers))
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || m_answers.isEmpty())
                return;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                titles << box->windowTitle();
                texts << box->text();
                box->button(m_answers.takeFirst().standard)->click();
            } else if (auto* button = m_answers.value(0).button.isEmpty()
                                          ? nullptr
                                          : modal->findChild<QAbstractButton*>(m_answers.value(0).button)) {
                titles << modal->windowTitle();
                m_answers.removeFirst();
                button->click();
            }
        });
        m_timer.start();
    }

    QStringList titles;
    QStringList texts;

private:
    QList<Answer> m_answers;
    QTimer m_timer;
};

DialogAnswers::Answer choose(const char* buttonName)
{
    return {buttonName, QMessageBox::NoButton};
}

DialogAnswers::Answer reply(QMessageBox::StandardButton button)
{
    return {QString(), button};
}

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace

class SensorLinkTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString document;
    PluginLibrary plugin;

    // The workbench with one simulated sensor and one sensor window.
    struct Rig
    {
        Rig(const PluginLibrary& plugin, const QString& document, const QString& traceFile,
            const QString& spec, const QString& sensorName)
            : workbench(plugin)
        {
            QString error;
            port = addSimulatedSensor(workbench.hostPorts(), spec, document, &error);
            device = static_cast<SimulatedPortDevice*>(workbench.hostPorts().simulated(port));
            device->setWireTimeEnabled(false);
            workbench.hostPorts().setTraceFile(traceFile, &error);
            trace = traceFile;
            workbench.setPortLister([] { return QStringList(); });
            workbench.openSensor(sensorName);
            window = qobject_cast<SensorWindow*>(workbench.mdiArea()->subWindowList().value(0)->widget());
        }

        // Requests sent since the trace was last cleared, as hex.
        QStringList sent() const
        {
            QFile file(trace);
            file.open(QIODevice::ReadOnly);
            QStringList requests;
            for (const QString& line : QString::fromLatin1(file.readAll()).split('\n')) {
                const QStringList fields = line.simplified().split(' ');
                if (fields.size() > 3 && fields[1] == ">")
                    requests << QStringList(fields.mid(3)).join(' ');
            }
            return requests;
        }
        void clearTrace()
        {
            QString error;
            workbench.hostPorts().setTraceFile(trace, &error);
        }

        void invoke(const char* slot, QGenericArgument argument = QGenericArgument())
        {
            QVERIFY(QMetaObject::invokeMethod(window, slot, argument));
        }
        // Chooses the port in the selector as a user does.
        void choosePort()
        {
            invoke("actionConnectSensor", Q_ARG(int, window->portSelector()->findText(port)));
        }
        void selectPort() { window->portSelector()->setCurrentIndex(window->portSelector()->findText(port)); }

        QtProperty* property(const char* id) const
        {
            return window->findProperty(window->rootProperty(), id);
        }
        template <class Manager> Manager* manager(const char* id) const
        {
            return qobject_cast<Manager*>(property(id)->propertyManager());
        }
        bool visible(const char* id) const
        {
            QtProperty* p = property(id);
            const QList<QtBrowserItem*> items =
                p ? window->parameterBrowser()->items(p) : QList<QtBrowserItem*>();
            return !items.isEmpty() && window->parameterBrowser()->isItemVisible(items.first());
        }
        // The number the simulated sensor holds for a parameter.
        qlonglong simulated(const char* id) const
        {
            return device->model().parameterValue(QString(id)).toLongLong();
        }

        WorkbenchWindow workbench;
        QString port;
        QString trace;
        SimulatedPortDevice* device = nullptr;
        SensorWindow* window = nullptr;
    };

    std::unique_ptr<Rig> rig(const QString& spec, const QString& sensorName)
    {
        return std::make_unique<Rig>(plugin, document, dir.filePath("trace.txt"), spec, sensorName);
    }

    // Connects with the window's settings winning ("PC -> Sensor").
    static void connectOverwriting(Rig& r)
    {
        DialogAnswers answers({choose("pcToSensor"), reply(QMessageBox::Ok)});
        r.selectPort();
        r.choosePort();
    }

private slots:
    void initTestCase()
    {
        document = dir.filePath("IoLinkMzRT5family.xml");
        QFile file(document);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(linkTestDocument());
        file.close();
        qputenv("IOLINK_DESCRIPTION_DOCUMENT", document.toLocal8Bit());
        QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
    }

    void autoConnectRunsTheConnectSequenceAndReadsEverything()
    {
        auto r = rig("UM060/113", "Test M18");
        r->invoke("vAutoConnect", Q_ARG(QString, r->port));
        QVERIFY(r->window->isConnected());
        QCOMPARE(r->window->windowTitle(), "Test M18 (" + r->port + ")");
        const QStringList sent = r->sent();
        const QStringList sequence{"03 51 12 01", "03 51 12 01", "04 73 11 09 03",
                                   "02 70 22",    "03 70 21 03", "05 57 26 12 00 00",
                                   "02 70 22",    "02 70 22",    "02 73 27"};
        QCOMPARE(sent.mid(0, sequence.size()), sequence);
        // Then every parameter but the button, each a read, a process-data
        // request and a fetch.
        const QStringList reads = sent.mid(sequence.size()).filter(QRegularExpression("^05 .. 26 "));
        QCOMPARE(reads.size(), r->window->parameterAddressMap().size() - 1);
        QVERIFY(!reads.contains(hex(readRequest(69, 1))));
    }

    void aSilentMasterGetsFiveAttempts()
    {
        auto r = rig("UM060/113", "Test M18");
        r->device->faults().setSilent(true);
        DialogAnswers answers({reply(QMessageBox::Ok)});
        r->invoke("vAutoConnect", Q_ARG(QString, r->port));
        QCOMPARE(r->sent(), (QStringList() << "03 51 12 01"
                                           << "03 51 12 01"
                                           << "03 51 12 01"
                                           << "03 51 12 01"
                                           << "03 51 12 01"));
        QCOMPARE(answers.titles, QStringList{"Connecting to sensor..."});
        QCOMPARE(answers.texts,
                 QStringList{"The connected sensor does not match currently selected sensor, please "
                             "try again with the proper sensor"});
        QVERIFY(!r->window->isConnected());
        QCOMPARE(r->window->portSelector()->currentIndex(), 0);
    }

    void aSensorOfAnotherModelIsRefused()
    {
        auto r = rig("UK130/137", "Test M18");
        DialogAnswers answers({reply(QMessageBox::Ok)});
        r->invoke("vAutoConnect", Q_ARG(QString, r->port));
        QCOMPARE(r->sent().filter("05 57 26 12 00 00").size(), 10);
        QCOMPARE(answers.titles, QStringList{"Connecting to sensor..."});
        QVERIFY(!r->window->isConnected());
        QCOMPARE(r->window->portSelector()->currentText(), QString("Offline"));
    }

    void variantsAdaptTheTree()
    {
        {
            auto r = rig("UK130/137", "Test M30");
            QVERIFY(!r->visible("AnalogMode"));
            r->invoke("vAutoConnect", Q_ARG(QString, r->port));
            QVERIFY(r->window->isConnected());
            QVERIFY(r->visible("AnalogMode"));
            // Code 137 has no choice of analog kind.
            QVERIFY(!r->visible("AnalogSubt"));
            QVERIFY(!r->visible("PinFunctionA2"));
            QVERIFY(!r->visible("Output2Settings"));
        }
        auto r = rig("UM060/111", "Test M18");
        r->invoke("vAutoConnect", Q_ARG(QString, r->port));
        QVERIFY(r->window->isConnected());
        QVERIFY(!r->visible("PinFunctionA2"));
        QVERIFY(!r->visible("CrashDetection"));
        QVERIFY(!r->visible("AnalogMode"));
        // Without the acceleration sensor there is no crash function to choose.
        const QStringList names =
            r->manager<QtEnumPropertyManager>("PinFunctionA1")->enumNames(r->property("PinFunctionA1"));
        QCOMPARE(names.size(), 6);
        QVERIFY(!names.contains("Crash"));
    }

    void theConnectionQuestion()
    {
        auto r = rig("UM060/113", "Test M18");
        {
            DialogAnswers answers({choose("cancel")});
            r->selectPort();
            r->choosePort();
            QCOMPARE(r->window->portSelector()->currentIndex(), 0);
            QVERIFY(r->sent().isEmpty());
        }
        {
            // Overwriting the sensor asks once more; cancelling leaves it alone.
            DialogAnswers answers({choose("pcToSensor"), reply(QMessageBox::Cancel)});
            r->selectPort();
            r->choosePort();
            QCOMPARE(answers.titles, (QStringList{"Dialog", "Calimo"}));
            QCOMPARE(answers.texts, QStringList{"Sensor settings will be overwritten with the ones from PC"});
            QCOMPARE(r->window->portSelector()->currentIndex(), 0);
            QVERIFY(r->sent().isEmpty());
            QVERIFY(!r->window->isConnected());
        }
        DialogAnswers answers({choose("sensorToPc")});
        r->selectPort();
        r->choosePort();
        QVERIFY(r->window->isConnected());
        QVERIFY(r->window->form().sensorOperationsToolbar->isEnabled());
        QVERIFY(!r->window->form().actionOpen_Settings->isEnabled());
        QVERIFY(!r->sent().filter(hex(readRequest(64, 1))).isEmpty());
    }

    void readingShowsTheSensorsValuesAndRetriesARefusedTag()
    {
        auto r = rig("UM060/113", "Test M18");
        SimulatedPortDevice* sensor = r->device;
        sensor->model().answer(writeRequest({64, 1, 7}, 450));
        sensor->model().answer(writeRequest({75, 1, 9}, 1234));
        sensor->model().answer(writeRequest({72, 1, 6}, 2));
        sensor->model().answer(tagWriteRequest(0x19, "Conveyor 3"));
        sensor->faults().refuseNextRead(0x19);

        DialogAnswers answers({choose("sensorToPc")});
        r->selectPort();
        r->choosePort();
        QVERIFY(r->window->isConnected());
        QCOMPARE(r->manager<QtDoublePropertyManager>("SwitchingThresholdA1")
                     ->value(r->property("SwitchingThresholdA1")),
                 450.0);
        QCOMPARE(r->manager<QtIntPropertyManager>("OnDelay1")->value(r->property("OnDelay1")), 1234);
        QCOMPARE(r->manager<QtEnumPropertyManager>("PinFunctionA1")->value(r->property("PinFunctionA1")), 2);
        QCOMPARE(r->manager<QtStringPropertyManager>("FunctionTag")->value(r->property("FunctionTag")),
                 QString("Conveyor 3"));
        QCOMPARE(r->sent().filter(hex(readRequest(0x19, 0))).size(), 2);
        QCOMPARE(r->sent().filter(hex(readRequest(64, 1))).size(), 1);
    }

    void writingAllSkipsWhatTheSensorKeepsAndPadsTags()
    {
        auto r = rig("UM060/113", "Test M18");
        r->manager<QtDoublePropertyManager>("SwitchingThresholdA1")
            ->setValue(r->property("SwitchingThresholdA1"), 512);
        r->manager<QtEnumPropertyManager>("InputMode1")->setValue(r->property("InputMode1"), 1);
        r->manager<QtStringPropertyManager>("FunctionTag")->setValue(r->property("FunctionTag"), "Box 7");
        QTest::qWait(500);

        connectOverwriting(*r);
        QVERIFY(r->window->isConnected());
        const QStringList writes = r->sent().filter(QRegularExpression("^.. .. 24 "));
        QVERIFY(writes.contains(hex(writeRequest({64, 1, 7}, 512))));
        QVERIFY(writes.contains(hex(writeRequest({72, 2, 6}, 0))));
        QVERIFY(writes.filter(QRegularExpression("^.. .. 24 4d 00 01")).isEmpty()); // InputMode1
        QVERIFY(writes.filter(QRegularExpression("^.. .. 24 45 00 01")).isEmpty()); // TEACHBUTTON1
        QVERIFY(writes.filter(QRegularExpression("^.. .. 24 15 00 00")).isEmpty()); // SerialNumberReadOnly
        const QString tag =
            hex(QByteArray::fromHex("25") +
                QByteArray(1, char(checkOctet(0x24, QByteArray::fromHex("190000") + "Box 7"))) +
                QByteArray::fromHex("24190000") + "Box 7" + QByteArray(27, '\0'));
        QCOMPARE(writes.filter(tag).size(), 1);
        QCOMPARE(r->simulated("SwitchingThresholdA1"), 512);
        QCOMPARE(r->device->model().parameterValue(QString("FunctionTag")).toByteArray().left(5),
                 QByteArray("Box 7"));
    }

    void quickEditsGiveOneWriteOfTheLastValue()
    {
        auto r = rig("UM060/113", "Test M18");
        connectOverwriting(*r);
        QVERIFY(r->window->isConnected());
        r->clearTrace();

        auto* doubles = r->manager<QtDoublePropertyManager>("SwitchingThresholdA1");
        for (double value : {301.0, 302.0, 303.0})
            doubles->setValue(r->property("SwitchingThresholdA1"), value);
        QTRY_COMPARE(r->simulated("SwitchingThresholdA1"), 303);
        QTest::qWait(300);
        const QStringList writes = r->sent().filter(QRegularExpression("^.. .. 24 "));
        QCOMPARE(writes, QStringList{hex(writeRequest({64, 1, 7}, 303))});
    }

    void editsInReadModeStayInTheWindow()
    {
        auto r = rig("UM060/113", "Test M18");
        connectOverwriting(*r);
        QVERIFY(r->window->isConnected());
        r->clearTrace();

        r->window->form().actionRead->setChecked(true);
        const qint64 writeIcon = r->window->form().actionWritePermanent->icon().cacheKey();
        r->manager<QtIntPropertyManager>("OnDelay1")->setValue(r->property("OnDelay1"), 77);
        QTRY_VERIFY(r->window->form().actionWritePermanent->icon().cacheKey() != writeIcon);
        QTest::qWait(100);
        QVERIFY(r->sent().filter(QRegularExpression("^.. .. 24 ")).isEmpty());
        QCOMPARE(r->simulated("OnDelay1"), 0);
        QCOMPARE(r->manager<QtIntPropertyManager>("OnDelay1")->value(r->property("OnDelay1")), 77);
    }

    void liveDataFollowsTheSensorUntilItFallsSilent()
    {
        auto r = rig("UM060/113", "Test M18");
        connectOverwriting(*r);
        QVERIFY(r->window->isConnected());
        r->clearTrace();
        QTreeWidgetItem* distance = r->window->processDataTree()->topLevelItem(0)->child(0);
        QTRY_VERIFY(r->window->chart()->getData(0)->size() >= 3);
        QVERIFY(!distance->text(3).isEmpty());
        QVERIFY(r->sent().filter("02 70 22").size() >= 3);

        // Three unanswered polls: the window goes offline and says why.
        DialogAnswers lost({reply(QMessageBox::Ok)});
        r->device->faults().setSilent(true);
        QTRY_VERIFY_WITH_TIMEOUT(!r->window->isConnected(), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(
            lost.texts, QStringList{"The sensor did not respond, please make sure it is properly connected."},
            5000);
        QCOMPARE(r->window->portSelector()->currentIndex(), 0);
    }

    void closingTheWindowStopsPollingAndLetsGoOfThePort()
    {
        auto r = rig("UM060/113", "Test M18");
        connectOverwriting(*r);
        QTRY_VERIFY(r->sent().filter("02 70 22").size() >= 2);
        QSignalSpy aboutToClose(r->window, SIGNAL(vAboutToClose()));
        r->workbench.mdiArea()->subWindowList().value(0)->close();
        QCOMPARE(aboutToClose.count(), 1);
        QTRY_VERIFY(!r->device->isOpen());
        r->clearTrace();
        QTest::qWait(300);
        QVERIFY(r->sent().isEmpty());
    }

    void closingTheWindowInTheMiddleOfReadingIsSafe()
    {
        auto r = rig("UM060/113", "Test M18");
        connectOverwriting(*r);
        QVERIFY(r->window->isConnected());
        QMdiSubWindow* subWindow = r->workbench.mdiArea()->subWindowList().value(0);
        // As in the running workbench: the read is started from the main
        // event loop and the user closes the window while it runs.
        QEventLoop mainLoop;
        QTimer::singleShot(0, r->window, [&] {
            r->invoke("vRadAllSettings", Q_ARG(bool, true));
            mainLoop.quit();
        });
        QTimer::singleShot(300, subWindow, &QMdiSubWindow::close);
        mainLoop.exec();
        QTRY_COMPARE(r->workbench.openSensorCount(), 0);
    }

    void theUnitIsADisplaySettingWithoutWriting()
    {
        auto r = rig("UM060/113", "Test M18");
        r->window->form().actionWritePermanent->setChecked(false);
        QtProperty* point = r->property("SwitchingThresholdA1");
        r->manager<QtEnumPropertyManager>("MesurementUnit")->setValue(r->property("MesurementUnit"), 1);
        QTRY_VERIFY(point->propertyName().endsWith(" (inch)"));
        QCOMPARE(r->manager<QtDoublePropertyManager>("SwitchingThresholdA1")->value(point), 300 / 25.4);
        r->manager<QtEnumPropertyManager>("MesurementUnit")->setValue(r->property("MesurementUnit"), 0);
        QTRY_COMPARE(point->propertyName(), QString("Switching point A1 (mm)"));
        QCOMPARE(r->manager<QtDoublePropertyManager>("SwitchingThresholdA1")->value(point), 300.0);
        QVERIFY(r->sent().isEmpty());
    }
};

QTEST_MAIN(SensorLinkTest)
#include "tst_sensorlink.moc"
