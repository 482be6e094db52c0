#include "ReconnectWatch.h"

#include <QFileInfo>

namespace NimbarSensorPlugin::Core {

namespace {

// A plugged-in adapter appears within a second or two; a slower look costs
// nothing but the wait.
const int lookIntervalMs = 500;

// What the path leads to: a replugged adapter may come back under a link of
// the same name to another device.
QString deviceOf(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : QString();
}

} // namespace

ReconnectWatch::ReconnectWatch(QObject* parent) : QObject(parent)
{
    timer.setInterval(lookIntervalMs);
    connect(&timer, &QTimer::timeout, this, &ReconnectWatch::look);
}

void ReconnectWatch::watch(const QString& path)
{
    watched = path;
    deviceAtLoss = deviceOf(path);
    gone = deviceAtLoss.isEmpty();
    timer.start();
}

void ReconnectWatch::stop()
{
    timer.stop();
}

// Whatever the path leads to at the next look counts as back.
void ReconnectWatch::retrySoon()
{
    deviceAtLoss.clear();
    timer.start();
}

void ReconnectWatch::look()
{
    const QString device = deviceOf(watched);
    if (device.isEmpty()) {
        gone = true;
        return;
    }
    if (gone || device != deviceAtLoss) {
        timer.stop();
        emit cameBack(watched);
    }
}

} // namespace NimbarSensorPlugin::Core
