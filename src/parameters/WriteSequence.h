#pragma once

#include "parameters/ParameterReader.h"

#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace NimbarSensorPlugin::Core {

class LinkSession;
class ParameterEditor;
class ParameterModel;
class ParameterTree;
class ParameterWriter;

// What a write of parameters did.
struct WriteReport
{
    // Only what differed, or everything.
    bool differing = false;
    int planned = 0;
    int allCount = 0;
    qint64 writeMs = 0;
    // What a write of everything would have taken here.
    double allEstimateMs = 0;
    // "Caption: why" of every write the sensor did not take.
    QStringList refused;
    int verified = 0;
    // "Caption: sent ..., read back ..." of every row that holds another value than sent.
    QStringList mismatches;
    // The user ended it before everything planned was written and read back.
    bool cancelled = false;
    int written = 0;
};

// Writes parameters to the sensor and proves what was written: each row
// the sensor took is read back and compared with what was sent, in the
// sensor's units, and a row that holds something else is reported and
// keeps what was sent as its edit, marked. Nothing is written again
// without the user asking.
class WriteSequence : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        LinkSession& link;
        ParameterTree& tree;
        ParameterModel& model;
        ParameterReader& reader;
        ParameterEditor& editor;
        ParameterWriter& writer;
    };
    WriteSequence(Parts parts, QObject* parent);

    // Every parameter a write of everything sends, in its order.
    QStringList allIds() const;
    // The parameters a write of what differs may send: those of allIds the
    // user can set.
    QStringList settingIds() const;
    // Whether the sensor's value of every parameter a write sends is known.
    bool knowsSensor() const;
    // The parameters whose value is not known to be what the sensor holds,
    // with those that depend on them, in the order a write of everything
    // would send them.
    QStringList differingIds() const;

    // Writes ids; online, then reads back what the sensor took. mayGoOn is
    // asked before each exchange: a lost sensor ends the sequence.
    WriteReport run(const QStringList& ids, bool differing, bool online, const std::function<bool()>& mayGoOn,
                    const ParameterReader::Options& readOptions);

    // A sentence of what a write did, for the status bar and the log.
    static QString summary(const WriteReport& report);

signals:
    void message(const QString& text);

private:
    void verify(const QMap<QString, QVariant>& sent, const QStringList& ids,
                const std::function<bool()>& mayGoOn, const ParameterReader::Options& readOptions,
                WriteReport& report);

    Parts p;
};

} // namespace NimbarSensorPlugin::Core
