#include "RecordingBroker.h"

RecordingBroker::RecordingBroker(QSet<QString> openablePorts) : m_openable(std::move(openablePorts))
{
    install(this);
}

RecordingBroker::~RecordingBroker() = default;

ExtensionSystem::CommunicationInterface*
RecordingBroker::registerConnection(const ExtensionSystem::PortSettings& settings,
                                    ExtensionSystem::PluginInterface*)
{
    calls << "register " + settings.portName;
    lastSettings = settings;
    if (!m_openable.contains(settings.portName))
        return nullptr;
    m_current = std::make_unique<FakeCommunication>(settings);
    return m_current.get();
}

void RecordingBroker::unregisterConnection(ExtensionSystem::PluginInterface*)
{
    calls << "unregister";
}

void RecordingBroker::unregisterPlugin(ExtensionSystem::PluginInterface*)
{
    calls << "unregister plugin";
}
