// iolink-sim holds its faults back until SIGUSR1, lets the sound answers it
// was asked for pass, spoils as many as it was told and says on standard
// output when the faults begin: what the fault matrix relies on to put a
// fault into one phase of the work.
#include "SimulatorProcess.h"

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
    std::string check()
    {
        SensorQuery query;
        query.request = QByteArray::fromHex("03511201").toStdString();
        query.expectedAnswer = ".*";
        query.timeoutMs = 1000;
        DataFrame frame{{query}};
        QSignalSpy finished(communication.get(), &CommunicationInterface::emitFinished);
        communication->submitFrame(&frame);
        EXPECT_TRUE(finished.wait(5000));
        return frame.queries.front().answer;
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

} // namespace
