#include "SensorWindowScripting.h"

#include "SensorWindow.h"
#include "link/LinkSession.h"
#include "parameters/ParameterTree.h"
#include "tools/LiveDataLog.h"

namespace NimbarSensorPlugin::Core {

SensorWindowScripting::SensorWindowScripting(SensorWindow* window, LiveDataLog& liveLog,
                                             const LinkSession& link, const ParameterTree& tree)
    : QObject(window), window(window), liveLog(liveLog), link(link), tree(tree)
{
    setObjectName("scripting");
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

QStringList SensorWindowScripting::unreadRows() const
{
    return tree.unreadRows();
}

} // namespace NimbarSensorPlugin::Core
