#include "WindowUnderTest.h"
#include <FileFaults.h>
#include <ModalAnswers.h>
#include <plugin/SensorInterface.h>

#include <qtpropertymanager.h>

#include <QAction>
#include <QComboBox>

using namespace NimbarSensorPlugin::Core;

class SensorWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // Hosts invoke the window and the plug-in's interface by the indices of their methods: their kinds and
    // signatures, in order.
    void theSlotTablesKeepTheirIndices()
    {
        SensorWindow window(hostRecord("RT5-6000-M30"));
        QCOMPARE(window.qt_metacast("NimbarSensorPlugin::Core::SensorWindow"), static_cast<void*>(&window));
        QCOMPARE(window.qt_metacast("QMainWindow"), static_cast<void*>(static_cast<QMainWindow*>(&window)));
        const std::pair<const QMetaObject*, QString> tables[] = {
            {window.metaObject(), "sensorwindow-slots.txt"},
            {&SensorInterface::staticMetaObject, "sensorinterface-slots.txt"}};
        for (const auto& [meta, file] : tables) {
            QStringList found;
            for (int k = meta->methodOffset(); k < meta->methodCount(); ++k) {
                const QMetaMethod method = meta->method(k);
                found << (method.methodType() == QMetaMethod::Signal ? "signal: "
                          : method.access() == QMetaMethod::Public   ? "public: "
                          : method.access() == QMetaMethod::Private  ? "private: "
                                                                     : "protected: ") +
                             method.methodSignature();
            }
            QCOMPARE(
                found,
                QString::fromLatin1(contentOf(WIDGET_TEST_DATA "/" + file)).split('\n', Qt::SkipEmptyParts));
        }
    }

    // Auto-connect asks for the last port of that name; unregistered, it goes Offline before letting go. An
    // edit is the user's until written or dropped: marked, countable, undone all at once, never lost by
    // closing unasked; closing disconnects first.
    void autoConnectGoesBackOfflineAndEditsAreNotLostOnClosing()
    {
        SensorWindow window(hostRecord("RT5-350-M18"));
        window.updateComPortList({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB0"});
        QStringList asked;
        connect(&window, &SensorWindow::vComPortSelected, this, [&](const QString& port) {
            asked << port + "@" + QString::number(window.portSelector()->currentIndex());
        });
        connect(&window, &SensorWindow::vAboutToClose, this, [&] { asked << "about to close"; });
        window.vAutoConnect("/dev/ttyUSB0");
        QCOMPARE(asked, (QStringList{"@0", "/dev/ttyUSB0@4", "@0"}));
        QVERIFY(window.windowTitle() == "RT5-350-M18 (Offline)" && !window.isConnected());
        asked.clear();

        QtProperty* delay = row(window, "OnDelay1");
        auto* ints = managerOf<QtIntPropertyManager>(window, "OnDelay1");
        const int held = ints->value(delay);
        ints->setValue(delay, held + 5);
        auto* discard = window.findChild<QAction*>("discardChanges");
        QCOMPARE((QStringList{window.rowMark("OnDelay1"), discard->text()}),
                 (QStringList{"Not written to the sensor yet", "Discard all changes (1)"}));
        window.show();
        // Closing asks; Cancel, the default, keeps the window and the edit.
        {
            DialogAnswers byDefault({reply(QMessageBox::NoButton)});
            QVERIFY(!window.close());
            QCOMPARE(byDefault.texts,
                     QStringList{"1 parameter(s) have changes that were not written to the sensor."});
        }
        QCOMPARE(ints->value(delay), held + 5);

        discard->trigger();
        QCOMPARE(
            (QStringList{QString::number(ints->value(delay)), window.rowMark("OnDelay1"), discard->text()}),
            (QStringList{QString::number(held), QString(), "Discard all changes (0)"}));
        DialogAnswers unasked({reply(QMessageBox::NoButton)});
        QVERIFY(window.close());
        QCOMPARE(unasked.answered(), 0);
        QCOMPARE(asked, (QStringList{"@0", "about to close"}));
    }
};

QTEST_MAIN(SensorWindowTest)
#include "tst_sensorwindow.moc"
