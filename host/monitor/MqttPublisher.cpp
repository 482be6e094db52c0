#include "MqttPublisher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <mosquitto.h>

namespace Monitor {

namespace {

const int keepAliveSeconds = 30;
// The pause before trying the broker again doubles from the first to the last.
const unsigned firstRetrySeconds = 1;
const unsigned lastRetrySeconds = 10;
const int stopCheckMs = 20;

QByteArray utf8(const QString& text)
{
    return text.toUtf8();
}

} // namespace

MqttPublisher::MqttPublisher(QObject* parent) : QObject(parent)
{
    static const int initialised = mosquitto_lib_init();
    Q_UNUSED(initialised)
}

MqttPublisher::~MqttPublisher()
{
    if (client) {
        mosquitto_disconnect(client);
        mosquitto_loop_stop(client, true);
        mosquitto_destroy(client);
    }
}

QString MqttPublisher::start(const BrokerSettings& settings)
{
    client = mosquitto_new(utf8(settings.clientId).constData(), true, this);
    if (!client)
        return tr("the MQTT client could not be created");
    mosquitto_connect_callback_set(client, [](mosquitto*, void* self, int result) {
        auto* publisher = static_cast<MqttPublisher*>(self);
        QMetaObject::invokeMethod(
            publisher, [publisher, result] { publisher->onConnected(result); }, Qt::QueuedConnection);
    });
    mosquitto_disconnect_callback_set(client, [](mosquitto*, void* self, int result) {
        auto* publisher = static_cast<MqttPublisher*>(self);
        const QString reason = QString::fromUtf8(mosquitto_strerror(result));
        QMetaObject::invokeMethod(
            publisher, [publisher, reason] { publisher->onDisconnected(reason); }, Qt::QueuedConnection);
    });
    mosquitto_publish_callback_set(client, [](mosquitto*, void* self, int messageId) {
        auto* publisher = static_cast<MqttPublisher*>(self);
        QMetaObject::invokeMethod(
            publisher, [publisher, messageId] { publisher->onPublished(messageId); }, Qt::QueuedConnection);
    });
    int result = MOSQ_ERR_SUCCESS;
    if (!settings.willTopic.isEmpty()) {
        result = mosquitto_will_set(client, utf8(settings.willTopic).constData(), settings.willPayload.size(),
                                    settings.willPayload.constData(), 1, true);
    }
    if (result == MOSQ_ERR_SUCCESS && !settings.user.isEmpty()) {
        result = mosquitto_username_pw_set(client, utf8(settings.user).constData(),
                                           settings.password.isEmpty() ? nullptr
                                                                       : utf8(settings.password).constData());
    }
    if (result == MOSQ_ERR_SUCCESS && !settings.caFile.isEmpty())
        result =
            mosquitto_tls_set(client, utf8(settings.caFile).constData(), nullptr, nullptr, nullptr, nullptr);
    if (result == MOSQ_ERR_SUCCESS)
        result = mosquitto_reconnect_delay_set(client, firstRetrySeconds, lastRetrySeconds, true);
    if (result != MOSQ_ERR_SUCCESS)
        return QString::fromUtf8(mosquitto_strerror(result));
    // A broker that is not up yet is no reason to fail: the library's
    // thread keeps trying, and brokerLost says so.
    result =
        mosquitto_connect_async(client, utf8(settings.host).constData(), settings.port, keepAliveSeconds);
    if (result != MOSQ_ERR_SUCCESS)
        onDisconnected(QString::fromUtf8(mosquitto_strerror(result)));
    result = mosquitto_loop_start(client);
    if (result != MOSQ_ERR_SUCCESS)
        return QString::fromUtf8(mosquitto_strerror(result));
    return QString();
}

void MqttPublisher::stop(int timeoutMs, const QString& goodbyeTopic, const QByteArray& goodbyePayload)
{
    if (!client)
        return;
    const QDeadlineTimer deadline(timeoutMs);
    // The events first, then the goodbye: a subscriber hears everything a
    // gateway had to say before it hears that the gateway is gone.
    waitUntil(deadline, [this] { return events.isEmpty() && inFlight == 0; });
    retained.insert(goodbyeTopic, goodbyePayload);
    goodbyeInFlight = connected ? send(goodbyeTopic, goodbyePayload, 1, true) : 0;
    waitUntil(deadline, [this] { return goodbyeInFlight == 0; });
    mosquitto_disconnect(client);
    mosquitto_loop_stop(client, false);
    mosquitto_destroy(client);
    client = nullptr;
    connected = false;
}

void MqttPublisher::waitUntil(const QDeadlineTimer& deadline, const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer check;
    connect(&check, &QTimer::timeout, &loop, [this, &loop, &deadline, &done] {
        if (done() || deadline.hasExpired() || !connected)
            loop.quit();
    });
    check.start(stopCheckMs);
    if (!done() && connected)
        loop.exec();
}

void MqttPublisher::publishRetained(const QString& topic, const QByteArray& payload)
{
    retained.insert(topic, payload);
    if (connected)
        send(topic, payload, 1, true);
}

void MqttPublisher::publishEvent(const QString& topic, const QByteArray& payload)
{
    events.enqueue({topic, payload});
    sendNextEvent();
}

void MqttPublisher::publishLive(const QString& topic, const QByteArray& payload)
{
    if (connected)
        send(topic, payload, 0, false);
}

int MqttPublisher::send(const QString& topic, const QByteArray& payload, int qos, bool retain)
{
    int messageId = 0;
    const int result = mosquitto_publish(client, &messageId, utf8(topic).constData(), payload.size(),
                                         payload.constData(), qos, retain);
    return result == MOSQ_ERR_SUCCESS ? messageId : 0;
}

void MqttPublisher::sendNextEvent()
{
    if (!connected || inFlight != 0 || events.isEmpty())
        return;
    inFlight = send(events.head().topic, events.head().payload, 1, false);
}

void MqttPublisher::onConnected(int result)
{
    if (result != 0) {
        onDisconnected(QString::fromUtf8(mosquitto_connack_string(result)));
        return;
    }
    connected = true;
    if (lostSaid) {
        lostSaid = false;
        emit brokerBack();
    }
    for (auto it = retained.cbegin(); it != retained.cend(); ++it)
        send(it.key(), it.value(), 1, true);
    // An event in flight when the broker went is sent again by the library
    // itself, under its first id, once the connection is back.
    sendNextEvent();
}

void MqttPublisher::onDisconnected(const QString& reason)
{
    connected = false;
    if (!lostSaid && client) {
        lostSaid = true;
        emit brokerLost(reason);
    }
}

void MqttPublisher::onPublished(int messageId)
{
    if (messageId != 0 && messageId == goodbyeInFlight)
        goodbyeInFlight = 0;
    if (messageId == 0 || messageId != inFlight)
        return;
    inFlight = 0;
    events.dequeue();
    sendNextEvent();
}

} // namespace Monitor
