#include <FileFaults.h>
#include <ScriptedDevice.h>

#include <extensionsystem/PortTransport.h>
#include <extensionsystem/ProtocolTrace.h>
#include <extensionsystem/SerialCommunication.h>
#include <link/RequestFrames.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using ExtensionSystem::CommunicationInterface;
using ExtensionSystem::DeviceTransport;
using ExtensionSystem::PortSettings;
using ExtensionSystem::ProtocolTrace;
using ExtensionSystem::SensorQuery;
using ExtensionSystem::SerialCommunication;
using DataFrame = CommunicationInterface::DataFrame;

namespace {

// A master answer: length, check octet by the rule the requests follow,
// response code, data.
QByteArray answerTo(quint8 command, const QByteArray& data)
{
    return char(data.size() + 2) + QByteArray(1, char(NimbarSensorPlugin::Core::checkOctet(command, data))) +
           char(command) + data;
}

const QByteArray connectionCheck = QByteArray::fromHex("03511201");
const QByteArray connectionCheckAnswer = QByteArray::fromHex("03611202");
const QByteArray processDataRequest = QByteArray::fromHex("027022");
const QByteArray processDataAnswer = answerTo(0x22, QByteArray::fromHex("00010203ff"));
const QByteArray fetchRequest = QByteArray::fromHex("027327");
const QByteArray errorText("\x05"
                           "ERROR",
                           6);

SensorQuery query(const QByteArray& request, double timeoutMs = 500, const QString& pattern = ".*")
{
    SensorQuery q;
    q.request = request.toStdString();
    q.expectedAnswer = pattern;
    q.timeoutMs = timeoutMs;
    return q;
}

// Process-data answers told apart by their data.
QByteArray processDataNumber(int n)
{
    return answerTo(0x22, QByteArray::fromHex("0001") + char(n) + QByteArray::fromHex("0000"));
}

// Answers as hex text, so that a mismatch reads as bytes.
std::string hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toStdString();
}

std::string answerOf(const SensorQuery& q)
{
    return hex(QByteArray::fromStdString(q.answer));
}

class SerialCommunicationTest : public ::testing::Test
{
protected:
    SerialCommunicationTest()
    {
        auto transport = std::make_unique<DeviceTransport>(
            &device, [this](QIODevice*, int baud) { device.baudRates.append(baud); });
        communication = std::make_unique<SerialCommunication>(std::move(transport), &trace);
        settings.portName = "TEST1";
        QString error;
        EXPECT_TRUE(communication->open(settings, &error)) << error.toStdString();
        EXPECT_TRUE(trace.open(traceDir.filePath("trace.txt"), &error)) << error.toStdString();
    }

    void answerWith(const QHash<QByteArray, QByteArray>& answers, int chunkSize = 0)
    {
        device.setResponder([answers, chunkSize](ScriptedDevice& d, const QByteArray& request) {
            if (answers.contains(request))
                d.deliver(answers.value(request), chunkSize);
        });
    }

    // Submits the frame and waits until it has finished, once.
    bool run(DataFrame& frame)
    {
        QSignalSpy finished(communication.get(), &CommunicationInterface::emitFinished);
        const unsigned int id = communication->submitFrame(&frame);
        while (!finished.contains({id}))
            if (!finished.wait(3000))
                return false;
        return finished.count(QList<QVariant>{id}) == 1;
    }

    QString traced() const { return QString::fromUtf8(contentOf(traceDir.filePath("trace.txt"))); }

    QTemporaryDir traceDir;
    ScriptedDevice device;
    ProtocolTrace trace;
    PortSettings settings;
    std::unique_ptr<SerialCommunication> communication;
};

// Answers come byte by byte, with zero bytes and newlines in them; the
// pattern decides between accepted and not accepted.
TEST_F(SerialCommunicationTest, AnswerFramedByLengthByteAndJudgedByThePattern)
{
    const QByteArray answer = answerTo(0x22, QByteArray::fromHex("000a0d00"));
    answerWith({{processDataRequest, answer}, {connectionCheck, errorText}}, 1);
    DataFrame frame{{query(processDataRequest), query(processDataRequest, 500, ""),
                     query(connectionCheck, 500, ".*ERR.*"), query(connectionCheck, 500, "OK"),
                     query(connectionCheck, 500, "(")}};
    ASSERT_TRUE(run(frame));
    const std::vector<SensorQuery> q(frame.queries.begin(), frame.queries.end());
    const std::vector<int> statuses{q[0].status, q[1].status, q[2].status, q[3].status, q[4].status};
    EXPECT_EQ(statuses, (std::vector<int>{1, 1, 1, 2, 2}));
    EXPECT_EQ(answerOf(q[0]), hex(answer));
    EXPECT_EQ(answerOf(q[1]), hex(answer));
    EXPECT_EQ(answerOf(q[4]), hex(errorText));
    EXPECT_EQ(device.writes.first(), processDataRequest);
    EXPECT_EQ(device.baudRates, QList<int>{38400});
}

TEST_F(SerialCommunicationTest, BytesAfterTheFrameAndStrayBytesBeforeTheRequestAreDropped)
{
    device.deliver(QByteArray::fromHex("0541"));
    QCoreApplication::processEvents();
    answerWith({{processDataRequest, processDataAnswer + QByteArray::fromHex("eeee")}}, 5);
    DataFrame frame{{query(processDataRequest), query(processDataRequest)}};
    ASSERT_TRUE(run(frame));
    for (const SensorQuery& q : frame.queries) {
        EXPECT_EQ(q.status, 1);
        EXPECT_EQ(answerOf(q), hex(processDataAnswer));
    }
}

// An answer whose check octet does not fit is not handed on: its query ends
// at once as unanswered (long before its timeout) and the trace says why.
TEST_F(SerialCommunicationTest, AnswersFailingTheirCheckOctetEndTheQueryUnansweredAtOnce)
{
    const auto flipped = [](QByteArray frame, int position, int bit) {
        frame[position] = char(frame.at(position) ^ (1 << bit));
        return frame;
    };
    const std::pair<QByteArray, bool> cases[] = {
        {processDataAnswer, true},
        {connectionCheckAnswer, true},
        {errorText, true},
        {flipped(processDataAnswer, 7, 0), false},
        {flipped(processDataAnswer, 4, 7), false},
        {flipped(processDataAnswer, 2, 3), false},
        {flipped(processDataAnswer, 1, 0), false},
        {QByteArray::fromHex("0140"), false},
    };
    for (const auto& [answer, handedOn] : cases) {
        answerWith({{processDataRequest, answer}});
        DataFrame frame{{query(processDataRequest, 60000)}};
        ASSERT_TRUE(run(frame)) << hex(answer);
        EXPECT_EQ(frame.queries.front().status, handedOn ? 1 : 0) << hex(answer);
        EXPECT_EQ(answerOf(frame.queries.front()), handedOn ? hex(answer) : std::string());
        EXPECT_EQ(traced().endsWith(
                      QString::fromStdString("! TEST1 discarded: bad check octet " + hex(answer) + "\n")),
                  !handedOn)
            << hex(answer);
    }
}

// Neither the rest of a late answer nor a whole late answer between queries
// is taken for the next one; the trace names what was dropped.
TEST_F(SerialCommunicationTest, SilenceAndIncompleteAnswersTimeOutAndTheirRestsAreDropped)
{
    answerWith({{processDataRequest, processDataAnswer.left(5)}});
    DataFrame frame{{query(connectionCheck, 50), query(processDataRequest, 50)}};
    ASSERT_TRUE(run(frame));
    for (const SensorQuery& q : frame.queries) {
        EXPECT_EQ(q.status, 0);
        EXPECT_TRUE(q.answer.empty());
    }
    for (const QByteArray& late :
         {processDataAnswer.mid(5), processDataNumber(1) + QByteArray::fromHex("0541")}) {
        device.deliver(late);
        QCoreApplication::processEvents();
        answerWith({{processDataRequest, processDataNumber(2)}});
        DataFrame next{{query(processDataRequest, 2000)}};
        ASSERT_TRUE(run(next));
        EXPECT_EQ(answerOf(next.queries.front()), hex(processDataNumber(2)));
        // The next late answer is owed to a query that got nothing at all.
        answerWith({});
        DataFrame lost{{query(processDataRequest, 50)}};
        ASSERT_TRUE(run(lost));
    }
    const QString text = traced();
    EXPECT_TRUE(text.contains(
        QString::fromStdString("! TEST1 discarded late answer " + hex(processDataNumber(1)) + "\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains("! TEST1 discarded 05 41\n")) << text.toStdString();
}

TEST_F(SerialCommunicationTest, FramesFinishOnceEachInTheOrderSubmittedAndNeverInsideSubmit)
{
    answerWith({{processDataRequest, processDataAnswer}, {connectionCheck, connectionCheckAnswer}});
    QList<unsigned int> finishedIds;
    bool inSubmit = false;
    bool finishedInsideSubmit = false;
    QObject::connect(communication.get(), &CommunicationInterface::emitFinished, [&](unsigned int id) {
        finishedIds.append(id);
        finishedInsideSubmit |= inSubmit;
    });
    std::vector<DataFrame> frames(3);
    frames[0].queries = {query(processDataRequest)};
    frames[1].queries = {query(connectionCheck), query(processDataRequest)};
    QList<unsigned int> ids;
    for (DataFrame& frame : frames) {
        inSubmit = true;
        ids.append(communication->submitFrame(&frame));
        inSubmit = false;
    }
    QSignalSpy finished(communication.get(), &CommunicationInterface::emitFinished);
    while (finishedIds.size() < 3 && finished.wait(3000)) {
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(finishedInsideSubmit);
    EXPECT_EQ(finishedIds, ids);
    EXPECT_FALSE(ids.contains(0u));
    EXPECT_EQ(device.writes, (QList<QByteArray>{processDataRequest, connectionCheck, processDataRequest}));
    EXPECT_EQ(frames[1].queries.front().status, 1);
}

TEST_F(SerialCommunicationTest, CharacterDelayWritesByteByByte)
{
    settings.characterDelay = 2;
    settings.lineDelay = 5;
    communication->applyPortSettings(settings);
    device.setResponder([](ScriptedDevice& d, const QByteArray& bytes) {
        if (bytes == QByteArray(1, '\x22'))
            d.deliver(processDataAnswer);
    });
    DataFrame frame{{query(processDataRequest), query(processDataRequest)}};
    ASSERT_TRUE(run(frame));
    EXPECT_EQ(device.writes.size(), 6);
    EXPECT_EQ(device.writes.mid(0, 3).join(), processDataRequest);
    EXPECT_EQ(frame.queries.back().status, 1);
}

// The port goes away while the first query waits for its answer: every
// pending query ends unanswered, raw sends are dropped, and applying the
// settings again opens it again.
TEST_F(SerialCommunicationTest, VanishingPortEndsEveryPendingQueryUnanswered)
{
    device.setResponder(
        [](ScriptedDevice& d, const QByteArray&) { QTimer::singleShot(10, &d, [&d] { d.close(); }); });
    DataFrame first{{query(processDataRequest, 5000), query(connectionCheck, 5000)}};
    DataFrame second{{query(processDataRequest, 5000)}};
    QSignalSpy finished(communication.get(), &CommunicationInterface::emitFinished);
    communication->submitFrame(&first);
    communication->submitFrame(&second);
    while (finished.count() < 2)
        ASSERT_TRUE(finished.wait(2000));
    EXPECT_FALSE(communication->isOpen());
    communication->sendBytes(connectionCheck.toStdString());
    EXPECT_EQ(device.writes.size(), 1);
    for (const DataFrame* frame : {&first, &second})
        for (const SensorQuery& q : frame->queries)
            EXPECT_EQ(q.status, 0);

    answerWith({{processDataRequest, processDataAnswer}});
    communication->applyPortSettings(settings);
    EXPECT_TRUE(communication->isOpen());
    DataFrame again{{query(processDataRequest)}};
    ASSERT_TRUE(run(again));
    EXPECT_EQ(again.queries.front().status, 1);
    communication->closePort();
    EXPECT_FALSE(device.isOpen());
}

TEST_F(SerialCommunicationTest, DestructionEndsAFrameSomeoneStillWaitsFor)
{
    DataFrame frame{{query(processDataRequest, 5000)}};
    frame.queries.front().status = 7;
    QList<unsigned int> finishedIds;
    QObject::connect(communication.get(), &CommunicationInterface::emitFinished,
                     [&](unsigned int id) { finishedIds.append(id); });
    const unsigned int id = communication->submitFrame(&frame);
    QCoreApplication::processEvents();
    communication.reset();
    EXPECT_EQ(finishedIds, QList<unsigned int>{id});
    EXPECT_EQ(frame.queries.front().status, 0);
    EXPECT_FALSE(device.isOpen());
}

TEST_F(SerialCommunicationTest, TraceHasOneLinePerRequestAnswerAndTimeout)
{
    // Opening again with success leaves no line.
    communication->applyPortSettings(settings);
    answerWith({{processDataRequest, processDataAnswer}});
    communication->sendBytes(std::string("\x02\x52\x25", 3));
    DataFrame frame{{query(processDataRequest), query(connectionCheck, 20)}};
    ASSERT_TRUE(run(frame));
    const QStringList lines = traced().split('\n', Qt::SkipEmptyParts);
    const QStringList expected{"> TEST1 02 52 25", "> TEST1 02 70 22",
                               "< TEST1 " + QString::fromStdString(hex(processDataAnswer)),
                               "> TEST1 03 51 12 01", "! TEST1 timeout"};
    ASSERT_EQ(lines.size(), expected.size());
    double lastMs = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        bool isNumber = false;
        const double ms = line.section(' ', 0, 0).toDouble(&isNumber);
        EXPECT_TRUE(isNumber && ms >= lastMs) << line.toStdString();
        lastMs = ms;
        EXPECT_EQ(line.section(' ', 1), expected[i]);
    }
}

// A fetch goes unanswered; its answer comes in only together with the next
// request's own, in the same frame or in a later one long after.
TEST_F(SerialCommunicationTest, LateAnswerOfAnotherCommandIsDiscardedAndTracedHoweverLate)
{
    const QByteArray lateFetch = answerTo(0x27, QByteArray::fromHex("0123"));
    const QByteArray ownAnswer = processDataNumber(2);
    device.setResponder([&](ScriptedDevice& d, const QByteArray& request) {
        if (request == processDataRequest) {
            d.deliver(lateFetch);
            d.deliver(ownAnswer);
        }
    });
    for (const bool sameFrame : {true, false}) {
        DataFrame fetch{{query(fetchRequest, 100)}};
        DataFrame frame{{query(fetchRequest, 100), query(processDataRequest, 2000)}};
        if (!sameFrame) {
            ASSERT_TRUE(run(fetch));
            QTest::qWait(200);
            frame.queries.pop_front();
        }
        ASSERT_TRUE(run(frame));
        EXPECT_EQ(frame.queries.front().status, sameFrame ? 0 : 1);
        EXPECT_EQ(frame.queries.back().status, 1) << sameFrame;
        EXPECT_EQ(answerOf(frame.queries.back()), hex(ownAnswer)) << sameFrame;
    }
    EXPECT_TRUE(traced().contains(QString::fromStdString("! TEST1 discarded late answer " + hex(lateFetch))));
}

// The master answers the first request too late (each answer then comes in
// just after the next request has been written) or never. Every later query
// gets its own answer; when the first is lost, the second may end unanswered
// but is then handed nothing.
TEST_F(SerialCommunicationTest, LateOrLostFirstAnswerCostsAtMostOneFurtherAnswer)
{
    for (const bool lost : {false, true}) {
        int requests = 0;
        QByteArray held;
        device.setResponder([&](ScriptedDevice& d, const QByteArray&) {
            const QByteArray answer = processDataNumber(++requests);
            if (requests == 1) {
                held = lost ? QByteArray() : answer;
                return;
            }
            if (!held.isEmpty())
                d.deliver(held);
            held.clear();
            d.deliver(answer);
        });
        DataFrame frame{{query(processDataRequest, 100), query(processDataRequest, lost ? 100 : 2000)}};
        for (int i = 0; i < 4; ++i)
            frame.queries.push_back(query(processDataRequest, lost ? 300 : 2000));
        ASSERT_TRUE(run(frame));
        int n = 0;
        for (const SensorQuery& q : frame.queries) {
            ++n;
            if (n == 1 || (n == 2 && lost && q.status == 0)) {
                EXPECT_EQ(q.status, 0);
                EXPECT_TRUE(q.answer.empty());
            } else {
                EXPECT_EQ(q.status, 1) << "request " << n;
                EXPECT_EQ(answerOf(q), hex(processDataNumber(n))) << "request " << n;
            }
        }
    }
}

// The answer to a raw send is not taken for the next query's; while the
// timed-out fetch's answer is still owed, the master's ERROR frame and a
// refusal still reach the queries waiting.
TEST_F(SerialCommunicationTest, RawSendAndErrorAnswersDoNotShiftTheAnswers)
{
    const QByteArray fetchAnswer = answerTo(0x27, QByteArray::fromHex("0042"));
    device.setResponder([&](ScriptedDevice& d, const QByteArray& request) {
        if (request == fetchRequest) {
            d.deliver(processDataNumber(7));
            d.deliver(fetchAnswer);
        }
    });
    communication->sendBytes(processDataRequest.toStdString());
    DataFrame afterRaw{{query(fetchRequest, 2000)}};
    ASSERT_TRUE(run(afterRaw));
    EXPECT_EQ(afterRaw.queries.front().status, 1);
    EXPECT_EQ(answerOf(afterRaw.queries.front()), hex(fetchAnswer));

    const QByteArray refusedProcessData = answerTo(0xa2, QByteArray::fromHex("8011"));
    int requests = 0;
    device.setResponder([&](ScriptedDevice& d, const QByteArray&) {
        ++requests;
        if (requests == 2)
            d.deliver(errorText);
        else if (requests == 3)
            d.deliver(refusedProcessData);
    });
    DataFrame frame{{query(fetchRequest, 100), query(fetchRequest, 2000), query(processDataRequest, 2000)}};
    ASSERT_TRUE(run(frame));
    const std::vector<SensorQuery> q(frame.queries.begin(), frame.queries.end());
    EXPECT_EQ((std::vector<int>{q[0].status, q[1].status, q[2].status}), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(answerOf(q[1]), hex(errorText));
    EXPECT_EQ(answerOf(q[2]), hex(refusedProcessData));
}

} // namespace
