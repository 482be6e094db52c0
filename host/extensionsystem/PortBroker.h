#pragma once

#include "ConnectionBroker.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace ExtensionSystem {

// The host's broker: one communication interface per open port, and a port
// held by one plug-in is refused to every other until it is released.
class PortBroker : public QObject, public ConnectionBroker
{
    Q_OBJECT
public:
    // Opens a port; on failure returns null and says why in *error.
    using PortOpener =
        std::function<std::unique_ptr<CommunicationInterface>(const PortSettings&, QString* error)>;
    // The name under which the user knows an owner, such as the title of its
    // window; empty when there is none.
    using OwnerNamer = std::function<QString(PluginInterface* owner)>;

    explicit PortBroker(QObject* parent = nullptr);
    ~PortBroker() override;

    void setPortOpener(PortOpener opener);
    // Lets a refusal say which window holds the port.
    void setOwnerNamer(OwnerNamer namer);

    CommunicationInterface* registerConnection(const PortSettings& settings, PluginInterface* owner) override;
    void unregisterConnection(PluginInterface* owner) override;
    void unregisterPlugin(PluginInterface* owner) override;

    // The port owner holds, or an empty text.
    QString portOf(PluginInterface* owner) const;
    // The owner of a port, or null.
    PluginInterface* holderOf(const QString& port) const;

signals:
    // A registration that yielded no interface, with the reason for the user.
    void connectionRefused(const QString& port, const QString& reason);
    // A registration opened the port for an owner.
    void connectionOpened(const QString& port);

private:
    struct Held
    {
        QString port;
        CommunicationInterface* communication;
    };

    QString inUseReason(const QString& port, PluginInterface* holder) const;
    void release(PluginInterface* owner);
    void deleteRetired(PluginInterface* owner);

    PortOpener m_opener;
    OwnerNamer m_ownerNamer;
    QHash<PluginInterface*, Held> m_held;
    // Interfaces whose port was released but whose owner may still hold a
    // pointer to them (a plug-in may unregister and keep its pointer until it
    // registers again or goes away).
    QMultiHash<PluginInterface*, CommunicationInterface*> m_retired;
};

} // namespace ExtensionSystem
