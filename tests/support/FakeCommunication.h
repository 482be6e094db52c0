#pragma once

#include <extensionsystem/CommunicationInterface.h>

#include <string>
#include <vector>

// A communication interface that records what it is given and answers
// nothing; enough for tests of registration and raw sends.
class FakeCommunication : public ExtensionSystem::CommunicationInterface
{
    Q_OBJECT
public:
    explicit FakeCommunication(const ExtensionSystem::PortSettings& settings, QObject* parent = nullptr);

    void sendBytes(std::string bytes) override;
    unsigned int submitFrame(DataFrame* frame) override;
    void applyPortSettings(const ExtensionSystem::PortSettings& settings) override;
    const ExtensionSystem::PortSettings& currentPortSettings() const override;
    void closePort() override;

    bool closed = false;
    std::vector<std::string> sentBytes;
    std::vector<ExtensionSystem::PortSettings> appliedSettings;

private:
    ExtensionSystem::PortSettings m_settings;
    unsigned int m_lastId = 0;
};
