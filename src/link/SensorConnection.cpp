#include "SensorConnection.h"

#include "LinkSession.h"
#include "RequestFrames.h"

namespace NimbarSensorPlugin::Core {

namespace {

constexpr int lineChecks = 5;
constexpr int identityAttempts = 10;
// Requests of one identity attempt: the connect sequence, two process-data
// requests and the fetch of the identity.
constexpr int identityRequests = 8;

} // namespace

bool identityMatches(const QString& identity, const QString& reference)
{
    return identity.size() >= 5 && reference.size() >= 5 && identity[0] == reference[0] &&
           identity.mid(2, 3) == reference.mid(2, 3);
}

SensorConnection::SensorConnection(LinkSession& link, const QString& reference, double fetchTimeoutMs)
    : link(link), reference(reference), fetchTimeoutMs(fetchTimeoutMs)
{
}

SensorConnection::Result SensorConnection::run(bool showWait)
{
    Result result;
    link.forgetUnanswered();
    bool answered = false;
    while (result.attempts < lineChecks && !answered) {
        if (!link.communication()) {
            result.failure = Failure::PortLost;
            return result;
        }
        emit attempting(Step::CheckingLine, ++result.attempts, lineChecks);
        ExtensionSystem::PortSettings settings = link.communication()->currentPortSettings();
        settings.vSetBaudrateDefault(2);
        link.communication()->applyPortSettings(settings);
        LinkSession::DataFrame frame{{sensorQuery(connectionCheckRequest(), ".*", 1000.0)}};
        link.send(&frame, showWait);
        answered = frame.queries.front().status != 0;
    }
    if (!answered) {
        result.failure = Failure::NoAnswer;
        return result;
    }
    for (int attempt = 1; attempt <= identityAttempts; ++attempt) {
        emit attempting(Step::AskingIdentity, attempt, identityAttempts);
        const int unansweredBefore = link.unansweredInARow();
        const bool identified = askIdentity(&result.identity);
        if (!link.communication()) {
            result.failure = Failure::PortLost;
            return result;
        }
        if (identified)
            return result;
        if (link.unansweredInARow() >= unansweredBefore + identityRequests) {
            result.attempts = lineChecks + attempt;
            result.failure = Failure::NoAnswer;
            return result;
        }
    }
    result.failure = Failure::WrongIdentity;
    return result;
}

// One identity attempt: the connect sequence, then the fetch of the
// identity text read by it.
bool SensorConnection::askIdentity(QString* identity)
{
    for (const QByteArray& request : {connectionCheckRequest(), connectSetupRequest(), processDataRequest(),
                                      connectModeRequest(), identityReadRequest()})
        link.command(request, false);
    link.command(processDataRequest(), false);
    link.pause(50);
    link.command(processDataRequest(), false);
    link.pause(50);
    LinkSession::DataFrame frame{{sensorQuery(fetchRequest(), ".*", fetchTimeoutMs)}};
    link.send(&frame, false);
    const ExtensionSystem::SensorQuery& query = frame.queries.front();
    if (query.status == 0)
        return false;
    const QByteArray text = stripAnswer(QByteArray::fromStdString(query.answer), 3);
    if (text.size() < 3)
        return false;
    *identity = QString::fromLatin1(text);
    return !reference.isEmpty() && identityMatches(*identity, reference);
}

QString SensorConnection::attemptText(Step step, const QString& port, int attempt, int attempts)
{
    return (step == Step::CheckingLine
                ? tr("Connecting to %1: checking the line, attempt %2 of %3")
                : tr("Connecting to %1: asking the sensor who it is, attempt %2 of %3"))
        .arg(port)
        .arg(attempt)
        .arg(attempts);
}

QString SensorConnection::failureText(const Result& result, const QString& port)
{
    switch (result.failure) {
    case Failure::PortLost:
        return tr("The port %1 was lost.").arg(port);
    case Failure::NoAnswer:
        return tr("No answer on %1 after %2 attempts.").arg(port).arg(result.attempts);
    case Failure::WrongIdentity:
        return result.identity.isEmpty()
                   ? tr("The sensor did not say who it is.")
                   : tr("The sensor identifies itself as %1.").arg(result.identity.trimmed());
    case Failure::None:
        break;
    }
    return QString();
}

} // namespace NimbarSensorPlugin::Core
