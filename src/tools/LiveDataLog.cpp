#include "LiveDataLog.h"

#include "link/StatusPoll.h"
#include "tools/LengthUnits.h"

namespace NimbarSensorPlugin::Core {

LiveDataLog::LiveDataLog(StatusPoll& poll, const LengthUnits& units, QObject* parent)
    : QObject(parent), units(units)
{
    connect(&poll, &StatusPoll::processData, this, [this](const QByteArray& answer) {
        if (file.isOpen() && !file.append(answer, this->units.unit()))
            emit failed(problem());
    });
}

QString LiveDataLog::start(const QString& fileName)
{
    return file.start(fileName, units.unit());
}

QString LiveDataLog::stop()
{
    file.stop();
    return problem();
}

QString LiveDataLog::problem() const
{
    if (file.errorString().isEmpty())
        return QString();
    return tr("The live-data log %1 could not be written: %2").arg(file.fileName(), file.errorString());
}

} // namespace NimbarSensorPlugin::Core
