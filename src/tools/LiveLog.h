#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <memory>

namespace NimbarSensorPlugin::Core {

// The live-data log: one CSV line per answered process-data poll, with the
// time since the log began, the distance as the window shows it and the two
// switching outputs (1 on, 0 off).

// The first line, naming the columns; the unit is the window's.
QString liveLogHeader(int measurementUnit);

// The line for one 8-byte process-data answer. A distance the sensor cannot
// give is written as "no data", "too close" or "too far", so a script can
// tell it from a measured one.
QString liveLogLine(qint64 milliseconds, const QByteArray& answer, int measurementUnit);

// The log file while one runs. Written straight to the file line by line
// instead of beside it and renamed, so that a run that is killed keeps every
// line so far; unbuffered, so that the file's size is always where the last
// whole line ends.
class LiveLogFile
{
public:
    // Replaces the file and writes the header; empty on success, otherwise
    // why not. A device or a pipe is never opened.
    QString start(const QString& fileName, int measurementUnit);
    void stop();
    bool isOpen() const { return file != nullptr; }
    // Appends the answer's line. A write that fails cuts off the part of the
    // line that made it to the file, ends the log and gives false; then
    // fileName() and errorString() say what failed, until a log starts.
    bool append(const QByteArray& answer, int measurementUnit);
    QString fileName() const { return lastName; }
    QString errorString() const { return lastError; }

private:
    std::unique_ptr<QFile> file;
    QElapsedTimer clock;
    QString lastName;
    QString lastError;
};

} // namespace NimbarSensorPlugin::Core
