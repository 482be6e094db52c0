// The link session and the status poll against a simulated sensor at the
// wire's speed: holds keep what waits for the link until the last one is let
// go, a read the poll left unfetched is fetched before anything else, three
// queries in a row without an answer lose the line; the poll's cycle asks for
// what it should, waits while the link is held and forgets a stale answer.
#include "LinkTestRig.h"

#include <link/LinkSession.h>
#include <link/StatusPoll.h>

#include <QTemporaryDir>
#include <QWidget>

using NimbarSensorPlugin::Core::crashCounterReadRequest;
using NimbarSensorPlugin::Core::echoReadRequest;
using NimbarSensorPlugin::Core::EchoRecord;
using NimbarSensorPlugin::Core::fetchRequest;
using NimbarSensorPlugin::Core::LinkSession;
using NimbarSensorPlugin::Core::processDataRequest;
using NimbarSensorPlugin::Core::readRequest;
using NimbarSensorPlugin::Core::sensorQuery;
using NimbarSensorPlugin::Core::StatusPoll;

class LinkPartsTest : public QObject
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

    // What a poll emitted, in order.
    struct PollRecord
    {
        QStringList events;
        int crashCount = -1;
        explicit PollRecord(StatusPoll& poll)
        {
            connect(&poll, &StatusPoll::processData, &poll, [this] { events << "data"; });
            connect(&poll, &StatusPoll::echoes, &poll, [this](const EchoRecord&) { events << "echoes"; });
            connect(&poll, &StatusPoll::crashCount, &poll, [this](int count) {
                events << "crash";
                crashCount = count;
            });
        }
    };

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

    // Every hold says so; the link is free again only when the outer hold
    // goes, and what waited then runs in the order it came, after the
    // release.
    void whatWaitsRunsWhenTheLastHoldGoes()
    {
        QStringList events;
        const QMetaObject::Connection taken =
            connect(session, &LinkSession::holdTaken, [&events] { events << "taken"; });
        const QMetaObject::Connection released =
            connect(session, &LinkSession::released, [&events] { events << "released"; });
        session->whenFree([&events] { events << "at once"; });
        {
            const LinkSession::Hold outer(*session);
            {
                const LinkSession::Hold inner(*session);
                session->whenFree([&events] { events << "first"; });
            }
            QVERIFY(session->held());
            session->whenFree([&events] { events << "second"; });
            QTest::qWait(20);
        }
        QVERIFY(!session->held());
        QCOMPARE(events, (QStringList{"at once", "taken", "taken", "released"}));
        QTRY_COMPARE(events.size(), 6);
        QCOMPARE(events.mid(4), (QStringList{"first", "second"}));
        disconnect(taken);
        disconnect(released);
    }

    // The poll's read that went out unfetched is fetched by the first hold,
    // before the held exchange, and only once.
    void aHoldFetchesThePollsPendingReadFirst()
    {
        session->command(readRequest(65, 1), false);
        session->setReadUnfetched(true);
        {
            const LinkSession::Hold outer(*session);
            const LinkSession::Hold inner(*session);
            session->command(processDataRequest(), false);
        }
        {
            const LinkSession::Hold again(*session);
        }
        const QString fetch = hex(fetchRequest());
        QCOMPARE(sent(), (QStringList{hex(readRequest(65, 1)), fetch, hex(processDataRequest())}));
    }

    // Queries and commands tell an answer from none; three frames in a row
    // without one lose the line, and one answer finds it again. Pauses count.
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

        const qint64 before = session->pausedMilliseconds();
        QElapsedTimer clock;
        clock.start();
        session->pause(60);
        QVERIFY(clock.elapsed() >= 59);
        QCOMPARE(session->pausedMilliseconds(), before + 60);
    }

    // The first poll begins a cycle of sixteen more: the echo record is read
    // and fetched when echoes are wanted, the crash counter always; every
    // other poll asks for the process data, and each answer is emitted as
    // what it is.
    void aCycleAsksForWhatItShould()
    {
        for (bool echoes : {true, false}) {
            bool connected = true;
            StatusPoll poll(
                *session, [&connected] { return connected; }, nullptr);
            PollRecord record(poll);
            poll.reset();
            poll.setLiveData(true);
            poll.setEchoesWanted(echoes);
            poll.setEnabled(true);
            clearTrace();
            poll.schedule();
            QTRY_VERIFY_WITH_TIMEOUT(record.events.contains("crash"), 4000);
            connected = false;
            QTest::qWait(200);
            const QStringList requests = sent();
            const QStringList expected =
                echoes ? QStringList{hex(echoReadRequest()), hex(fetchRequest()),
                                     hex(crashCounterReadRequest()), hex(fetchRequest())}
                       : QStringList{hex(crashCounterReadRequest()), hex(fetchRequest())};
            QCOMPARE(QStringList(requests).filter(QRegularExpression("^0[25] .. 2[67]")), expected);
            QCOMPARE(requests.count(hex(processDataRequest())), 17 - expected.size());
            QCOMPARE(record.events.count("echoes"), echoes ? 1 : 0);
            // The answers to the read requests carry process data as well.
            QVERIFY(record.events.count("data") >= 17 - expected.size());
            QCOMPARE(record.events.last(), QString("crash"));
            QCOMPARE(record.crashCount, device->model().crashCounter());
        }
    }

    // While the link is held the poll sends nothing; it goes on by itself
    // when the hold goes. An answer that comes after the window went
    // offline is not emitted.
    void aHeldLinkPutsThePollOffAndAStaleAnswerIsDropped()
    {
        bool connected = true;
        StatusPoll poll(
            *session, [&connected] { return connected; }, nullptr);
        PollRecord record(poll);
        poll.reset();
        poll.setLiveData(true);
        poll.setEnabled(true);
        {
            const LinkSession::Hold hold(*session);
            clearTrace();
            poll.schedule();
            QTest::qWait(300);
            QVERIFY(sent().isEmpty());
        }
        QTRY_VERIFY(record.events.size() >= 2);
        connected = false;
        QTest::qWait(150);
        record.events.clear();
        poll.step(0);
        QTest::qWait(300);
        QVERIFY(record.events.isEmpty());
    }

    void cleanupTestCase()
    {
        session->setCommunication(nullptr);
        port.reset();
    }
};

QTEST_MAIN(LinkPartsTest)
#include "tst_linkparts.moc"
