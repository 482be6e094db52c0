// The sensor window against iolink-sim on a pseudo-terminal, the master
// misbehaving from a point within one phase of the user's work. Whatever
// the fault, the window must not crash, must keep answering, must finish
// what it was doing or go offline saying why, must send the sensor no value
// the user did not give, and must connect to a sound master afterwards.
//
// One row is one phase, one fault and one seed ("read/silent/2"); the seed
// places the fault within the phase and sets how long it lasts. Every row
// runs in a process of its own when scripts/faults runs the whole matrix.
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

enum class Phase
{
    Connect,
    ReadAll,
    WriteAll,
    LiveData,
    Edit,
    Teach
};

// Each phase with the answers the simulator gives in it on a sound line with
// the small test document, counted from the moment the test starts the phase
// (live data: its first second). The fault begins somewhere among them.
struct PhaseRow
{
    Phase phase;
    const char* name;
    int answers;
};
const PhaseRow phaseRows[] = {{Phase::Connect, "connect", 44}, {Phase::ReadAll, "read", 35},
                              {Phase::WriteAll, "write", 32},  {Phase::LiveData, "live", 10},
                              {Phase::Edit, "edit", 3},        {Phase::Teach, "teach", 52}};

// Each fault: its name, then the simulator's options for it (none: a killed or
// stopped simulator, signalled by the test when the fault is due). Most
// answers are awaited for 2 s; a late answer comes just after that. A fault's
// position seeds its cases: bit errors, added last, left the others' cases.
const char* const faultRows[] = {"silent --silent",     "drop --drop 1",   "badcheck --bad-check",
                                 "truncate --truncate", "random --random", "error --error",
                                 "late --delay 2100",   "kill ",           "stop ",
                                 "corrupt --corrupt"};

// One cell and seed: the point in the phase where the fault begins and how
// long it lasts. The same cell and seed always make the same case.
struct FaultCase
{
    FaultCase(int phaseIndex, int faultIndex, quint32 seed)
        : phase(phaseRows[phaseIndex].phase), fault(QString(faultRows[faultIndex]).section(' ', 0, 0)),
          tag(QString("%1/%2/%3").arg(phaseRows[phaseIndex].name, fault).arg(seed))
    {
        std::mt19937 random(seed * 7919u + quint32(phaseIndex) * 131u + quint32(faultIndex));
        const int soundAnswers = int(random() % quint32(phaseRows[phaseIndex].answers));
        // Silence, a killed or a stopped simulator lasts. Other faults spoil an
        // answer or a few, from which the window recovers, or every answer
        // from then on, which takes it offline.
        static const int spoilt[] = {1, 4, 0};
        const bool lasting = fault == "silent" || fault == "kill" || fault == "stop";
        const int faultyAnswers = fault == "drop" ? 1 : lasting ? 0 : spoilt[random() % 3];
        stoppedMs = 1500 + int(random() % 5000);
        // The faults are held until the test starts the phase.
        arguments = QStringList{"--fault-on-signal", "--fault-after", QString::number(soundAnswers)};
        if (faultyAnswers > 0)
            arguments << "--fault-count" << QString::number(faultyAnswers);
        arguments += QString(faultRows[faultIndex]).split(' ', Qt::SkipEmptyParts).mid(1);
        description = tag + ": iolink-sim " + arguments.join(' ') +
                      (fault == "stop" ? QString(", stopped for %1 ms").arg(stoppedMs) : QString());
    }

    Phase phase;
    QString fault;
    QString tag;
    // How long a stopped simulator stays stopped.
    int stoppedMs = 0;
    QStringList arguments;
    QString description;
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
        bool ok = false;
        const int seeds = qEnvironmentVariableIntValue("IOLINK_FAULT_SEEDS", &ok);
        for (int phase = 0; phase < int(std::size(phaseRows)); ++phase) {
            for (int fault = 0; fault < int(std::size(faultRows)); ++fault) {
                for (uint seed = 1; seed <= uint(ok && seeds > 0 ? seeds : 3); ++seed)
                    QTest::newRow(qPrintable(FaultCase(phase, fault, seed).tag)) << phase << fault << seed;
            }
        }
    }

    void run()
    {
        QFETCH(int, phase);
        QFETCH(int, fault);
        QFETCH(uint, seed);
        const FaultCase c(phase, fault, seed);
        qInfo().noquote() << c.description;
        // The protocol traces of the run stay in IOLINK_FAULT_TRACE_DIR when it is set.
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
        ModalAnswers modals;
        rig.offer(faulty.path());
        // A new trace, with no messages or boxes seen yet.
        const auto restart = [&](const char* file) {
            rig.restartTrace(files + file);
            rig.forgetMessages();
            modals.boxes.clear();
        };

        // Every phase but connecting starts from a sensor connected on a
        // sound line, with live data running again.
        if (c.phase != Phase::Connect) {
            rig.choose(faulty.path());
            QVERIFY2(waitUntil([&] { return rig.window->isConnected() && !rig.popupShown(); }, 30000),
                     qPrintable(modals.summary()));
        }

        const auto propertyOf = [&rig](const char* id) {
            return rig.window->findProperty(rig.window->rootProperty(), id);
        };
        const auto addressOf = [&rig](const char* id) {
            return parseParameterAddress(rig.window->parameterAddressMap().value(id));
        };
        QtProperty* edited = propertyOf("OnDelay1");
        QtProperty* teachButton = propertyOf("TEACHBUTTON1");
        const auto editAddress = addressOf("OnDelay1");
        const auto teachAddress = addressOf("TEACHBUTTON1");
        const auto threshold = addressOf("SwitchingThresholdA1");
        QVERIFY(edited && teachButton && editAddress && teachAddress && threshold);
        const int editValue = 1000 + int(seed) * 37;

        // What the user does to start the phase, the writes it may send (only
        // what the test gives the sensor), and what shows that it finished.
        std::function<void()> act = [] {};
        std::function<bool(const QString&)> asked = [](const QString&) { return false; };
        const auto connectedAndSaw = [&rig](const char* message) {
            return [&rig, message] { return rig.window->isConnected() && rig.sawMessage(message); };
        };
        std::function<bool()> completed = connectedAndSaw("Read from the sensor:");
        int limitMs = 90000;
        int liveBefore = 0;
        int liveAfter = 0;
        switch (c.phase) {
        case Phase::Connect:
            act = [&] { rig.choose(faulty.path()); };
            break;
        case Phase::ReadAll:
            act = [&] { rig.window->form().actionRead->trigger(); };
            break;
        case Phase::WriteAll: {
            // Writing everything sends what the tree shows: the same writes
            // as on a sound line, or fewer.
            restart("-reference.trace");
            QTimer::singleShot(0, rig.window->form().actionWritePermanent, &QAction::trigger);
            QVERIFY(waitUntil([&] { return rig.sawMessage("Written to the sensor:") && !rig.popupShown(); },
                              60000));
            const QStringList reference = rig.writes();
            QVERIFY(!reference.isEmpty());
            asked = [reference](const QString& request) { return reference.contains(request); };
            act = [&] { rig.window->form().actionWritePermanent->trigger(); };
            completed = connectedAndSaw("Written to the sensor:");
            break;
        }
        case Phase::LiveData:
            completed = [&] { return rig.window->isConnected() && liveAfter > liveBefore; };
            break;
        case Phase::Edit: {
            const QString request = hex(writeRequest(*editAddress, editValue));
            asked = [request](const QString& sent) { return sent == request; };
            act = [&] {
                static_cast<QtIntPropertyManager*>(edited->propertyManager())->setValue(edited, editValue);
            };
            // The write was answered, refused or not answered: the status bar says which.
            completed = connectedAndSaw("On delay");
            limitMs = 30000;
            break;
        }
        case Phase::Teach: {
            const QString button = writtenAddress(hex(writeRequest(*teachAddress, 1)));
            asked = [button](const QString& sent) { return writtenAddress(sent) == button; };
            act = [&] {
                QMetaObject::invokeMethod(rig.window, "buttonClicked", Q_ARG(QtProperty*, teachButton));
            };
            // The taught switching point is read back after the button's write.
            completed = [&] {
                const QStringList sent = rig.sent();
                const auto written = std::find_if(sent.cbegin(), sent.cend(), asked);
                const QString readBack = hex(readRequest(threshold->index, quint8(threshold->subIndex)));
                return rig.window->isConnected() && !rig.popupShown() &&
                       std::find(written, sent.cend(), readBack) != sent.cend();
            };
            limitMs = 45000;
            break;
        }
        }

        faulty.whenFaultsBegin([&faulty, &c] {
            if (c.fault == "kill")
                faulty.killNow();
            else if (c.fault == "stop" && faulty.stop())
                faulty.resumeAfter(c.stoppedMs);
        });

        // Live data shows what the sensor sends, and the simulated sensor
        // changes none of its parameters on its own: the rows must stay as
        // they are, or a later write of everything would send what nobody gave.
        const auto rowTexts = [&] {
            QStringList rows;
            for (const QString& id : rig.window->parameterAddressMap().keys()) {
                if (QtProperty* row = propertyOf(qPrintable(id)))
                    rows << id + " = " + row->valueText();
            }
            return rows;
        };
        const QStringList rowsBefore = rowTexts();

        restart(".trace");
        TickWatch ticks;
        ticks.start();
        QVERIFY(faulty.arm());
        bool returned = false;
        QTimer::singleShot(0, rig.window, [&] {
            act();
            returned = true;
        });

        const auto offlineAsSaid = [&] {
            return !rig.window->isConnected() &&
                   (modals.saw("Connecting to sensor",
                               "The sensor did not respond, please make sure it is properly connected.") ||
                    (c.phase == Phase::Connect &&
                     modals.saw("Connecting to sensor...",
                                "The connected sensor does not match currently "
                                "selected sensor, please try again with the proper "
                                "sensor")));
        };
        if (c.phase == Phase::LiveData) {
            // Polls still answered at the end of a stretch in which three
            // unanswered ones would have taken the window offline.
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

        // A phase that ended before its fault began would prove nothing.
        QVERIFY2(faulty.faultsBegun(),
                 qPrintable(c.description + "; the phase ended before the fault began"));

        if (c.phase == Phase::LiveData) {
            QStringList changed = rowTexts();
            changed.erase(std::remove_if(changed.begin(), changed.end(),
                                         [&](const QString& row) { return rowsBefore.contains(row); }),
                          changed.end());
            QVERIFY2(changed.isEmpty(),
                     qPrintable(c.description + "; live data changed rows, now: " + changed.join("; ") +
                                "; before: " + rowsBefore.join("; ")));
        }

        QStringList unasked = rig.writes();
        unasked.erase(std::remove_if(unasked.begin(), unasked.end(), asked), unasked.end());
        QVERIFY2(unasked.isEmpty(),
                 qPrintable(c.description + "; writes nobody asked for: " + unasked.join("; ")));

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
        QVERIFY2(ticks.longestGapMs() < 1500, qPrintable(QString("%1; the window did not answer for %2 ms")
                                                             .arg(c.description)
                                                             .arg(ticks.longestGapMs())));
    }
};

QTEST_MAIN(FaultMatrixTest)
#include "tst_faultmatrix.moc"
