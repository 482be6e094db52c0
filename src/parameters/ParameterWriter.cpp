#include "ParameterWriter.h"

#include "ParameterExchange.h"
#include "ParameterModel.h"
#include "ParameterReader.h"
#include "ParameterTree.h"
#include "WriteOrder.h"

#include <utils/widgets/ButtonManager.h>

#include <qtpropertymanager.h>

namespace NimbarSensorPlugin::Core {

namespace {

int buttonCommand(const QString& id)
{
    if (id == "TEACHBUTTON1" || id == "TEACHBUTTON2" || id == "ANALOGTEACHBUTTON1")
        return 1;
    if (id == "TEACHBUTTON13" || id == "TEACHBUTTON22" || id == "ANALOGTEACHBUTTON2")
        return 2;
    if (id == "TEACHBUTTON14" || id == "TEACHBUTTON23")
        return 3;
    return 0;
}

} // namespace

ParameterWriter::ParameterWriter(LinkSession& link, ParameterTree& tree, ParameterModel& model,
                                 QObject* parent)
    : QObject(parent), m_link(link), m_tree(tree), m_model(model)
{
}

int ParameterWriter::code(QtProperty* property, const QVariant& shown) const
{
    if (property->propertyManager() == m_tree.managers().buttons)
        return buttonCommand(property->propertyId());
    // A text row has no number: it goes as 0, as it always has.
    if (property->propertyManager() == m_tree.managers().strings)
        return 0;
    return m_tree.sensorValueOf(property, shown).toInt();
}

WriteOutcome ParameterWriter::write(QtProperty* property, int code, bool showWait)
{
    const QString id = property->propertyId();
    const std::optional<ParameterAddress> address = parseParameterAddress(m_tree.addresses().value(id));
    if (!address)
        return {};
    m_model.setWriting(id);
    return record(property, writeValue(m_link, *address, code, showWait), code);
}

WriteOutcome ParameterWriter::writeTag(QtProperty* property, const QString& text, bool showWait)
{
    const QString id = property->propertyId();
    const quint8 index = id == "FunctionTag" ? 0x19 : id == "LocationTag" ? 0x1A : 0x18;
    m_model.setWriting(id);
    return record(property, writeTagText(m_link, index, text.toUtf8(), showWait), text);
}

WriteAllKind ParameterWriter::writeAllKind(const QString& id) const
{
    QtProperty* property = m_tree.find(id);
    if (!property)
        return WriteAllKind::Skip;
    if (property->propertyManager() == m_tree.managers().strings && isTagId(id))
        return WriteAllKind::Tag;
    if (id.contains("ReadOnly") || id.contains("InputMode") || id.contains("RESETBUTTON") ||
        id.contains("TEACHBUTTON") || m_model.state(id) == RowState::NotAllowed)
        return WriteAllKind::Skip;
    return WriteAllKind::Value;
}

// In the order of their ids, except where one parameter depends on another
// (which the order of their ids does not know).
QStringList ParameterWriter::writeAllIds() const
{
    QStringList ids;
    for (const QString& id : m_tree.addresses().keys()) {
        if (writeAllKind(id) != WriteAllKind::Skip)
            ids << id;
    }
    return writeOrder(ids);
}

void ParameterWriter::startTally()
{
    m_tallying = true;
    m_written = 0;
    m_failures.clear();
}

WriteOutcome ParameterWriter::record(QtProperty* property, const QByteArray& answer, const QVariant& sent)
{
    const QString id = property->propertyId();
    const FetchFailure failure = fetchFailure(answer);
    // A write of everything also sends the rows the user cannot edit, such
    // as the crash counter; the sensor refusing those loses nothing.
    if (failure != FetchFailure::None && property->statusTip() == "readOnly")
        return {false, QString(), true};
    if (failure == FetchFailure::None) {
        const QVariant before = m_model.contains(id) ? m_model.held(id) : QVariant();
        if (m_model.contains(id))
            m_model.setWritten(id, sent);
        emit written(property, before, sent);
        m_written += m_tallying ? 1 : 0;
        return {true, QString(), false};
    }
    const QString reason = ParameterReader::failureText(failure, answer);
    m_model.setRefused(id, tr("Not written to the sensor: %1").arg(reason));
    emit refused(property, reason);
    if (m_tallying)
        m_failures << tr("%1: %2").arg(splitCaptionUnit(property->propertyName()).name, reason);
    return {false, reason, false};
}

} // namespace NimbarSensorPlugin::Core
