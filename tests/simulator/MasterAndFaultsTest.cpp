#include "SimulatedMaster.h"
#include "SimulatorTestSupport.h"

#include <QSet>

using namespace SimulatorTest;

namespace {

struct MasterFixture
{
    ModelFixture modelFixture;
    SimulatedMaster master{std::move(modelFixture.model)};

    QByteArray expectedCheckAnswer() { return master.model().answer(connectionCheck); }

    QByteArray send(const QByteArray& bytes)
    {
        QByteArray answers;
        for (const SimulatedMaster::Answer& answer : master.receive(bytes))
            answers.append(answer.bytes);
        return answers;
    }
};

} // namespace

TEST(MasterStream, RequestsAreAnsweredOnceCompleteWhateverTheChunking)
{
    MasterFixture f;
    for (int i = 0; i < connectionCheck.size() - 1; ++i)
        EXPECT_TRUE(f.master.receive(connectionCheck.mid(i, 1)).empty());
    const std::vector<SimulatedMaster::Answer> answers = f.master.receive(connectionCheck.right(1));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].bytes, f.expectedCheckAnswer());
    EXPECT_EQ(answers[0].requestBytes, 4);

    const QByteArray request = tagWrite(0x1A, "Hall 3");
    QByteArray tagAnswers;
    for (int i = 0; i < request.size(); i += 5)
        tagAnswers += f.send(request.mid(i, 5));
    EXPECT_EQ(tagAnswers.size(), 3);
    const QByteArray stored = f.master.model().parameterValue(ParameterAddress{0x1A, 0}).toByteArray();
    EXPECT_EQ(stored, QByteArray("Hall 3") + QByteArray(26, '\0'));

    const std::vector<SimulatedMaster::Answer> both = f.master.receive(connectionCheck + processDataRequest);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0].bytes.size(), 4);
    EXPECT_EQ(both[1].bytes.size(), 8);
}

TEST(MasterStream, StreamResynchronisesAfterGarbageBadFramesAndReset)
{
    MasterFixture f;
    EXPECT_EQ(f.send(bytes({0xFF, 0x00, 0x01, 0x80}) + connectionCheck), f.expectedCheckAnswer());
    EXPECT_EQ(f.master.discardedBytes(), 4);
    EXPECT_TRUE(f.send(bytes({0x03, 0x52, 0x12, 0x01})).isEmpty()); // bad check octet
    EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer());
    EXPECT_EQ(f.send(bytes({0x10}) + connectionCheck), f.expectedCheckAnswer()); // stray length byte

    f.send(connectionCheck.left(2));
    f.master.reset();
    EXPECT_TRUE(f.send(connectionCheck.mid(2)).isEmpty());
    EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer());
}

TEST(Faults, DroppedAnswers)
{
    MasterFixture f;
    f.master.faults().dropNext(2);
    EXPECT_TRUE(f.send(connectionCheck).isEmpty());
    EXPECT_TRUE(f.send(connectionCheck).isEmpty());
    EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer());

    f.master.faults().setDropRate(0.5);
    int answered = 0;
    for (int i = 0; i < 400; ++i)
        answered += !f.send(connectionCheck).isEmpty();
    EXPECT_GT(answered, 140);
    EXPECT_LT(answered, 260);
    f.master.faults().setDropRate(1.0);
    EXPECT_TRUE(f.send(connectionCheck).isEmpty());
}

TEST(Faults, DamagedAnswers)
{
    MasterFixture f;
    f.master.faults().setCorrupt(true);
    const QByteArray corrupted = f.send(connectionCheck);
    ASSERT_EQ(corrupted.size(), 4);
    EXPECT_FALSE(Frame::isValid(corrupted));
    f.master.faults().setCorrupt(false);

    f.master.faults().setTruncate(true);
    const QByteArray truncated = f.send(processDataRequest);
    EXPECT_GT(truncated.size(), 0);
    EXPECT_LT(truncated.size(), 8);
    EXPECT_EQ(truncated.at(0), 0x07);
    f.master.faults().setTruncate(false);

    f.master.faults().setAnswerError(true);
    EXPECT_EQ(f.send(connectionCheck), QByteArray("\x05"
                                                  "ERROR",
                                                  6));
}

TEST(Faults, SilenceAnswersNothingUntilLifted)
{
    MasterFixture f;
    f.master.faults().setSilent(true);
    EXPECT_TRUE(f.send(connectionCheck + processDataRequest).isEmpty());
    f.master.faults().setSilent(false);
    EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer());
}

TEST(Faults, RefusalWaitsForTheReadOfItsIndexAndHappensOnce)
{
    MasterFixture f;
    f.send(tagWrite(0x19, "Pump"));
    f.master.faults().refuseNextRead(0x19);
    f.send(readRequest(0x12, 0));
    EXPECT_EQ(answerText(f.send(fetchRequest)), QString("UM035-107"));
    f.send(readRequest(0x19, 0));
    EXPECT_EQ(f.send(fetchRequest), bytes({0x04, 0x57, 0xA7, 0x80, 0x20}));
    f.send(readRequest(0x19, 0));
    EXPECT_EQ(answerText(f.send(fetchRequest)), QString("Pump"));
}

TEST(Faults, OneFetchIsAnsweredLateAfterAReadOfItsIndex)
{
    MasterFixture f;
    f.master.faults().delayFetchAfterRead(0x19, 2500);
    const auto delayOfFetch = [&f] { return f.master.receive(fetchRequest).at(0).delayMs; };
    f.master.receive(readRequest(0x12, 0));
    EXPECT_EQ(delayOfFetch(), 0);
    f.master.receive(readRequest(0x19, 0));
    EXPECT_EQ(f.master.receive(processDataRequest).at(0).delayMs, 0);
    EXPECT_EQ(delayOfFetch(), 2500);
    EXPECT_EQ(delayOfFetch(), 0);
    f.master.receive(readRequest(0x19, 0));
    EXPECT_EQ(delayOfFetch(), 0);
}

TEST(Faults, WriteRefusalWaitsForAWriteOfItsIndexStoresNothingAndHappensOnce)
{
    MasterFixture f;
    const QByteArray acknowledgement = bytes({0x02, 0x43, 0x24});
    const auto threshold = [&f] {
        return f.master.model().parameterValue(ParameterAddress{100, 1}).toLongLong();
    };
    f.master.faults().refuseNextWrite(100);
    f.send(readRequest(100, 1));
    EXPECT_EQ(answerNumber(f.send(fetchRequest)), 200);
    EXPECT_EQ(f.send(writeRequest(101, 0, valueBytes(6, 2))), acknowledgement);

    EXPECT_EQ(f.send(writeRequest(100, 1, valueBytes(7, 250))), bytes({0x04, 0x46, 0xA4, 0x80, 0x22}));
    EXPECT_EQ(threshold(), 200);
    f.send(readRequest(100, 1));
    EXPECT_EQ(answerNumber(f.send(fetchRequest)), 200);

    EXPECT_EQ(f.send(writeRequest(100, 1, valueBytes(7, 250))), acknowledgement);
    EXPECT_EQ(threshold(), 250);
}

TEST(Faults, RandomBytesReplaceAnswersTheSameWayForTheSameSeed)
{
    MasterFixture first;
    MasterFixture second;
    first.master.faults().setRandomBytes(true);
    second.master.faults().setRandomBytes(true);
    QSet<QByteArray> seen;
    for (int i = 0; i < 20; ++i) {
        const QByteArray answer = first.send(processDataRequest);
        EXPECT_GE(answer.size(), 1);
        EXPECT_LE(answer.size(), 12);
        EXPECT_EQ(answer, second.send(processDataRequest)) << "answer " << i;
        seen.insert(answer);
    }
    EXPECT_GT(seen.size(), 15);
}

TEST(Faults, ABadCheckOctetLeavesTheRestOfTheAnswer)
{
    MasterFixture f;
    const QByteArray sound = f.send(processDataRequest);
    ASSERT_TRUE(Frame::isValid(sound));
    f.master.faults().setBadCheckOctet(true);
    const QByteArray damaged = f.send(processDataRequest);
    ASSERT_EQ(damaged.size(), sound.size());
    EXPECT_FALSE(Frame::isValid(damaged));
    EXPECT_NE(damaged.at(1), sound.at(1));
    EXPECT_EQ(damaged.left(1) + damaged.mid(2), sound.left(1) + sound.mid(2));
}

// Held faults wait for the start, then for the sound answers asked for, and
// end after their count; the handler hears of the beginning once.
TEST(Faults, HeldFaultsBeginWhereTheyAreToldAndEndAfterTheirCount)
{
    MasterFixture f;
    const QByteArray error("\x05"
                           "ERROR",
                           6);
    int begun = 0;
    FaultPlan& faults = f.master.faults();
    faults.setAnswerError(true);
    faults.holdUntilStarted();
    faults.beginAfter(2);
    faults.endAfter(3);
    faults.setBeginHandler([&begun] { ++begun; });
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer()) << "held, answer " << i;
    faults.start();
    EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer());
    EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer());
    EXPECT_EQ(begun, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(f.send(connectionCheck), error) << "faulty answer " << i;
    EXPECT_EQ(begun, 1);
    EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer());
    EXPECT_EQ(begun, 1);
}

// A late answer is late only while the faults are on: sound answers carry
// no delay, before and after.
TEST(Faults, ADelayCountsOnlyForFaultyAnswers)
{
    MasterFixture f;
    FaultPlan& faults = f.master.faults();
    faults.setDelayMs(2100);
    faults.beginAfter(1);
    faults.endAfter(1);
    const auto delayOfNext = [&f] { return f.master.receive(processDataRequest).at(0).delayMs; };
    EXPECT_EQ(delayOfNext(), 0);
    EXPECT_EQ(delayOfNext(), 2100);
    EXPECT_EQ(delayOfNext(), 0);
}

TEST(Faults, ADroppedAnswerWaitsForTheFaultsToBegin)
{
    MasterFixture f;
    f.master.faults().dropNext(1);
    f.master.faults().beginAfter(2);
    EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer());
    EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer());
    EXPECT_TRUE(f.send(connectionCheck).isEmpty());
    EXPECT_EQ(f.send(connectionCheck), f.expectedCheckAnswer());
}
