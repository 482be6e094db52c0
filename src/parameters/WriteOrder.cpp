#include "WriteOrder.h"

#include <QHash>

#include <algorithm>

namespace NimbarSensorPlugin::Core {

namespace {

// What depends on what, as the window's own rules tie the rows: the rows an
// output shows follow its pin function and switching mode, lengths are
// shown in the unit, the analog limits follow the analog mode.
const QHash<QString, QStringList>& rules()
{
    static const QHash<QString, QStringList> table = [] {
        QHash<QString, QStringList> rules;
        rules["MesurementUnit"] =
            QStringList{"DetectionRangeNear",   "DetectionRangeFar", "SwitchingThresholdA1",
                        "SwitchingThresholdA2", "HysteresisA1",      "HysteresisA2",
                        "LowerThresholdA1",     "LowerThresholdA2",  "UpperThresholdA1",
                        "UpperThresholdA2",     "analog0V",          "analog10V"};
        for (const QString n : {"1", "2"}) {
            rules["PinFunctionA" + n] =
                QStringList{"TeachInMode" + n, "NONCA" + n, "NPNPNP" + n, "OnDelay" + n, "OffDelay" + n};
            rules["TeachInMode" + n] = QStringList{"SwitchingThresholdA" + n, "HysteresisA" + n,
                                                   "LowerThresholdA" + n, "UpperThresholdA" + n};
        }
        rules["AnalogMode"] = QStringList{"AnalogSubt", "analog0V", "analog10V"};
        return rules;
    }();
    return table;
}

// The parameters of ids that id depends on directly.
QStringList basesOf(const QString& id, const QStringList& ids)
{
    QStringList bases;
    for (auto it = rules().cbegin(); it != rules().cend(); ++it) {
        if (it.value().contains(id) && ids.contains(it.key()))
            bases << it.key();
    }
    return bases;
}

} // namespace

QStringList dependentsOf(const QString& id)
{
    return rules().value(id);
}

// The first parameter whose bases have all gone goes next; the rules have
// no cycle, so one always can.
QStringList writeOrder(const QStringList& ids)
{
    QStringList waiting = ids;
    QStringList order;
    while (!waiting.isEmpty()) {
        for (int k = 0; k < waiting.size(); ++k) {
            const QStringList bases = basesOf(waiting[k], ids);
            const bool ready = std::all_of(bases.cbegin(), bases.cend(),
                                           [&order](const QString& base) { return order.contains(base); });
            if (ready) {
                order << waiting.takeAt(k);
                break;
            }
        }
    }
    return order;
}

QStringList differingWrites(const QStringList& order, const QSet<QString>& differing)
{
    QSet<QString> sent;
    QStringList writes;
    // A base comes before its dependents in order, so one pass reaches them all.
    for (const QString& id : order) {
        const QStringList bases = basesOf(id, order);
        const bool dependent = std::any_of(bases.cbegin(), bases.cend(),
                                           [&sent](const QString& base) { return sent.contains(base); });
        if (differing.contains(id) || dependent) {
            sent.insert(id);
            writes << id;
        }
    }
    return writes;
}

} // namespace NimbarSensorPlugin::Core
