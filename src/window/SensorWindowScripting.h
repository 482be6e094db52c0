#pragma once

#include <QObject>
#include <QStringList>

namespace NimbarSensorPlugin::Core {

class LinkSession;
class LiveDataLog;
class ParameterTree;
class SensorWindow;

// What a host that runs the sensor window without a person (a script, a
// test bench) asks of it beyond the window's own slots. The host finds this
// child of the window by its object name, "scripting", and calls these by
// name through the meta-object; the window's slot table stays as hosts know
// it.
class SensorWindowScripting : public QObject
{
    Q_OBJECT
public:
    SensorWindowScripting(SensorWindow* window, LiveDataLog& liveLog, const LinkSession& link,
                          const ParameterTree& tree);

    Q_INVOKABLE bool isConnected() const;
    Q_INVOKABLE QString saveSettingsTo(const QString& fileName) const;
    Q_INVOKABLE QString settingsFileProblem(const QString& fileName) const;
    Q_INVOKABLE QStringList settingsDifferences(const QString& fileName) const;
    Q_INVOKABLE QString startLiveLog(const QString& fileName);
    Q_INVOKABLE QString stopLiveLog();
    Q_INVOKABLE QString liveLogProblem() const;
    // How long the window has waited on purpose between exchanges: the
    // pauses the sensor needs, which no speed-up can save.
    Q_INVOKABLE qint64 pausedMilliseconds() const;
    // "Caption: why" of every row whose last read failed, in the tree's order.
    Q_INVOKABLE QStringList unreadRows() const;
    Q_INVOKABLE bool isSettling() const;

private:
    SensorWindow* window;
    LiveDataLog& liveLog;
    const LinkSession& link;
    const ParameterTree& tree;
};

} // namespace NimbarSensorPlugin::Core
