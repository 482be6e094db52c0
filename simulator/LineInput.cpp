#include "LineInput.h"

#include <QSocketNotifier>
#include <QString>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace IoLinkSimulator {

LineInput::LineInput(int fd, QObject* parent)
    : QObject(parent), m_fd(fd), m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read, this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, &LineInput::readAvailable);
}

void LineInput::readAvailable()
{
    char buffer[512];
    // The notifier said the descriptor is ready: one read does not block.
    const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (count < 0) {
        // A background job's read of its terminal fails (SIGTTIN ignored)
        // instead of stopping the whole process.
        end(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (count == 0) {
        end(QString());
        return;
    }
    m_pending.append(buffer, static_cast<int>(count));
    int newline;
    while ((newline = m_pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(m_pending.left(newline));
        m_pending.remove(0, newline + 1);
        emit lineRead(line);
    }
}

void LineInput::end(const QString& reason)
{
    m_notifier->setEnabled(false);
    // A last line without its newline still counts.
    if (!m_pending.isEmpty())
        emit lineRead(QString::fromLocal8Bit(m_pending));
    m_pending.clear();
    emit ended(reason);
}

} // namespace IoLinkSimulator
