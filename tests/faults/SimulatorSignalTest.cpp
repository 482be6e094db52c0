// iolink-sim holds its faults back until SIGUSR1, lets the sound answers it
// was asked for pass, spoils as many as it was told and says on standard
// output when the faults begin: what the fault matrix relies on to put a
// fault into one phase of the work. It also holds the object where its
// command line and standard input put it, so teach-in can be tried.
#include "Frame.h"
#include "SimulatorProcess.h"
#include "WaitUntil.h"

#include <extensionsystem/ProtocolTrace.h>
#include <extensionsystem/SerialCommunication.h>
#include <extensionsystem/SerialTransport.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace ExtensionSystem;
using DataFrame = CommunicationInterface::DataFrame;

namespace {

class SimulatorSignalTest : public ::testing::Test
{
protected:
    void start(const QStringList& faults)
    {
        QString error;
        ASSERT_TRUE(
            simulator.start(IOLINK_SIM, QStringList{"--model", "UK130", "--variant", "137"} + faults, &error))
            << error.toStdString();
        communication = std::make_unique<SerialCommunication>(
            std::make_unique<SerialTransport>(simulator.path()), &trace);
        PortSettings settings;
        settings.portName = simulator.path();
        ASSERT_TRUE(communication->open(settings, &error)) << error.toStdString();
    }

    // The answer to one connection check, empty when none came.
    std::string check() { return ask(QByteArray::fromHex("03511201")); }

    std::string ask(const QByteArray& request)
    {
        SensorQuery query;
        query.request = request.toStdString();
        query.expectedAnswer = ".*";
        query.timeoutMs = 1000;
        DataFrame frame{{query}};
        QSignalSpy finished(communication.get(), &CommunicationInterface::emitFinished);
        communication->submitFrame(&frame);
        EXPECT_TRUE(finished.wait(5000));
        return frame.queries.front().answer;
    }

    int distance()
    {
        const std::string answer = ask(IoLinkSimulator::Frame::build(IoLinkSimulator::Frame::ProcessData));
        return answer.size() == 8 ? IoLinkSimulator::Frame::readUint16(QByteArray::fromStdString(answer), 4)
                                  : -1;
    }

    SimulatorProcess simulator;
    ProtocolTrace trace;
    std::unique_ptr<SerialCommunication> communication;
};

TEST_F(SimulatorSignalTest, HeldFaultsWaitForTheSignalThenForTheirAnswer)
{
    start({"--error", "--fault-on-signal", "--fault-after", "1", "--fault-count", "2"});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(check().size(), 4u) << "held, check " << i;
    EXPECT_FALSE(simulator.faultsBegun());

    ASSERT_TRUE(simulator.arm());
    EXPECT_EQ(check().size(), 4u);
    EXPECT_FALSE(simulator.faultsBegun());
    EXPECT_EQ(check(), std::string("\x05"
                                   "ERROR"));
    EXPECT_TRUE(simulator.faultsBegun());
    EXPECT_EQ(check(), std::string("\x05"
                                   "ERROR"));
    EXPECT_EQ(check().size(), 4u);
}

// A stopped simulator answers nothing; continued, it answers again.
TEST_F(SimulatorSignalTest, AStoppedSimulatorAnswersAgainOnceContinued)
{
    start({});
    EXPECT_EQ(check().size(), 4u);
    ASSERT_TRUE(simulator.stop());
    EXPECT_TRUE(check().empty());
    ASSERT_TRUE(simulator.resume());
    EXPECT_EQ(check().size(), 4u);
}

// What --object-at and the lines on standard input say holds until the next
// line; a teach of A1 takes that distance; the end of the input ends nothing.
TEST_F(SimulatorSignalTest, TheObjectStaysWhereStandardInputPutsIt)
{
    using namespace IoLinkSimulator;
    start({"--object-at", "250"});
    EXPECT_EQ(distance(), 250);
    ASSERT_TRUE(simulator.tell("object 400\n"));
    EXPECT_TRUE(waitUntil([this] { return distance() == 400; }, 5000));

    const QByteArray teachA1 = QByteArray::fromHex("450001") + QByteArray(1, '\x01');
    EXPECT_EQ(ask(Frame::build(Frame::ParameterWrite, teachA1)),
              Frame::acknowledgement(Frame::ParameterWrite).toStdString());
    ask(Frame::build(Frame::ReadRequest, QByteArray::fromHex("400001")));
    const QByteArray switchingPoint = QByteArray::fromStdString(ask(Frame::build(Frame::Fetch)));
    ASSERT_GE(switchingPoint.size(), 5);
    EXPECT_EQ(Frame::readUint16(switchingPoint, switchingPoint.size() - 2), 400);

    simulator.closeInput();
    QTest::qWait(300);
    EXPECT_TRUE(simulator.isRunning());
    EXPECT_EQ(distance(), 400);
}

} // namespace
