#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QVariantMap>

// The topics and payloads a monitor publishes for the sensors it watches,
// as IO-Link gateways publish theirs to a plant's broker: one master with
// one port per monitored sensor, the device named by its alias.
namespace Monitor {

// The sensor's name and the port's file name joined by "_", every character
// outside A-Z a-z 0-9 _ - replaced by "_": a topic level no broker or
// subscriber reads as a wildcard or a separator.
QString deviceAlias(const QString& sensorName, const QString& portPath);

QString identificationTopic(const QString& originator, const QString& alias);
QString processDataTopic(const QString& originator, const QString& alias);
QString eventsTopic(const QString& originator, const QString& alias);
QString portStatusTopic(const QString& originator, int master);
QString gatewayStatusTopic(const QString& originator);

// The identity fields the window reports under the names subscribers know
// (vendorName, productName, ...); fields nothing gave are left out rather
// than sent empty.
QByteArray identificationPayload(const QVariantMap& identity);

// One process-data answer as the window decoded it ("valid", "distance",
// "unit", "state" and the named bits).
QByteArray processDataPayload(const QVariantMap& processData);

// One of the port's states: DEVICE_ONLINE, COMMUNICATION_LOST,
// INCORRECT_DEVICE, NOT_AVAILABLE.
QByteArray portStatusPayload(const QString& statusInfo);
QByteArray gatewayStatusPayload(bool online);

// The event a sensor window reported ("kind", "text" and what the kind
// carries), stamped and placed: the object the journal keeps and the
// events topic sends.
QJsonObject eventObject(const QVariantMap& sensorEvent, const QDateTime& time, int master,
                        const QString& alias);
// The events topic carries an array; one event goes out at a time.
QByteArray eventsPayload(const QJsonObject& event);

// The event's code, severity and mode, by the kind the window reports.
struct EventKind
{
    const char* kind;
    int code;
    const char* severity;
    const char* mode;
};
const EventKind* eventKind(const QString& kind);

} // namespace Monitor
