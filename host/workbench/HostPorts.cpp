#include "HostPorts.h"

#include <extensionsystem/SerialCommunication.h>
#include <extensionsystem/SerialTransport.h>

#include <QIODevice>

using namespace ExtensionSystem;

HostPorts::HostPorts(QObject* parent) : QObject(parent) {}

void HostPorts::addSimulated(const QString& name, QIODevice* device, DeviceTransport::BaudSetter setBaud,
                             const QString& modelId)
{
    device->setParent(this);
    m_simulated.insert(name, device);
    m_baudSetters.insert(name, std::move(setBaud));
    m_simulatedModels.insert(name, modelId);
    m_simulatedOrder.append(name);
}

void HostPorts::addPath(const QString& path)
{
    if (!m_paths.contains(path))
        m_paths.append(path);
}

QStringList HostPorts::ports() const
{
    return m_simulatedOrder + m_paths;
}

bool HostPorts::setTraceFile(const QString& fileName, QString* error)
{
    return m_trace.open(fileName, error);
}

std::unique_ptr<CommunicationInterface> HostPorts::open(const PortSettings& settings, QString* error)
{
    std::unique_ptr<PortTransport> transport;
    if (QIODevice* device = m_simulated.value(settings.portName))
        transport = std::make_unique<DeviceTransport>(device, m_baudSetters.value(settings.portName));
    else
        transport = std::make_unique<SerialTransport>(settings.portName);
    auto communication = std::make_unique<SerialCommunication>(std::move(transport), &m_trace);
    if (!communication->open(settings, error))
        return nullptr;
    m_trace.event(settings.portName, QString("opened at %1 baud").arg(settings.baudRate()));
    return communication;
}
