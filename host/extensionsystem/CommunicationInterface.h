#pragma once

#include "PortSettings.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <list>
#include <string>

namespace ExtensionSystem {

// One request to the master and what came back. The layout is shared with
// plug-ins: field order and widths are binding.
struct SensorQuery
{
    std::string request;    // raw bytes sent as they are (zero bytes included)
    QString expectedAnswer; // empty: any complete answer; otherwise a pattern for the answer's Latin-1 text
    std::string answer;     // raw bytes received
    int32_t status = 0;     // 0 no answer in time, 1 answer accepted, 2 answer not accepted
    double timeoutMs = 1000.0;
    int32_t hostParam1 = 0;
    int32_t hostParam2 = 0;
};

// The host's component that talks to one open port. A plug-in hands it
// frames of queries and learns through emitFinished when a frame is done.
class CommunicationInterface : public QObject
{
    Q_OBJECT
public:
    using SensorQuery = ExtensionSystem::SensorQuery;
    struct DataFrame
    {
        std::list<SensorQuery> queries;
    };

    explicit CommunicationInterface(QObject* parent = nullptr);
    ~CommunicationInterface() override;

    // Sends bytes as they are, outside any frame.
    virtual void sendBytes(std::string bytes) = 0;
    // Queues the frame (the caller keeps ownership and keeps it alive until
    // emitFinished) and returns its id, never 0. emitFinished for it is
    // never emitted before this call has returned.
    virtual unsigned int submitFrame(DataFrame* frame) = 0;
    // Reopens the port with new settings.
    virtual void applyPortSettings(const PortSettings& settings) = 0;
    virtual const PortSettings& currentPortSettings() const = 0;
    // Lets go of the port. The object stays usable: frames submitted from
    // now on finish at once with status 0 and raw sends are dropped.
    virtual void closePort() = 0;

signals:
    void emitFinished(unsigned int frameId);
};

} // namespace ExtensionSystem
