#include <extensionsystem/ProtocolTrace.h>
#include <extensionsystem/SerialCommunication.h>
#include <extensionsystem/SerialTransport.h>

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace ExtensionSystem;
using DataFrame = CommunicationInterface::DataFrame;

namespace {

SensorQuery query(const char* hex, double timeoutMs = 1000)
{
    SensorQuery q;
    q.request = QByteArray::fromHex(hex).toStdString();
    q.expectedAnswer = ".*";
    q.timeoutMs = timeoutMs;
    return q;
}

// The simulator on a pseudo-terminal, reached through the serial port path
// exactly as a real master on a USB adapter.
class SerialPtyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        simulator.start(IOLINK_SIM, {"--model", "UK130", "--variant", "137", "--baud", "38400"});
        ASSERT_TRUE(simulator.waitForReadyRead(5000)) << simulator.readAllStandardError().toStdString();
        path = QString::fromLocal8Bit(simulator.readLine()).trimmed();
        ASSERT_TRUE(path.startsWith('/')) << path.toStdString();

        communication =
            std::make_unique<SerialCommunication>(std::make_unique<SerialTransport>(path), &trace);
        settings.portName = path;
        QString error;
        ASSERT_TRUE(communication->open(settings, &error)) << error.toStdString();
    }

    void TearDown() override
    {
        communication.reset();
        simulator.terminate();
        simulator.waitForFinished(5000);
    }

    bool run(DataFrame& frame)
    {
        QSignalSpy finished(communication.get(), &CommunicationInterface::emitFinished);
        communication->submitFrame(&frame);
        return finished.wait(5000) && finished.count() == 1;
    }

    QProcess simulator;
    QString path;
    ProtocolTrace trace;
    PortSettings settings;
    std::unique_ptr<SerialCommunication> communication;
};

TEST_F(SerialPtyTest, ConnectionCheckAndIdentityReadOverARealSerialPort)
{
    DataFrame frame{{query("03511201"),
                     query("05572612"
                           "0000"),
                     query("027022"), query("027327")}};
    ASSERT_TRUE(run(frame));
    std::vector<SensorQuery> answers(frame.queries.begin(), frame.queries.end());
    for (const SensorQuery& q : answers)
        EXPECT_EQ(q.status, 1);
    EXPECT_EQ(answers[0].answer.size(), 4u);
    EXPECT_EQ(answers[2].answer.size(), 8u);
    // Length, check and response code, then the identity text.
    EXPECT_EQ(answers[3].answer.substr(3), "UK130-137");
}

TEST_F(SerialPtyTest, SimulatorGoingAwayEndsTheFrameUnanswered)
{
    DataFrame first{{query("027022")}};
    ASSERT_TRUE(run(first));
    ASSERT_EQ(first.queries.front().status, 1);

    simulator.kill();
    simulator.waitForFinished(5000);
    DataFrame frame{{query("027022", 3000), query("03511201", 3000)}};
    ASSERT_TRUE(run(frame));
    for (const SensorQuery& q : frame.queries)
        EXPECT_EQ(q.status, 0);
    // Noticed as a lost port, not merely as silence.
    EXPECT_FALSE(communication->isOpen());
}

} // namespace
