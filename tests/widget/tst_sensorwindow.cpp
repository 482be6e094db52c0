#include "WindowUnderTest.h"
#include <ModalAnswers.h>

#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>

#include <QAction>
#include <QComboBox>
#include <QMetaMethod>

using namespace NimbarSensorPlugin::Core;

namespace {

// Hosts invoke the window by these indices: runs of methods of one kind, in order.
const QStringList slotTable = {
    "signal: vAboutToClose() vSendData(QString)"
    " vSendFrame(ExtensionSystem::CommunicationInterface::DataFrame) vComPortSelected(QString)"
    " vUpdateChart(double) sendQuery()",
    "public: vOpenManual() updateChart() updateComPortList(QStringList) vRestoreFactorySettings()"
    " vExportChartData() vClearHistory() vPrintDocument() setWindowActive(bool) vAutoConnect(QString)"
    " vSensorUpdate(QVariant) vSetCompleteName(QString) vSaveSettings() bOpenSettings(QString)"
    " bOpenSettings()",
    "private: independentPlotZoomedSlot(int) resetIndependentPlotSlot(int)"
    " resizeIndependentPlotSlot(int)",
    "protected: updateCheckState(QTreeWidgetItem*,int) textEdited(QString) vTextEditFinished()"
    " vLoadSettings() updateWindowTitle() vConnectToPort(QString) vDisconnect()"
    " enableStatusChecking(bool) removeSubProperties(QtProperty*) queryStatusData(uint)"
    " queryStatusData() queryChartData() slotContinousDataTimeout() bCheckConnection()"
    " bConnectToSensor() itemSelected(QtBrowserItem*) intValueChanged(QtProperty*,int)"
    " doubleValueChanged(QtProperty*,double) boolValueChanged(QtProperty*,bool)"
    " stringValueChanged(QtProperty*,QString) enumValueChanged(QtProperty*,int)"
    " buttonClicked(QtProperty*)"
    " sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame*,bool)"
    " sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame*) slotCurrentOutputChanged(int)"
    " chartThresholdChanged(uint,double) enableTreeDataHandling(bool) enableStringManagerHandling(bool)"
    " actionEnableLiveData() actionConnectSensor(int) sendDelayValue() vUpdateProgressBar()"
    " vWriteAllSettings(bool) writeAllSettings() vRadAllSettings(bool) signalWriteModeIcon(bool)"
    " signalWriteModeIcon() vZommResetForNoiseLine() comboIndexChangedString(QString)"
    " comboIndexChangedInt(int) slotUpdatingTeachValues()",
    "public: compareWithSettingsFile() compareWithSettingsFile(QString) printReport()"};

QStringList itemTexts(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace

class SensorWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theSlotTableKeepsItsIndices()
    {
        SensorWindow window(hostRecord("RT5-6000-M30"));
        const QMetaObject* meta = window.metaObject();
        QCOMPARE(window.qt_metacast("NimbarSensorPlugin::Core::SensorWindow"), static_cast<void*>(&window));
        QCOMPARE(window.qt_metacast("QMainWindow"), static_cast<void*>(static_cast<QMainWindow*>(&window)));
        QStringList found;
        for (int k = meta->methodOffset(); k < meta->methodCount(); ++k) {
            const QMetaMethod method = meta->method(k);
            const QString kind = method.methodType() == QMetaMethod::Signal ? "signal:"
                                 : method.access() == QMetaMethod::Public   ? "public:"
                                 : method.access() == QMetaMethod::Private  ? "private:"
                                                                            : "protected:";
            if (found.isEmpty() || !found.last().startsWith(kind))
                found << kind;
            found.last() += " " + method.methodSignature();
        }
        QCOMPARE(found, slotTable);
    }

    // An edit is the user's until written or dropped: marked, countable,
    // undone all at once, and never lost by closing unasked.
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
            QCOMPARE(byDefault.texts,
                     QStringList{"1 parameter(s) have changes that were not written to the sensor."});
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

    // Matching is exact: a differently cased name is another port; once
    // dropped, the selection stays empty rather than landing on the separator.
    void portListRefreshKeepsOrDropsTheSelection()
    {
        SensorWindow window(hostRecord("RT5-1300-M30"));
        QComboBox* selector = window.portSelector();
        window.updateComPortList({"/dev/ttyS0", "/dev/ttyUSB0"});
        QCOMPARE(itemTexts(selector), (QStringList{"Offline", QString(), "/dev/ttyS0", "/dev/ttyUSB0"}));
        QCOMPARE(selector->currentIndex(), 0);
        selector->setCurrentIndex(3);
        QList<int> selected;
        for (const QStringList& ports : QList<QStringList>{
                 {"/dev/ttyUSB0", "/dev/ttyUSB1"}, {"/dev/ttyUSB1"}, {"/dev/ttyUSB2"}, {"COM3"}, {"com3"}}) {
            if (ports.first() == "com3")
                selector->setCurrentIndex(2);
            window.updateComPortList(ports);
            selected << selector->currentIndex();
        }
        QCOMPARE(selected, (QList<int>{2, -1, -1, -1, -1}));
        // A sensor the document lacks still gets a window.
        SensorWindow unknown(hostRecord("RT9-unknown"));
        QCOMPARE(unknown.windowTitle(), QString(" (Offline)"));
    }

    void autoConnectAsksForTheLastPortOfThatNameAndGoesBackOfflineWithoutIt()
    {
        SensorWindow window(hostRecord("RT5-350-M18"));
        window.updateComPortList({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB0"});
        QStringList asked;
        connect(&window, &SensorWindow::vComPortSelected, this, [&](const QString& port) {
            asked << port + "@" + QString::number(window.portSelector()->currentIndex());
        });
        // Nobody registers the port, so there is no sensor to talk to. The
        // selector says Offline before the port is let go, and so does the title.
        window.vAutoConnect("/dev/ttyUSB0");
        QCOMPARE(asked, (QStringList{"@0", "/dev/ttyUSB0@4", "@0"}));
        QCOMPARE(window.windowTitle(), QString("RT5-350-M18 (Offline)"));
        QVERIFY(!window.isConnected());

        // Closing disconnects first, then announces it.
        window.show();
        asked.clear();
        connect(&window, &SensorWindow::vAboutToClose, this, [&] { asked << "about to close"; });
        QVERIFY(window.close());
        QCOMPARE(asked, (QStringList{"@0", "about to close"}));
    }
};

QTEST_MAIN(SensorWindowTest)
#include "tst_sensorwindow.moc"
