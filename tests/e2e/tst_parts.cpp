// The parts below the sensor window against a simulated sensor at the
// wire's speed.
#include <InProcessRig.h>
#include <TestDocuments.h>

#include <catalogue/DescriptionDocument.h>
#include <catalogue/SensorCatalogue.h>
#include <link/LinkSession.h>
#include <link/SensorConnection.h>
#include <link/StatusPoll.h>
#include <parameters/ParameterEditor.h>
#include <parameters/ParameterExchange.h>
#include <parameters/ParameterModel.h>
#include <parameters/ParameterReader.h>
#include <parameters/ParameterTree.h>
#include <parameters/ParameterWriter.h>
#include <parameters/SensorSession.h>
#include <tools/LengthUnits.h>
#include <utils/widgets/ButtonManager.h>

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>

using namespace NimbarSensorPlugin::Core;

class PartsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    HostPorts ports;
    IoLinkSimulator::SimulatedPortDevice* device = nullptr;
    std::unique_ptr<ExtensionSystem::CommunicationInterface> port;
    QWidget window;
    LinkSession* session = nullptr;

    QString tracePath() const { return dir.filePath("trace.txt"); }
    void clearTrace()
    {
        QString error;
        QVERIFY2(ports.setTraceFile(tracePath(), &error), qPrintable(error));
    }
    QStringList sent() const { return TraceLines::read(tracePath()).requests(); }

    // A live-data poll that records what it emits, in order.
    struct RecordedPoll
    {
        bool connected = true;
        QStringList events;
        StatusPoll poll;
        explicit RecordedPoll(LinkSession& session)
            : poll(
                  session, [this] { return connected; }, nullptr)
        {
            connect(&poll, &StatusPoll::processData, &poll, [this] { events << "data"; });
            connect(&poll, &StatusPoll::echoes, &poll, [this](const EchoRecord&) { events << "echoes"; });
            connect(&poll, &StatusPoll::crashCount, &poll,
                    [this](int count) { events << QString("crash %1").arg(count); });
            poll.reset();
            poll.setLiveData(true);
            poll.setEnabled(true);
        }
    };

    struct Tree
    {
        ParameterModel model;
        LengthUnits units;
        ParameterTree tree{model, units};
        Tree()
        {
            tree.build(descriptionDocumentPath(), "root", "en");
            tree.resetModel();
        }
        ParameterAddress address(const QString& id) const
        {
            return *parseParameterAddress(tree.addresses().value(id));
        }
    };

    // The process data are asked while the sensor prepares the answer.
    static QStringList readExchange(const ParameterAddress& address)
    {
        return {hex(readRequest(quint16(address.index), quint8(address.subIndex))), hex(processDataRequest()),
                hex(fetchRequest())};
    }

private slots:
    void initTestCase()
    {
        QString error;
        const QString name = addSimulatedSensor(ports, "UM035/107", useFamilyDocument(), &error);
        QVERIFY2(!name.isEmpty(), qPrintable(error));
        device = static_cast<IoLinkSimulator::SimulatedPortDevice*>(ports.simulated(name));
        device->setWireTimeEnabled(true);
        ExtensionSystem::PortSettings settings;
        settings.portName = name;
        port = ports.open(settings, &error);
        QVERIFY2(port, qPrintable(error));
        session = new LinkSession(&window);
        session->setCommunication(port.get());
    }

    void init()
    {
        device->faults().setSilent(false);
        clearTrace();
    }

    // The first hold fetches the read the poll left unfetched; what waited
    // runs, in order, only when the outer hold goes.
    void whatWaitsRunsWhenTheLastHoldGoes()
    {
        QStringList events;
        QObject context;
        connect(session, &LinkSession::holdTaken, &context, [&events] { events << "taken"; });
        connect(session, &LinkSession::released, &context, [&events] { events << "released"; });
        session->whenFree([&events] { events << "at once"; });
        QVERIFY(!session->deferWhileHeld([&events] { events << "never"; }));
        session->command(readRequest(65, 1), false);
        session->setReadUnfetched(true);
        {
            const LinkSession::Hold outer(*session);
            {
                const LinkSession::Hold inner(*session);
                session->command(processDataRequest(), false);
                QVERIFY(session->deferWhileHeld([&events] { events << "first"; }));
            }
            QVERIFY(session->held());
            session->whenFree([&events] { events << "second"; });
        }
        QVERIFY(!session->held());
        QCOMPARE(events, (QStringList{"at once", "taken", "taken", "released"}));
        QTRY_COMPARE(events.mid(4), (QStringList{"first", "second"}));
        {
            const LinkSession::Hold again(*session);
        }
        QCOMPARE(sent(),
                 (QStringList{hex(readRequest(65, 1)), hex(fetchRequest()), hex(processDataRequest())}));
    }

    // Three frames in a row without an answer lose the line; one answer finds it again.
    void threeUnansweredInARowLoseTheLine()
    {
        QVERIFY(session->command(processDataRequest(), false));
        QCOMPARE(session->query(processDataRequest(), ".*", false).size(), 8);
        QVERIFY(session->checkLine(false));
        device->faults().setSilent(true);
        for (int k = 1; k <= 3; ++k) {
            QVERIFY(!session->lineLost());
            LinkSession::DataFrame frame{{sensorQuery(processDataRequest(), ".*", 150.0)}};
            session->send(&frame, false);
            QCOMPARE(frame.queries.front().status, 0);
            QCOMPARE(session->unansweredInARow(), k);
        }
        QVERIFY(session->lineLost());
        device->faults().setSilent(false);
        QTest::qWait(200);
        QVERIFY(session->command(processDataRequest(), false));
        QVERIFY(!session->lineLost());
    }

    // A cycle of seventeen polls reads the echo record when echoes are
    // wanted and the crash counter always; every other poll asks for the
    // process data.
    void aCycleAsksForWhatItShould()
    {
        for (bool echoes : {true, false}) {
            RecordedPoll r(*session);
            r.poll.setEchoesWanted(echoes);
            clearTrace();
            r.poll.schedule();
            const QString crash = QString("crash %1").arg(device->model().crashCounter());
            QTRY_VERIFY_WITH_TIMEOUT(r.events.contains(crash), 4000);
            r.connected = false;
            QTest::qWait(200);
            const QStringList requests = sent();
            const QStringList expected =
                echoes ? QStringList{hex(echoReadRequest()), hex(fetchRequest()),
                                     hex(crashCounterReadRequest()), hex(fetchRequest())}
                       : QStringList{hex(crashCounterReadRequest()), hex(fetchRequest())};
            QCOMPARE(QStringList(requests).filter(QRegularExpression("^0[25] .. 2[67]")), expected);
            QCOMPARE(requests.count(hex(processDataRequest())), 17 - expected.size());
            QCOMPARE(r.events.count("echoes"), echoes ? 1 : 0);
            QVERIFY(r.events.count("data") >= 17 - expected.size());
            QCOMPARE(r.events.last(), crash);
        }
    }

    // A held link puts the poll off; an answer that comes after the window
    // went offline is not emitted.
    void aHeldLinkPutsThePollOffAndAStaleAnswerIsDropped()
    {
        RecordedPoll r(*session);
        {
            const LinkSession::Hold hold(*session);
            clearTrace();
            r.poll.schedule();
            QTest::qWait(300);
            QVERIFY(sent().isEmpty());
        }
        QTRY_VERIFY(r.events.size() >= 2);
        r.connected = false;
        QTest::qWait(150);
        r.events.clear();
        r.poll.step(0);
        QTest::qWait(300);
        QVERIFY(r.events.isEmpty());
    }

    // Five line checks, then up to ten identity attempts; only a sensor of the model is taken.
    void aConnectionSaysWhyItFailed()
    {
        using Failure = SensorConnection::Failure;
        QVERIFY(identityMatches("UM035", "UX035-107"));
        QVERIFY(!identityMatches("UM03", "UM035"));
        const QString identityRead = hex(identityReadRequest());
        const struct
        {
            const char* reference;
            int silenceAfter;
            Failure failure;
            int attempts;
            int identityReads;
            const char* said;
        } cases[] = {
            {"UM035", 0, Failure::NoAnswer, 5, 0, "No answer on P after 5 attempts."},
            {"UM035", 1, Failure::NoAnswer, 6, 1, "No answer on P after 6 attempts."},
            {"UK130", -1, Failure::WrongIdentity, 1, 10, "The sensor identifies itself as UM035-107."},
            {"UM035", -1, Failure::None, 1, 1, ""}};
        for (const auto& c : cases) {
            if (c.silenceAfter >= 0)
                device->faults().silenceAfter(c.silenceAfter);
            clearTrace();
            SensorConnection connection(*session, c.reference, 2000.0);
            const SensorConnection::Result result = connection.run(false);
            device->faults().setSilent(false);
            device->faults().silenceAfter(-1);
            QTest::qWait(100);
            QCOMPARE(result.failure, c.failure);
            QCOMPARE(result.attempts, c.attempts);
            QCOMPARE(SensorConnection::failureText(result, "P"), QString(c.said));
            QCOMPARE(sent().count(identityRead), c.identityReads);
            QCOMPARE(result.identity,
                     c.identityReads > 0 && c.silenceAfter < 0 ? QString("UM035-107") : QString());
        }
    }

    // One whole exchange per parameter in the order of their ids, a refused
    // tag once more at the end, the identity texts left to the connect;
    // told to stop, it leaves the rest marked.
    void aReadOfAllBringsWhatTheSensorHolds()
    {
        QVERIFY(!useLinkTestDocument(dir.path()).isEmpty());
        Tree built;
        useFamilyDocument();
        ParameterTree& tree = built.tree;
        ParameterModel& model = built.model;
        QVERIFY2(tree.problems().isEmpty(), qPrintable(tree.problems().join('\n')));
        device->model().answer(writeRequest(built.address("OnDelay1"), 4321));
        device->model().answer(tagWriteRequest(0x19, "Conveyor 3"));
        device->faults().refuseNextRead(0x19);
        clearTrace();
        ParameterReader reader(*session, tree, model);
        const auto noProgress = [](int, int) {};
        const QStringList rows = reader.readAll(
            {false, false}, [] { return true; }, noProgress);
        QVERIFY(rows.contains("FunctionTag") && !rows.contains("SerialNumberReadOnly"));
        for (const QString& id : rows)
            QVERIFY2(model.state(id) == RowState::InStep, qPrintable(id + ": " + model.reason(id)));
        QCOMPARE(model.held("OnDelay1").toInt(), 4321);
        QCOMPARE(model.held("FunctionTag").toString(), QString("Conveyor 3"));
        QStringList expected;
        for (const QString& id : tree.addresses().keys()) {
            if (!id.contains("BUTTON"))
                expected << readExchange(built.address(id));
        }
        expected << readExchange({0x19, 0, 9});
        QCOMPARE(sent(), expected);

        int asked = 0;
        reader.readAll(
            {false, false}, [&asked] { return ++asked <= 3; }, noProgress);
        const QStringList firstThree = tree.addresses().keys().mid(0, 3);
        for (const QString& id : rows)
            QVERIFY2((model.state(id) == RowState::NotRead) != firstThree.contains(id), qPrintable(id));
    }

    // The identity texts and the taught thresholds come with the pauses the
    // sensor needs between their reads.
    void oneRowTheIdentityAndTheTaughtThresholdsAreRead()
    {
        Tree built;
        ParameterReader reader(*session, built.tree, built.model);
        const ParameterReader::Options settings{false, false};
        QVERIFY(!reader.read("NoSuchRow", false, settings));
        QVERIFY(reader.read("TEACHBUTTON1", false, settings));
        QVERIFY(reader.read("OnDelay1", false, settings));
        device->faults().refuseNextRead(75);
        QVERIFY(!reader.read("OnDelay1", false, settings));
        QCOMPARE(built.model.state("OnDelay1"), RowState::ReadFailed);

        qint64 paused = session->pausedMilliseconds();
        reader.readIdentityTexts({false, true});
        QCOMPARE(session->pausedMilliseconds(), paused + 740 + 4 * 110);
        QCOMPARE(built.model.held("SerialNumberReadOnly"),
                 device->model().parameterValue("SerialNumberReadOnly"));

        clearTrace();
        paused = session->pausedMilliseconds();
        QVERIFY(reader.readTaughtThresholds("A1", settings, [] { return true; }));
        QCOMPARE(session->pausedMilliseconds(), paused + 250 + 4 * 150 + 3 * 110);
        QStringList expected;
        for (const char* id : {"SwitchingThresholdA1", "UpperThresholdA1", "LowerThresholdA1"})
            expected << readExchange(built.address(id));
        QCOMPARE(sent(), expected);
        int asked = 0;
        QVERIFY(!reader.readTaughtThresholds("A2", settings, [&asked] { return ++asked < 2; }));
    }

    // A refused edit stays marked with why; a write of everything counts
    // instead of telling row by row.
    void aWriteSaysWhatTheSensorMadeOfIt()
    {
        Tree built;
        ParameterWriter writer(*session, built.tree, built.model);
        QtProperty* delay = built.tree.find("OnDelay1");
        const ParameterAddress address = built.address("OnDelay1");
        built.model.setEdit("OnDelay1", 1500);
        const QList<QPair<const char*, int>> commands{
            {"TEACHBUTTON1", 1},       {"TEACHBUTTON2", 1},       {"TEACHBUTTON13", 2},
            {"TEACHBUTTON22", 2},      {"TEACHBUTTON14", 3},      {"TEACHBUTTON23", 3},
            {"ANALOGTEACHBUTTON1", 1}, {"ANALOGTEACHBUTTON2", 2}, {"RESETBUTTON", 0}};
        for (const auto& [id, command] : commands)
            QVERIFY2(writer.code(built.tree.find(id), QVariant()) == command, id);
        const qint64 paused = session->pausedMilliseconds();
        QVERIFY(writer.write(delay, 1500, false).taken);
        QCOMPARE(session->pausedMilliseconds(), paused + 200);
        QCOMPARE(built.model.state("OnDelay1"), RowState::InStep);
        QCOMPARE(device->model().parameterValue("OnDelay1").toInt(), 1500);
        QCOMPARE(sent(), (QStringList{hex(fetchRequest()), hex(writeRequest(address, 1500))}));

        writer.startTally();
        built.model.setEdit("OnDelay1", 1600);
        device->faults().refuseNextWrite(quint16(address.index));
        const WriteOutcome refused = writer.write(delay, 1600, false);
        QVERIFY(!refused.taken && !refused.ignored);
        QCOMPARE(built.model.state("OnDelay1"), RowState::Refused);
        QCOMPARE(built.model.shown("OnDelay1").toInt(), 1600);
        QVERIFY(built.model.reason("OnDelay1").startsWith("Not written to the sensor: refused"));
        QCOMPARE(device->model().parameterValue("OnDelay1").toInt(), 1500);
        clearTrace();
        QVERIFY(writer.writeTag(built.tree.find("LocationTag"), "Line 7", false).taken);
        QCOMPARE(session->pausedMilliseconds(), paused + 3 * 200);
        QCOMPARE(device->model().parameterValue("LocationTag").toString(), QString("Line 7"));
        QCOMPARE(sent(), (QStringList{hex(prepareTagWriteRequest()), hex(tagWriteRequest(0x1A, "Line 7")),
                                      hex(processDataRequest()), hex(processDataRequest())}));
        QCOMPARE(writer.writtenCount(), 1);
        QCOMPARE(writer.failures(), QStringList{"Switch-on delay A1: " + refused.reason});
        writer.endTally();

        QCOMPARE(writer.writeAllKind("LocationTag"), WriteAllKind::Tag);
        QCOMPARE(writer.writeAllKind("OnDelay1"), WriteAllKind::Value);
        for (const char* id :
             {"SerialNumberReadOnly", "InputMode1", "TEACHBUTTON1", "RESETBUTTON", "NoSuchRow"})
            QCOMPARE(writer.writeAllKind(id), WriteAllKind::Skip);
        built.model.dropEdit("OnDelay1");
        built.model.setNotAllowed("OnDelay1", "too long for the editor");
        QCOMPARE(writer.writeAllKind("OnDelay1"), WriteAllKind::Skip);

        QtProperty* counter = built.tree.find("CrashCounter");
        const RowState before = built.model.state("CrashCounter");
        device->faults().refuseNextWrite(quint16(built.address("CrashCounter").index));
        QVERIFY(writer.write(counter, 0, false).ignored);
        QCOMPARE(built.model.state("CrashCounter"), before);
    }

    // Quick steps go out as one write of the last value, as the mode says.
    // Nothing set while the editor is deaf or the tree quiet is the user's.
    void anEditGoesOutAsTheModeSays()
    {
        Tree built;
        RecordedPoll recorded(*session);
        ParameterWriter writer(*session, built.tree, built.model);
        EditMode mode = EditMode::Write;
        bool settling = false;
        bool connected = true;
        EditorHost host{[&connected] { return connected; }, [&settling] { return settling; },
                        [&mode] { return mode; }, [] { return false; }};
        ParameterEditor editor(*session, recorded.poll, built.tree, built.model, writer, built.units, host);
        QSignalSpy messages(&editor, &ParameterEditor::message);
        QSignalSpy notWritten(&editor, &ParameterEditor::notWritten);
        QSignalSpy written(&editor, &ParameterEditor::written);
        QSignalSpy outputEdited(&editor, &ParameterEditor::outputEdited);
        QtProperty* threshold = built.tree.find("SwitchingThresholdA1");
        const ParameterAddress address = built.address("SwitchingThresholdA1");
        auto* doubles = built.tree.managers().doubles;
        auto* enums = built.tree.managers().enums;
        const auto lastMessage = [&messages] { return messages.last().value(0).toString(); };

        doubles->setValue(threshold, 299.0);
        QVERIFY(!built.model.hasEdit("SwitchingThresholdA1"));
        editor.listen(true);
        {
            const ParameterTree::Quiet quiet(built.tree);
            doubles->setValue(threshold, 298.0);
        }
        QVERIFY(!built.model.hasEdit("SwitchingThresholdA1"));
        // The poll's own requests stay off the wire.
        recorded.poll.setEnabled(false);
        // Without live data a write asks for the process data: the window still learns the outputs' state.
        for (const bool live : {false, true}) {
            recorded.poll.setLiveData(live);
            clearTrace();
            written.clear();
            const double last = 303.0 + live;
            for (double value : {301.0, 302.0, last})
                doubles->setValue(threshold, value);
            QCOMPARE(built.model.shown("SwitchingThresholdA1").toDouble(), last);
            QVERIFY(written.wait(2000));
            QCOMPARE(written.first().value(0).toString(), QString("SwitchingThresholdA1"));
            QStringList expected{hex(fetchRequest()), hex(writeRequest(address, int(last)))};
            if (!live)
                expected << hex(processDataRequest());
            QCOMPARE(sent(), expected);
        }
        QCOMPARE(lastMessage(), QString("Switching point A1 = 304 mm written"));
        QCOMPARE(outputEdited.first().value(0).toInt(), 0);
        device->faults().refuseNextWrite(quint16(address.index));
        doubles->setValue(threshold, 305.0);
        QTRY_VERIFY(lastMessage().startsWith(
            "Switching point A1 was not written to the sensor: refused by the sensor"));

        for (const EditMode staysIn : {EditMode::Read, EditMode::WindowOnly, EditMode::WriteSuspended}) {
            mode = staysIn;
            notWritten.clear();
            clearTrace();
            doubles->setValue(threshold, 310.0 + int(staysIn));
            QVERIFY(notWritten.wait(2000));
            QVERIFY(sent().isEmpty());
            QCOMPARE(device->model().parameterValue("SwitchingThresholdA1").toInt(), 304);
        }
        // With writing off the window still follows the echoes chosen.
        notWritten.clear();
        enums->setValue(built.tree.find("ObjectInfo"), 1);
        QVERIFY(notWritten.wait(2000));
        QVERIFY(recorded.poll.areEchoesWanted());
        QVERIFY(sent().isEmpty());
        // The unit is the window's to show even when nothing is written.
        mode = EditMode::WindowOnly;
        QSignalSpy unitSwitched(&editor, &ParameterEditor::unitSwitched);
        enums->setValue(built.tree.find("MesurementUnit"), 1);
        QVERIFY(unitSwitched.wait(2000));
        QCOMPARE(unitSwitched.first().value(0).toBool(), true);
        QCOMPARE(built.units.unit(), 1);

        mode = EditMode::Write;
        settling = true;
        clearTrace();
        doubles->setValue(threshold, 12.0);
        QTRY_VERIFY(lastMessage().contains("still updating after connecting"));
        QVERIFY(sent().isEmpty());
        editor.cancelPending();

        // A tag typed offline stays in the window unsent; connected, it goes out.
        settling = false;
        for (const bool online : {false, true}) {
            connected = online;
            clearTrace();
            editor.takeText("Line 4");
            editor.writeText(built.tree.find("FunctionTag"));
            QCOMPARE(sent().contains(hex(tagWriteRequest(25, "Line 4"))), online);
            QVERIFY(online || sent().isEmpty());
        }

        // A status bit's source belongs to no output.
        written.clear();
        outputEdited.clear();
        enums->setValue(built.tree.find("ErrorWarning2"), 2);
        QVERIFY(written.wait(2000));
        QVERIFY(outputEdited.isEmpty());
        // The reset button's write is followed as one of the crash counter, a teach as the teach's.
        for (const auto& [button, followed] :
             {std::pair{"RESETBUTTON", "CrashCounter"}, std::pair{"TEACHBUTTON1", "TEACHBUTTON1"}}) {
            written.clear();
            emit built.tree.managers().buttons->buttonClicked(built.tree.find(button));
            QVERIFY2(written.wait(2000), button);
            QCOMPARE(written.first().value(0).toString(), QString(followed));
        }
    }

    // A connect that reads never writes; live data come back once the
    // sensor settled and after every sequence that stopped them.
    void aSessionConnectsReadsWritesAndLosesTheSensor()
    {
        QVERIFY(!useLinkTestDocument(dir.path()).isEmpty());
        Tree built;
        useFamilyDocument();
        RecordedPoll recorded(*session);
        recorded.poll.setLiveData(false);
        ParameterReader reader(*session, built.tree, built.model);
        ParameterWriter writer(*session, built.tree, built.model);
        SensorSession* active = nullptr;
        EditorHost host{[&active] { return active->isConnected(); },
                        [&active] { return active->isSettling(); }, [] { return EditMode::Write; },
                        [&active] { return active->showWait(); }};
        ParameterEditor editor(*session, recorded.poll, built.tree, built.model, writer, built.units, host);
        const Sensor sensor = findSensorDescription("RT5-350-M18");
        SensorSession sensorSession(
            sensor, {*session, recorded.poll, built.tree, built.model, reader, editor, writer, built.units},
            nullptr);
        active = &sensorSession;
        QSignalSpy identified(&sensorSession, &SensorSession::identified);
        QSignalSpy messages(&sensorSession, &SensorSession::message);
        QSignalSpy settled(&sensorSession, &SensorSession::settled);
        QSignalSpy lost(&sensorSession, &SensorSession::sensorLost);
        QSignalSpy written(&sensorSession, &SensorSession::allWritten);
        auto writes = [this] { return writesOf(sent()); };

        device->faults().refuseNextRead(quint16(built.address("OnDelay1").index));
        sensorSession.setLiveDataOnResume(true);
        sensorSession.startBusy(50);
        QVERIFY(sensorSession.connectToSensor());
        QCOMPARE(identified.size(), 1);
        QCOMPARE(built.units.variant().code, QString("107"));
        QVERIFY(sensorSession.readConnected());
        VERIFY_NONE(writes());
        QCOMPARE(built.model.state("OnDelay1"), RowState::ReadFailed);
        QVERIFY(messages.last().value(0).toString().contains("not read: 1"));
        QTRY_COMPARE(settled.size(), 1);
        QVERIFY(!sensorSession.isSettling() && sensorSession.showWait() && recorded.poll.isLiveData());
        built.tree.managers().ints->setValue(built.tree.find("OnDelay1"), 777);
        editor.cancelPending();
        QVERIFY(built.model.hasEdit("OnDelay1"));

        device->faults().refuseNextWrite(64);
        clearTrace();
        sensorSession.writeAll();
        QCOMPARE(written.size(), 1);
        QCOMPARE(writer.failures().size(), 1);
        QCOMPARE(built.model.state("SwitchingThresholdA1"), RowState::Refused);
        QCOMPARE(writes().filter(QRegularExpression("^.. .. 24 40 00 01")).size(), 1);
        QVERIFY(recorded.poll.isLiveData() && editor.followUps());

        // A teach's read-back brings what the sensor learnt of that output, and writes nothing.
        auto readOf = [&built](const char* id) { return readExchange(built.address(id)).first(); };
        for (const auto& [button, wanted] :
             {std::pair{"TEACHBUTTON1", "SwitchingThresholdA1"}, std::pair{"CrashCounter", "CrashCounter"}}) {
            // Live data went on after the last read-back: a poll step in progress would put it off.
            QTRY_VERIFY(!session->held());
            clearTrace();
            editor.setPending(built.tree.find(button), QVariant());
            editor.cancelPending();
            sensorSession.readTaughtValues();
            QVERIFY2(sent().contains(readOf(wanted)), button);
            QVERIFY(writes().isEmpty());
        }
        // A pin switched to teach input has its thresholds read at once; to anything else, not.
        clearTrace();
        emit editor.written("PinFunctionA1", 3, false);
        VERIFY_NONE(sent());
        emit editor.written("PinFunctionA1", 4, false);
        QVERIFY(sent().contains(readOf("SwitchingThresholdA1")));

        for (const auto sequence :
             {&SensorSession::restoreFactorySettings, &SensorSession::writeLoadedSettings}) {
            recorded.poll.setLiveData(false);
            (sensorSession.*sequence)();
            recorded.events.clear();
            QTRY_VERIFY(recorded.events.contains("data"));
        }

        clearTrace();
        QTimer::singleShot(300, device, [this] { device->faults().setSilent(true); });
        sensorSession.readAll();
        QCOMPARE(lost.size(), 1);
        QVERIFY(!sensorSession.isConnected() && !recorded.poll.isLiveData());
        QVERIFY(writes().isEmpty());
        recorded.poll.setEnabled(false);
        device->faults().setSilent(false);
        session->forgetUnanswered();
        // Offline, a read of everything asks nothing, and with nothing read the tree takes no edits.
        clearTrace();
        sensorSession.readAll();
        QVERIFY(sent().isEmpty());
        built.tree.managers().ints->setValue(built.tree.find("OnDelay1"), 778);
        QVERIFY(!built.model.hasEdit("OnDelay1"));

        // Another model on the port: the session stays offline and knows why.
        const Sensor other = findSensorDescription("RT5-6000-M30");
        SensorSession otherModel(
            other, {*session, recorded.poll, built.tree, built.model, reader, editor, writer, built.units},
            nullptr);
        QSignalSpy failed(&otherModel, &SensorSession::connectFailed);
        QVERIFY(!otherModel.connectToSensor());
        QVERIFY(!otherModel.isConnected() && otherModel.foundWrongSensor());
        QCOMPARE(failed.size(), 1);
    }

    void cleanupTestCase()
    {
        session->setCommunication(nullptr);
        port.reset();
    }
};

QTEST_MAIN(PartsTest)
#include "tst_parts.moc"
