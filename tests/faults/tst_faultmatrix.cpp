// The sensor window against iolink-sim on a pseudo-terminal, the master
// misbehaving from a point within one phase of the user's work. Whatever
// the fault, the window must not crash, must keep answering, must finish
// what it was doing or go offline saying why, must send the sensor no value
// the user did not give, and must connect to a sound master afterwards.
//
// One row is one phase, one fault and one seed ("read/silent/2"); the seed
// places the fault within the phase and sets how long it lasts. Every row
// runs in a process of its own when scripts/faults runs the whole matrix.
#include "FaultCase.h"
#include "SimulatorProcess.h"
#include <PtyRig.h>
#include <TestDocuments.h>

#include <link/RequestFrames.h>
#include <parameters/ValueCodec.h>

#include <qtpropertymanager.h>

#include <QAction>
#include <QTemporaryDir>

using namespace FaultMatrix;
using NimbarSensorPlugin::Core::parseParameterAddress;
using NimbarSensorPlugin::Core::readRequest;
using NimbarSensorPlugin::Core::writeRequest;

namespace {

const QString lostTitle = "Connecting to sensor";
const QString lostText = "The sensor did not respond, please make sure it is properly connected.";
const QString connectFailedTitle = "Connecting to sensor...";
const QString connectFailedText =
    "The connected sensor does not match currently selected sensor, please try again with the proper sensor";

// A window that stops answering for longer than this counts as hung.
constexpr qint64 longestGapMs = 1500;

// Index and subindex bytes of a write request as hex, empty for no write.
QString writtenAddress(const QString& request)
{
    const QStringList bytes = request.split(' ');
    return bytes.size() >= 6 && bytes[2] == "24" ? QStringList(bytes.mid(3, 3)).join(' ') : QString();
}

int seedCount()
{
    bool ok = false;
    const int seeds = qEnvironmentVariableIntValue("IOLINK_FAULT_SEEDS", &ok);
    return ok && seeds > 0 ? seeds : 3;
}

} // namespace

class FaultMatrixTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString document;
    PluginLibrary plugin;

    QStringList simulatorArguments(quint32 seed) const
    {
        return {"--model", "UM060",      "--variant", "113",    "--baud",
                "38400",   "--document", document,    "--seed", QString::number(seed)};
    }

private slots:
    void initTestCase()
    {
        document = useLinkTestDocument(dir.path());
        QVERIFY(!document.isEmpty());
        QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
    }

    void run_data()
    {
        QTest::addColumn<int>("phase");
        QTest::addColumn<int>("fault");
        QTest::addColumn<uint>("seed");
        for (const PhaseRow& phaseRow : phaseRows) {
            for (const FaultRow& faultRow : faultRows) {
                for (uint seed = 1; seed <= uint(seedCount()); ++seed) {
                    const FaultCase c = makeCase(phaseRow.phase, faultRow.fault, seed);
                    QTest::newRow(qPrintable(c.tag())) << int(c.phase) << int(c.fault) << seed;
                }
            }
        }
    }

    void run()
    {
        QFETCH(int, phase);
        QFETCH(int, fault);
        QFETCH(uint, seed);
        const FaultCase c = makeCase(Phase(phase), Fault(fault), seed);
        qInfo().noquote() << c.describe();
        // The protocol traces of the run stay in IOLINK_FAULT_TRACE_DIR when it is set.
        const QString traceDir = qEnvironmentVariable("IOLINK_FAULT_TRACE_DIR", dir.path());
        const QString files = traceDir + "/" + QString(c.tag()).replace('/', '-');

        SimulatorProcess faulty;
        QString error;
        QVERIFY2(faulty.start(IOLINK_SIM, simulatorArguments(seed) + c.simulatorArguments(), &error),
                 qPrintable(error));
        PtyRig rig(plugin, files + "-setup.trace", "Test M18");
        QVERIFY(rig.window);
        ModalAnswers modals;
        rig.offer(faulty.path());

        // Every phase but connecting starts from a sensor connected on a
        // sound line, with live data running again.
        if (c.phase != Phase::Connect) {
            rig.choose(faulty.path());
            QVERIFY2(waitUntil([&] { return rig.window->isConnected() && !rig.popupShown(); }, 30000),
                     qPrintable(modals.summary()));
        }

        // The writes the phase may send: only what the test gives the sensor.
        std::function<bool(const QString&)> asked = [](const QString&) { return false; };
        const int editValue = 1000 + int(seed) * 37;
        QtProperty* edited = rig.window->findProperty(rig.window->rootProperty(), "OnDelay1");
        QtProperty* teachButton = rig.window->findProperty(rig.window->rootProperty(), "TEACHBUTTON1");
        QVERIFY(edited && teachButton);
        const auto addressOf = [&rig](const char* id) {
            return parseParameterAddress(rig.window->parameterAddressMap().value(id));
        };
        if (c.phase == Phase::WriteAll) {
            // Writing everything sends what the tree shows: the same writes
            // as on a sound line, or fewer.
            rig.restartTrace(files + "-reference.trace");
            rig.forgetMessages();
            QTimer::singleShot(0, rig.window->form().actionWritePermanent, &QAction::trigger);
            QVERIFY(waitUntil([&] { return rig.sawMessage("Written to the sensor:") && !rig.popupShown(); },
                              60000));
            const QStringList reference = rig.writes();
            QVERIFY(!reference.isEmpty());
            asked = [reference](const QString& request) { return reference.contains(request); };
        } else if (c.phase == Phase::Edit) {
            const auto address = addressOf("OnDelay1");
            QVERIFY(address);
            const QString request = hex(writeRequest(*address, editValue));
            asked = [request](const QString& sent) { return sent == request; };
        } else if (c.phase == Phase::Teach) {
            const auto address = addressOf("TEACHBUTTON1");
            QVERIFY(address);
            const QString button = writtenAddress(hex(writeRequest(*address, 1)));
            asked = [button](const QString& sent) { return writtenAddress(sent) == button; };
        }

        if (c.fault == Fault::Kill) {
            faulty.whenFaultsBegin([&faulty] { faulty.killNow(); });
        } else if (c.fault == Fault::Stop) {
            faulty.whenFaultsBegin([&faulty, stoppedMs = c.stoppedMs] {
                faulty.stop();
                faulty.resumeAfter(stoppedMs);
            });
        }

        // Live data shows what the sensor sends, and the simulated sensor
        // changes none of its parameters on its own: the rows must stay as
        // they are, or a later write of everything would send what nobody gave.
        const auto rowTexts = [&rig] {
            QStringList rows;
            const QStringList ids = rig.window->parameterAddressMap().keys();
            for (const QString& id : ids) {
                if (QtProperty* row = rig.window->findProperty(rig.window->rootProperty(), id))
                    rows << id + " = " + row->valueText();
            }
            return rows;
        };
        const QStringList rowsBefore = rowTexts();

        rig.restartTrace(files + ".trace");
        rig.forgetMessages();
        modals.boxes.clear();
        TickWatch ticks;
        ticks.start();
        QVERIFY(faulty.arm());

        bool returned = false;
        QElapsedTimer phaseClock;
        phaseClock.start();
        switch (c.phase) {
        case Phase::Connect:
            QTimer::singleShot(0, rig.window, [&] {
                rig.choose(faulty.path());
                returned = true;
            });
            break;
        case Phase::ReadAll:
            QTimer::singleShot(0, rig.window, [&] {
                rig.window->form().actionRead->trigger();
                returned = true;
            });
            break;
        case Phase::WriteAll:
            QTimer::singleShot(0, rig.window, [&] {
                rig.window->form().actionWritePermanent->trigger();
                returned = true;
            });
            break;
        case Phase::LiveData:
            returned = true;
            break;
        case Phase::Edit:
            QTimer::singleShot(0, rig.window, [&] {
                static_cast<QtIntPropertyManager*>(edited->propertyManager())->setValue(edited, editValue);
                returned = true;
            });
            break;
        case Phase::Teach:
            QTimer::singleShot(0, rig.window, [&] {
                QMetaObject::invokeMethod(rig.window, "buttonClicked", Q_ARG(QtProperty*, teachButton));
                returned = true;
            });
            break;
        }

        const auto offlineAsSaid = [&] {
            return !rig.window->isConnected() &&
                   (modals.saw(lostTitle, lostText) ||
                    (c.phase == Phase::Connect && modals.saw(connectFailedTitle, connectFailedText)));
        };
        const auto taughtThresholdReadBack = [&] {
            const QStringList sent = rig.sent();
            int written = -1;
            for (int k = 0; k < sent.size() && written < 0; ++k) {
                if (asked(sent[k]))
                    written = k;
            }
            const auto threshold = addressOf("SwitchingThresholdA1");
            return written >= 0 && threshold &&
                   sent.mid(written).contains(
                       hex(readRequest(threshold->index, quint8(threshold->subIndex))));
        };
        std::function<bool()> completed;
        int limitMs = 60000;
        switch (c.phase) {
        case Phase::Connect:
        case Phase::ReadAll:
            completed = [&] { return rig.window->isConnected() && rig.sawMessage("Read from the sensor:"); };
            limitMs = 90000;
            break;
        case Phase::WriteAll:
            completed = [&] { return rig.window->isConnected() && rig.sawMessage("Written to the sensor:"); };
            limitMs = 90000;
            break;
        case Phase::LiveData: {
            // Polls still answered at the end of a stretch in which three
            // unanswered ones would have taken the window offline.
            waitUntil(offlineAsSaid, 11000);
            const int before = int(rig.sent().size());
            if (!offlineAsSaid())
                QTest::qWait(2000);
            const int after = int(rig.sent().size());
            completed = [&rig, before, after] { return rig.window->isConnected() && after > before; };
            break;
        }
        case Phase::Edit:
            // The write was answered, refused or not answered: the status bar says which.
            completed = [&] { return rig.window->isConnected() && rig.sawMessage("On delay"); };
            limitMs = 30000;
            break;
        case Phase::Teach:
            completed = [&] {
                return rig.window->isConnected() && !rig.popupShown() && taughtThresholdReadBack();
            };
            limitMs = 45000;
            break;
        }
        waitUntil([&] { return returned && (completed() || offlineAsSaid()); }, limitMs);
        QTest::qWait(200);
        const bool finished = returned && completed();
        const bool offline = offlineAsSaid();
        qInfo().noquote() << (finished  ? "finished"
                              : offline ? "offline as said"
                                        : "neither")
                          << "after" << phaseClock.elapsed() << "ms;" << modals.summary();
        QVERIFY2(finished || offline,
                 qPrintable(QString("%1; neither finished nor offline as said: %2, boxes: %3, status: %4")
                                .arg(c.describe(), rig.window->isConnected() ? "connected" : "offline",
                                     modals.summary(), rig.messages.join(" | "))));

        // A phase that ended before its fault began would prove nothing.
        QVERIFY2(faulty.faultsBegun(), qPrintable(c.describe() + "; the phase ended before the fault began"));

        if (c.phase == Phase::LiveData) {
            const QStringList rowsAfter = rowTexts();
            QStringList changed;
            for (int k = 0; k < rowsBefore.size() && k < rowsAfter.size(); ++k) {
                if (rowsBefore[k] != rowsAfter[k])
                    changed << rowsBefore[k] + " became " + rowsAfter[k].section(" = ", 1);
            }
            QVERIFY2(changed.isEmpty(),
                     qPrintable(c.describe() + "; live data changed rows: " + changed.join("; ")));
        }

        QStringList unasked;
        for (const QString& request : rig.writes()) {
            if (!asked(request))
                unasked << request;
        }
        QVERIFY2(unasked.isEmpty(),
                 qPrintable(c.describe() + "; writes nobody asked for: " + unasked.join("; ")));

        // A sound master on a new port: the window connects and reads it.
        if (rig.window->isConnected())
            rig.goOffline();
        faulty.kill();
        SimulatorProcess sound;
        QVERIFY2(sound.start(IOLINK_SIM, simulatorArguments(seed), &error), qPrintable(error));
        rig.offer(sound.path());
        rig.restartTrace(files + "-reconnect.trace");
        rig.forgetMessages();
        modals.boxes.clear();
        rig.choose(sound.path());
        QVERIFY2(
            waitUntil([&] { return rig.window->isConnected() && rig.sawMessage("Read from the sensor:"); },
                      40000),
            qPrintable(c.describe() + "; no reconnect: " + modals.summary() +
                       ", status: " + rig.messages.join(" | ")));
        VERIFY_NONE(rig.writes());
        ticks.stop();
        QVERIFY2(ticks.longestGapMs() < longestGapMs,
                 qPrintable(QString("%1; the window did not answer for %2 ms")
                                .arg(c.describe())
                                .arg(ticks.longestGapMs())));
    }
};

QTEST_MAIN(FaultMatrixTest)
#include "tst_faultmatrix.moc"
