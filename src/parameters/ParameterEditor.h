#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <functional>

class QtProperty;

namespace NimbarSensorPlugin::Core {

class LengthUnits;
class LinkSession;
class ParameterModel;
class ParameterTree;
class ParameterWriter;
class StatusPoll;
struct WriteOutcome;

// What becomes of an edit, as the window's read and write actions say.
enum class EditMode
{
    // Nothing is written, and the marks follow the tree.
    Read,
    // Edits stay in the window.
    WindowOnly,
    // Each edit is written to the sensor.
    Write,
    // Write mode with writing switched off: the window follows, the sensor does not.
    WriteSuspended,
};

// What the editor asks of the window it serves.
struct EditorHost
{
    std::function<bool()> connected;
    // The sensor settles after connecting: edits stay in the window meanwhile.
    std::function<bool()> settling;
    std::function<EditMode()> mode;
    // Whether a write shows the progress of its wait.
    std::function<bool()> showWait;
};

// The user's edits on their way to the sensor. It listens to the tree's
// value changes (only while the window lets it: its own changes are not the
// user's), keeps the edit that waits to be written and the text being typed,
// and writes them, one row, the edited rows or everything, over the writer.
// What the window changes beside the tree it learns from the signals.
class ParameterEditor : public QObject
{
    Q_OBJECT
public:
    ParameterEditor(LinkSession& link, StatusPoll& poll, ParameterTree& tree, ParameterModel& model,
                    ParameterWriter& writer, LengthUnits& units, EditorHost host, QObject* parent = nullptr);

    // Value changes in the tree are the user's edits while this is on.
    void listen(bool on);

    // An edit of the user: the row shows it, and it is written a moment
    // later, so that a spin box's steps go out as one write.
    void record(QtProperty* property, const QVariant& value);
    // The edit waiting to be written, set by the window (a dragged mark).
    void setPending(QtProperty* property, const QVariant& value);
    QtProperty* pendingProperty() const { return m_property; }
    // The waiting edit is given up: the sensor's values or a write of
    // everything come instead.
    void cancelPending() { m_delay.stop(); }
    // Writes the waiting edit, once the link is free.
    void writeWhenFree();
    void writePending();

    // The text being typed into a tag row, written by writeText.
    void takeText(const QString& text);
    // A text abandoned with Esc must not reach another row.
    void dropText() { m_textPending = false; }
    void writeText(QtProperty* property);

    // Writes every row the user edited, as if each had just been typed.
    void writeEdits(const QStringList& ids);
    // Writes the rows of ids in that order, each as a write of everything
    // writes it; online, mayGoOn is asked before each. differing says so in
    // the progress. Returns how many of ids it went through.
    int writeRows(const QStringList& ids, bool online, const std::function<bool()>& mayGoOn, bool differing);
    // What writing the rows of ids takes: the pauses their writes make and
    // their exchanges at exchangeMs each.
    double writeCostMs(const QStringList& ids, double exchangeMs) const;

    // While off, a write changes nothing beside the tree: the window is
    // setting many values at once and shows them when done.
    void setFollowUps(bool on) { m_followUps = on; }
    bool followUps() const { return m_followUps; }

signals:
    // A new edit starts: what was said of the last one is past.
    void editStarted();
    void message(const QString& text);
    // An edit that stays in the window.
    void notWritten();
    // The edited row belongs to this output (0 or 1).
    void outputEdited(int output);
    // The switching marks and the rows that hang on the values are stale.
    void outputViewStale();
    // The unit changed; withLimits when the editors' limits follow it too.
    void unitSwitched(bool withLimits);
    void choiceWritten(const QString& id, int position);
    // A row went to the sensor; unitChanged when it changed the sensor's unit.
    void written(const QString& id, int code, bool unitChanged);

private:
    int encode(QtProperty* property, const QVariant& value);
    void report(QtProperty* property, const WriteOutcome& outcome);

    LinkSession& m_link;
    StatusPoll& m_poll;
    ParameterTree& m_tree;
    ParameterModel& m_model;
    ParameterWriter& m_writer;
    LengthUnits& m_units;
    EditorHost m_host;
    QTimer m_delay;
    QList<QMetaObject::Connection> m_listening;
    QtProperty* m_property = nullptr;
    QVariant m_value;
    QString m_text;
    bool m_textPending = false;
    bool m_followUps = true;
    bool m_unitChanged = false;
};

} // namespace NimbarSensorPlugin::Core
