#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace NimbarSensorPlugin::Core {

// Watches the device path of a lost sensor for its return: an adapter
// unplugged and plugged in again, a master that lost its power. The path
// has come back once it was gone (or a dangling link) and is there again,
// or now leads to another device than when the sensor was lost. A path that
// never goes away is not taken for a return: the sensor behind a master
// that still answers is not tried again and again.
class ReconnectWatch : public QObject
{
    Q_OBJECT
public:
    explicit ReconnectWatch(QObject* parent = nullptr);

    void watch(const QString& path);
    void stop();
    bool isWatching() const { return timer.isActive(); }
    QString path() const { return watched; }
    // The path came back but could not be used yet: look again shortly.
    void retrySoon();

signals:
    void cameBack(const QString& path);

private:
    void look();

    QTimer timer;
    QString watched;
    QString deviceAtLoss;
    bool gone = false;
};

} // namespace NimbarSensorPlugin::Core
