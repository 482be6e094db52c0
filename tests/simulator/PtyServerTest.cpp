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

// Writes to the terminal, then reads while the server's event loop runs.
QByteArray exchange(int fd, const QByteArray& request, int count)
{
    EXPECT_EQ(::write(fd, request.constData(), static_cast<size_t>(request.size())), request.size());
    QByteArray received;
    QElapsedTimer timer;
    timer.start();
    while (received.size() < count && timer.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        char buffer[64];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            received.append(buffer, static_cast<int>(n));
    }
    return received;
}

} // namespace

// Serial port locks are kept by path, so a server that gets the terminal
// number of one before it must still offer a path no client has locked yet.
TEST(PtyServer, BytesPassUnchangedForOneClientAfterTheOtherUnderAPathOfTheirOwn)
{
    QString firstPath;
    {
        ModelFixture f;
        PtyServer server(std::move(f.model));
        QString error;
        ASSERT_TRUE(server.open(&error)) << error.toStdString();
        firstPath = server.path();
        EXPECT_EQ(QFileInfo(firstPath).canonicalFilePath(), server.terminalPath());
        const auto openClient = [&] {
            return ::open(firstPath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        };
        int fd = openClient();
        ASSERT_GE(fd, 0);
        const QByteArray text = bytes({0x11, 0x13, 0x0D, 0x0A, 0x7F, 0x03});
        EXPECT_EQ(exchange(fd, tagWrite(0x18, text), 3), writeAcknowledgement);
        EXPECT_EQ(exchange(fd, readRequest(0x18, 0), 8).size(), 8);
        EXPECT_EQ(exchange(fd, fetchRequest, 35).mid(3), text + QByteArray(32 - text.size(), '\0'));
        ::close(fd);
        QCoreApplication::processEvents();
        fd = openClient();
        ASSERT_GE(fd, 0);
        EXPECT_EQ(exchange(fd, connectionCheck, 4).size(), 4);
        ::close(fd);
    }
    EXPECT_FALSE(QFileInfo::exists(firstPath));
    ModelFixture f;
    PtyServer second(std::move(f.model));
    QString error;
    ASSERT_TRUE(second.open(&error)) << error.toStdString();
    EXPECT_NE(second.path(), firstPath);
}

TEST(SimulatorOptions, BadCommandLinesAreExplained)
{
    SimulatorOptions options;
    QString error;
    EXPECT_FALSE(parseSimulatorOptions({"iolink-sim"}, "/default.xml", &options, &error));
    EXPECT_TRUE(error.contains("--model is required")) << error.toStdString();
    const std::pair<QStringList, const char*> cases[] = {{{"--baud", "fast"}, "--baud"},
                                                         {{"--drop-rate", "2"}, "--drop-rate"},
                                                         {{"--delay", "-1"}, "--delay"},
                                                         {{"--fault-after", "-1"}, "--fault-after"},
                                                         {{"--fault-count", "some"}, "--fault-count"},
                                                         {{"--bogus"}, "bogus"},
                                                         {{"extra"}, "extra"}};
    for (const auto& [wrong, expected] : cases) {
        const QStringList arguments = QStringList{"iolink-sim", "--model", "UM035"} + wrong;
        EXPECT_FALSE(parseSimulatorOptions(arguments, "/default.xml", &options, &error)) << expected;
        EXPECT_TRUE(error.contains(expected)) << error.toStdString();
    }
}

// 0 lets the object move.
TEST(SimulatorOptions, ObjectPlacesAreCheckedAgainstTheMeasuringRange)
{
    VariantInfo variant;
    variant.minRange = 80;
    variant.maxRange = 1300;
    const QList<std::pair<QString, std::optional<int>>> distances = {
        {"80", 80}, {" 1300", 1300}, {"79", {}},   {"1301", {}},
        {"-5", {}}, {"abc", {}},     {"12.5", {}}, {"", {}}};
    for (const auto& [text, expected] : distances) {
        QString error;
        EXPECT_EQ(parseObjectDistance(text, variant, &error), expected) << text.toStdString();
        EXPECT_EQ(error.contains("from 80 to 1300"), !expected) << text.toStdString();
    }
    const QList<std::pair<QString, std::optional<int>>> lines = {
        {"object 250", 250}, {"  object   400 \r", 400}, {"object moving", 0}, {"object 2000", {}},
        {"object", {}},      {"object 250 mm", {}},      {"moving", {}},       {"Object 250", {}}};
    for (const auto& [line, expected] : lines) {
        QString error;
        EXPECT_EQ(parseObjectCommand(line, variant, &error), expected) << line.toStdString();
        EXPECT_EQ(error.isEmpty(), bool(expected)) << line.toStdString();
    }
}
