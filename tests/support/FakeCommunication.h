#pragma once

#include <extensionsystem/CommunicationInterface.h>

#include <QMetaObject>

#include <string>
#include <vector>

// A communication interface that records what it is given and answers
// nothing; enough for tests of registration and raw sends.
class FakeCommunication : public ExtensionSystem::CommunicationInterface
{
    Q_OBJECT
public:
    explicit FakeCommunication(const ExtensionSystem::PortSettings& settings, QObject* parent = nullptr)
        : CommunicationInterface(parent), m_settings(settings)
    {
    }

    void sendBytes(std::string bytes) override
    {
        if (!closed)
            sentBytes.push_back(std::move(bytes));
    }
    unsigned int submitFrame(DataFrame*) override
    {
        const unsigned int id = ++m_lastId;
        QMetaObject::invokeMethod(
            this, [this, id] { emit emitFinished(id); }, Qt::QueuedConnection);
        return id;
    }
    void applyPortSettings(const ExtensionSystem::PortSettings& settings) override { m_settings = settings; }
    const ExtensionSystem::PortSettings& currentPortSettings() const override { return m_settings; }
    void closePort() override { closed = true; }

    bool closed = false;
    std::vector<std::string> sentBytes;

private:
    ExtensionSystem::PortSettings m_settings;
    unsigned int m_lastId = 0;
};
