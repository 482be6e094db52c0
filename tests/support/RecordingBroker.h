#pragma once

#include "FakeCommunication.h"

#include <extensionsystem/ConnectionBroker.h>

#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

// A connection broker that logs every call and opens only the ports it is
// told exist. Installs itself for its lifetime.
class RecordingBroker : public ExtensionSystem::ConnectionBroker
{
public:
    explicit RecordingBroker(QSet<QString> openablePorts);
    ~RecordingBroker() override;

    ExtensionSystem::CommunicationInterface*
    registerConnection(const ExtensionSystem::PortSettings& settings,
                       ExtensionSystem::PluginInterface* owner) override;
    void unregisterConnection(ExtensionSystem::PluginInterface* owner) override;
    void unregisterPlugin(ExtensionSystem::PluginInterface* owner) override;

    // "register PORT", "unregister", "unregister plugin", in call order.
    QStringList calls;
    ExtensionSystem::PortSettings lastSettings;
    // The interface handed out last, or null.
    FakeCommunication* current() const { return m_current.get(); }

private:
    QSet<QString> m_openable;
    std::unique_ptr<FakeCommunication> m_current;
};
