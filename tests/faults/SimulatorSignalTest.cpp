// What the fault matrix relies on to put a fault into one phase of the work,
// and the held object teach-in needs; the end of input ends nothing.
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

TEST(SimulatorSignal, TheObjectStaysWhereInputPutsItAndHeldFaultsWaitForTheSignal)
{
    using namespace IoLinkSimulator;
    SimulatorProcess simulator;
    QString error;
    ASSERT_TRUE(simulator.start(IOLINK_SIM,
                                {"--model", "UK130", "--variant", "137", "--object-at", "250", "--error",
                                 "--fault-on-signal", "--fault-after", "1", "--fault-count", "2"},
                                &error))
        << error.toStdString();
    ProtocolTrace trace;
    SerialCommunication communication(std::make_unique<SerialTransport>(simulator.path()), &trace);
    PortSettings settings;
    settings.portName = simulator.path();
    ASSERT_TRUE(communication.open(settings, &error)) << error.toStdString();
    const auto ask = [&communication](const QByteArray& request) {
        SensorQuery query;
        query.request = request.toStdString();
        query.expectedAnswer = ".*";
        query.timeoutMs = 1000;
        DataFrame frame{{query}};
        QSignalSpy finished(&communication, &CommunicationInterface::emitFinished);
        communication.submitFrame(&frame);
        EXPECT_TRUE(finished.wait(5000));
        return frame.queries.front().answer;
    };
    const auto check = [&ask] { return ask(QByteArray::fromHex("03511201")); };
    const auto distance = [&ask] {
        const std::string answer = ask(Frame::build(Frame::ProcessData));
        return answer.size() == 8 ? Frame::readUint16(QByteArray::fromStdString(answer), 4) : -1;
    };

    EXPECT_EQ(distance(), 250);
    ASSERT_TRUE(simulator.tell("object 400\n"));
    EXPECT_TRUE(waitUntil([&distance] { return distance() == 400; }, 5000));

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
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(check().size(), 4u) << "held, check " << i;
    EXPECT_FALSE(simulator.faultsBegun());

    ASSERT_TRUE(simulator.arm());
    const std::string refused = std::string("\x05") + "ERROR";
    EXPECT_EQ(check().size(), 4u);
    EXPECT_FALSE(simulator.faultsBegun());
    EXPECT_EQ(check(), refused);
    EXPECT_TRUE(simulator.faultsBegun());
    EXPECT_EQ(check(), refused);
    EXPECT_EQ(check().size(), 4u);

    ASSERT_TRUE(simulator.stop());
    EXPECT_TRUE(check().empty());
    ASSERT_TRUE(simulator.resume());
    EXPECT_EQ(check().size(), 4u);
}

} // namespace
