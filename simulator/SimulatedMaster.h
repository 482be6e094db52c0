#pragma once

#include "FaultPlan.h"
#include "SensorModel.h"

#include <QByteArray>

#include <memory>
#include <vector>

namespace IoLinkSimulator {

// The master's byte-stream side: gathers request frames from bytes in any
// chunking, lets the sensor model answer them and applies the fault plan.
// Frames with a wrong check octet get no answer, as on a real master; the
// stream then resynchronises on the next byte.
class SimulatedMaster
{
public:
    struct Answer
    {
        QByteArray bytes;
        int requestBytes = 0; // size of the request that was answered, for wire time
        int delayMs = 0;      // extra delay asked for by the fault plan
    };

    explicit SimulatedMaster(std::unique_ptr<SensorModel> model);

    // The answers to the requests these bytes complete, in order.
    std::vector<Answer> receive(const QByteArray& bytes);
    // Forgets a partly received request, as when the port is closed.
    void reset();

    SensorModel& model() { return *m_model; }
    const SensorModel& model() const { return *m_model; }
    FaultPlan& faults() { return m_faults; }
    int discardedBytes() const { return m_discardedBytes; }

private:
    bool nextRequest(QByteArray* request);
    QByteArray answerTo(const QByteArray& request);
    void discard(int count);

    std::unique_ptr<SensorModel> m_model;
    FaultPlan m_faults;
    QByteArray m_buffer;
    bool m_refuseFetch = false;
    int m_discardedBytes = 0;
};

} // namespace IoLinkSimulator
