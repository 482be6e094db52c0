#include "ConnectionBroker.h"

namespace ExtensionSystem {

namespace {
ConnectionBroker* current = nullptr;
}

ConnectionBroker::~ConnectionBroker()
{
    if (current == this)
        current = nullptr;
}

void ConnectionBroker::install(ConnectionBroker* broker)
{
    current = broker;
}

ConnectionBroker* ConnectionBroker::installed()
{
    return current;
}

} // namespace ExtensionSystem
