#pragma once

#include "AnswerSchedule.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <vector>

namespace IoLinkSimulator {

// Hands answers out from the event loop at the time the schedule gives
// them. Qt timers count whole milliseconds, so the timer wakes up to one
// millisecond early and the rest is waited out with zero-time timers,
// which keeps delivery within a small fraction of a millisecond.
class AnswerPacer : public QObject
{
    Q_OBJECT
public:
    explicit AnswerPacer(QObject* parent = nullptr);

    AnswerSchedule& schedule() { return m_schedule; }
    const AnswerSchedule& schedule() const { return m_schedule; }

    void add(const std::vector<SimulatedMaster::Answer>& answers);
    void clear();

signals:
    void answerReady(const QByteArray& bytes);

private slots:
    void deliverDue();

private:
    void arm();

    AnswerSchedule m_schedule;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

} // namespace IoLinkSimulator
