#pragma once

#include <QObject>
#include <QVariantMap>

class QtProperty;

namespace NimbarSensorPlugin::Core {

class LengthUnits;
class ParameterModel;
class ParameterTree;
class ParameterWriter;
class SensorSession;
class StatusPoll;

// What happened to the sensor, as a host journals and publishes it: one map
// per event with its "kind" (connected, failure, lost, written, teach, restored, settingsLoaded,
// crashCounter), a "text" in the window's language and, for a write, the "parameter" with its "old" and "new"
// value as the row shows it. Also the sensor's identity and each live process-data answer, decoded.
class SensorEvents : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        SensorSession& session;
        ParameterWriter& writer;
        StatusPoll& poll;
        const ParameterTree& tree;
        const ParameterModel& model;
        const LengthUnits& units;
        // The catalogue's name of the sensor model.
        QString productName;
    };
    SensorEvents(Parts parts, QObject* parent);

    void reportSettingsLoaded(const QString& fileName);

    // The identity rows read from the sensor and the identity it gave,
    // under the names a plant's monitoring knows.
    QVariantMap identification() const;
    // The last connect found another sensor on the port.
    bool foundWrongSensor() const;

signals:
    void happened(const QVariantMap& event);
    // "valid"; "distance" and "unit" of a measured distance, else "state"
    // ("too close", "too far", "no data"); the named status bits.
    void processData(const QVariantMap& values);
    // Every parameter was read, the identity rows among them.
    void identityRead();

private:
    void report(const QString& kind, const QString& text, const QVariantMap& details = {});
    void reportWritten(QtProperty* property, const QVariant& before, const QVariant& sent);
    void reportCrashCount(int count);
    void decodeProcessData(const QByteArray& answer);
    QString heldText(QtProperty* property, const QVariant& held) const;

    Parts p;
    // The last crash count the poll brought; -1 before the first.
    int crashCount = -1;
    bool lost = false;
    bool backPending = false;
};

// The process data of one 8-byte answer as SensorEvents::processData gives
// them; measurementUnit 0 is millimetres, else tenths of an inch.
QVariantMap decodedProcessData(const QByteArray& answer, int measurementUnit);

} // namespace NimbarSensorPlugin::Core
