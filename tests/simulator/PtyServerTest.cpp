#include "PtyServer.h"
#include "SimulatorOptions.h"
#include "SimulatorTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

using namespace SimulatorTest;

namespace {

// Reads from a terminal client while the server's event loop runs.
QByteArray readFromClient(int fd, int count, int timeoutMs = 3000)
{
    QByteArray received;
    QElapsedTimer timer;
    timer.start();
    while (received.size() < count && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        char buffer[64];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            received.append(buffer, static_cast<int>(n));
    }
    return received;
}

void writeToClient(int fd, const QByteArray& bytes)
{
    ASSERT_EQ(::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())), bytes.size());
}

} // namespace

// Flow-control characters, a carriage return and zero bytes pass both ways
// unchanged, and the next client is served after the first closed.
TEST(PtyServer, BytesPassTheTerminalUnchangedForOneClientAfterTheOther)
{
    ModelFixture f;
    PtyServer server(std::move(f.model));
    QString error;
    ASSERT_TRUE(server.open(&error)) << error.toStdString();
    const auto openClient = [&] {
        return ::open(server.path().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    };
    int fd = openClient();
    ASSERT_GE(fd, 0);
    const QByteArray text = bytes({0x11, 0x13, 0x0D, 0x0A, 0x7F, 0x03});
    writeToClient(fd, tagWrite(0x18, text));
    EXPECT_EQ(readFromClient(fd, 3).size(), 3);
    writeToClient(fd, readRequest(0x18, 0));
    EXPECT_EQ(readFromClient(fd, 8).size(), 8);
    writeToClient(fd, fetchRequest);
    EXPECT_EQ(readFromClient(fd, 35).mid(3), text + QByteArray(32 - text.size(), '\0'));
    ::close(fd);
    QCoreApplication::processEvents();

    fd = openClient();
    ASSERT_GE(fd, 0);
    writeToClient(fd, connectionCheck);
    EXPECT_EQ(readFromClient(fd, 4).size(), 4);
    ::close(fd);
}

// Serial port locks are kept by path: a server that gets the terminal number
// of one before it (as it usually does) must still offer a path no client
// has locked yet, and that path goes with the server.
TEST(PtyServer, ATerminalNumberServedAgainComesUnderANewPath)
{
    QString firstPath;
    QString firstTerminal;
    {
        ModelFixture f;
        PtyServer first(std::move(f.model));
        QString error;
        ASSERT_TRUE(first.open(&error)) << error.toStdString();
        firstPath = first.path();
        firstTerminal = first.terminalPath();
        EXPECT_EQ(QFileInfo(firstPath).canonicalFilePath(), firstTerminal);
    }
    EXPECT_FALSE(QFileInfo::exists(firstPath));
    ModelFixture f;
    PtyServer second(std::move(f.model));
    QString error;
    ASSERT_TRUE(second.open(&error)) << error.toStdString();
    EXPECT_NE(second.path(), firstPath);
}

TEST(SimulatorOptions, AllOptionsAreTakenTheDocumentHasADefault)
{
    SimulatorOptions options;
    QString error;
    ASSERT_TRUE(parseSimulatorOptions({"iolink-sim", "--model", "UM035"}, "/default.xml", &options, &error));
    EXPECT_EQ(options.documentPath, QStringLiteral("/default.xml"));
    EXPECT_TRUE(options.variantCode.isEmpty());
    ASSERT_TRUE(parseSimulatorOptions(
        {"iolink-sim", "--model", "UK600",      "--variant",  "137",        "--baud",  "115200",
         "--seed",     "42",      "--document", "/tmp/d.xml", "--drop",     "3",       "--drop-rate",
         "0.25",       "--delay", "40",         "--corrupt",  "--truncate", "--error", "--silent"},
        "/default.xml", &options, &error))
        << error.toStdString();
    EXPECT_EQ(options.modelId, QStringLiteral("UK600"));
    EXPECT_EQ(options.variantCode, QStringLiteral("137"));
    EXPECT_EQ(options.baudRate, 115200);
    EXPECT_EQ(options.seed, 42u);
    EXPECT_EQ(options.documentPath, QStringLiteral("/tmp/d.xml"));
    FaultPlan faults;
    applyFaultOptions(options, &faults);
    EXPECT_EQ(faults.pendingDrops(), 3);
    EXPECT_DOUBLE_EQ(faults.dropRate(), 0.25);
    EXPECT_EQ(faults.delayMs(), 40);
    EXPECT_TRUE(faults.corrupt() && faults.truncate() && faults.answerError() && faults.silent());
    EXPECT_FALSE(faults.randomBytes() || faults.badCheckOctet() || faults.held());
    EXPECT_EQ(faults.answersBeforeFaults(), 0);
    EXPECT_EQ(faults.faultyAnswersLeft(), -1);
}

TEST(SimulatorOptions, FaultsCanWaitForASignalAndAPointInTheSequence)
{
    SimulatorOptions options;
    QString error;
    ASSERT_TRUE(parseSimulatorOptions({"iolink-sim", "--model", "UM035", "--random", "--bad-check",
                                       "--fault-on-signal", "--fault-after", "12", "--fault-count", "4"},
                                      "/default.xml", &options, &error))
        << error.toStdString();
    FaultPlan faults;
    applyFaultOptions(options, &faults);
    EXPECT_TRUE(faults.randomBytes());
    EXPECT_TRUE(faults.badCheckOctet());
    EXPECT_TRUE(faults.held());
    EXPECT_EQ(faults.answersBeforeFaults(), 12);
    EXPECT_EQ(faults.faultyAnswersLeft(), 4);
}

TEST(SimulatorOptions, BadCommandLinesAreExplained)
{
    const QList<std::pair<QStringList, QString>> cases = {
        {{"iolink-sim"}, "--model is required"},
        {{"iolink-sim", "--model", "UM035", "--baud", "fast"}, "--baud"},
        {{"iolink-sim", "--model", "UM035", "--drop-rate", "2"}, "--drop-rate"},
        {{"iolink-sim", "--model", "UM035", "--delay", "-1"}, "--delay"},
        {{"iolink-sim", "--model", "UM035", "--fault-after", "-1"}, "--fault-after"},
        {{"iolink-sim", "--model", "UM035", "--fault-count", "some"}, "--fault-count"},
        {{"iolink-sim", "--model", "UM035", "--bogus"}, "bogus"},
        {{"iolink-sim", "--model", "UM035", "extra"}, "extra"},
    };
    for (const auto& [arguments, expected] : cases) {
        SimulatorOptions options;
        QString error;
        EXPECT_FALSE(parseSimulatorOptions(arguments, "/default.xml", &options, &error))
            << expected.toStdString();
        EXPECT_TRUE(error.contains(expected)) << error.toStdString();
    }
}

// The object can be held only where the sensor measures (80 to 1300 mm here),
// on the command line and on standard input alike; 0 lets it move.
TEST(SimulatorOptions, ObjectPlacesAreCheckedAgainstTheMeasuringRange)
{
    VariantInfo variant;
    variant.minRange = 80;
    variant.maxRange = 1300;
    const QList<std::pair<QString, std::optional<int>>> distances = {
        {"80", 80}, {" 1300", 1300}, {"79", {}},   {"1301", {}},
        {"-5", {}}, {"abc", {}},     {"12.5", {}}, {"", {}},
    };
    for (const auto& [text, expected] : distances) {
        QString error;
        EXPECT_EQ(parseObjectDistance(text, variant, &error), expected) << text.toStdString();
        EXPECT_EQ(error.contains("from 80 to 1300"), !expected) << text.toStdString();
    }
    const QList<std::pair<QString, std::optional<int>>> lines = {
        {"object 250", 250}, {"  object   400 \r", 400}, {"object moving", 0}, {"object 2000", {}},
        {"object", {}},      {"object 250 mm", {}},      {"moving", {}},       {"Object 250", {}},
    };
    for (const auto& [line, expected] : lines) {
        QString error;
        EXPECT_EQ(parseObjectCommand(line, variant, &error), expected) << line.toStdString();
        EXPECT_EQ(error.isEmpty(), bool(expected)) << line.toStdString();
    }
}
