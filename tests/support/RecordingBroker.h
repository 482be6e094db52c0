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
    explicit RecordingBroker(QSet<QString> openablePorts) : m_openable(std::move(openablePorts))
    {
        install(this);
    }

    ExtensionSystem::CommunicationInterface* registerConnection(const ExtensionSystem::PortSettings& settings,
                                                                ExtensionSystem::PluginInterface*) override
    {
        calls << "register " + settings.portName;
        lastSettings = settings;
        if (!m_openable.contains(settings.portName))
            return nullptr;
        m_current = std::make_unique<FakeCommunication>(settings);
        return m_current.get();
    }
    void unregisterConnection(ExtensionSystem::PluginInterface*) override { calls << "unregister"; }
    void unregisterPlugin(ExtensionSystem::PluginInterface*) override { calls << "unregister plugin"; }

    // "register PORT", "unregister", "unregister plugin", in call order.
    QStringList calls;
    ExtensionSystem::PortSettings lastSettings;
    // The interface handed out last, or null.
    FakeCommunication* current() const { return m_current.get(); }

private:
    QSet<QString> m_openable;
    std::unique_ptr<FakeCommunication> m_current;
};
