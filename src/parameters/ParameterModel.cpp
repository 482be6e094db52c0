#include "ParameterModel.h"

namespace NimbarSensorPlugin::Core {

bool ParameterModel::Row::operator==(const Row& other) const
{
    // QVariant's == takes 1 and 1.0 for the same; a row whose type changed is shown again.
    return held == other.held && held.userType() == other.held.userType() && heldState == other.heldState &&
           heldReason == other.heldReason && edit == other.edit && edit.isValid() == other.edit.isValid() &&
           editState == other.editState && editReason == other.editReason;
}

ParameterModel::ParameterModel(QObject* parent) : QObject(parent) {}

void ParameterModel::reset(const QMap<QString, QVariant>& defaults)
{
    m_rows.clear();
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        Row row;
        row.held = it.value();
        m_rows.insert(it.key(), row);
    }
}

QVariant ParameterModel::shown(const QString& id) const
{
    const Row row = m_rows.value(id);
    return row.edit.isValid() ? row.edit : row.held;
}

QVariant ParameterModel::held(const QString& id) const
{
    return m_rows.value(id).held;
}

bool ParameterModel::hasEdit(const QString& id) const
{
    return m_rows.value(id).edit.isValid();
}

RowState ParameterModel::state(const QString& id) const
{
    const Row row = m_rows.value(id);
    return row.edit.isValid() ? row.editState : row.heldState;
}

QString ParameterModel::reason(const QString& id) const
{
    const Row row = m_rows.value(id);
    return row.edit.isValid() ? row.editReason : row.heldReason;
}

// A row never read shows the document's default; it is marked only once a
// read of it was tried, so a window never connected is not all marks.
bool ParameterModel::isMarked(const QString& id) const
{
    const Row row = m_rows.value(id);
    if (row.edit.isValid())
        return true;
    if (row.heldState == RowState::NotRead)
        return !row.heldReason.isEmpty();
    return row.heldState != RowState::InStep;
}

bool ParameterModel::differs(const QString& id) const
{
    const Row row = m_rows.value(id);
    return !knowsHeld(id) || (row.edit.isValid() && row.edit != row.held);
}

void ParameterModel::update(const QString& id, const Row& row)
{
    auto it = m_rows.find(id);
    if (it == m_rows.end() || *it == row)
        return;
    *it = row;
    emit rowChanged(id);
}

void ParameterModel::setRead(const QString& id, const QVariant& value)
{
    Row row;
    row.held = value;
    row.heldState = RowState::InStep;
    update(id, row);
}

void ParameterModel::setHeldState(const QString& id, RowState state, const QString& reason)
{
    Row row = m_rows.value(id);
    row.heldState = state;
    row.heldReason = reason;
    update(id, row);
}

void ParameterModel::setReadFailed(const QString& id, const QString& reason)
{
    setHeldState(id, RowState::ReadFailed, reason);
}

void ParameterModel::setInDoubt(const QStringList& ids, const QString& reason)
{
    for (const QString& id : ids)
        setHeldState(id, RowState::NotRead, reason);
}

void ParameterModel::setNotAllowed(const QString& id, const QString& reason)
{
    setHeldState(id, RowState::NotAllowed, reason);
}

void ParameterModel::setEdit(const QString& id, const QVariant& value)
{
    Row row = m_rows.value(id);
    // An edit back to what the sensor holds is no edit.
    if (row.heldState == RowState::InStep && row.held == value) {
        row.edit = QVariant();
    } else {
        row.edit = value;
        row.editState = RowState::Edited;
        row.editReason.clear();
    }
    update(id, row);
}

void ParameterModel::dropEdit(const QString& id)
{
    Row row = m_rows.value(id);
    row.edit = QVariant();
    row.editState = RowState::Edited;
    row.editReason.clear();
    update(id, row);
}

void ParameterModel::dropAllEdits()
{
    for (const QString& id : editedIds())
        dropEdit(id);
}

QStringList ParameterModel::editedIds() const
{
    QStringList ids;
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        if (it->edit.isValid())
            ids << it.key();
    }
    return ids;
}

void ParameterModel::setWriting(const QString& id)
{
    Row row = m_rows.value(id);
    if (!row.edit.isValid())
        return;
    row.editState = RowState::Writing;
    row.editReason.clear();
    update(id, row);
}

void ParameterModel::setWritten(const QString& id, const QVariant& value)
{
    setRead(id, value);
}

// A refused write of a value the row shows without an edit (a write of
// everything) keeps that value as the edit: the sensor does not hold it.
void ParameterModel::setRefused(const QString& id, const QString& reason)
{
    Row row = m_rows.value(id);
    if (!row.edit.isValid())
        row.edit = row.held;
    row.editState = RowState::Refused;
    row.editReason = reason;
    update(id, row);
}

int ParameterModel::count(RowState state) const
{
    int n = 0;
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it)
        n += this->state(it.key()) == state ? 1 : 0;
    return n;
}

} // namespace NimbarSensorPlugin::Core
