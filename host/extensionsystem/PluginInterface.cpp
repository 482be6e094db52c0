#include "PluginInterface.h"

#include "ConnectionBroker.h"

namespace ExtensionSystem {

PluginInterface::PluginInterface() = default;

PluginInterface::~PluginInterface() = default;

void PluginInterface::vSensorListUpdated(const QList<SensorBasic>&) {}

void PluginInterface::vActionExport(const QString&) {}

void PluginInterface::vRegisterConnection(const PortSettings& settings, CommunicationInterface** out,
                                          PluginInterface* owner)
{
    ConnectionBroker* broker = ConnectionBroker::installed();
    CommunicationInterface* communication = broker ? broker->registerConnection(settings, owner) : nullptr;
    if (out)
        *out = communication;
}

void PluginInterface::vUnregisterConnection(PluginInterface* owner)
{
    if (ConnectionBroker* broker = ConnectionBroker::installed())
        broker->unregisterConnection(owner);
}

void PluginInterface::vUnregisterPlugin(PluginInterface* owner)
{
    if (ConnectionBroker* broker = ConnectionBroker::installed())
        broker->unregisterPlugin(owner);
}

} // namespace ExtensionSystem
