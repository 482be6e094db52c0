#include "WriteSequence.h"

#include "ParameterEditor.h"
#include "ParameterModel.h"
#include "ParameterTree.h"
#include "ParameterWriter.h"
#include "ValueCodec.h"
#include "WriteOrder.h"
#include "link/LinkSession.h"

#include <qtpropertybrowser.h>

#include <QElapsedTimer>

#include <algorithm>

namespace NimbarSensorPlugin::Core {

WriteSequence::WriteSequence(Parts parts, QObject* parent) : QObject(parent), p(parts) {}

QStringList WriteSequence::allIds() const
{
    return p.writer.writeAllIds();
}

bool WriteSequence::knowsSensor() const
{
    const QStringList ids = allIds();
    return std::all_of(ids.cbegin(), ids.cend(), [this](const QString& id) { return p.model.knowsHeld(id); });
}

// A row the user cannot set (the impact counter) is no setting that differs.
QStringList WriteSequence::settingIds() const
{
    QStringList ids;
    for (const QString& id : allIds()) {
        QtProperty* property = p.tree.find(id);
        if (!property || property->statusTip() != "readOnly")
            ids << id;
    }
    return ids;
}

QStringList WriteSequence::differingIds() const
{
    QSet<QString> differing;
    for (const QString& id : settingIds()) {
        if (!p.model.contains(id) || p.model.differs(id))
            differing.insert(id);
    }
    return differingWrites(allIds(), differing);
}

WriteReport WriteSequence::run(const QStringList& ids, bool differing, bool online,
                               const std::function<bool()>& mayGoOn,
                               const ParameterReader::Options& readOptions)
{
    WriteReport report;
    report.differing = differing;
    report.planned = ids.size();
    const QStringList all = allIds();
    report.allCount = all.size();
    // What the sensor took, as sent: buttons hold nothing and are not read back.
    QMap<QString, QVariant> sent;
    const QMetaObject::Connection taken =
        connect(&p.writer, &ParameterWriter::written, this,
                [&sent](QtProperty* property, const QVariant&, const QVariant& value) {
                    sent.insert(property->propertyId(), value);
                });
    QElapsedTimer clock;
    clock.start();
    const int done = p.editor.writeRows(ids, online, mayGoOn, differing);
    report.writeMs = clock.elapsed();
    // A write that ended early leaves the sensor's value of the rest in
    // doubt: a unit or a pin function written before them may have changed them.
    QStringList notDone;
    for (const QString& id : ids.mid(done)) {
        if (p.model.contains(id))
            notDone << id;
    }
    if (!notDone.isEmpty()) {
        const ParameterTree::Quiet quiet(p.tree);
        p.model.setInDoubt(notDone, tr("Not written: the write stopped before this parameter"));
    }
    report.written = sent.size();
    disconnect(taken);
    report.refused = p.writer.failures();
    if (!online)
        return report;
    report.allEstimateMs = p.editor.writeCostMs(all, p.link.meanExchangeMs());
    emit message(summary(report));
    verify(sent, ids, mayGoOn, readOptions, report);
    return report;
}

// The rows go back in the order they were written, with the pause a read
// of everything makes before each read.
void WriteSequence::verify(const QMap<QString, QVariant>& sent, const QStringList& ids,
                           const std::function<bool()>& mayGoOn, const ParameterReader::Options& readOptions,
                           WriteReport& report)
{
    for (const QString& id : ids) {
        if (!sent.contains(id))
            continue;
        if (!mayGoOn())
            break;
        emit message(tr("Verifying %1 of %2").arg(++report.verified).arg(sent.size()));
        p.link.pause(5);
        if (!p.reader.read(id, false, readOptions))
            continue;
        const QVariant held = p.model.held(id);
        const QVariant wanted = sent.value(id);
        if (held == wanted)
            continue;
        QtProperty* property = p.tree.find(id);
        const QString sentText = p.tree.heldText(property, wanted);
        const QString heldText = p.tree.heldText(property, held);
        report.mismatches << tr("%1: sent %2, read back %3")
                                 .arg(splitCaptionUnit(property->propertyName()).name, sentText, heldText);
        p.model.setEdit(id, wanted);
        p.model.setRefused(id, tr("Written as %1, but the sensor holds %2").arg(sentText, heldText));
    }
}

QString WriteSequence::summary(const WriteReport& report)
{
    const QString seconds = QString::number(report.writeMs / 1000.0, 'f', 1);
    const QString allSeconds = QString::number(report.allEstimateMs / 1000.0, 'f', 1);
    if (!report.differing)
        return tr("Wrote all %1 parameters in %2 s.").arg(report.planned).arg(seconds);
    if (report.planned == 0) {
        return tr("Wrote nothing: the sensor holds every value already (writing all %1 would have taken "
                  "about %2 s).")
            .arg(report.allCount)
            .arg(allSeconds);
    }
    return tr("Wrote %n differing parameter(s) in %1 s; writing all %2 would have taken about %3 s.", nullptr,
              report.planned)
        .arg(seconds)
        .arg(report.allCount)
        .arg(allSeconds);
}

} // namespace NimbarSensorPlugin::Core
