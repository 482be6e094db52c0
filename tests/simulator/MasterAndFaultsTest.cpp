#include "AnswerSchedule.h"
#include "SimulatedMaster.h"
#include "SimulatorTestSupport.h"

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
    QByteArray read(quint16 index, quint8 subIndex)
    {
        send(readRequest(index, subIndex));
        return send(fetchRequest);
    }
};

} // namespace

TEST(MasterStream, RequestsAreAnsweredOnceCompleteWhateverTheChunkingAndGarbage)
{
    MasterFixture f;
    EXPECT_EQ(f.master.receive(connectionCheck).at(0).requestBytes, 4);
    const QByteArray request = writeRequest(0x1A, 0, QByteArray("Hall 3").leftJustified(32, '\0'));
    QByteArray answers;
    for (int i = 0; i < request.size(); i += 5)
        answers += f.send(request.mid(i, 5));
    EXPECT_EQ(answers, writeAcknowledgement);
    EXPECT_EQ(f.send(connectionCheck + processDataRequest),
              f.checkAnswer + f.master.model().answer(processDataRequest));

    EXPECT_EQ(f.send(bytes({0xFF, 0x00, 0x01, 0x80}) + connectionCheck), f.checkAnswer);
    EXPECT_EQ(f.master.discardedBytes(), 4);
    EXPECT_EQ(f.send(bytes({0x03, 0x52, 0x12, 0x01}) + connectionCheck), f.checkAnswer); // bad check octet
    EXPECT_EQ(f.send(bytes({0x10}) + connectionCheck), f.checkAnswer);                   // stray length byte
    f.send(connectionCheck.left(2));
    f.master.reset();
    EXPECT_TRUE(f.send(connectionCheck.mid(2)).isEmpty());
    EXPECT_EQ(f.send(connectionCheck), f.checkAnswer);
}

// Random bytes differ from the sound answer but are the same for the same seed; refusals wait for their
// index.
TEST(Faults, AnswersAreDroppedDamagedReplacedWithheldOrRefused)
{
    MasterFixture f, sameSeed;
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

    f.faults.setRandomBytes(true);
    sameSeed.faults.setRandomBytes(true);
    for (int i = 0; i < 5; ++i) {
        const QByteArray random = f.send(processDataRequest);
        EXPECT_TRUE(random != sound && random == sameSeed.send(processDataRequest)) << i;
    }
    f.faults.setRandomBytes(false);

    f.faults.refuseNextRead(0x12);
    EXPECT_EQ(answerNumber(f.read(100, 1)), 200);
    EXPECT_EQ(f.read(0x12, 0), bytes({0x04, 0x57, 0xA7, 0x80, 0x20}));
    EXPECT_EQ(answerText(f.read(0x12, 0)), QString("UM035-107"));

    f.faults.refuseNextWrite(100);
    EXPECT_EQ(f.send(writeRequest(81, 0, valueBytes(6, 1))), writeAcknowledgement);
    EXPECT_EQ(f.send(writeRequest(100, 1, valueBytes(7, 250))), bytes({0x04, 0x46, 0xA4, 0x80, 0x22}));
    EXPECT_EQ(answerNumber(f.read(100, 1)), 200);
    EXPECT_EQ(f.send(writeRequest(100, 1, valueBytes(7, 250))), writeAcknowledgement);
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
    const auto answer = [&f] {
        const SimulatedMaster::Answer answer = f.master.receive(connectionCheck).at(0);
        return std::pair(answer.bytes, answer.delayMs);
    };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(answer(), std::pair(f.checkAnswer, 0)) << "held, answer " << i;
    f.faults.start();
    for (int i = 0; i < 6; ++i) {
        const bool faulty = i >= 2 && i < 5;
        EXPECT_EQ(answer(), std::pair(faulty ? errorText : f.checkAnswer, faulty ? 2100 : 0))
            << "answer " << i;
        EXPECT_EQ(begun, i < 2 ? 0 : 1) << "answer " << i;
    }
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
