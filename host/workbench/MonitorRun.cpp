#include "MonitorRun.h"

#include "BatchAnswers.h"
#include "BatchRun.h"
#include "WorkbenchWindow.h"

#include <monitor/MonitorMessages.h>
#include <monitor/MqttPublisher.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QSocketNotifier>
#include <QSysInfo>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// What is still to send gets this long once the run is asked to stop.
const int stopTimeoutMs = 5000;
// A timer's milliseconds do not reach the longest run: the end is a
// deadline, looked at this often.
const int endCheckMs = 200;
const int historyKeptMs = 5 * 60 * 1000;

// SIGINT and SIGTERM reach the event loop through this pair of sockets: a
// signal handler may do no more than write to one.
int stopSockets[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopSockets[1], &byte, 1);
}

} // namespace

MonitorRun::MonitorRun(WorkbenchWindow& workbench, const WorkbenchOptions& options)
    : m_workbench(workbench), m_options(options), m_err(stderr)
{
}

MonitorRun::~MonitorRun() = default;

void MonitorRun::say(const QString& message)
{
    if (message.isEmpty() || message == m_lastSaid)
        return;
    m_lastSaid = message;
    m_err << "iolink-workbench: " << message << Qt::endl;
}

int MonitorRun::run()
{
    BatchAnswers answers(m_err);
    // Monitoring reads; every question that would write is answered no.
    answers.setConfirming(false);
    answers.setChoices({"sensorToPc"});
    m_originator = m_options.originator.isEmpty() ? QSysInfo::machineHostName() : m_options.originator;
    if (!startPublishing())
        return BatchExit::Usage;
    int master = 0;
    for (const QString& pair : m_options.monitors) {
        Device device;
        const int equals = pair.indexOf('=');
        device.port = pair.left(equals);
        device.sensorName = pair.mid(equals + 1);
        device.master = ++master;
        device.alias = Monitor::deviceAlias(device.sensorName, device.port);
        m_devices.push_back(device);
        if (!open(m_devices.back()))
            return BatchExit::Usage;
    }

    // --duration counts from the start, the connects included.
    const QDeadlineTimer end = m_options.durationSeconds > 0
                                   ? QDeadlineTimer(qint64(m_options.durationSeconds) * 1000)
                                   : QDeadlineTimer(QDeadlineTimer::Forever);
    bool stopping = false;
    QEventLoop loop;
    ::socketpair(AF_UNIX, SOCK_STREAM, 0, stopSockets);
    QSocketNotifier stopNotifier(stopSockets[0], QSocketNotifier::Read);
    connect(&stopNotifier, &QSocketNotifier::activated, &loop, [&stopping, &loop] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(stopSockets[0], &byte, 1);
        stopping = true;
        loop.quit();
    });
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    for (Device& device : m_devices) {
        if (!stopping && !end.hasExpired())
            connectDevice(device);
    }
    QTimer endTimer;
    connect(&endTimer, &QTimer::timeout, &loop, [&loop, &end] {
        if (end.hasExpired())
            loop.quit();
    });
    endTimer.start(endCheckMs);
    // Nobody sees the windows' charts: each keeps at most this much history,
    // so that a monitor running for weeks does not grow.
    QTimer historyTimer;
    connect(&historyTimer, &QTimer::timeout, this, [this] {
        for (const Device& device : m_devices)
            QMetaObject::invokeMethod(device.scripting, "dropChartHistory", Qt::DirectConnection);
    });
    historyTimer.start(historyKeptMs);
    if (m_options.verifyEveryMinutes > 0) {
        connect(&m_verifyTimer, &QTimer::timeout, this, &MonitorRun::verifySettings);
        m_verifyTimer.start(m_options.verifyEveryMinutes * 60 * 1000);
    }
    if (!stopping && !end.hasExpired())
        loop.exec();
    m_verifyTimer.stop();
    stop();
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    ::close(stopSockets[0]);
    ::close(stopSockets[1]);
    return BatchExit::Done;
}

// The broker need not be up yet; false only when the client cannot be set up.
bool MonitorRun::startPublishing()
{
    m_publisher = new Monitor::MqttPublisher(this);
    const QString broker = QStringLiteral("%1:%2").arg(m_options.brokerHost).arg(m_options.brokerPort);
    connect(m_publisher, &Monitor::MqttPublisher::brokerLost, this, [this, broker](const QString& reason) {
        say(tr("The broker %1 cannot be reached (%2); monitoring goes on, and the events wait until it is "
               "back.")
                .arg(broker, reason));
    });
    connect(m_publisher, &Monitor::MqttPublisher::brokerBack, this,
            [this, broker] { say(tr("The broker %1 is reachable again.").arg(broker)); });
    Monitor::BrokerSettings settings;
    settings.host = m_options.brokerHost;
    settings.port = m_options.brokerPort;
    settings.user = m_options.brokerUser;
    // From the environment only: a command line is visible to every user.
    settings.password = qEnvironmentVariable("IOLINK_MQTT_PASSWORD");
    settings.caFile = m_options.brokerCaFile;
    // Two monitors of one originator must not take each other's connection.
    settings.clientId =
        QStringLiteral("iolink-workbench-%1-%2").arg(m_originator).arg(QCoreApplication::applicationPid());
    settings.willTopic = Monitor::gatewayStatusTopic(m_originator);
    settings.willPayload = Monitor::gatewayStatusPayload(false);
    const QString problem = m_publisher->start(settings);
    if (!problem.isEmpty()) {
        say(tr("Cannot publish to %1: %2").arg(broker, problem));
        return false;
    }
    m_publisher->publishRetained(settings.willTopic, Monitor::gatewayStatusPayload(true));
    connect(&m_workbench, &WorkbenchWindow::sensorEvent, this, &MonitorRun::followEvent);
    say(tr("Monitoring %n sensor(s), publishing to %1 as %2", nullptr, int(m_options.monitors.size()))
            .arg(broker, m_originator));
    return true;
}

bool MonitorRun::open(Device& device)
{
    if (!m_workbench.openSensor(device.sensorName)) {
        say(tr("No sensor named \"%1\"; --list-sensors lists them.").arg(device.sensorName));
        return false;
    }
    device.window = m_workbench.activeSensorWindow();
    device.scripting = device.window ? device.window->findChild<QObject*>("scripting") : nullptr;
    if (!device.scripting)
        return false;
    connect(device.scripting, SIGNAL(processData(QVariantMap)), this, SLOT(publishProcessData(QVariantMap)));
    connect(device.scripting, SIGNAL(identificationRead()), this, SLOT(followRead()));
    return true;
}

bool MonitorRun::connected(const Device& device) const
{
    bool connected = false;
    QMetaObject::invokeMethod(device.scripting, "isConnected", Qt::DirectConnection,
                              Q_RETURN_ARG(bool, connected));
    return connected;
}

// As the workbench's --connect: the sensor's settings win and are read.
void MonitorRun::connectDevice(Device& device)
{
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(device.window->parentWidget()))
        m_workbench.mdiArea()->setActiveSubWindow(subWindow);
    say(tr("Connecting to %1 on %2, reading its settings").arg(device.sensorName, device.port));
    m_workbench.connectActiveSensor(device.port);
    if (!connected(device)) {
        bool wrongSensor = false;
        QMetaObject::invokeMethod(device.scripting, "foundWrongSensor", Qt::DirectConnection,
                                  Q_RETURN_ARG(bool, wrongSensor));
        setStatus(device, !QFile::exists(device.port) ? "NOT_AVAILABLE"
                          : wrongSensor               ? "INCORRECT_DEVICE"
                                                      : "COMMUNICATION_LOST");
        say(tr("Not connected to a %1 on %2; connecting when it appears.")
                .arg(device.sensorName, device.port));
        QMetaObject::invokeMethod(device.scripting, "waitForPort", Qt::DirectConnection,
                                  Q_ARG(QString, device.port));
        return;
    }
    setStatus(device, "DEVICE_ONLINE");
}

// The first full read of a sensor is what later reads are compared with;
// every read may bring another identity (another sensor on the port).
void MonitorRun::followRead()
{
    Device* device = deviceOf(sender());
    if (!device)
        return;
    publishIdentity(*device);
    if (!device->snapshot.isEmpty())
        return;
    const QString snapshot = m_snapshots.filePath(QStringLiteral("master%1.kvs").arg(device->master));
    QString problem;
    QMetaObject::invokeMethod(device->scripting, "saveSettingsTo", Qt::DirectConnection,
                              Q_RETURN_ARG(QString, problem), Q_ARG(QString, snapshot));
    if (problem.isEmpty()) {
        device->snapshot = snapshot;
        return;
    }
    say(tr("The settings of %1 as read at the connect cannot be kept (%2); changes to them are not looked "
           "for.")
            .arg(device->alias, problem));
}

void MonitorRun::setStatus(Device& device, const QString& status)
{
    if (device.status == status)
        return;
    device.status = status;
    m_publisher->publishRetained(Monitor::portStatusTopic(m_originator, device.master),
                                 Monitor::portStatusPayload(status));
}

void MonitorRun::publishIdentity(Device& device)
{
    QVariantMap identity;
    QMetaObject::invokeMethod(device.scripting, "identification", Qt::DirectConnection,
                              Q_RETURN_ARG(QVariantMap, identity));
    // Retained: the broker keeps only the last; sending the same again is
    // needless traffic.
    const QByteArray payload = Monitor::identificationPayload(identity);
    if (payload == device.identity)
        return;
    device.identity = payload;
    m_publisher->publishRetained(Monitor::identificationTopic(m_originator, device.alias), payload);
}

MonitorRun::Device* MonitorRun::deviceOf(const QObject* scripting)
{
    for (Device& device : m_devices) {
        if (device.scripting == scripting)
            return &device;
    }
    return nullptr;
}

void MonitorRun::publishProcessData(const QVariantMap& values)
{
    if (const Device* device = deviceOf(sender()))
        m_publisher->publishLive(Monitor::processDataTopic(m_originator, device->alias),
                                 Monitor::processDataPayload(values));
}

void MonitorRun::followEvent(QWidget* window, const QJsonObject& event)
{
    Device* device = deviceOf(window ? window->findChild<QObject*>("scripting") : nullptr);
    if (!device)
        return;
    m_publisher->publishEvent(Monitor::eventsTopic(m_originator, device->alias),
                              Monitor::eventsPayload(event));
    const QJsonObject message = event.value("message").toObject();
    const int code = message.value("code").toInt();
    const QString mode = message.value("mode").toString();
    if (code == Monitor::eventKind("lost")->code && mode == "APPEARS")
        setStatus(*device, "COMMUNICATION_LOST");
    else if (code == Monitor::eventKind("connected")->code)
        setStatus(*device, "DEVICE_ONLINE");
    else if (code == Monitor::eventKind("back")->code && mode == "DISAPPEARS")
        setStatus(*device, "DEVICE_ONLINE");
    else if (code == Monitor::eventKind("written")->code)
        publishIdentity(*device);
}

// Each difference from the connect-time read is reported once, when it is
// first seen: a switching point moved stays moved, and a plant wants to hear
// of it, not every few minutes again.
void MonitorRun::verifySettings()
{
    for (Device& device : m_devices) {
        if (device.snapshot.isEmpty() || !connected(device))
            continue;
        QMetaObject::invokeMethod(device.window, "vRadAllSettings", Qt::DirectConnection, Q_ARG(bool, true));
        if (!connected(device))
            continue;
        QStringList differences;
        QMetaObject::invokeMethod(device.scripting, "settingsDifferences", Qt::DirectConnection,
                                  Q_RETURN_ARG(QStringList, differences), Q_ARG(QString, device.snapshot));
        for (const QString& line : qAsConst(differences)) {
            if (device.reported.contains(line))
                continue;
            device.reported.insert(line);
            const QStringList fields = line.split('\t');
            const QString unit = fields.value(3).isEmpty() ? QString() : ' ' + fields.value(3);
            m_workbench.reportEvent(device.window, {{"kind", "changed"},
                                                    {"text", tr("%1 changed on the sensor: %2 -> %3")
                                                                 .arg(fields.value(0), fields.value(1) + unit,
                                                                      fields.value(2) + unit)},
                                                    {"parameter", fields.value(0)},
                                                    {"old", fields.value(1)},
                                                    {"new", fields.value(2)}});
        }
    }
}

// The last events and states go out before the ports close: a subscriber
// sees every sensor stop being watched, and the gateway go offline.
void MonitorRun::stop()
{
    say(tr("Stopping: closing the ports and sending what waits"));
    for (Device& device : m_devices) {
        if (device.status == "DEVICE_ONLINE")
            m_workbench.reportEvent(device.window,
                                    {{"kind", "disconnected"}, {"text", tr("Monitoring stopped")}});
        setStatus(device, "NOT_AVAILABLE");
    }
    m_publisher->stop(stopTimeoutMs, Monitor::gatewayStatusTopic(m_originator),
                      Monitor::gatewayStatusPayload(false));
}
