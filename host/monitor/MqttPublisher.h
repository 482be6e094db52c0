#pragma once

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QQueue>
#include <QString>

#include <functional>

class QDeadlineTimer;

struct mosquitto;

namespace Monitor {

struct BrokerSettings
{
    QString host = QStringLiteral("localhost");
    int port = 1883;
    QString user;
    QString password;
    QString caFile; // set: the connection uses TLS, checked against this CA
    QString clientId;
    // Published retained as the connection's last will: set by the broker
    // when the monitor goes without saying goodbye.
    QString willTopic;
    QByteArray willPayload;
};

// The monitor's connection to the plant's broker (MQTT 3.1.1). The network
// runs in the client library's own thread, so Qt's event loop never waits
// on it; what the library reports comes back queued into this object's
// thread. A broker that cannot be reached or goes away is tried again with
// a growing pause; meanwhile:
// - events wait in order and go out one at a time at QoS 1, each after the
//   broker took the one before, so that none is lost or overtakes another;
// - retained state (identities, port states) is kept and sent again on
//   every connect, so a broker that lost it has it again;
// - live data are dropped: the next poll brings newer ones.
class MqttPublisher : public QObject
{
    Q_OBJECT
public:
    explicit MqttPublisher(QObject* parent = nullptr);
    ~MqttPublisher() override;

    // Empty when the client could be set up (the broker need not be up yet),
    // otherwise why not.
    QString start(const BrokerSettings& settings);
    // Sends what waits (for at most timeoutMs), then the given retained
    // goodbye, and disconnects.
    void stop(int timeoutMs, const QString& goodbyeTopic, const QByteArray& goodbyePayload);

    void publishRetained(const QString& topic, const QByteArray& payload);
    void publishEvent(const QString& topic, const QByteArray& payload);
    void publishLive(const QString& topic, const QByteArray& payload);

    bool isConnected() const { return connected; }
    int waitingEvents() const { return events.size(); }

signals:
    // Once per loss of the broker and once when it is back, for the log.
    void brokerLost(const QString& reason);
    void brokerBack();

private:
    void onConnected(int result);
    void onDisconnected(const QString& reason);
    void onPublished(int messageId);
    void sendNextEvent();
    void waitUntil(const QDeadlineTimer& deadline, const std::function<bool()>& done);
    int send(const QString& topic, const QByteArray& payload, int qos, bool retain);

    mosquitto* client = nullptr;
    bool connected = false;
    bool lostSaid = false;
    QMap<QString, QByteArray> retained;
    struct Message
    {
        QString topic;
        QByteArray payload;
    };
    QQueue<Message> events;
    // The id of the event the broker has not yet acknowledged; 0 for none.
    int inFlight = 0;
    int goodbyeInFlight = 0;
};

} // namespace Monitor
