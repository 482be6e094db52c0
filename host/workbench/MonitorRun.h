#pragma once

#include "WorkbenchOptions.h"

#include <QJsonObject>
#include <QObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QVariantMap>

#include <list>

class WorkbenchWindow;

namespace Monitor {
class MqttPublisher;
}

// The --monitor command: one sensor window per monitored sensor, each
// connected reading the sensor's settings and then polling live data as a
// window at the desk does, its process data, identity, port state and
// events published to the plant's broker until the run is stopped. Nothing
// is ever written to a sensor.
class MonitorRun : public QObject
{
    Q_OBJECT
public:
    MonitorRun(WorkbenchWindow& workbench, const WorkbenchOptions& options);
    ~MonitorRun() override;

    // Runs until SIGINT, SIGTERM or the end of --duration; the exit status.
    int run();

private slots:
    void publishProcessData(const QVariantMap& values);
    void followRead();

private:
    struct Device
    {
        QString port;
        QString sensorName;
        QString alias;
        int master = 0;
        QWidget* window = nullptr;
        QObject* scripting = nullptr;
        QString status;
        QByteArray identity;
        // The settings as read at the connect, and the differences from
        // them already reported.
        QString snapshot;
        QSet<QString> reported;
    };

    void say(const QString& message);
    bool startPublishing();
    bool open(Device& device);
    void connectDevice(Device& device);
    bool connected(const Device& device) const;
    void setStatus(Device& device, const QString& status);
    void publishIdentity(Device& device);
    void followEvent(QWidget* window, const QJsonObject& event);
    void verifySettings();
    void stop();
    Device* deviceOf(const QObject* scripting);

    WorkbenchWindow& m_workbench;
    const WorkbenchOptions& m_options;
    QTextStream m_err;
    QString m_originator;
    Monitor::MqttPublisher* m_publisher = nullptr;
    std::list<Device> m_devices;
    QTimer m_verifyTimer;
    QTemporaryDir m_snapshots;
    QString m_lastSaid;
};
