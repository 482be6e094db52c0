#include "SensorEvents.h"

#include "link/ProcessData.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterModel.h"
#include "parameters/ParameterTree.h"
#include "parameters/ParameterWriter.h"
#include "parameters/SensorSession.h"
#include "parameters/ValueCodec.h"
#include "tools/LengthUnits.h"

#include <qtpropertybrowser.h>
#include <qtpropertymanager.h>

namespace NimbarSensorPlugin::Core {

namespace {

// The rows that say who the sensor is, by the names a plant knows them by.
const std::pair<const char*, const char*> identityRows[] = {
    {"vendorName", "VendorNameReadOnly"},
    {"serialNumber", "SerialNumberReadOnly"},
    {"hardwareRevision", "HardwareRevisionReadOnly"},
    {"firmwareRevision", "FirmwareRevisionReadOnly"},
    {"applicationSpecificTag", "AppSpecificTag"},
    {"locationTag", "LocationTag"},
    {"functionTag", "FunctionTag"},
};

const char* const bitNames[] = {"switchingOutputA1", "switchingOutputA2", "warning",    "error",
                                "statusBit4",        "statusBit5",        "statusBit6", "statusBit7"};

} // namespace

QVariantMap decodedProcessData(const QByteArray& answer, int measurementUnit)
{
    QVariantMap values;
    const int code = processDataDistanceCode(answer);
    switch (distanceKind(code)) {
    case DistanceKind::Distance:
        values["valid"] = true;
        values["distance"] = shownDistance(code, measurementUnit);
        values["unit"] = measurementUnit == 0 ? "mm" : "in";
        break;
    case DistanceKind::TooClose:
        values["state"] = "too close";
        break;
    case DistanceKind::TooFar:
        values["state"] = "too far";
        break;
    case DistanceKind::NoData:
        values["state"] = "no data";
        break;
    }
    values["valid"] = values.value("valid", false);
    const quint8 bits = processDataValidBits(answer);
    for (int bit = 0; bit < 8; ++bit)
        values[bitNames[bit]] = bool(bits & (1 << bit));
    return values;
}

SensorEvents::SensorEvents(Parts parts, QObject* parent) : QObject(parent), p(parts)
{
    // After a loss the sensor is back once it was read (or written) again:
    // the loss disappears then, and the identity is the sensor's again.
    connect(&p.session, &SensorSession::identified, this, [this] {
        crashCount = -1;
        if (lost)
            backPending = true;
        else
            report("connected", tr("Connected to %1").arg(p.session.identityText()));
    });
    const auto reportBack = [this] {
        if (!backPending)
            return;
        backPending = false;
        lost = false;
        report("back", tr("The sensor answers again: connected to %1").arg(p.session.identityText()));
    };
    connect(&p.session, &SensorSession::valuesRead, this, [this, reportBack] {
        reportBack();
        emit identityRead();
    });
    connect(&p.session, &SensorSession::allWritten, this, reportBack);
    connect(&p.session, &SensorSession::connectFailed, this,
            [this](const QString& whatHappened) { report("failure", whatHappened); });
    connect(&p.session, &SensorSession::sensorLost, this, [this] {
        backPending = false;
        // One loss until the sensor is back, however often a return fails.
        if (!lost)
            report("lost", tr("The sensor does not answer any more"));
        lost = true;
    });
    connect(&p.session, &SensorSession::taught, this, [this](const QString& text) { report("teach", text); });
    connect(&p.session, &SensorSession::factoryRestored, this,
            [this] { report("restored", tr("The factory settings were restored")); });
    connect(&p.writer, &ParameterWriter::written, this, &SensorEvents::reportWritten);
    connect(&p.writer, &ParameterWriter::refused, this, [this](QtProperty* property, const QString& reason) {
        report("failure",
               tr("%1 was not written: %2").arg(splitCaptionUnit(property->propertyName()).name, reason));
    });
    connect(&p.poll, &StatusPoll::crashCount, this, &SensorEvents::reportCrashCount);
    connect(&p.poll, &StatusPoll::processData, this, [this](const QByteArray& answer) {
        emit processData(decodedProcessData(answer, p.units.unit()));
    });
}

void SensorEvents::report(const QString& kind, const QString& text, const QVariantMap& details)
{
    QVariantMap entry = details;
    entry["kind"] = kind;
    entry["text"] = text;
    emit happened(entry);
}

void SensorEvents::reportSettingsLoaded(const QString& fileName)
{
    report("settingsLoaded", tr("Settings loaded from %1").arg(fileName));
}

QString SensorEvents::heldText(QtProperty* property, const QVariant& held) const
{
    if (!held.isValid())
        return QString();
    // A list shows the name of the code, as the row does.
    if (auto* list = qobject_cast<QtEnumPropertyManager*>(property->propertyManager())) {
        const int position = p.tree.shownValueOf(property, held).toInt();
        return list->enumNames(property).value(position, held.toString());
    }
    const QString unit = splitCaptionUnit(property->propertyName()).unit;
    return unit.isEmpty() ? held.toString() : held.toString() + ' ' + unit;
}

// A button holds nothing: pressing it is the event. The teach buttons are
// what a plant asks about most, so they have a kind of their own.
void SensorEvents::reportWritten(QtProperty* property, const QVariant& before, const QVariant& sent)
{
    const QString id = property->propertyId();
    const QString caption = splitCaptionUnit(property->propertyName()).name;
    if (id.contains("TEACHBUTTON")) {
        report("teach", tr("%1 pressed").arg(caption), {{"parameter", caption}});
        return;
    }
    if (!p.model.contains(id)) {
        report("written", tr("%1 pressed").arg(caption), {{"parameter", caption}});
        return;
    }
    const QString oldText = heldText(property, before);
    const QString newText = heldText(property, sent);
    report("written", tr("%1: %2 -> %3").arg(caption, oldText, newText),
           {{"parameter", caption}, {"old", oldText}, {"new", newText}});
}

// The counter counts impacts; the first count after a connect is where it
// stood, not an impact.
void SensorEvents::reportCrashCount(int count)
{
    if (crashCount >= 0 && count > crashCount)
        report("crashCounter", tr("The crash counter rose from %1 to %2").arg(crashCount).arg(count));
    crashCount = count;
}

bool SensorEvents::foundWrongSensor() const
{
    return p.session.foundWrongSensor();
}

QVariantMap SensorEvents::identification() const
{
    QVariantMap identity;
    for (const auto& [name, id] : identityRows) {
        if (p.model.contains(id) && p.model.state(id) == RowState::InStep)
            identity[name] = p.model.held(id);
    }
    identity["productName"] = p.productName;
    // The sensor's type text names model and variant, as its identity does.
    if (!p.session.identityText().isEmpty())
        identity["productId"] = p.session.identityText();
    return identity;
}

} // namespace NimbarSensorPlugin::Core
