#include "SimulatedMaster.h"

#include "Frame.h"

namespace IoLinkSimulator {

SimulatedMaster::SimulatedMaster(std::unique_ptr<SensorModel> model)
    : m_model(std::move(model)), m_faults(m_model->seed())
{
}

std::vector<SimulatedMaster::Answer> SimulatedMaster::receive(const QByteArray& bytes)
{
    m_buffer.append(bytes);
    std::vector<Answer> answers;
    QByteArray request;
    while (nextRequest(&request)) {
        const FaultPlan::Outcome outcome = m_faults.apply(answerTo(request));
        if (!outcome.bytes.isEmpty())
            answers.push_back(Answer{outcome.bytes, static_cast<int>(request.size()), outcome.delayMs});
    }
    return answers;
}

void SimulatedMaster::reset()
{
    m_buffer.clear();
    m_refuseFetch = false;
}

void SimulatedMaster::discard(int count)
{
    m_buffer.remove(0, count);
    m_discardedBytes += count;
}

bool SimulatedMaster::nextRequest(QByteArray* request)
{
    while (!m_buffer.isEmpty()) {
        const int length = static_cast<quint8>(m_buffer.at(0));
        if (length < 2 || length > Frame::MaxRequestLength) {
            discard(1);
            continue;
        }
        if (m_buffer.size() <= length) {
            // The head may be a stray byte announcing more than will ever
            // come; a complete request behind it, ending with the latest
            // byte, shows that.
            for (int start = 1; start + 3 <= m_buffer.size(); ++start) {
                const QByteArray tail = m_buffer.mid(start);
                if (Frame::isValid(tail) && Frame::isKnownCommand(static_cast<quint8>(tail.at(2)))) {
                    discard(start);
                    break;
                }
            }
            if (m_buffer.size() <= static_cast<quint8>(m_buffer.at(0)))
                return false;
            continue;
        }
        const QByteArray frame = m_buffer.left(length + 1);
        if (!Frame::isValid(frame)) {
            discard(1);
            continue;
        }
        m_buffer.remove(0, length + 1);
        *request = frame;
        return true;
    }
    return false;
}

QByteArray SimulatedMaster::answerTo(const QByteArray& request)
{
    const quint8 command = static_cast<quint8>(request.at(2));
    const bool addressed = request.size() >= 6;
    const quint16 index = addressed ? static_cast<quint16>(static_cast<quint8>(request.at(3)) |
                                                           (static_cast<quint8>(request.at(4)) << 8))
                                    : 0;
    if (command == Frame::ReadRequest && addressed) {
        m_refuseFetch = m_faults.takeReadRefusal(index);
    }
    // Answered before the model sees the write, so nothing is stored.
    if (command == Frame::ParameterWrite && addressed && m_faults.takeWriteRefusal(index))
        return Frame::errorAnswer(Frame::ParameterWrite, Frame::DeviceControl);
    if (command == Frame::ParameterWrite && addressed && m_faults.ignoresWritesTo(index))
        return Frame::acknowledgement(Frame::ParameterWrite);
    QByteArray answer = m_model->answer(request);
    if (command == Frame::Fetch && m_refuseFetch) {
        m_refuseFetch = false;
        answer = Frame::errorAnswer(Frame::Fetch, Frame::ServiceUnavailable);
    }
    return answer;
}

} // namespace IoLinkSimulator
