#include "LiveLog.h"

#include "link/ProcessData.h"

#include <extensionsystem/FileChecks.h>

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

namespace {

// A write that stops short is tried on, so that the error the system gives
// for the rest (a full disk, a file size limit) is the one reported.
bool writeWhole(QFile& file, const QByteArray& bytes)
{
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

} // namespace

QString LiveLogFile::start(const QString& fileName, int measurementUnit)
{
    stop();
    const QString problem = ExtensionSystem::outputProblem(fileName);
    if (!problem.isEmpty())
        return problem;
    auto opened = std::make_unique<QFile>(fileName);
    if (!opened->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return opened->errorString();
    if (!writeWhole(*opened, liveLogHeader(measurementUnit).toUtf8()))
        return opened->errorString();
    file = std::move(opened);
    lastName = fileName;
    lastError.clear();
    clock.start();
    return QString();
}

void LiveLogFile::stop()
{
    file.reset();
}

bool LiveLogFile::append(const QByteArray& answer, int measurementUnit)
{
    if (!file)
        return false;
    const QByteArray line = liveLogLine(clock.elapsed(), answer, measurementUnit).toUtf8();
    const qint64 end = file->pos();
    if (writeWhole(*file, line))
        return true;
    lastError = file->errorString();
    file->resize(end);
    file.reset();
    return false;
}

} // namespace NimbarSensorPlugin::Core
