// The window as hosts and users reach it: its slot table by index, and the
// chart's marks dragged with the mouse.
#include "HostRecord.h"

#include <CanvasDrag.h>

#include <window/SensorWindow.h>
#include <window/SensorWindowForm.h>

#include <extensionsystem/SensorBasic.h>
#include <utils/charts/GenericChart.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>

#include <qtpropertymanager.h>
#include <qwt_plot.h>

#include <QAction>
#include <QDockWidget>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QtTest>

#include <sstream>

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

} // namespace

class WindowSlotsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<SensorWindow> window;

    QtProperty* property(const char* id) const { return window->findProperty(window->rootProperty(), id); }
    void setDouble(const char* id, double value)
    {
        static_cast<QtDoublePropertyManager*>(property(id)->propertyManager())->setValue(property(id), value);
    }
    double doubleValue(const char* id) const
    {
        return static_cast<QtDoublePropertyManager*>(property(id)->propertyManager())->value(property(id));
    }
    Utils::ThresholdWindowWidgetUniversal* marks(int plot) const
    {
        return window->chart()->poPlot(plot)->findChild<Utils::ThresholdWindowWidgetUniversal*>();
    }
    void drag(int plot, Qt::Orientation along, double from, double to)
    {
        dragOnCanvas(window->chart()->poPlot(plot), along, from, to);
    }
    void showWindow()
    {
        window->resize(1200, 800);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->chart()->setEnabled(true);
        marks(0)->setReadOnly(false);
        marks(1)->setReadOnly(false);
    }

private slots:
    void init() { window = std::make_unique<SensorWindow>(hostRecord("RT5-6000-M30")); }
    void cleanup() { window.reset(); }

    void theSlotTableKeepsItsIndices()
    {
        const QMetaObject* meta = window->metaObject();
        QCOMPARE(meta->className(), "NimbarSensorPlugin::Core::SensorWindow");
        QCOMPARE(window->qt_metacast("NimbarSensorPlugin::Core::SensorWindow"),
                 static_cast<void*>(window.get()));
        QCOMPARE(window->qt_metacast("QMainWindow"),
                 static_cast<void*>(static_cast<QMainWindow*>(window.get())));
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
        static_cast<QtEnumPropertyManager*>(property("TeachInMode1")->propertyManager())
            ->setValue(property("TeachInMode1"), 2);
        setDouble("SwitchingThresholdA1", 500);
        setDouble("LowerThresholdA1", 20);
        setDouble("UpperThresholdA1", 30);
        QTRY_COMPARE(marks(0)->lowerMark(), 480.0);
        QCOMPARE(marks(0)->middleMark(), 500.0);
        QCOMPARE(marks(0)->upperMark(), 530.0);

        showWindow();
        // A narrow scale, so that one pixel is well below a millimetre.
        window->chart()->setScale(0, 440.0, 560.0);
        window->chart()->poPlot(0)->replot();
        drag(0, Qt::Vertical, 480, 470);
        QCOMPARE(doubleValue("LowerThresholdA1"), 30.0);
        QCOMPARE(marks(0)->lowerMark(), 470.0);
        QCOMPARE(doubleValue("SwitchingThresholdA1"), 500.0);
    }
};

QTEST_MAIN(WindowSlotsTest)
#include "tst_windowslots.moc"
