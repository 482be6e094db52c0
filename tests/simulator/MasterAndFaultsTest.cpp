#include "AnswerSchedule.h"
#include "SimulatedMaster.h"
#include "SimulatorTestSupport.h"

#include <QSet>

using namespace SimulatorTest;

namespace {

const QByteArray errorText = "\x05" + QByteArray("ERROR");

// The lowest bit flipped, as the damaging faults do.
QByteArray flipped(QByteArray bytes, int index)
{
    bytes[index] = static_cast<char>(bytes.at(index) ^ 0x01);
    return bytes;
}

struct MasterFixture
{
    ModelFixture modelFixture;
    SimulatedMaster master{std::move(modelFixture.model)};
    FaultPlan& faults = master.faults();
    const QByteArray checkAnswer = master.model().answer(connectionCheck);

    QByteArray send(const QByteArray& bytes)
    {
        QByteArray answers;
        for (const SimulatedMaster::Answer& answer : master.receive(bytes))
            answers.append(answer.bytes);
        return answers;
    }
    int delayOf(const QByteArray& request) { return master.receive(request).at(0).delayMs; }
};

} // namespace

TEST(MasterStream, RequestsAreAnsweredOnceCompleteWhateverTheChunkingAndGarbage)
{
    MasterFixture f;
    for (int i = 0; i < connectionCheck.size() - 1; ++i)
        EXPECT_TRUE(f.master.receive(connectionCheck.mid(i, 1)).empty());
    const std::vector<SimulatedMaster::Answer> answers = f.master.receive(connectionCheck.right(1));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].bytes, f.checkAnswer);
    EXPECT_EQ(answers[0].requestBytes, 4);

    const QByteArray request = tagWrite(0x1A, "Hall 3");
    QByteArray tagAnswers;
    for (int i = 0; i < request.size(); i += 5)
        tagAnswers += f.send(request.mid(i, 5));
    EXPECT_EQ(tagAnswers, writeAcknowledgement);
    EXPECT_EQ(f.master.model().parameterValue(ParameterAddress{0x1A, 0}).toByteArray(),
              QByteArray("Hall 3") + QByteArray(26, '\0'));
    EXPECT_EQ(f.send(connectionCheck + processDataRequest),
              f.checkAnswer + f.master.model().answer(processDataRequest));

    EXPECT_EQ(f.send(bytes({0xFF, 0x00, 0x01, 0x80}) + connectionCheck), f.checkAnswer);
    EXPECT_EQ(f.master.discardedBytes(), 4);
    EXPECT_TRUE(f.send(bytes({0x03, 0x52, 0x12, 0x01})).isEmpty()); // bad check octet
    EXPECT_EQ(f.send(connectionCheck), f.checkAnswer);
    EXPECT_EQ(f.send(bytes({0x10}) + connectionCheck), f.checkAnswer); // stray length byte
    f.send(connectionCheck.left(2));
    f.master.reset();
    EXPECT_TRUE(f.send(connectionCheck.mid(2)).isEmpty());
    EXPECT_EQ(f.send(connectionCheck), f.checkAnswer);
}

TEST(Faults, AnswersAreDroppedDamagedReplacedOrWithheld)
{
    MasterFixture f;
    const QByteArray sound = f.send(processDataRequest);
    f.faults.dropNext(2);
    EXPECT_TRUE(f.send(connectionCheck + connectionCheck).isEmpty());
    EXPECT_EQ(f.send(connectionCheck), f.checkAnswer);

    const std::tuple<void (FaultPlan::*)(bool), QByteArray, QByteArray> damaging[] = {
        {&FaultPlan::setCorrupt, connectionCheck, flipped(f.checkAnswer, 3)},
        {&FaultPlan::setTruncate, processDataRequest, sound.left(4)},
        {&FaultPlan::setBadCheckOctet, processDataRequest, flipped(sound, 1)},
        {&FaultPlan::setAnswerError, connectionCheck, errorText},
        {&FaultPlan::setSilent, connectionCheck + processDataRequest, QByteArray()}};
    for (const auto& [fault, request, damaged] : damaging) {
        (f.faults.*fault)(true);
        EXPECT_EQ(f.send(request), damaged) << request.toHex().toStdString();
        (f.faults.*fault)(false);
    }
    EXPECT_EQ(f.send(processDataRequest), sound);
}

TEST(Faults, RandomBytesReplaceAnswersTheSameWayForTheSameSeed)
{
    MasterFixture first, second;
    first.faults.setRandomBytes(true);
    second.faults.setRandomBytes(true);
    QSet<QByteArray> seen;
    for (int i = 0; i < 20; ++i) {
        const QByteArray answer = first.send(processDataRequest);
        EXPECT_TRUE(answer.size() >= 1 && answer.size() <= 12) << answer.size();
        EXPECT_EQ(answer, second.send(processDataRequest)) << "answer " << i;
        seen.insert(answer);
    }
    EXPECT_GT(seen.size(), 15);
}

TEST(Faults, RefusalsWaitForTheirIndex)
{
    MasterFixture f;
    f.send(tagWrite(0x19, "Pump"));
    f.faults.refuseNextRead(0x19);
    f.send(readRequest(0x12, 0));
    EXPECT_EQ(answerText(f.send(fetchRequest)), QString("UM035-107"));
    f.send(readRequest(0x19, 0));
    EXPECT_EQ(f.send(fetchRequest), bytes({0x04, 0x57, 0xA7, 0x80, 0x20}));
    f.send(readRequest(0x19, 0));
    EXPECT_EQ(answerText(f.send(fetchRequest)), QString("Pump"));

    f.faults.refuseNextWrite(100);
    EXPECT_EQ(f.send(writeRequest(81, 0, valueBytes(6, 1))), writeAcknowledgement);
    EXPECT_EQ(f.send(writeRequest(100, 1, valueBytes(7, 250))), bytes({0x04, 0x46, 0xA4, 0x80, 0x22}));
    f.send(readRequest(100, 1));
    EXPECT_EQ(answerNumber(f.send(fetchRequest)), 200);
    EXPECT_EQ(f.send(writeRequest(100, 1, valueBytes(7, 250))), writeAcknowledgement);
    EXPECT_EQ(f.master.model().parameterValue(ParameterAddress{100, 1}).toLongLong(), 250);
}

// A delay counts only for the faulty answers.
TEST(Faults, HeldFaultsBeginWhereTheyAreToldAndEndAfterTheirCount)
{
    MasterFixture f;
    int begun = 0;
    f.faults.setAnswerError(true);
    f.faults.setDelayMs(2100);
    f.faults.holdUntilStarted();
    f.faults.beginAfter(2);
    f.faults.endAfter(3);
    f.faults.setBeginHandler([&begun] { ++begun; });
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.send(connectionCheck), f.checkAnswer) << "held, answer " << i;
    f.faults.start();
    EXPECT_EQ(f.delayOf(connectionCheck), 0);
    EXPECT_EQ(f.send(connectionCheck), f.checkAnswer);
    EXPECT_EQ(begun, 0);
    EXPECT_EQ(f.delayOf(connectionCheck), 2100);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(f.send(connectionCheck), errorText) << "faulty answer " << i;
    EXPECT_EQ(begun, 1);
    EXPECT_EQ(f.delayOf(connectionCheck), 0);
    EXPECT_EQ(f.send(connectionCheck), f.checkAnswer);
    EXPECT_EQ(begun, 1);
}

// 8 bytes of request and answer take 2.08 ms at 38400 baud.
TEST(AnswerSchedule, AnswerIsDueAfterItsWireTimeAndDelayAndIsNotOvertaken)
{
    AnswerSchedule schedule;
    schedule.add(1000, SimulatedMaster::Answer{"late", 4, 1});
    schedule.add(2000, SimulatedMaster::Answer{"next", 4, 0});
    const qint64 due = 1000 + 1000000 + 2083333;
    EXPECT_EQ(schedule.nextDueNs(), due);
    EXPECT_TRUE(schedule.takeDue(due - 1).isEmpty());
    EXPECT_EQ(schedule.takeDue(due), QByteArray("latenext"));
    EXPECT_TRUE(schedule.isEmpty());
}
