#pragma once

#include <QByteArray>
#include <QString>

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

} // namespace NimbarSensorPlugin::Core
