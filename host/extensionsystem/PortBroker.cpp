#include "PortBroker.h"

#include "CommunicationInterface.h"

namespace ExtensionSystem {

PortBroker::PortBroker(QObject* parent) : QObject(parent) {}

PortBroker::~PortBroker() = default;

void PortBroker::setPortOpener(PortOpener opener)
{
    m_opener = std::move(opener);
}

void PortBroker::setOwnerNamer(OwnerNamer namer)
{
    m_ownerNamer = std::move(namer);
}

CommunicationInterface* PortBroker::registerConnection(const PortSettings& settings, PluginInterface* owner)
{
    const QString port = settings.portName;
    if (port.isEmpty())
        return nullptr;

    PluginInterface* holder = holderOf(port);
    if (holder && holder != owner) {
        emit connectionRefused(port, inUseReason(port, holder));
        return nullptr;
    }
    if (holder == owner) {
        Held& held = m_held[owner];
        held.communication->applyPortSettings(settings);
        return held.communication;
    }
    release(owner);
    // The owner overwrites its pointer with the result of this call.
    deleteRetired(owner);

    if (!m_opener) {
        emit connectionRefused(port,
                               tr("Port %1 cannot be opened: no serial transport is available.").arg(port));
        return nullptr;
    }
    QString error;
    std::unique_ptr<CommunicationInterface> opened = m_opener(settings, &error);
    if (!opened) {
        emit connectionRefused(port, tr("Port %1 cannot be opened: %2").arg(port, error));
        return nullptr;
    }
    CommunicationInterface* communication = opened.release();
    communication->setParent(this);
    m_held.insert(owner, Held{port, communication});
    emit connectionOpened(port);
    return communication;
}

void PortBroker::unregisterConnection(PluginInterface* owner)
{
    release(owner);
}

void PortBroker::unregisterPlugin(PluginInterface* owner)
{
    release(owner);
    deleteRetired(owner);
}

// The user has to act in the other window, so the reason names it.
QString PortBroker::inUseReason(const QString& port, PluginInterface* holder) const
{
    const QString window = m_ownerNamer ? m_ownerNamer(holder) : QString();
    if (window.isEmpty()) {
        return tr("The port %1 is in use by another sensor window. Disconnect it there first, or pick "
                  "another port.")
            .arg(port);
    }
    return tr("The port %1 is in use by the window \"%2\". Disconnect it there first, or pick another port.")
        .arg(port, window);
}

QString PortBroker::portOf(PluginInterface* owner) const
{
    return m_held.value(owner).port;
}

PluginInterface* PortBroker::holderOf(const QString& port) const
{
    for (auto it = m_held.cbegin(); it != m_held.cend(); ++it) {
        if (it->port == port)
            return it.key();
    }
    return nullptr;
}

void PortBroker::release(PluginInterface* owner)
{
    const auto it = m_held.find(owner);
    if (it == m_held.end())
        return;
    it->communication->closePort();
    m_retired.insert(owner, it->communication);
    m_held.erase(it);
}

void PortBroker::deleteRetired(PluginInterface* owner)
{
    // The plug-in may be waiting on one of these in a nested event loop right
    // now: let that loop unwind before the object goes.
    for (CommunicationInterface* communication : m_retired.values(owner))
        communication->deleteLater();
    m_retired.remove(owner);
}

} // namespace ExtensionSystem
