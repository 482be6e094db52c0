#pragma once

#include "PortSettings.h"

namespace ExtensionSystem {

class CommunicationInterface;
class PluginInterface;

// Decides which plug-in holds which port. The host installs one; without
// one every registration yields no communication interface.
class ConnectionBroker
{
public:
    virtual ~ConnectionBroker();

    // Opens or assigns the named port for owner. Null when the port cannot be
    // opened or another owner holds it. The broker keeps ownership.
    virtual CommunicationInterface* registerConnection(const PortSettings& settings,
                                                       PluginInterface* owner) = 0;
    // Releases the port owner holds, if any.
    virtual void unregisterConnection(PluginInterface* owner) = 0;
    // The owner is going away: forget everything about it.
    virtual void unregisterPlugin(PluginInterface* owner) = 0;

    // The broker is not owned; the host keeps it alive while plug-ins exist.
    static void install(ConnectionBroker* broker);
    static ConnectionBroker* installed();
};

} // namespace ExtensionSystem
