#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace NimbarSensorPlugin::Core {

// Where a row stands against the sensor.
enum class RowState
{
    NotRead,    // no value read from the sensor yet: the row shows the document's default
    InStep,     // shows what the sensor holds
    Edited,     // the user's edit, not written yet
    Writing,    // the user's edit, on its way to the sensor
    Refused,    // the sensor refused the edit; the edit is kept
    ReadFailed, // the last read brought no value; the row shows the one before
    NotAllowed, // the sensor holds a value this variant's editor cannot show
};

// The one place every parameter's value lives: what the sensor last
// reported (in the sensor's own units and codes: whole millimetres, list
// codes, texts), the user's edit, and the row's state with its reason. The
// tree only shows it; units and list positions are applied on the way to
// the screen, so showing a row in another unit never changes its value.
class ParameterModel : public QObject
{
    Q_OBJECT
public:
    explicit ParameterModel(QObject* parent = nullptr);

    // Forgets everything; the rows start as not read, showing their defaults.
    void reset(const QMap<QString, QVariant>& defaults);
    bool contains(const QString& id) const { return m_rows.contains(id); }
    QStringList ids() const { return m_rows.keys(); }

    // What the row shows: the user's edit if there is one, else the sensor's.
    QVariant shown(const QString& id) const;
    // The sensor's last reported value (the default before any read).
    QVariant held(const QString& id) const;
    bool hasEdit(const QString& id) const;
    RowState state(const QString& id) const;
    QString reason(const QString& id) const;
    // True when the row does not show what the sensor holds: the tree marks it.
    bool isMarked(const QString& id) const;
    // True when the row's value was read from the sensor, or written to
    // it, and nothing happened since that leaves it in doubt.
    bool knowsHeld(const QString& id) const { return m_rows.value(id).heldState == RowState::InStep; }
    // True unless the sensor is known to hold what the row shows: a write
    // of what differs sends it.
    bool differs(const QString& id) const;

    // A read brought value: it replaces any edit, and the row is in step.
    void setRead(const QString& id, const QVariant& value);
    // A read brought no value: what the row shows stays, marked with why.
    void setReadFailed(const QString& id, const QString& reason);
    // What the sensor holds of these rows is in doubt until a read or a
    // write brings it: a read of everything starts, or a write ended before
    // them. Each row keeps what it shows and is marked with why.
    void setInDoubt(const QStringList& ids, const QString& reason);
    void setNotAllowed(const QString& id, const QString& reason);

    void setEdit(const QString& id, const QVariant& value);
    // Drops the edit: the row shows the sensor's value again.
    void dropEdit(const QString& id);
    void dropAllEdits();
    QStringList editedIds() const;

    void setWriting(const QString& id);
    // The sensor took value: it holds it now.
    void setWritten(const QString& id, const QVariant& value);
    void setRefused(const QString& id, const QString& reason);

    int count(RowState state) const;

signals:
    // A row's value or state changed: the tree shows it again.
    void rowChanged(const QString& id);

private:
    // What the sensor holds and the user's edit each have a state of their
    // own, so that dropping an edit brings back the row as it was.
    struct Row
    {
        QVariant held;
        RowState heldState = RowState::NotRead;
        QString heldReason;
        QVariant edit;
        RowState editState = RowState::Edited;
        QString editReason;
        bool operator==(const Row& other) const;
    };
    void update(const QString& id, const Row& row);
    void setHeldState(const QString& id, RowState state, const QString& reason);

    QMap<QString, Row> m_rows;
};

} // namespace NimbarSensorPlugin::Core
