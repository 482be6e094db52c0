#pragma once

#include <QByteArray>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Each target is one file that includes this header and defines Fuzz::run.
namespace Fuzz {

void run(const QByteArray& input);

// Stops the run like a crash, with a message the silenced Qt log would swallow.
[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// A file of this process's own, so that parallel fuzzing runs do not share it.
inline QString scratchFile(const QByteArray& content)
{
    static QTemporaryFile file;
    if (!(file.isOpen() || file.open()) || !file.resize(0) || !file.seek(0) ||
        file.write(content) != content.size() || !file.flush())
        fail("cannot write the scratch file");
    return file.fileName();
}

} // namespace Fuzz

// The readers log what they refuse; at a million inputs that is only noise.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg)
            std::fprintf(stderr, "qFatal: %s\n", qPrintable(message));
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::run(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    return 0;
}
