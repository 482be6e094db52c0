#include "LiveLog.h"

#include "link/ProcessData.h"

namespace NimbarSensorPlugin::Core {

QString liveLogHeader(int measurementUnit)
{
    return QStringLiteral("time_ms,distance_%1,switch_1,switch_2\n")
        .arg(measurementUnit == 1 ? QStringLiteral("inch") : QStringLiteral("mm"));
}

QString liveLogLine(qint64 milliseconds, const QByteArray& answer, int measurementUnit)
{
    const int code = processDataDistanceCode(answer);
    QString distance;
    switch (distanceKind(code)) {
    case DistanceKind::NoData:
        distance = QStringLiteral("no data");
        break;
    case DistanceKind::TooClose:
        distance = QStringLiteral("too close");
        break;
    case DistanceKind::TooFar:
        distance = QStringLiteral("too far");
        break;
    case DistanceKind::Distance:
        distance = QString::number(shownDistance(code, measurementUnit), 'g', 6);
        break;
    }
    const quint8 bits = processDataValidBits(answer);
    return QStringLiteral("%1,%2,%3,%4\n")
        .arg(milliseconds)
        .arg(distance)
        .arg(bits & 1 ? 1 : 0)
        .arg(bits & 2 ? 1 : 0);
}

} // namespace NimbarSensorPlugin::Core
