// The window as hosts and users reach it: its slot table by index, its
// title, ports, docks and edits, and the chart's marks dragged with the mouse.
#include "WindowUnderTest.h"
#include <ModalAnswers.h>

#include <CanvasDrag.h>

#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>

#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>
#include <qwt_plot.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QMetaMethod>
#include <QStatusBar>
#include <QTreeWidget>

using namespace NimbarSensorPlugin::Core;

namespace {

struct Method
{
    const char* signature;
    QMetaMethod::Access access;
    QMetaMethod::MethodType type;
};

const QMetaMethod::Access Public = QMetaMethod::Public;
const QMetaMethod::Access Protected = QMetaMethod::Protected;
const QMetaMethod::Access Private = QMetaMethod::Private;
const QMetaMethod::MethodType Signal = QMetaMethod::Signal;
const QMetaMethod::MethodType Slot = QMetaMethod::Slot;

// Hosts invoke the window by these indices.
const Method slotTable[] = {
    {"vAboutToClose()", Public, Signal},
    {"vSendData(QString)", Public, Signal},
    {"vSendFrame(ExtensionSystem::CommunicationInterface::DataFrame)", Public, Signal},
    {"vComPortSelected(QString)", Public, Signal},
    {"vUpdateChart(double)", Public, Signal},
    {"sendQuery()", Public, Signal},
    {"vOpenManual()", Public, Slot},
    {"updateChart()", Public, Slot},
    {"updateComPortList(QStringList)", Public, Slot},
    {"vRestoreFactorySettings()", Public, Slot},
    {"vExportChartData()", Public, Slot},
    {"vClearHistory()", Public, Slot},
    {"vPrintDocument()", Public, Slot},
    {"setWindowActive(bool)", Public, Slot},
    {"vAutoConnect(QString)", Public, Slot},
    {"vSensorUpdate(QVariant)", Public, Slot},
    {"vSetCompleteName(QString)", Public, Slot},
    {"vSaveSettings()", Public, Slot},
    {"bOpenSettings(QString)", Public, Slot},
    {"bOpenSettings()", Public, Slot},
    {"independentPlotZoomedSlot(int)", Private, Slot},
    {"resetIndependentPlotSlot(int)", Private, Slot},
    {"resizeIndependentPlotSlot(int)", Private, Slot},
    {"updateCheckState(QTreeWidgetItem*,int)", Protected, Slot},
    {"textEdited(QString)", Protected, Slot},
    {"vTextEditFinished()", Protected, Slot},
    {"vLoadSettings()", Protected, Slot},
    {"updateWindowTitle()", Protected, Slot},
    {"vConnectToPort(QString)", Protected, Slot},
    {"vDisconnect()", Protected, Slot},
    {"enableStatusChecking(bool)", Protected, Slot},
    {"removeSubProperties(QtProperty*)", Protected, Slot},
    {"queryStatusData(uint)", Protected, Slot},
    {"queryStatusData()", Protected, Slot},
    {"queryChartData()", Protected, Slot},
    {"slotContinousDataTimeout()", Protected, Slot},
    {"bCheckConnection()", Protected, Slot},
    {"bConnectToSensor()", Protected, Slot},
    {"itemSelected(QtBrowserItem*)", Protected, Slot},
    {"intValueChanged(QtProperty*,int)", Protected, Slot},
    {"doubleValueChanged(QtProperty*,double)", Protected, Slot},
    {"boolValueChanged(QtProperty*,bool)", Protected, Slot},
    {"stringValueChanged(QtProperty*,QString)", Protected, Slot},
    {"enumValueChanged(QtProperty*,int)", Protected, Slot},
    {"buttonClicked(QtProperty*)", Protected, Slot},
    {"sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame*,bool)", Protected, Slot},
    {"sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame*)", Protected, Slot},
    {"slotCurrentOutputChanged(int)", Protected, Slot},
    {"chartThresholdChanged(uint,double)", Protected, Slot},
    {"enableTreeDataHandling(bool)", Protected, Slot},
    {"enableStringManagerHandling(bool)", Protected, Slot},
    {"actionEnableLiveData()", Protected, Slot},
    {"actionConnectSensor(int)", Protected, Slot},
    {"sendDelayValue()", Protected, Slot},
    {"vUpdateProgressBar()", Protected, Slot},
    {"vWriteAllSettings(bool)", Protected, Slot},
    {"writeAllSettings()", Protected, Slot},
    {"vRadAllSettings(bool)", Protected, Slot},
    {"signalWriteModeIcon(bool)", Protected, Slot},
    {"signalWriteModeIcon()", Protected, Slot},
    {"vZommResetForNoiseLine()", Protected, Slot},
    {"comboIndexChangedString(QString)", Protected, Slot},
    {"comboIndexChangedInt(int)", Protected, Slot},
    {"slotUpdatingTeachValues()", Protected, Slot},
    {"compareWithSettingsFile()", Public, Slot},
    {"compareWithSettingsFile(QString)", Public, Slot},
    {"printReport()", Public, Slot},
};

QStringList itemTexts(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QTreeWidget* processDataTree(SensorWindow& window)
{
    return window.processDataDock()->findChild<QTreeWidget*>();
}

} // namespace

class SensorWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // An edit is the user's until written or dropped: marked, countable,
    // undone row by row or all at once, and never lost by closing unasked.
    void editsAreMarkedDroppedAndNotLostOnClosing()
    {
        SensorWindow window(hostRecord("RT5-350-M18"));
        QtProperty* delay = row(window, "OnDelay1");
        auto* ints = managerOf<QtIntPropertyManager>(window, "OnDelay1");
        const int held = ints->value(delay);
        ints->setValue(delay, held + 5);
        QCOMPARE(window.rowMark("OnDelay1"), QString("Not written to the sensor yet"));
        QVERIFY(delay->toolTip().startsWith("Not written to the sensor yet"));
        QtBrowserItem* item = window.parameterBrowser()->items(delay).value(0);
        QVERIFY(window.parameterBrowser()->isValueBold(item));
        auto* discard = window.findChild<QAction*>("discardChanges");
        QCOMPARE(discard->text(), QString("Discard all changes (1)"));

        // Closing asks; Cancel, the default, keeps the window and the edit.
        {
            DialogAnswers byDefault({reply(QMessageBox::NoButton)});
            QVERIFY(!window.close());
            QCOMPARE(byDefault.texts.value(0),
                     QString("1 parameter(s) have changes that were not written to the sensor."));
        }
        QCOMPARE(ints->value(delay), held + 5);

        discard->trigger();
        QCOMPARE(ints->value(delay), held);
        QCOMPARE(window.rowMark("OnDelay1"), QString());
        QVERIFY(!window.parameterBrowser()->isValueBold(item));
        QCOMPARE(discard->text(), QString("Discard all changes (0)"));
        DialogAnswers unasked({reply(QMessageBox::NoButton)});
        QVERIFY(window.close());
        QCOMPARE(unasked.answered(), 0);
    }

    void startsOfflineWithItsCatalogueRecord()
    {
        SensorWindow window(hostRecord("RT5-1300-M30"));
        QCOMPARE(window.sensorRecord().id(), std::string("UK130"));
        QCOMPARE(window.windowTitle(), QString("RT5-1300-M30 (Offline)"));
        QCOMPARE(window.statusBar()->currentMessage(), QString("RT5-1300-M30 (Offline)"));
        QVERIFY(!window.isConnected());
        QCOMPARE(itemTexts(window.portSelector()), (QStringList{"Offline", QString()}));
    }

    void aSensorTheDocumentLacksStillGetsAWindow()
    {
        SensorWindow window(hostRecord("RT9-unknown"));
        QVERIFY(window.sensorRecord().tree.empty());
        QCOMPARE(window.sensorRecord().characterDelay(), 0);
        QCOMPARE(window.windowTitle(), QString(" (Offline)"));
    }

    void portListRefreshKeepsOrDropsTheSelection()
    {
        SensorWindow window(hostRecord("RT5-350-M18"));
        QComboBox* selector = window.portSelector();
        window.updateComPortList({"/dev/ttyS0", "/dev/ttyUSB0"});
        QCOMPARE(itemTexts(selector), (QStringList{"Offline", QString(), "/dev/ttyS0", "/dev/ttyUSB0"}));
        QCOMPARE(selector->currentIndex(), 0);

        selector->setCurrentIndex(3);
        window.updateComPortList({"/dev/ttyUSB0", "/dev/ttyUSB1"});
        QCOMPARE(selector->currentText(), QString("/dev/ttyUSB0"));
        QCOMPARE(selector->currentIndex(), 2);

        window.updateComPortList({"/dev/ttyUSB1"});
        QCOMPARE(selector->currentIndex(), -1);
        // Still nothing selected after a further refresh: not the separator.
        window.updateComPortList({"/dev/ttyUSB2"});
        QCOMPARE(selector->currentIndex(), -1);

        // Matching is exact: a differently cased name is another port.
        window.updateComPortList({"COM3"});
        selector->setCurrentIndex(2);
        window.updateComPortList({"com3"});
        QCOMPARE(selector->currentIndex(), -1);
    }

    void presentationModeShowsTheDistancePlotAndTheProcessData()
    {
        SensorWindow window(hostRecord("RT5-350-M18"));
        QTreeWidget* tree = processDataTree(window);
        window.vSensorUpdate(true);
        QVERIFY(window.propertyTreeDock()->isHidden());
        QVERIFY(window.observationDock()->isHidden());
        QVERIFY(!window.chart()->getDockChartItem(0)->isHidden());
        QVERIFY(window.chart()->getDockChartItem(1)->isHidden());
        QVERIFY(!window.processDataDock()->isHidden());
        // The distance and the outputs' LEDs stay in view.
        QVERIFY(tree->topLevelItem(0)->isExpanded());
        QVERIFY(tree->topLevelItem(1)->isExpanded());
        QVERIFY(!tree->topLevelItem(2)->isExpanded());
        QVERIFY(!tree->topLevelItem(3)->isExpanded());

        window.vSensorUpdate(false);
        QVERIFY(!window.chart()->getDockChartItem(0)->isHidden());
        QVERIFY(!window.propertyTreeDock()->isHidden());
        QVERIFY(!window.observationDock()->isHidden());
        QVERIFY(tree->topLevelItem(2)->isExpanded());
    }

    void autoConnectAsksForTheLastPortOfThatNameAndGoesBackOfflineWithoutIt()
    {
        SensorWindow window(hostRecord("RT5-350-M18"));
        window.updateComPortList({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB0"});
        QStringList asked;
        connect(&window, &SensorWindow::vComPortSelected, this, [&](const QString& port) {
            asked << port + "@" + QString::number(window.portSelector()->currentIndex());
        });
        // Nobody registers the port, so there is no sensor to talk to.
        window.vAutoConnect("/dev/ttyUSB0");
        // The selector says Offline before the port is let go, and so does the title.
        QCOMPARE(asked, (QStringList{"@0", "/dev/ttyUSB0@4", "@0"}));
        QCOMPARE(window.portSelector()->currentIndex(), 0);
        QCOMPARE(window.windowTitle(), QString("RT5-350-M18 (Offline)"));
        QVERIFY(!window.isConnected());
    }

    void closingDisconnectsThenAnnouncesIt()
    {
        SensorWindow window(hostRecord("RT5-350-M18"));
        window.show();
        QStringList order;
        connect(&window, &SensorWindow::vComPortSelected, this,
                [&](const QString& port) { order << "port " + port; });
        connect(&window, &SensorWindow::vAboutToClose, this, [&] { order << "about to close"; });
        QVERIFY(window.close());
        QCOMPARE(order, (QStringList{"port ", "about to close"}));
        QVERIFY(!window.isVisible());
    }
    void theSlotTableKeepsItsIndices()
    {
        SensorWindow window(hostRecord("RT5-6000-M30"));
        const QMetaObject* meta = window.metaObject();
        QCOMPARE(meta->className(), "NimbarSensorPlugin::Core::SensorWindow");
        QCOMPARE(window.qt_metacast("NimbarSensorPlugin::Core::SensorWindow"), static_cast<void*>(&window));
        QCOMPARE(window.qt_metacast("QMainWindow"), static_cast<void*>(static_cast<QMainWindow*>(&window)));
        QCOMPARE(meta->methodCount() - meta->methodOffset(), int(std::size(slotTable)));
        for (int k = 0; k < int(std::size(slotTable)); ++k) {
            const QMetaMethod method = meta->method(meta->methodOffset() + k);
            const QByteArray where = QByteArray::number(k) + ": " + method.methodSignature();
            QCOMPARE(method.methodSignature(), QByteArray(slotTable[k].signature));
            QVERIFY2(method.access() == slotTable[k].access, where.constData());
            QVERIFY2(method.methodType() == slotTable[k].type, where.constData());
        }
    }

    // Window mode: lower and upper marks stand at the switching point minus
    // and plus the half widths; dragging one stores its new half width.
    void draggingAWindowMarkStoresItsHalfWidth()
    {
        SensorWindow window(hostRecord("RT5-6000-M30"));
        QwtPlot* plot = window.chart()->poPlot(0);
        auto* marks = plot->findChild<Utils::ThresholdWindowWidgetUniversal*>();
        auto* doubles = managerOf<QtDoublePropertyManager>(window, "SwitchingThresholdA1");
        managerOf<QtEnumPropertyManager>(window, "TeachInMode1")->setValue(row(window, "TeachInMode1"), 2);
        doubles->setValue(row(window, "SwitchingThresholdA1"), 500);
        doubles->setValue(row(window, "LowerThresholdA1"), 20);
        doubles->setValue(row(window, "UpperThresholdA1"), 30);
        QTRY_COMPARE(marks->lowerMark(), 480.0);
        QCOMPARE(marks->upperMark(), 530.0);

        showWithChart(window);
        marks->setReadOnly(false);
        // A narrow scale, so that one pixel is well below a millimetre.
        window.chart()->setScale(0, 440.0, 560.0);
        plot->replot();
        dragOnCanvas(plot, Qt::Vertical, 480, 470);
        QCOMPARE(doubles->value(row(window, "LowerThresholdA1")), 30.0);
        QCOMPARE(marks->lowerMark(), 470.0);
        QCOMPARE(doubles->value(row(window, "SwitchingThresholdA1")), 500.0);
    }
};

QTEST_MAIN(SensorWindowTest)
#include "tst_sensorwindow.moc"
