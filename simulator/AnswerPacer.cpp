#include "AnswerPacer.h"

namespace IoLinkSimulator {

AnswerPacer::AnswerPacer(QObject* parent) : QObject(parent)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AnswerPacer::deliverDue);
}

void AnswerPacer::add(const std::vector<SimulatedMaster::Answer>& answers)
{
    const qint64 now = m_clock.nsecsElapsed();
    for (const SimulatedMaster::Answer& answer : answers)
        m_schedule.add(now, answer);
    arm();
}

void AnswerPacer::clear()
{
    m_schedule.clear();
    m_timer.stop();
}

void AnswerPacer::deliverDue()
{
    const QByteArray bytes = m_schedule.takeDue(m_clock.nsecsElapsed());
    arm();
    if (!bytes.isEmpty())
        emit answerReady(bytes);
}

void AnswerPacer::arm()
{
    const std::optional<qint64> due = m_schedule.nextDueNs();
    if (!due) {
        m_timer.stop();
        return;
    }
    const qint64 remainingNs = *due - m_clock.nsecsElapsed();
    m_timer.start(static_cast<int>(std::max<qint64>(0, remainingNs / 1000000)));
}

} // namespace IoLinkSimulator
