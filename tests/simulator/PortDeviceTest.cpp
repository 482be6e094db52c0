#include "AnswerSchedule.h"
#include "SimulatedPortDevice.h"
#include "SimulatorTestSupport.h"

#include <WaitUntil.h>

#include <QElapsedTimer>

using namespace SimulatorTest;

namespace {

struct DeviceFixture
{
    ModelFixture modelFixture;
    SimulatedPortDevice device{std::move(modelFixture.model)};
    int readyReads = 0;
    QList<qint64> availableAtReadyRead;

    DeviceFixture()
    {
        QObject::connect(&device, &QIODevice::readyRead, [this] {
            ++readyReads;
            availableAtReadyRead << device.bytesAvailable();
        });
        EXPECT_TRUE(device.open(QIODevice::ReadWrite));
    }
};

} // namespace

TEST(PortDevice, AnswerComesInOnePieceFromTheEventLoopNotFromWrite)
{
    DeviceFixture f;
    EXPECT_TRUE(f.device.isSequential());
    f.device.setWireTimeEnabled(false);
    EXPECT_EQ(f.device.write(connectionCheck), 4);
    EXPECT_EQ(f.device.bytesAvailable(), 0);
    EXPECT_EQ(f.readyReads, 0);
    ASSERT_TRUE(waitUntil([&] { return f.readyReads > 0; }, 5000));
    EXPECT_EQ(f.device.bytesAvailable(), 4);
    EXPECT_EQ(f.device.readAll(), f.device.model().answer(connectionCheck));
    EXPECT_EQ(f.device.bytesAvailable(), 0);

    f.device.setWireTimeEnabled(true);
    f.device.write(processDataRequest);
    ASSERT_TRUE(waitUntil([&] { return f.readyReads > 1; }, 5000));
    EXPECT_EQ(f.availableAtReadyRead.last(), 8);
}

TEST(PortDevice, AnswerIsNotReadableBeforeItsWireTime)
{
    DeviceFixture f;
    f.device.setBaudRate(1200); // 8 bytes of request and answer: 66.7 ms
    QElapsedTimer timer;
    timer.start();
    f.device.write(connectionCheck);
    ASSERT_TRUE(waitUntil([&] { return f.readyReads > 0; }, 5000));
    EXPECT_GE(timer.nsecsElapsed(), 66600000);
}

TEST(PortDevice, DelayFaultComesOnTopOfTheWireTime)
{
    DeviceFixture f;
    f.device.setWireTimeEnabled(false);
    f.device.faults().setDelayMs(80);
    QElapsedTimer timer;
    timer.start();
    f.device.write(connectionCheck);
    ASSERT_TRUE(waitUntil([&] { return f.readyReads > 0; }, 5000));
    EXPECT_GE(timer.elapsed(), 80);
}

TEST(PortDevice, AnswersKeepTheOrderOfTheirRequests)
{
    DeviceFixture f;
    f.device.write(processDataRequest);
    f.device.write(connectionCheck);
    ASSERT_TRUE(waitUntil([&] { return f.device.bytesAvailable() >= 12; }, 5000));
    const QByteArray received = f.device.readAll();
    EXPECT_EQ(received.size(), 12);
    EXPECT_EQ(received.at(0), 0x07);
    EXPECT_EQ(received.mid(8), f.device.model().answer(connectionCheck));
}

TEST(PortDevice, SilentMasterLeavesThePortOpenWithoutAnswers)
{
    DeviceFixture f;
    f.device.setWireTimeEnabled(false);
    f.device.faults().setSilent(true);
    f.device.write(connectionCheck);
    EXPECT_FALSE(waitUntil([&] { return f.readyReads > 0; }, 100));
    EXPECT_TRUE(f.device.isOpen());
}

TEST(PortDevice, UnplugLosesAnswersInFlightAndKeepsThePortShutUntilPluggedIn)
{
    DeviceFixture f;
    f.device.setWireTimeEnabled(false);
    f.device.write(connectionCheck);
    int closings = 0;
    QObject::connect(&f.device, &QIODevice::aboutToClose, [&] { ++closings; });
    f.device.unplug();
    EXPECT_EQ(closings, 1);
    EXPECT_FALSE(f.device.isOpen());
    EXPECT_EQ(f.device.write(connectionCheck), -1);
    EXPECT_FALSE(f.device.open(QIODevice::ReadWrite));
    EXPECT_EQ(f.device.errorString(), QStringLiteral("unplugged"));
    f.device.plugIn();
    ASSERT_TRUE(f.device.open(QIODevice::ReadWrite));
    EXPECT_FALSE(waitUntil([&] { return f.readyReads > 0; }, 100));
    f.device.write(connectionCheck);
    ASSERT_TRUE(waitUntil([&] { return f.readyReads > 0; }, 5000));
    EXPECT_EQ(f.device.readAll().size(), 4);
}

TEST(AnswerSchedule, AnswerIsDueOnceRequestAndAnswerCrossedTheLine)
{
    AnswerSchedule schedule;
    schedule.add(1000, SimulatedMaster::Answer{QByteArray(4, 'a'), 4, 0});
    const qint64 due = 1000 + AnswerSchedule::wireTimeNs(8, 38400);
    EXPECT_EQ(AnswerSchedule::wireTimeNs(8, 38400), 2083333);
    EXPECT_EQ(schedule.nextDueNs(), due);
    EXPECT_TRUE(schedule.takeDue(due - 1).isEmpty());
    EXPECT_EQ(schedule.takeDue(due), QByteArray(4, 'a'));
    EXPECT_TRUE(schedule.isEmpty());
}

TEST(AnswerSchedule, DelayedAnswerIsNotOvertaken)
{
    AnswerSchedule schedule;
    schedule.setWireTimeEnabled(false);
    schedule.add(0, SimulatedMaster::Answer{"first", 3, 100});
    schedule.add(10, SimulatedMaster::Answer{"second", 3, 0});
    EXPECT_TRUE(schedule.takeDue(99999999).isEmpty());
    EXPECT_EQ(schedule.takeDue(100000000), QByteArray("firstsecond"));
}
