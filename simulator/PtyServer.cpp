#include "PtyServer.h"

#include "AnswerPacer.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace IoLinkSimulator {

namespace {

// Answers nobody reads are not kept beyond this.
constexpr int MaxOutgoing = 4096;
// After an error on the line, wait this long before reading again.
constexpr int RetryMs = 20;

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyServer::PtyServer(std::unique_ptr<SensorModel> model, QObject* parent)
    : QObject(parent), m_master(std::move(model)), m_pacer(new AnswerPacer(this))
{
    connect(m_pacer, &AnswerPacer::answerReady, this, &PtyServer::queueAnswer);
}

PtyServer::~PtyServer()
{
    closeAll();
}

AnswerSchedule& PtyServer::schedule()
{
    return m_pacer->schedule();
}

void PtyServer::closeAll()
{
    delete m_readNotifier;
    m_readNotifier = nullptr;
    delete m_writeNotifier;
    m_writeNotifier = nullptr;
    if (m_terminalFd >= 0)
        ::close(m_terminalFd);
    if (m_masterFd >= 0)
        ::close(m_masterFd);
    m_terminalFd = -1;
    m_masterFd = -1;
    m_linkDir.reset();
}

bool PtyServer::open(QString* error)
{
    m_masterFd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_masterFd < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    const char* name = nullptr;
    if (::grantpt(m_masterFd) != 0 || ::unlockpt(m_masterFd) != 0 || !(name = ::ptsname(m_masterFd))) {
        *error = systemError("preparing the pseudo-terminal");
        closeAll();
        return false;
    }
    m_terminalPath = QString::fromLocal8Bit(name);
    // Serial ports are locked by the name they are opened under, and the
    // system hands a pseudo-terminal's number out again as soon as it is
    // closed. A lock that a killed client left on that number can still look
    // alive (its process id taken by another run of the same program), and
    // the next client of the new terminal would be refused. Clients therefore
    // reach the terminal through a link whose name is never used again.
    m_linkDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/iolink-sim-XXXXXX"));
    m_path = m_linkDir->filePath(QStringLiteral("port"));
    if (!m_linkDir->isValid() || !QFile::link(m_terminalPath, m_path)) {
        *error = QStringLiteral("cannot make a link to %1 in the temporary folder").arg(m_terminalPath);
        closeAll();
        return false;
    }
    m_terminalFd = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios settings{};
    if (m_terminalFd < 0 || ::tcgetattr(m_terminalFd, &settings) != 0) {
        *error = systemError("opening the terminal side");
        closeAll();
        return false;
    }
    // Bytes must pass unchanged: no echo, no line editing, no flow control
    // characters, no translation of 0x00, 0x11, 0x13 or line ends.
    ::cfmakeraw(&settings);
    if (::tcsetattr(m_terminalFd, TCSANOW, &settings) != 0) {
        *error = systemError("setting raw mode");
        closeAll();
        return false;
    }
    m_readNotifier = new QSocketNotifier(m_masterFd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyServer::readRequests);
    m_writeNotifier = new QSocketNotifier(m_masterFd, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyServer::writePending);
    return true;
}

void PtyServer::readRequests()
{
    QByteArray received;
    char buffer[256];
    for (;;) {
        const ssize_t count = ::read(m_masterFd, buffer, sizeof buffer);
        if (count > 0) {
            received.append(buffer, static_cast<int>(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            // EIO: no client has the terminal open. Keep serving, but do
            // not spin on a line that keeps reporting it.
            m_readNotifier->setEnabled(false);
            QTimer::singleShot(RetryMs, m_readNotifier,
                               [notifier = m_readNotifier] { notifier->setEnabled(true); });
        }
        break;
    }
    if (!received.isEmpty())
        m_pacer->add(m_master.receive(received));
}

void PtyServer::queueAnswer(const QByteArray& bytes)
{
    if (m_outgoing.size() + bytes.size() > MaxOutgoing)
        return;
    m_outgoing.append(bytes);
    writePending();
}

void PtyServer::writePending()
{
    while (!m_outgoing.isEmpty()) {
        const ssize_t count =
            ::write(m_masterFd, m_outgoing.constData(), static_cast<size_t>(m_outgoing.size()));
        if (count > 0) {
            m_outgoing.remove(0, static_cast<int>(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        // Anything but a full line buffer means the answers cannot go out.
        if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            m_outgoing.clear();
        break;
    }
    m_writeNotifier->setEnabled(!m_outgoing.isEmpty());
}

} // namespace IoLinkSimulator
