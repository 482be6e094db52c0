#include <extensionsystem/ProtocolTrace.h>

#include <QStringList>

#include <gtest/gtest.h>

using ExtensionSystem::ProtocolTrace;

namespace {

QStringList warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg)
        warnings.append(message);
}

} // namespace

TEST(ProtocolTrace, FullDiskIsReportedOnceAndStopsTheTrace)
{
    ProtocolTrace trace;
    QString error;
    ASSERT_TRUE(trace.open("/dev/full", &error)) << error.toStdString();
    QStringList signalled;
    QObject::connect(&trace, &ProtocolTrace::writeFailed,
                     [&](const QString& text) { signalled.append(text); });
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    trace.sent("COM1", QByteArray::fromHex("025225"));
    trace.received("COM1", QByteArray::fromHex("0740aa"));
    trace.event("COM1", "closed");
    qInstallMessageHandler(previous);

    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith("Cannot write the protocol trace /dev/full: "))
        << warnings[0].toStdString();
    EXPECT_EQ(signalled, QStringList{warnings[0]});
    EXPECT_EQ(trace.errorString(), warnings[0]);
    EXPECT_FALSE(trace.isOpen());
}
