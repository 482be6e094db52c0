#include <FileFaults.h>
#include <ScriptedDevice.h>

#include <extensionsystem/PortTransport.h>
#include <extensionsystem/ProtocolTrace.h>
#include <extensionsystem/SerialCommunication.h>
#include <link/RequestFrames.h>

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ExtensionSystem;
using DataFrame = CommunicationInterface::DataFrame;

namespace {

// A master answer: length, check octet by the rule the requests follow, response code, data.
QByteArray answerTo(quint8 command, const QByteArray& data)
{
    return char(data.size() + 2) + QByteArray(1, char(NimbarSensorPlugin::Core::checkOctet(command, data))) +
           char(command) + data;
}

// Process-data answers told apart by their data.
QByteArray processDataNumber(int n)
{
    return answerTo(0x22, QByteArray::fromHex("0001") + char(n) + QByteArray::fromHex("0000"));
}

const QByteArray connectionCheck = QByteArray::fromHex("03511201");
const QByteArray processDataRequest = QByteArray::fromHex("027022");
const QByteArray processDataAnswer = processDataNumber(0);
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

std::string hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toStdString();
}

// One line per query, status and answer as hex, so that a mismatch reads as bytes.
std::string row(int status, const QByteArray& answer = {})
{
    return std::to_string(status) + " " + hex(answer) + "\n";
}

std::string outcome(const DataFrame& frame)
{
    std::string text;
    for (const SensorQuery& q : frame.queries)
        text += row(q.status, QByteArray::fromStdString(q.answer));
    return text;
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

// Answers come in pieces, with zero bytes and newlines in them, after stray bytes and followed by more;
// the pattern decides between accepted and not accepted.
TEST_F(SerialCommunicationTest, AnswersAreFramedByTheirLengthByteAndJudgedByThePattern)
{
    device.deliver(QByteArray::fromHex("0541"));
    QCoreApplication::processEvents();
    const QByteArray answer = answerTo(0x22, QByteArray::fromHex("000a0d00"));
    answerWith({{processDataRequest, answer + QByteArray::fromHex("eeee")}, {connectionCheck, errorText}}, 5);
    DataFrame frame{{query(processDataRequest), query(processDataRequest, 500, ""),
                     query(connectionCheck, 500, ".*ERR.*"), query(connectionCheck, 500, "OK"),
                     query(connectionCheck, 500, "(")}};
    ASSERT_TRUE(run(frame));
    EXPECT_EQ(outcome(frame),
              row(1, answer) + row(1, answer) + row(1, errorText) + row(2, errorText) + row(2, errorText));
    EXPECT_EQ(device.writes.first(), processDataRequest);
    EXPECT_EQ(device.baudRates, QList<int>{38400});
}

// An answer whose check octet does not fit ends its query at once as unanswered (long before its
// timeout) and the trace says why.
TEST_F(SerialCommunicationTest, AnswersFailingTheirCheckOctetEndTheQueryUnansweredAtOnce)
{
    const auto flipped = [](QByteArray frame, int position, int bit) {
        frame[position] = char(frame.at(position) ^ (1 << bit));
        return frame;
    };
    const std::pair<QByteArray, bool> cases[] = {{processDataAnswer, true},
                                                 {QByteArray::fromHex("03611202"), true},
                                                 {errorText, true},
                                                 {flipped(processDataAnswer, 7, 0), false},
                                                 {flipped(processDataAnswer, 4, 7), false},
                                                 {flipped(processDataAnswer, 2, 3), false},
                                                 {flipped(processDataAnswer, 1, 0), false},
                                                 {QByteArray::fromHex("0140"), false}};
    for (const auto& [answer, handedOn] : cases) {
        answerWith({{processDataRequest, answer}});
        DataFrame frame{{query(processDataRequest, 60000)}};
        ASSERT_TRUE(run(frame)) << hex(answer);
        EXPECT_EQ(outcome(frame), handedOn ? row(1, answer) : row(0));
        EXPECT_EQ(traced().endsWith(
                      QString::fromStdString("! TEST1 discarded: bad check octet " + hex(answer) + "\n")),
                  !handedOn)
            << hex(answer);
    }
}

// Neither the rest of a late answer, nor a whole late answer between queries, nor a late answer of
// another command in the same frame is taken for the next query's; the trace names what was dropped.
TEST_F(SerialCommunicationTest, LateAnswersAndTheirRestsAreDroppedAndTraced)
{
    answerWith({{processDataRequest, processDataAnswer.left(5)}});
    DataFrame frame{{query(connectionCheck, 50), query(processDataRequest, 50)}};
    ASSERT_TRUE(run(frame));
    EXPECT_EQ(outcome(frame), row(0) + row(0));
    for (const QByteArray& late :
         {processDataAnswer.mid(5), processDataNumber(1) + QByteArray::fromHex("0541")}) {
        device.deliver(late);
        QCoreApplication::processEvents();
        answerWith({{processDataRequest, processDataNumber(2)}});
        DataFrame next{{query(processDataRequest, 2000)}};
        ASSERT_TRUE(run(next));
        EXPECT_EQ(outcome(next), row(1, processDataNumber(2)));
        // The next late answer is owed to a query that got nothing at all.
        answerWith({});
        DataFrame lost{{query(processDataRequest, 50)}};
        ASSERT_TRUE(run(lost));
    }
    const QByteArray lateFetch = answerTo(0x27, QByteArray::fromHex("0123"));
    answerWith({{processDataRequest, lateFetch + processDataNumber(3)}});
    DataFrame mixed{{query(fetchRequest, 100), query(processDataRequest, 2000)}};
    ASSERT_TRUE(run(mixed));
    EXPECT_EQ(outcome(mixed), row(0) + row(1, processDataNumber(3)));
    const QString text = traced();
    for (const QByteArray& dropped : {processDataNumber(1), lateFetch})
        EXPECT_TRUE(
            text.contains(QString::fromStdString("! TEST1 discarded late answer " + hex(dropped) + "\n")))
            << text.toStdString();
    EXPECT_TRUE(text.contains("! TEST1 discarded 05 41\n")) << text.toStdString();
}

// The master answers the first request too late (each answer then comes in just after the next request
// has been written) or never. Every later query gets its own answer; when the first is lost, the second
// may end unanswered but is then handed nothing.
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
            d.deliver(held + answer);
            held.clear();
        });
        DataFrame frame{{query(processDataRequest, 100), query(processDataRequest, lost ? 100 : 2000)}};
        for (int i = 0; i < 4; ++i)
            frame.queries.push_back(query(processDataRequest, lost ? 300 : 2000));
        ASSERT_TRUE(run(frame));
        std::string expected = row(0);
        for (int n = 2; n <= 6; ++n)
            expected += n == 2 && lost && std::next(frame.queries.begin())->status == 0
                            ? row(0)
                            : row(1, processDataNumber(n));
        EXPECT_EQ(outcome(frame), expected) << lost;
    }
}

// The answer to a raw send is not taken for the next query's; while the timed-out fetch's answer is still
// owed, the master's ERROR frame and a refusal still reach the queries waiting.
TEST_F(SerialCommunicationTest, RawSendAndErrorAnswersDoNotShiftTheAnswers)
{
    const QByteArray fetchAnswer = answerTo(0x27, QByteArray::fromHex("0042"));
    answerWith({{fetchRequest, processDataNumber(7) + fetchAnswer}});
    communication->sendBytes(processDataRequest.toStdString());
    DataFrame afterRaw{{query(fetchRequest, 2000)}};
    ASSERT_TRUE(run(afterRaw));
    EXPECT_EQ(outcome(afterRaw), row(1, fetchAnswer));

    const QByteArray refusedProcessData = answerTo(0xa2, QByteArray::fromHex("8011"));
    int requests = 0;
    device.setResponder([&](ScriptedDevice& d, const QByteArray&) {
        if (++requests > 1)
            d.deliver(requests == 2 ? errorText : refusedProcessData);
    });
    DataFrame frame{{query(fetchRequest, 100), query(fetchRequest, 2000), query(processDataRequest, 2000)}};
    ASSERT_TRUE(run(frame));
    EXPECT_EQ(outcome(frame), row(0) + row(1, errorText) + row(1, refusedProcessData));
}

// A frame ends once, after those submitted before it, and never inside submitFrame(), where the caller
// has not yet stored the id.
TEST_F(SerialCommunicationTest, FramesFinishOnceEachInTheOrderSubmittedAndNeverInsideSubmit)
{
    answerWith({{processDataRequest, processDataAnswer}, {connectionCheck, QByteArray::fromHex("03611202")}});
    std::vector<DataFrame> frames{
        {{query(processDataRequest)}}, {{query(connectionCheck), query(processDataRequest)}}, {}};
    QSignalSpy finished(communication.get(), &CommunicationInterface::emitFinished);
    QList<QList<QVariant>> ids;
    for (DataFrame& frame : frames)
        ids.append({communication->submitFrame(&frame)});
    EXPECT_TRUE(finished.isEmpty());
    while (finished.count() < 3 && finished.wait(3000)) {
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, ids);
    EXPECT_FALSE(ids.contains({0u}));
    EXPECT_EQ(device.writes, (QList<QByteArray>{processDataRequest, connectionCheck, processDataRequest}));
    EXPECT_EQ(outcome(frames[1]), row(1, QByteArray::fromHex("03611202")) + row(1, processDataAnswer));
}

TEST_F(SerialCommunicationTest, CharacterDelayWritesByteByByte)
{
    settings.characterDelay = 2;
    settings.lineDelay = 5;
    communication->applyPortSettings(settings);
    answerWith({{QByteArray(1, '\x22'), processDataAnswer}});
    DataFrame frame{{query(processDataRequest), query(processDataRequest)}};
    ASSERT_TRUE(run(frame));
    EXPECT_EQ(device.writes.size(), 6);
    EXPECT_EQ(device.writes.mid(0, 3).join(), processDataRequest);
    EXPECT_EQ(frame.queries.back().status, 1);
}

// The port goes away while the first query waits for its answer: every pending query ends unanswered,
// raw sends are dropped, and applying the settings again opens it again.
TEST_F(SerialCommunicationTest, VanishingPortEndsEveryPendingQueryUnanswered)
{
    device.setResponder(
        [](ScriptedDevice& d, const QByteArray&) { QTimer::singleShot(10, &d, [&d] { d.close(); }); });
    DataFrame first{{query(processDataRequest, 5000), query(connectionCheck, 5000)}};
    DataFrame second{{query(processDataRequest, 5000)}};
    second.queries.front().status = 7;
    QSignalSpy finished(communication.get(), &CommunicationInterface::emitFinished);
    communication->submitFrame(&first);
    communication->submitFrame(&second);
    while (finished.count() < 2)
        ASSERT_TRUE(finished.wait(2000));
    EXPECT_FALSE(communication->isOpen());
    communication->sendBytes(connectionCheck.toStdString());
    EXPECT_EQ(device.writes.size(), 1);
    EXPECT_EQ(outcome(first) + outcome(second), row(0) + row(0) + row(0));

    answerWith({{processDataRequest, processDataAnswer}});
    communication->applyPortSettings(settings);
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
    QSignalSpy finished(communication.get(), &CommunicationInterface::emitFinished);
    const unsigned int id = communication->submitFrame(&frame);
    QCoreApplication::processEvents();
    communication.reset();
    EXPECT_EQ(finished, QList<QList<QVariant>>{{id}});
    EXPECT_EQ(frame.queries.front().status, 0);
    EXPECT_FALSE(device.isOpen());
}

TEST_F(SerialCommunicationTest, TraceHasOneTimedLinePerRequestAnswerAndTimeout)
{
    // Opening again with success leaves no line.
    communication->applyPortSettings(settings);
    answerWith({{processDataRequest, processDataAnswer}});
    communication->sendBytes(std::string("\x02\x52\x25", 3));
    DataFrame frame{{query(processDataRequest), query(connectionCheck, 20)}};
    ASSERT_TRUE(run(frame));
    const QStringList lines =
        traced().split('\n', Qt::SkipEmptyParts).replaceInStrings(QRegularExpression("^ *[0-9.]+ "), "");
    EXPECT_EQ(lines, (QStringList{"> TEST1 02 52 25", "> TEST1 02 70 22",
                                  "< TEST1 " + QString::fromStdString(hex(processDataAnswer)),
                                  "> TEST1 03 51 12 01", "! TEST1 timeout"}));
}

} // namespace
