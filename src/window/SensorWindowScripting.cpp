#include "SensorWindowScripting.h"

#include "SensorWindow.h"
#include "link/LinkSession.h"
#include "parameters/ParameterTree.h"
#include "parameters/SensorEvents.h"
#include "parameters/SensorSession.h"
#include "tools/LiveDataLog.h"

#include <utils/charts/GenericChart.h>

namespace NimbarSensorPlugin::Core {

SensorWindowScripting::SensorWindowScripting(SensorWindow* window, LiveDataLog& liveLog,
                                             const LinkSession& link, const ParameterTree& tree,
                                             const SensorEvents& events, SensorSession& session)
    : QObject(window), window(window), liveLog(liveLog), link(link), tree(tree), events(events),
      session(session)
{
    setObjectName("scripting");
    connect(&events, &SensorEvents::happened, this, &SensorWindowScripting::sensorEvent);
    connect(&events, &SensorEvents::processData, this, &SensorWindowScripting::processData);
    connect(&events, &SensorEvents::identityRead, this, &SensorWindowScripting::identificationRead);
}

bool SensorWindowScripting::isConnected() const
{
    return window->isConnected();
}

QString SensorWindowScripting::saveSettingsTo(const QString& fileName) const
{
    return window->saveSettingsTo(fileName);
}

QString SensorWindowScripting::settingsFileProblem(const QString& fileName) const
{
    return window->settingsFileProblem(fileName);
}

QStringList SensorWindowScripting::settingsDifferences(const QString& fileName) const
{
    return window->settingsDifferences(fileName);
}

QString SensorWindowScripting::startLiveLog(const QString& fileName)
{
    return liveLog.start(fileName);
}

QString SensorWindowScripting::stopLiveLog()
{
    return liveLog.stop();
}

QString SensorWindowScripting::liveLogProblem() const
{
    return liveLog.problem();
}

qint64 SensorWindowScripting::pausedMilliseconds() const
{
    return link.pausedMilliseconds();
}

bool SensorWindowScripting::isSettling() const
{
    return window->isSettling();
}

QVariantMap SensorWindowScripting::identification() const
{
    return events.identification();
}

bool SensorWindowScripting::foundWrongSensor() const
{
    return events.foundWrongSensor();
}

void SensorWindowScripting::waitForPort(const QString& port)
{
    window->waitForPort(port);
}

void SensorWindowScripting::dropChartHistory()
{
    window->chart()->clear();
}

void SensorWindowScripting::setWritingLoadedEverything(bool on)
{
    session.setWritingLoadedEverything(on);
}

QStringList SensorWindowScripting::writeProblems() const
{
    return session.lastWrite().refused + session.lastWrite().mismatches;
}

QString SensorWindowScripting::writeReport(const QString& fileName) const
{
    return window->writeReport(fileName);
}

QStringList SensorWindowScripting::unreadRows() const
{
    return tree.unreadRows();
}

} // namespace NimbarSensorPlugin::Core
