#include "ParameterExchange.h"

#include "link/LinkSession.h"

namespace NimbarSensorPlugin::Core {

ReadOutcome readValue(LinkSession& link, const ParameterAddress& address, bool showRequestWait, bool showWait)
{
    const LinkSession::Hold hold(link);
    const bool requested =
        link.command(readRequest(address.index, quint8(address.subIndex)), showRequestWait);
    link.pause(20);
    link.command(processDataRequest(), showWait);
    link.pause(20);
    link.pause(70);
    ReadOutcome outcome;
    outcome.answer = link.query(fetchRequest(), QString(), showWait);
    outcome.failure = fetchFailure(outcome.answer);
    if (!requested && outcome.failure == FetchFailure::None)
        outcome.failure = FetchFailure::NoAnswer;
    return outcome;
}

QByteArray writeValue(LinkSession& link, const ParameterAddress& address, int value, bool showWait)
{
    const LinkSession::Hold hold(link);
    link.pause(100);
    link.command(fetchRequest(), false);
    link.pause(100);
    return link.query(writeRequest(address, value), QString(), showWait);
}

QByteArray writeTagText(LinkSession& link, quint8 index, const QByteArray& text, bool showWait)
{
    const LinkSession::Hold hold(link);
    link.command(prepareTagWriteRequest(), showWait);
    link.pause(50);
    const QByteArray answer = link.query(tagWriteRequest(index, text), QString(), showWait);
    link.pause(100);
    link.command(processDataRequest(), showWait);
    link.pause(50);
    link.command(processDataRequest(), showWait);
    return answer;
}

QByteArray restoreFactorySettings(LinkSession& link, bool showWait)
{
    const LinkSession::Hold hold(link);
    link.command(fetchRequest(), showWait);
    const QByteArray answer = link.query(factoryResetRequest(), QString(), showWait);
    link.command(processDataRequest(), showWait);
    link.command(processDataRequest(), showWait);
    return answer;
}

} // namespace NimbarSensorPlugin::Core
