#include "ParameterEditor.h"

#include "ParameterModel.h"
#include "ParameterTree.h"
#include "ParameterWriter.h"
#include "ValueCodec.h"
#include "link/LinkSession.h"
#include "link/RequestFrames.h"
#include "link/StatusPoll.h"
#include "tools/LengthUnits.h"

#include <utils/widgets/ButtonManager.h>

#include <qtpropertymanager.h>

namespace NimbarSensorPlugin::Core {

ParameterEditor::ParameterEditor(LinkSession& link, StatusPoll& poll, ParameterTree& tree,
                                 ParameterModel& model, ParameterWriter& writer, LengthUnits& units,
                                 EditorHost host, QObject* parent)
    : QObject(parent), m_link(link), m_poll(poll), m_tree(tree), m_model(model), m_writer(writer),
      m_units(units), m_host(std::move(host))
{
    m_delay.setInterval(400);
    m_delay.setSingleShot(true);
    connect(&m_delay, &QTimer::timeout, this, &ParameterEditor::writeWhenFree);
}

void ParameterEditor::listen(bool on)
{
    if (!on) {
        for (const QMetaObject::Connection& connection : qAsConst(m_listening))
            disconnect(connection);
        m_listening.clear();
        return;
    }
    if (!m_listening.isEmpty())
        return;
    const PropertyManagers& managers = m_tree.managers();
    const auto take = [this](QtProperty* property, auto value) { record(property, value); };
    m_listening = {
        connect(managers.ints, &QtIntPropertyManager::valueChanged, this, take),
        connect(managers.enums, &QtEnumPropertyManager::valueChanged, this, take),
        connect(managers.doubles, &QtDoublePropertyManager::valueChanged, this, take),
        connect(managers.bools, &QtBoolPropertyManager::valueChanged, this, take),
        connect(managers.buttons, &Utils::ButtonManager::buttonClicked, this,
                [this](QtProperty* property) { record(property, QString()); }),
    };
}

// The value signals are switched off around the window's own changes, but
// some of those (limits that clamp a value just read) come after a nested
// step switched them on again; a change made while the tree is quiet is
// therefore never recorded.
void ParameterEditor::record(QtProperty* property, const QVariant& value)
{
    if (m_tree.isQuiet())
        return;
    listen(false);
    if (property) {
        emit editStarted();
        // The edit lives in the model; the row shows it as the sensor will hold it.
        m_model.setEdit(property->propertyId(), m_tree.sensorValueOf(property, value));
        setPending(property, value);
        m_delay.start();
        m_poll.stop();
        m_poll.restartCycle(true);
        if (!m_host.connected())
            emit outputViewStale();
    }
    listen(true);
}

void ParameterEditor::setPending(QtProperty* property, const QVariant& value)
{
    m_property = property;
    m_value = value;
}

// A write the timer brings while another exchange holds the link waits for
// it rather than putting its requests between that exchange's.
void ParameterEditor::writeWhenFree()
{
    if (m_link.held()) {
        m_delay.start();
        return;
    }
    writePending();
}

void ParameterEditor::writePending()
{
    if (!m_property)
        return;
    if (m_host.settling()) {
        emit message(tr("%1 was not written: the window is still updating after connecting. The value stays "
                        "in the window.")
                         .arg(splitCaptionUnit(m_property->propertyName()).name));
        return;
    }
    QtProperty* property = m_property;
    const QString id = property->propertyId();
    if (m_followUps && !id.contains("ErrorWarning"))
        emit outputEdited(id.contains("2") ? 1 : 0);
    const EditMode mode = m_host.mode();
    // An edit that is not written still held the poll back: live data go on.
    if (mode == EditMode::Read) {
        emit notWritten();
        m_followUps = true;
        emit outputViewStale();
        m_poll.schedule();
        return;
    }
    if (mode == EditMode::WindowOnly) {
        // The unit is the window's own to show, written or not.
        if (id == "MesurementUnit") {
            m_units.setUnit(m_value.toInt());
            if (m_followUps) {
                listen(false);
                emit unitSwitched(true);
                listen(true);
                m_poll.schedule();
            }
            return;
        }
        emit notWritten();
        emit outputViewStale();
        m_poll.schedule();
        return;
    }

    listen(false);
    const std::optional<ParameterAddress> address =
        id.isEmpty() ? std::nullopt : parseParameterAddress(m_tree.addresses().value(id));
    m_unitChanged = false;
    const int code = address ? encode(property, m_value) : 0;
    if (mode == EditMode::WriteSuspended) {
        emit notWritten();
        m_poll.schedule();
        listen(true);
        return;
    }
    {
        const LinkSession::Hold hold(m_link);
        if (address && m_host.connected() && !m_host.settling())
            report(property, m_writer.write(property, code, m_host.showWait()));
        if (!m_poll.isLiveData() && m_host.connected() && !m_host.settling())
            m_link.command(processDataRequest(), m_host.showWait());
    }

    m_delay.stop();
    // The reset button's write is followed as a write of the crash counter.
    const QString handled = m_property ? m_property->propertyId() : id;
    if (m_followUps)
        emit written(handled, code, m_unitChanged);
    m_poll.schedule();
    listen(true);
}

// The sensor's number for the row's new value; the unit and the echoes
// change with their rows at once.
int ParameterEditor::encode(QtProperty* property, const QVariant& value)
{
    const QString id = property->propertyId();
    QtAbstractPropertyManager* manager = property->propertyManager();
    const PropertyManagers& managers = m_tree.managers();
    if (manager == managers.buttons) {
        if (!m_followUps)
            return 0;
        if (id == "RESETBUTTON") {
            if (QtProperty* counter = m_tree.find("CrashCounter"))
                m_property = counter;
        }
        return m_writer.code(property, value);
    }
    const int code = m_writer.code(property, value);
    if (manager == managers.doubles && m_followUps &&
        (id.contains("HysteresisA") || id.contains("ThresholdA") || id.contains("DetectionRange") ||
         id.contains("analog")))
        emit outputViewStale();
    if (manager != managers.enums)
        return code;
    const int position = value.toInt();
    if (id == "MesurementUnit") {
        m_unitChanged = m_units.unit() != position;
        m_units.setUnit(position);
        if (m_followUps)
            emit unitSwitched(false);
    } else if (id == "ObjectInfo") {
        m_poll.setEchoesWanted(position == 1);
        m_poll.restartCycle(position == 1);
    }
    emit choiceWritten(id, position);
    return code;
}

// A write of everything reports once, at its end.
void ParameterEditor::report(QtProperty* property, const WriteOutcome& outcome)
{
    if (outcome.ignored || m_writer.isTallying())
        return;
    const QString name = splitCaptionUnit(property->propertyName()).name;
    if (!outcome.taken)
        emit message(tr("%1 was not written to the sensor: %2").arg(name, outcome.reason));
    else if (property->propertyManager() == m_tree.managers().buttons)
        emit message(tr("%1: sent to the sensor").arg(name));
    else
        emit message(tr("%1 = %2 written").arg(name, m_tree.valueText(property)));
}

void ParameterEditor::takeText(const QString& text)
{
    m_text = text;
    m_textPending = true;
}

// The text last edited goes to property, if it is still to be written.
void ParameterEditor::writeText(QtProperty* property)
{
    if (!m_textPending)
        return;
    m_textPending = false;
    m_poll.stop();
    m_poll.restartCycle(true);
    m_link.pause(120);
    if (property && m_model.contains(property->propertyId()))
        m_model.setEdit(property->propertyId(), m_text);
    else if (property)
        m_tree.managers().strings->setValue(property, m_text);
    if (property && m_host.connected() && !m_host.settling()) {
        const LinkSession::Hold hold(m_link);
        report(property, m_writer.writeTag(property, m_text, m_host.showWait()));
    }
    if (m_followUps)
        m_poll.schedule();
}

void ParameterEditor::writeEdits(const QStringList& ids)
{
    for (const QString& id : ids) {
        QtProperty* property = m_tree.find(id);
        if (!property || !m_host.connected())
            continue;
        setPending(property, m_tree.managerValue(property));
        if (property->propertyManager() == m_tree.managers().strings) {
            takeText(m_value.toString());
            writeText(property);
        } else {
            writePending();
        }
    }
}

int ParameterEditor::writeRows(const QStringList& ids, bool online, const std::function<bool()>& mayGoOn,
                               bool differing)
{
    m_value = -1;
    m_writer.startTally();
    int done = 0;
    for (const QString& id : ids) {
        if (online && !mayGoOn())
            break;
        ++done;
        if (online) {
            emit message(differing ? tr("Writing %1 of %2 differing parameters").arg(done).arg(ids.size())
                                   : tr("Writing %1 of %2").arg(done).arg(ids.size()));
        }
        QtProperty* property = m_tree.find(id);
        switch (m_writer.writeAllKind(id)) {
        case WriteAllKind::Skip:
            break;
        case WriteAllKind::Tag:
            takeText(m_tree.managers().strings->value(property));
            writeText(property);
            break;
        case WriteAllKind::Value:
            // From the model, not the editor: a unit written before this row
            // changes what the editor's number means.
            setPending(property, m_model.contains(id) ? m_tree.shownValueOf(property, m_model.shown(id))
                                                      : m_tree.managerValue(property));
            writePending();
            m_link.pause(20);
            break;
        }
    }
    m_writer.endTally();
    return done;
}

// The pauses and exchanges of writeText and writePending with the pause
// after each value in writeRows.
double ParameterEditor::writeCostMs(const QStringList& ids, double exchangeMs) const
{
    const double tagMs = 120 + 50 + 100 + 50 + 4 * exchangeMs;
    const double valueMs = 100 + 100 + 20 + (m_poll.isLiveData() ? 2 : 3) * exchangeMs;
    double total = 0;
    for (const QString& id : ids) {
        const WriteAllKind kind = m_writer.writeAllKind(id);
        total += kind == WriteAllKind::Tag ? tagMs : kind == WriteAllKind::Value ? valueMs : 0;
    }
    return total;
}

} // namespace NimbarSensorPlugin::Core
