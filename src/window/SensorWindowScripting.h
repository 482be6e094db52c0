#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace NimbarSensorPlugin::Core {

class LinkSession;
class LiveDataLog;
class ParameterTree;
class SensorEvents;
class SensorSession;
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
                          const ParameterTree& tree, const SensorEvents& events, SensorSession& session);

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
    // Who the connected sensor is: vendorName, productName, productId,
    // serialNumber, the revisions and the tags, as far as they were read.
    Q_INVOKABLE QVariantMap identification() const;
    // The last connect found another sensor than this window's on the port.
    Q_INVOKABLE bool foundWrongSensor() const;
    // Connects to port by itself, reading the sensor, once it appears.
    Q_INVOKABLE void waitForPort(const QString& port);
    // Forgets the chart's history without asking: a window nobody looks at
    // need not keep weeks of it.
    Q_INVOKABLE void dropChartHistory();
    // A settings file opened from now on is written whole, not only where
    // it differs from the sensor.
    Q_INVOKABLE void setWritingLoadedEverything(bool on);
    // What the last write could not do: "Caption: why" of each write the
    // sensor refused, "Caption: sent ..., read back ..." of each row that
    // holds another value than was written.
    Q_INVOKABLE QStringList writeProblems() const;
    // Writes the commissioning report to the PDF file fileName; empty on
    // success, otherwise the reason.
    Q_INVOKABLE QString writeReport(const QString& fileName) const;

signals:
    // Connects, losses, writes, teach, restore, loaded settings and
    // failures, as a map with "kind" and "text", for the host's journal.
    void sensorEvent(const QVariantMap& event);
    // Each live process-data answer, decoded: "valid", "distance" and
    // "unit" or "state", and the named status bits.
    void processData(const QVariantMap& values);
    // The sensor was read: identification() has its identity.
    void identificationRead();

private:
    SensorWindow* window;
    LiveDataLog& liveLog;
    const LinkSession& link;
    const ParameterTree& tree;
    const SensorEvents& events;
    SensorSession& session;
};

} // namespace NimbarSensorPlugin::Core
