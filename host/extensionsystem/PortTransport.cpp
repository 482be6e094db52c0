#include "PortTransport.h"

#include <QIODevice>

namespace ExtensionSystem {

DeviceTransport::DeviceTransport(QIODevice* device, BaudSetter setBaud, QObject* parent)
    : PortTransport(parent), m_device(device), m_setBaud(std::move(setBaud))
{
}

DeviceTransport::DeviceTransport(BaudSetter setBaud, QObject* parent)
    : PortTransport(parent), m_setBaud(std::move(setBaud))
{
}

DeviceTransport::~DeviceTransport()
{
    close();
}

bool DeviceTransport::open(const PortSettings& settings, QString* error)
{
    if (!m_device) {
        *error = tr("the device no longer exists");
        return false;
    }
    if (m_setBaud)
        m_setBaud(m_device, settings.baudRate());
    if (m_open)
        return true;
    if (m_device->isOpen()) {
        *error = tr("the device is in use");
        return false;
    }
    if (!m_device->open(QIODevice::ReadWrite)) {
        *error = m_device->errorString();
        return false;
    }
    m_open = true;
    attach();
    return true;
}

void DeviceTransport::close()
{
    if (!m_open)
        return;
    m_open = false;
    detach();
    if (m_device)
        m_device->close();
}

void DeviceTransport::write(const QByteArray& bytes)
{
    if (m_open && m_device)
        m_device->write(bytes);
}

QByteArray DeviceTransport::readAll()
{
    return m_open && m_device ? m_device->readAll() : QByteArray();
}

void DeviceTransport::deviceGone(const QString& reason)
{
    if (!m_open)
        return;
    m_open = false;
    detach();
    if (m_device && m_device->isOpen())
        m_device->close();
    emit vanished(reason);
}

void DeviceTransport::attach()
{
    m_connections = {
        connect(m_device, &QIODevice::readyRead, this, &PortTransport::readyRead),
        connect(m_device, &QIODevice::aboutToClose, this,
                [this] { deviceGone(tr("the device was closed")); }),
        connect(m_device, &QObject::destroyed, this, [this] { deviceGone(tr("the device was removed")); }),
    };
}

void DeviceTransport::detach()
{
    for (const QMetaObject::Connection& connection : qAsConst(m_connections))
        disconnect(connection);
    m_connections.clear();
}

} // namespace ExtensionSystem
