#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace Fuzz {

// The readers log what they refuse; at a million inputs that is only noise.
// A fatal message still shows, since it ends the run.
inline void silenceQtMessages()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "qFatal: %s\n", qPrintable(message));
    });
}

// A property of the reader does not hold: stops the run like a crash does,
// with a message the silenced Qt log would swallow.
[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

// For the readers that take a path: one file per process, rewritten for each
// input, so parallel fuzzing runs do not share it.
class ScratchFile
{
public:
    explicit ScratchFile(const char* suffix)
        : m_path(QDir::tempPath().toStdString() + "/iolink-fuzz-" +
                 std::to_string(QCoreApplication::applicationPid()) + suffix)
    {
    }
    ~ScratchFile() { std::remove(m_path.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& write(const uint8_t* data, size_t size) const
    {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        if (!file)
            fail("cannot write the scratch file");
        if (size > 0 && std::fwrite(data, 1, size, file) != size)
            fail("cannot write the scratch file");
        std::fclose(file);
        return m_path;
    }

private:
    std::string m_path;
};

} // namespace Fuzz
