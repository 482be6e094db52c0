#include <FileFaults.h>

#include <extensionsystem/ProtocolTrace.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using ExtensionSystem::ProtocolTrace;

// Writes beyond the size limit fail as on a full disk.
TEST(ProtocolTrace, AFailedWriteIsReportedOnceAndStopsTheTrace)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("trace.txt");
    ProtocolTrace trace;
    QString error;
    ASSERT_TRUE(trace.open(file, &error)) << error.toStdString();
    QStringList signalled;
    QObject::connect(&trace, &ProtocolTrace::writeFailed,
                     [&](const QString& text) { signalled.append(text); });
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtWarningMsg)
                warnings.append(message);
        });
    {
        const FileSizeLimit limit(40);
        trace.sent("COM1", QByteArray::fromHex("025225"));
        trace.received("COM1", QByteArray::fromHex("0740aa"));
        trace.event("COM1", "closed");
    }
    qInstallMessageHandler(previous);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith("Cannot write the protocol trace " + file + ": "))
        << warnings[0].toStdString();
    EXPECT_EQ(signalled + QStringList(trace.errorString()), warnings + warnings);
    EXPECT_FALSE(trace.isOpen());
}

// A pipe without a reader would stop the program at its first line, and a folder or a device is no trace;
// the standard streams are taken.
TEST(ProtocolTrace, OnlyRegularFilesAndTheStandardStreamsAreOpened)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, dir.path(), QString("/dev/full"), dir.filePath("none/trace.txt"),
                                QString("/dev/stderr"), dir.filePath("Prüfung-Тест.txt")}) {
        ProtocolTrace trace;
        QString error;
        const bool taken = path == "/dev/stderr" || path.endsWith("Prüfung-Тест.txt");
        EXPECT_EQ(trace.open(path, &error), taken) << path.toStdString();
        EXPECT_EQ(error.isEmpty() && trace.isOpen(), taken)
            << path.toStdString() << ": " << error.toStdString();
    }
}
