#pragma once

#include "tools/LiveLog.h"

#include <QObject>
#include <QString>

namespace NimbarSensorPlugin::Core {

class LengthUnits;
class StatusPoll;

// A sensor window's live-data log: while one runs, every process-data answer
// the status poll shows as live data becomes a line, in the window's unit.
class LiveDataLog : public QObject
{
    Q_OBJECT
public:
    LiveDataLog(StatusPoll& poll, const LengthUnits& units, QObject* parent);

    // Empty on success, otherwise why the file could not be started.
    QString start(const QString& fileName);
    // Ends the log; empty when every line was written, otherwise the reason.
    QString stop();
    // Why the running log stopped writing; empty while it writes.
    QString problem() const;

signals:
    // A write failed and ended the log; said once.
    void failed(const QString& problem);

private:
    const LengthUnits& units;
    LiveLogFile file;
};

} // namespace NimbarSensorPlugin::Core
