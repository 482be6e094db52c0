#include "FakeCommunication.h"

#include <QMetaObject>

FakeCommunication::FakeCommunication(const ExtensionSystem::PortSettings& settings, QObject* parent)
    : CommunicationInterface(parent), m_settings(settings)
{
}

void FakeCommunication::sendBytes(std::string bytes)
{
    if (!closed)
        sentBytes.push_back(std::move(bytes));
}

unsigned int FakeCommunication::submitFrame(DataFrame*)
{
    const unsigned int id = ++m_lastId;
    QMetaObject::invokeMethod(
        this, [this, id] { emit emitFinished(id); }, Qt::QueuedConnection);
    return id;
}

void FakeCommunication::applyPortSettings(const ExtensionSystem::PortSettings& settings)
{
    m_settings = settings;
    appliedSettings.push_back(settings);
}

const ExtensionSystem::PortSettings& FakeCommunication::currentPortSettings() const
{
    return m_settings;
}

void FakeCommunication::closePort()
{
    closed = true;
}
