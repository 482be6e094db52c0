// The sensor window against iolink-sim on a pseudo-terminal, its master misbehaving in one phase of work.
// A row is a phase, a fault and a seed ("read/silent/2") that places the fault and sets its length.
#include "SimulatorProcess.h"
#include <PtyRig.h>
#include <TestDocuments.h>

#include <link/RequestFrames.h>
#include <parameters/ValueCodec.h>

#include <qtpropertymanager.h>

#include <QAction>
#include <QTemporaryDir>

#include <random>

using NimbarSensorPlugin::Core::parseParameterAddress;
using NimbarSensorPlugin::Core::readRequest;
using NimbarSensorPlugin::Core::writeRequest;

namespace {

// Each phase with the answers the simulator gives in it on a sound line
// (live data: its first second); the fault begins somewhere among them.
const std::pair<QString, int> phaseRows[] = {{"connect", 44}, {"read", 35}, {"write", 32},
                                             {"live", 10},    {"edit", 3},  {"teach", 52}};

// Each fault with its simulator options (none: the test kills or stops it). Most answers are awaited 2 s; a
// late one comes just after. A fault's position seeds its cases: bit errors, added last, left the others'.
const char* const faultRows[] = {"silent --silent",     "drop --drop 1",   "badcheck --bad-check",
                                 "truncate --truncate", "random --random", "error --error",
                                 "late --delay 2100",   "kill ",           "stop ",
                                 "corrupt --corrupt"};

struct FaultCase
{
    FaultCase(int phaseIndex, int faultIndex, quint32 seed)
        : phase(phaseRows[phaseIndex].first), fault(QString(faultRows[faultIndex]).section(' ', 0, 0)),
          tag(QString("%1/%2/%3").arg(phase, fault).arg(seed))
    {
        std::mt19937 random(seed * 7919u + quint32(phaseIndex) * 131u + quint32(faultIndex));
        const int soundAnswers = int(random() % quint32(phaseRows[phaseIndex].second));
        // A few spoilt answers the window recovers from, or all from then on
        // (0), which take it offline; silence, kill and stop last.
        static const int spoilt[] = {1, 4, 0};
        const bool lasting = fault == "silent" || fault == "kill" || fault == "stop";
        const int faultyAnswers = fault == "drop" ? 1 : lasting ? 0 : spoilt[random() % 3];
        stoppedMs = 1500 + int(random() % 5000);
        arguments = QStringList{"--fault-on-signal", "--fault-after", QString::number(soundAnswers)};
        if (faultyAnswers > 0)
            arguments << "--fault-count" << QString::number(faultyAnswers);
        arguments += QString(faultRows[faultIndex]).split(' ', Qt::SkipEmptyParts).mid(1);
        description = tag + ": iolink-sim " + arguments.join(' ') +
                      (fault == "stop" ? QString(", stopped for %1 ms").arg(stoppedMs) : QString());
    }

    QString phase, fault, tag, description;
    int stoppedMs = 0;
    QStringList arguments;
};

// Index and subindex bytes of a write request as hex, empty for no write.
QString writtenAddress(const QString& request)
{
    const QStringList bytes = request.split(' ');
    return bytes.size() >= 6 && bytes[2] == "24" ? QStringList(bytes.mid(3, 3)).join(' ') : QString();
}

} // namespace

class FaultMatrixTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString document;
    PluginLibrary plugin;

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
        const int seeds = qEnvironmentVariableIntValue("IOLINK_FAULT_SEEDS");
        for (int phase = 0; phase < int(std::size(phaseRows)); ++phase)
            for (int fault = 0; fault < int(std::size(faultRows)); ++fault)
                for (uint seed = 1; seed <= uint(seeds > 0 ? seeds : 3); ++seed)
                    QTest::newRow(qPrintable(FaultCase(phase, fault, seed).tag)) << phase << fault << seed;
    }

    void run()
    {
        QFETCH(int, phase);
        QFETCH(int, fault);
        QFETCH(uint, seed);
        const FaultCase c(phase, fault, seed);
        qInfo().noquote() << c.description;
        const QString files = qEnvironmentVariable("IOLINK_FAULT_TRACE_DIR", dir.path()) + "/" +
                              QString(c.tag).replace('/', '-');

        const QStringList soundArguments{
            "--model", "UM060",      "--variant", "113",    "--baud",
            "38400",   "--document", document,    "--seed", QString::number(seed)};
        SimulatorProcess faulty;
        QString error;
        QVERIFY2(faulty.start(IOLINK_SIM, soundArguments + c.arguments, &error), qPrintable(error));
        PtyRig rig(plugin, files + "-setup.trace", "Test M18");
        QVERIFY(rig.window);
        DialogAnswers modals({}, true);
        rig.offer(faulty.path());
        const auto restart = [&](const char* file) {
            rig.restartTrace(files + file);
            rig.forgetMessages();
            modals.forgetBoxes();
        };

        if (c.phase != "connect") {
            rig.choose(faulty.path());
            QVERIFY2(waitUntil([&] { return rig.window->isConnected() && !rig.popupShown(); }, 30000),
                     qPrintable(modals.summary()));
        }

        const auto propertyOf = [&rig](const QString& id) {
            return rig.window->findProperty(rig.window->rootProperty(), id);
        };
        const auto addressOf = [&rig](const char* id) {
            return *parseParameterAddress(rig.window->parameterAddressMap().value(id));
        };
        const int editValue = 1000 + int(seed) * 37;

        // What the user does, the writes it may send and what shows it finished.
        std::function<void()> act = [] {};
        std::function<bool(const QString&)> asked = [](const QString&) { return false; };
        const auto connectedAndSaw = [&rig](const char* message) {
            return [&rig, message] { return rig.window->isConnected() && rig.sawMessage(message); };
        };
        std::function<bool()> completed = connectedAndSaw("Read from the sensor:");
        int limitMs = 90000, liveBefore = 0, liveAfter = 0;
        if (c.phase == "connect") {
            act = [&] { rig.choose(faulty.path()); };
        } else if (c.phase == "read") {
            act = [&] { rig.window->form().actionRead->trigger(); };
        } else if (c.phase == "write") {
            // Writing everything sends the writes of a sound line, or fewer.
            restart("-reference.trace");
            QTimer::singleShot(0, rig.window->form().actionWritePermanent, &QAction::trigger);
            QVERIFY(waitUntil([&] { return rig.sawMessage("Written to the sensor:") && !rig.popupShown(); },
                              60000));
            const QStringList reference = rig.writes();
            QVERIFY(!reference.isEmpty());
            asked = [reference](const QString& request) { return reference.contains(request); };
            act = [&] { rig.window->form().actionWritePermanent->trigger(); };
            completed = connectedAndSaw("Written to the sensor:");
        } else if (c.phase == "live") {
            completed = [&] { return rig.window->isConnected() && liveAfter > liveBefore; };
        } else if (c.phase == "edit") {
            const QString request = hex(writeRequest(addressOf("OnDelay1"), editValue));
            asked = [request](const QString& sent) { return sent == request; };
            act = [&] {
                QtProperty* edited = propertyOf("OnDelay1");
                static_cast<QtIntPropertyManager*>(edited->propertyManager())->setValue(edited, editValue);
            };
            // Answered, refused or not answered: the status bar says which.
            completed = connectedAndSaw("On delay");
            limitMs = 30000;
        } else {
            const QString button = writtenAddress(hex(writeRequest(addressOf("TEACHBUTTON1"), 1)));
            asked = [button](const QString& sent) { return writtenAddress(sent) == button; };
            act = [&] {
                QMetaObject::invokeMethod(rig.window, "buttonClicked",
                                          Q_ARG(QtProperty*, propertyOf("TEACHBUTTON1")));
            };
            // The taught switching point is read back after the button's write.
            const auto threshold = addressOf("SwitchingThresholdA1");
            const QString readBack = hex(readRequest(threshold.index, quint8(threshold.subIndex)));
            completed = [&, readBack] {
                const QStringList sent = rig.sent();
                const auto written = std::find_if(sent.cbegin(), sent.cend(), asked);
                return rig.window->isConnected() && !rig.popupShown() &&
                       std::find(written, sent.cend(), readBack) != sent.cend();
            };
            limitMs = 45000;
        }

        faulty.whenFaultsBegin([&faulty, &c] {
            if (c.fault == "kill")
                faulty.killNow();
            else if (c.fault == "stop" && faulty.stop())
                faulty.resumeAfter(c.stoppedMs);
        });

        // Live data must leave the rows, or writing everything would send them.
        const auto rowTexts = [&] {
            QStringList rows;
            for (const QString& id : rig.window->parameterAddressMap().keys()) {
                if (QtProperty* row = propertyOf(id))
                    rows << id + " = " + row->valueText();
            }
            return rows;
        };
        const QStringList rowsBefore = rowTexts();

        restart(".trace");
        TickWatch ticks;
        ticks.start();
        QVERIFY(!faulty.faultsBegun() && faulty.arm());
        bool returned = false;
        QTimer::singleShot(0, rig.window, [&] {
            act();
            returned = true;
        });

        const auto offlineAsSaid = [&] {
            return !rig.window->isConnected() &&
                   (modals.saw("Connecting to sensor",
                               "The sensor did not respond, please make sure it is properly connected.") ||
                    (c.phase == "connect" && modals.saw("Connecting to sensor...",
                                                        "The connected sensor does not match currently "
                                                        "selected sensor, please try again with the proper "
                                                        "sensor")));
        };
        if (c.phase == "live") {
            // Polls still answered after a stretch in which three unanswered would go offline.
            waitUntil(offlineAsSaid, 11000);
            liveBefore = int(rig.sent().size());
            if (!offlineAsSaid())
                QTest::qWait(2000);
            liveAfter = int(rig.sent().size());
        }
        waitUntil([&] { return returned && (completed() || offlineAsSaid()); }, limitMs);
        QTest::qWait(200);
        QVERIFY2(returned && (completed() || offlineAsSaid()),
                 qPrintable(QString("%1; neither finished nor offline as said: %2, boxes: %3, status: %4")
                                .arg(c.description, rig.window->isConnected() ? "connected" : "offline",
                                     modals.summary(), rig.messages.join(" | "))));

        QVERIFY2(faulty.faultsBegun(), "the phase ended before the fault began");

        // Rows live data changed, then writes nobody asked for.
        QStringList unasked = rig.writes();
        unasked.erase(std::remove_if(unasked.begin(), unasked.end(), asked), unasked.end());
        if (c.phase == "live")
            QCOMPARE(rowTexts(), rowsBefore);
        VERIFY_NONE(unasked);

        // A sound master on a new port: the window connects and reads it.
        if (rig.window->isConnected())
            rig.goOffline();
        faulty.kill();
        SimulatorProcess sound;
        QVERIFY2(sound.start(IOLINK_SIM, soundArguments, &error), qPrintable(error));
        rig.offer(sound.path());
        restart("-reconnect.trace");
        rig.choose(sound.path());
        QVERIFY2(waitUntil(connectedAndSaw("Read from the sensor:"), 40000),
                 qPrintable(c.description + "; no reconnect: " + modals.summary() +
                            ", status: " + rig.messages.join(" | ")));
        VERIFY_NONE(rig.writes());
        ticks.stop();
        // A window that stopped answering for longer counts as hung.
        QVERIFY2(ticks.longestGapMs() < 1500, qPrintable(QString::number(ticks.longestGapMs()) + " ms"));
    }
};

QTEST_MAIN(FaultMatrixTest)
#include "tst_faultmatrix.moc"
