#include "MonitorMessages.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace Monitor {

namespace {

// Our own codes, in a block no device event uses; README lists them. Loss
// and return share a code: a subscriber pairs APPEARS with DISAPPEARS.
const EventKind eventKinds[] = {
    {"connected", 0xF001, "NOTICE", "SINGLESHOT"},     {"lost", 0xF002, "WARNING", "APPEARS"},
    {"back", 0xF002, "NOTICE", "DISAPPEARS"},          {"disconnected", 0xF003, "NOTICE", "SINGLESHOT"},
    {"crashCounter", 0xF004, "WARNING", "SINGLESHOT"}, {"changed", 0xF005, "WARNING", "SINGLESHOT"},
    {"written", 0xF006, "NOTICE", "SINGLESHOT"},       {"teach", 0xF007, "NOTICE", "SINGLESHOT"},
    {"restored", 0xF008, "NOTICE", "SINGLESHOT"},      {"settingsLoaded", 0xF009, "NOTICE", "SINGLESHOT"},
    {"failure", 0xF00A, "ERROR", "SINGLESHOT"},
};

// The identity fields subscribers know, in the order they are sent.
const char* const identityFields[] = {"vendorName",
                                      "productName",
                                      "productId",
                                      "serialNumber",
                                      "hardwareRevision",
                                      "firmwareRevision",
                                      "applicationSpecificTag",
                                      "locationTag",
                                      "functionTag",
                                      "vendorId",
                                      "deviceId",
                                      "ioLinkRevision"};

// The process data's bits besides the distance, in the order they are sent.
const char* const bitNames[] = {"switchingOutputA1", "switchingOutputA2", "warning",    "error",
                                "statusBit4",        "statusBit5",        "statusBit6", "statusBit7"};

QString deviceTopic(const QString& originator, const QString& alias, const char* leaf)
{
    return QStringLiteral("%1/devices/%2/%3").arg(originator, alias, QLatin1String(leaf));
}

QByteArray compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

QString deviceAlias(const QString& sensorName, const QString& portPath)
{
    QString alias = sensorName + '_' + QFileInfo(portPath).fileName();
    for (QChar& c : alias) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                             c == '_' || c == '-';
        if (!allowed)
            c = '_';
    }
    return alias;
}

QString identificationTopic(const QString& originator, const QString& alias)
{
    return deviceTopic(originator, alias, "identification");
}

QString processDataTopic(const QString& originator, const QString& alias)
{
    return deviceTopic(originator, alias, "processdata/value");
}

QString eventsTopic(const QString& originator, const QString& alias)
{
    return deviceTopic(originator, alias, "events");
}

QString portStatusTopic(const QString& originator, int master)
{
    return QStringLiteral("%1/masters/%2/ports/1/status").arg(originator).arg(master);
}

QString gatewayStatusTopic(const QString& originator)
{
    return originator + QStringLiteral("/gateway/status");
}

QByteArray identificationPayload(const QVariantMap& identity)
{
    QJsonObject object;
    for (const char* name : identityFields) {
        const QVariant value = identity.value(QLatin1String(name));
        if (value.isValid() && !value.toString().isEmpty())
            object.insert(QLatin1String(name), QJsonValue::fromVariant(value));
    }
    return compact(object);
}

QByteArray processDataPayload(const QVariantMap& processData)
{
    QJsonObject value;
    const bool valid = processData.value("valid").toBool();
    if (valid) {
        value.insert("distance",
                     QJsonObject{{"value", QJsonValue::fromVariant(processData.value("distance"))},
                                 {"unit", processData.value("unit").toString()}});
    } else {
        value.insert("distance", QJsonObject{{"state", processData.value("state").toString()}});
    }
    for (const char* name : bitNames) {
        const QVariant bit = processData.value(QLatin1String(name));
        if (bit.isValid())
            value.insert(QLatin1String(name), bit.toBool());
    }
    return compact(QJsonObject{{"ioLink", QJsonObject{{"valid", valid}, {"value", value}}}});
}

QByteArray portStatusPayload(const QString& statusInfo)
{
    return compact(QJsonObject{{"statusInfo", statusInfo}});
}

QByteArray gatewayStatusPayload(bool online)
{
    return compact(QJsonObject{{"online", online}});
}

const EventKind* eventKind(const QString& kind)
{
    for (const EventKind& known : eventKinds) {
        if (kind == QLatin1String(known.kind))
            return &known;
    }
    return nullptr;
}

QJsonObject eventObject(const QVariantMap& sensorEvent, const QDateTime& time, int master,
                        const QString& alias)
{
    // A kind this monitor does not know still reaches the plant, as a notice.
    static const EventKind unknown{"", 0xF000, "NOTICE", "SINGLESHOT"};
    const EventKind* kind = eventKind(sensorEvent.value("kind").toString());
    if (!kind)
        kind = &unknown;
    return QJsonObject{{"time", time.toUTC().toString(Qt::ISODateWithMs)},
                       {"severity", QLatin1String(kind->severity)},
                       {"origin", QJsonObject{{"master", master}, {"port", 1}, {"deviceAlias", alias}}},
                       {"message", QJsonObject{{"code", kind->code},
                                               {"mode", QLatin1String(kind->mode)},
                                               {"text", sensorEvent.value("text").toString()}}}};
}

QByteArray eventsPayload(const QJsonObject& event)
{
    return QJsonDocument(QJsonArray{event}).toJson(QJsonDocument::Compact);
}

} // namespace Monitor
