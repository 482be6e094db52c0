#include "HostRecord.h"

#include <window/SensorWindow.h>

#include <utils/charts/GenericChart.h>

#include <QPushButton>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>

#include <memory>

using namespace NimbarSensorPlugin::Core;

namespace {

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
        QtProperty* delay = window.findProperty(window.rootProperty(), "OnDelay1");
        auto* ints = static_cast<QtIntPropertyManager*>(delay->propertyManager());
        const int held = ints->value(delay);
        ints->setValue(delay, held + 5);
        QCOMPARE(window.rowMark("OnDelay1"), QString("Not written to the sensor yet"));
        QVERIFY(delay->toolTip().startsWith("Not written to the sensor yet"));
        QtBrowserItem* row = window.parameterBrowser()->items(delay).value(0);
        QVERIFY(window.parameterBrowser()->isValueBold(row));
        auto* discard = window.findChild<QAction*>("discardChanges");
        QCOMPARE(discard->text(), QString("Discard all changes (1)"));

        // Closing asks; Cancel, the default, keeps the window and the edit.
        QString asked;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked = box->text();
                box->defaultButton()->click();
            }
        });
        answer.start(10);
        QVERIFY(!window.close());
        QCOMPARE(asked, QString("1 parameter(s) have changes that were not written to the sensor."));
        QCOMPARE(ints->value(delay), held + 5);

        discard->trigger();
        QCOMPARE(ints->value(delay), held);
        QCOMPARE(window.rowMark("OnDelay1"), QString());
        QVERIFY(!window.parameterBrowser()->isValueBold(row));
        QCOMPARE(discard->text(), QString("Discard all changes (0)"));
        asked.clear();
        QVERIFY(window.close());
        QCOMPARE(asked, QString());
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
};

QTEST_MAIN(SensorWindowTest)
#include "tst_sensorwindow.moc"
