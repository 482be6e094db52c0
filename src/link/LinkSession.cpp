#include "LinkSession.h"

#include "RequestFrames.h"

#include <utils/widgets/ProgressBarUi.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace NimbarSensorPlugin::Core {

using ExtensionSystem::SensorQuery;

SensorQuery sensorQuery(const QByteArray& request, const QString& expectedAnswer, double timeoutMs)
{
    SensorQuery query;
    query.request = request.toStdString();
    query.expectedAnswer = expectedAnswer;
    query.timeoutMs = timeoutMs;
    query.hostParam1 = 0;
    return query;
}

LinkSession::LinkSession(QWidget* waitParent) : QObject(waitParent), waitParent(waitParent) {}

void LinkSession::send(DataFrame* frame, bool showWait)
{
    if (!port || !frame)
        return;
    // Deleted later rather than at the end of this scope: the window may
    // close while the frame is out, and takes its children with it.
    auto* progress = new Utils::ProgressBarUi(waitParent);
    progress->setModal(showWait);
    progress->setShowUi(showWait);
    QPointer<ExtensionSystem::CommunicationInterface> communication = port;
    QElapsedTimer clock;
    clock.start();
    const unsigned int id = communication->submitFrame(frame);
    const QMetaObject::Connection finished =
        connect(communication, &ExtensionSystem::CommunicationInterface::emitFinished, progress,
                &Utils::ProgressBarUi::exit);
    if (showWait)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    progress->exec(int(id));
    if (showWait)
        QApplication::restoreOverrideCursor();
    disconnect(finished);
    progress->deleteLater();
    const bool answered = std::any_of(frame->queries.cbegin(), frame->queries.cend(),
                                      [](const SensorQuery& query) { return query.status != 0; });
    unanswered = answered ? 0 : unanswered + 1;
    exchangeMs += clock.nsecsElapsed() / 1e6;
    ++exchanges;
}

bool LinkSession::command(const QByteArray& request, bool showWait)
{
    DataFrame frame{{sensorQuery(request, ".*")}};
    send(&frame, showWait);
    const SensorQuery& query = frame.queries.front();
    return query.status == 1 && !isErrorTextAnswer(QByteArray::fromStdString(query.answer));
}

QByteArray LinkSession::query(const QByteArray& request, const QString& expectedAnswer, bool showWait)
{
    DataFrame frame{{sensorQuery(request, expectedAnswer)}};
    send(&frame, showWait);
    const SensorQuery& query = frame.queries.front();
    return query.status == 1 ? QByteArray::fromStdString(query.answer) : QByteArray();
}

bool LinkSession::checkLine(bool showWait)
{
    DataFrame frame{{sensorQuery(connectionCheckRequest(), QString())}};
    send(&frame, showWait);
    return frame.queries.front().answer.size() == 4;
}

void LinkSession::pause(int ms)
{
    pausedMs += ms;
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

LinkSession::Hold::Hold(LinkSession& session) : session(session)
{
    ++session.holds;
    emit session.holdTaken();
    if (session.readUnfetched && session.holds == 1) {
        session.readUnfetched = false;
        if (session.port) {
            DataFrame fetch{{sensorQuery(fetchRequest(), ".*")}};
            session.send(&fetch, false);
        }
    }
}

LinkSession::Hold::~Hold()
{
    if (--session.holds > 0)
        return;
    emit session.released();
    if (!session.waiting.isEmpty())
        QTimer::singleShot(0, &session, [s = &session] { s->runWaiting(); });
}

void LinkSession::whenFree(std::function<void()> action)
{
    if (!held()) {
        action();
        return;
    }
    waiting.append(std::move(action));
}

bool LinkSession::deferWhileHeld(std::function<void()> action)
{
    if (!held())
        return false;
    waiting.append(std::move(action));
    return true;
}

void LinkSession::runWaiting()
{
    while (!held() && !waiting.isEmpty())
        waiting.takeFirst()();
}

} // namespace NimbarSensorPlugin::Core
