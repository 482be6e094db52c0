#include "SerialTransport.h"

#include <QFile>
#include <QSerialPort>

#include <cerrno>
#include <csignal>

namespace ExtensionSystem {

namespace {

// The folders where programs that open a serial port leave their lock file
// "LCK..<name>", which holds the pid of the process that has the port.
const char* const lockFolders[] = {
    "/var/lock",  "/run/lock", "/var/spool/locks", "/var/spool/uucp", "/var/lock/lockdev",
    "/etc/locks", "/tmp",      "/var/tmp"};

// The process named by the port's lock file while it lives; -1 for a lock
// file whose process cannot be told, 0 when there is no lock file.
qint64 lockHolder(const QString& portName)
{
    const QString fileName = "/LCK.." + QString(portName).replace('/', '_');
    for (const char* folder : lockFolders) {
        QFile lock(QLatin1String(folder) + fileName);
        if (!lock.open(QIODevice::ReadOnly))
            continue;
        const qint64 pid = lock.readLine(32).trimmed().toLongLong();
        return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM) ? pid : -1;
    }
    return 0;
}

void setBaudRate(QIODevice* device, int baudRate)
{
    static_cast<QSerialPort*>(device)->setBaudRate(baudRate);
}

} // namespace

SerialTransport::SerialTransport(const QString& portName, QObject* parent)
    : DeviceTransport(&setBaudRate, parent), m_port(new QSerialPort(portName, this))
{
    setDevice(m_port);
    // A pulled USB adapter or a closed pseudo-terminal shows up as a
    // resource error; the port is unusable from then on.
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError)
            deviceGone(m_port->errorString());
    });
}

SerialTransport::~SerialTransport()
{
    close();
}

bool SerialTransport::open(const PortSettings& settings, QString* error)
{
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(settings.flowControl == 1 ? QSerialPort::HardwareControl
                                                     : QSerialPort::NoFlowControl);
    if (DeviceTransport::open(settings, error))
        return true;
    // Qt says only that locking failed; who holds the port is what helps.
    if (m_port->error() == QSerialPort::PermissionError) {
        const qint64 holder = lockHolder(m_port->portName());
        if (holder > 0)
            *error = tr("it is in use by process %1").arg(holder);
        else if (holder < 0)
            *error = tr("it is in use by another program");
    }
    return false;
}

} // namespace ExtensionSystem
