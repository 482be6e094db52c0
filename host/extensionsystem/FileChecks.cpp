#include "FileChecks.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ExtensionSystem {

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString cannotRead(const QString& path, int error)
{
    return QCoreApplication::translate("FileChecks", "The file %1 cannot be read: %2")
        .arg(path, systemError(error));
}

QString notRegular(const QString& path)
{
    return QCoreApplication::translate("FileChecks", "%1 is not a regular file.").arg(path);
}

QString tooLarge(const QString& path, qint64 bytes, qint64 maxBytes)
{
    const qint64 megabyte = 1024 * 1024;
    return QCoreApplication::translate("FileChecks", "The file %1 has %2 MB; at most %3 MB are read.")
        .arg(path)
        .arg((bytes + megabyte - 1) / megabyte)
        .arg(maxBytes / megabyte);
}

} // namespace

bool isThereButNoRegularFile(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode);
}

// O_NONBLOCK and the second look keep a file swapped for a pipe between the
// look and the open from blocking.
int openRegularFile(const QString& path, qint64 maxBytes, QString* problem)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) != 0) {
        *problem = errno == ENOENT
                       ? QCoreApplication::translate("FileChecks", "The file %1 does not exist.").arg(path)
                       : cannotRead(path, errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        *problem = notRegular(path);
        return -1;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *problem = cannotRead(path, errno);
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *problem = notRegular(path);
        return -1;
    }
    if (info.st_size > maxBytes) {
        ::close(fd);
        *problem = tooLarge(path, info.st_size, maxBytes);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool readRegularFile(const QString& path, qint64 maxBytes, QByteArray* content, QString* problem)
{
    const int fd = openRegularFile(path, maxBytes, problem);
    if (fd < 0)
        return false;
    // A file that grows while it is read is still cut at the limit.
    content->clear();
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            *problem = cannotRead(path, errno);
            ::close(fd);
            return false;
        }
        if (content->size() + count > maxBytes) {
            *problem = tooLarge(path, content->size() + count, maxBytes);
            ::close(fd);
            return false;
        }
        content->append(buffer, int(count));
    }
    ::close(fd);
    return true;
}

QString outputProblem(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return QCoreApplication::translate("FileChecks", "it is not a regular file");
        if (::access(name.constData(), W_OK) != 0)
            return systemError(errno);
        return QString();
    }
    if (errno != ENOENT)
        return systemError(errno);
    const QString folder = QFileInfo(path).absolutePath();
    const QByteArray folderName = QFile::encodeName(folder);
    if (::stat(folderName.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return QCoreApplication::translate("FileChecks", "the folder %1 does not exist").arg(folder);
    if (::access(folderName.constData(), W_OK) != 0)
        return QCoreApplication::translate("FileChecks", "the folder %1 is not writable: %2")
            .arg(folder, systemError(errno));
    return QString();
}

} // namespace ExtensionSystem
