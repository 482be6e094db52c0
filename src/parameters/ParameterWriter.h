#pragma once

#include <QObject>
#include <QStringList>
#include <QVariant>

class QtProperty;

namespace NimbarSensorPlugin::Core {

class LinkSession;
class ParameterModel;
class ParameterTree;

// What became of one write.
struct WriteOutcome
{
    bool taken = false;
    // Why the sensor did not take it; empty when it did.
    QString reason;
    // A row the user cannot edit that the sensor refused: nothing is lost.
    bool ignored = false;
};

// What a write of everything does with one parameter.
enum class WriteAllKind
{
    Skip,
    Value,
    Tag,
};

// Writes the rows' values to the sensor, each write an exchange of its own
// over the link session. The answer is looked at, although the sensor is not
// read back: a refused or unanswered write would otherwise leave the user
// believing the sensor holds what the tree shows. A refused row keeps the
// edit, marked, until a read or write of it succeeds.
class ParameterWriter : public QObject
{
    Q_OBJECT
public:
    ParameterWriter(LinkSession& link, ParameterTree& tree, ParameterModel& model, QObject* parent = nullptr);

    // The sensor's number for what a row shows: its value in the sensor's
    // units and codes, a button's command.
    int code(QtProperty* property, const QVariant& shown) const;
    WriteOutcome write(QtProperty* property, int code, bool showWait);
    WriteOutcome writeTag(QtProperty* property, const QString& text, bool showWait);

    // A write of everything sends the parameters in the order of their ids,
    // which is the order the sensor gets them in. It skips the rows the user
    // cannot set (identity texts, input modes, buttons), and a value the
    // sensor holds that the editor cannot show: that would go back cut to the
    // editor's range, so the sensor keeps its own.
    WriteAllKind writeAllKind(const QString& id) const;
    // The parameters a write of everything sends, in the order it sends them.
    QStringList writeAllIds() const;

    // A write of everything reports once at the end instead of row by row:
    // while a tally runs, the outcomes are counted here.
    void startTally();
    void endTally() { m_tallying = false; }
    bool isTallying() const { return m_tallying; }
    int writtenCount() const { return m_written; }
    // "Caption: why" of every write the sensor did not take.
    QStringList failures() const { return m_failures; }

signals:
    // The sensor took sent (in its units and codes) for the row, which held
    // before until then; buttons hold nothing.
    void written(QtProperty* property, const QVariant& before, const QVariant& sent);
    void refused(QtProperty* property, const QString& reason);

private:
    WriteOutcome record(QtProperty* property, const QByteArray& answer, const QVariant& sent);

    LinkSession& m_link;
    ParameterTree& m_tree;
    ParameterModel& m_model;
    bool m_tallying = false;
    int m_written = 0;
    QStringList m_failures;
};

} // namespace NimbarSensorPlugin::Core
