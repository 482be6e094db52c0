#pragma once

#include "parameters/ParameterReader.h"
#include "parameters/WriteSequence.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace NimbarSensorPlugin::Core {

class LengthUnits;
class LinkSession;
class ParameterEditor;
class ParameterModel;
class ParameterTree;
class ParameterWriter;
class Sensor;
struct SensorVariant;
class StatusPoll;

// The sensor a window works with: whether it is connected, the busy time of a
// sequence and the settling after a connect, and the sequences that run over
// the link while it is connected: connecting, reading everything, writing
// everything, the factory restore, the read-back after a teach and the write
// of a loaded settings file. Each sequence holds the link from its first
// request to its last, pauses live data meanwhile and gives up the pending
// edit the user made before it. What the window shows of it comes as signals.
class SensorSession : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        LinkSession& link;
        StatusPoll& poll;
        ParameterTree& tree;
        ParameterModel& model;
        ParameterReader& reader;
        ParameterEditor& editor;
        ParameterWriter& writer;
        LengthUnits& units;
    };

    SensorSession(const Sensor& sensor, Parts parts, QObject* parent);

    bool isConnected() const { return connected; }
    void setConnected(bool on) { connected = on; }
    // True while the sensor settles after connecting: edits stay in the window.
    bool isSettling() const { return busy && resumeLiveData; }
    // Whether an exchange shows the progress of its own wait: not while a
    // sequence shows its busy time, nor once the window closes.
    bool showWait() const { return waitShown; }
    void hideWaits() { waitShown = false; }

    // The busy time of a sequence, one step every 10 ms, and its end; after
    // a connect live data go on once it ends.
    void startBusy(int steps);
    void advanceBusy();
    void endBusy();
    // After the next connect live data go on whatever the user chose.
    void setLiveDataOnResume(bool on) { liveDataOnResume = on; }

    // A sequence goes on while the sensor is connected and answers; a
    // sensor that left three queries in a row unanswered is lost.
    bool mayGoOn();
    void loseSensor();
    // Ends the read or write of everything that runs after the exchange in
    // progress; nothing else can be cancelled.
    void cancel();

    // The line check and the sensor's identity; false when it failed, as
    // connectFailed said.
    bool connectToSensor();
    // A verified sensor's values are read into the window; false when it
    // was lost meanwhile.
    bool readConnected();
    // A verified sensor takes the window's values, after the identity texts
    // that name it were read: only those that differ from what it holds
    // (read first), or all of them. False when it was lost meanwhile.
    bool writeConnected(bool onlyDifferences);
    void startLiveData();

    void readAll();
    // Every parameter read into the model; the rows not read keep their values.
    void reload();
    void writeAll();
    // Writes the parameters as the tree shows them, in write mode: every
    // one, or those that differ from what the sensor holds; then reads back
    // what the sensor took.
    void writeSettings(bool everything);
    void restoreFactorySettings();
    void writeLoadedSettings();
    // A loaded settings file goes to the sensor whole, not only what differs.
    void setWritingLoadedEverything(bool on) { writeLoadedEverything = on; }
    // Whether the window knows what the sensor holds of everything a write sends.
    bool knowsSensor() const { return writes.knowsSensor(); }
    // What the last write did.
    const WriteReport& lastWrite() const { return lastWriteReport; }

    void readTaughtValues();
    // The switching point and window limits of the output of id ("...A1" or "...A2").
    bool readTaughtThresholds(const QString& id);

    // The switches of the master's outputs, one bit each, set on the sensor.
    void sendMasterSwitches(quint8 byte);

    ParameterReader::Options readOptions() const;
    // What the sensor last connected named itself: its model and variant.
    QString identityText() const { return identity; }
    // The last connect found another sensor than this window's on the port.
    bool foundWrongSensor() const { return wrongSensor; }

signals:
    void busyStarted(int steps);
    void busyProgress(int done);
    void busyEnded();
    // The settling after a connect is over and live data go on as chosen.
    void settled();
    void message(const QString& text);
    // The tree takes no edits from the user while a sequence reads or writes it.
    void treeLocked(bool locked);
    void writeModeLeft();
    void writeModeEntered();
    // The sensor said which variant it is; the units have its ranges already.
    void variantConnected(const QString& code, const NimbarSensorPlugin::Core::SensorVariant& variant);
    void identified();
    void connectFailed(const QString& whatHappened);
    void sensorLost();
    // Every parameter was read; the window shows them in the unit the
    // sensor holds, which was unitBefore.
    void valuesRead(int unitBefore);
    // A sequence changed many values; the window shows them again.
    void valuesChanged(bool withUnitLimits);
    void outputViewStale();
    // After a teach (or a counter reset) the values read back, named.
    void taught(const QString& text);
    void allWritten();
    void factoryRestored();
    // A read or write of everything started or ended: the user may cancel it meanwhile.
    void cancellableChanged(bool cancellable);

private:
    friend class CancellableSequence;
    void followWrite(const QString& id, int code, bool unitChanged);
    void stopLiveData();
    bool readParameter(const QString& id);
    QString taughtText(const QString& buttonId, bool whole) const;

    const Sensor& sensor;
    Parts p;
    WriteSequence writes;
    WriteReport lastWriteReport;
    bool writeLoadedEverything = false;
    QTimer teachTimer;
    bool connected = false;
    QString identity;
    bool wrongSensor = false;
    bool busy = false;
    int busySteps = 0;
    int busyDone = 0;
    bool waitShown = true;
    bool resumeLiveData = false;
    bool liveDataOnResume = false;
    bool cancellable = false;
    bool cancelRequested = false;
};

} // namespace NimbarSensorPlugin::Core
