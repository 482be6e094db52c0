#pragma once

#include "SensorDescription.h"
#include "SwitchingOutput.h"
#include "TargetMotion.h"

#include <QByteArray>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace IoLinkSimulator {

// One sensor behind the master, answering request frames. Deterministic for
// a given seed and clock: the clock (milliseconds) drives the moving target,
// the seed places it and picks the crash counter.
class SensorModel
{
public:
    using Clock = std::function<qint64()>;

    // Without a clock the model runs on the time elapsed since its creation.
    SensorModel(SensorDescription description, quint32 seed, Clock clock = Clock());

    // Loads the model (and variant; empty: the first) from the description
    // document; null with an error text when that fails.
    static std::unique_ptr<SensorModel> create(const QString& documentPath, const QString& modelId,
                                               const QString& variantCode, quint32 seed, QString* error,
                                               Clock clock = Clock());

    // The complete answer frame to one request frame; empty when a master
    // would not answer it (check octet or length wrong).
    QByteArray answer(const QByteArray& requestFrame);

    const SensorDescription& description() const { return m_description; }
    quint32 seed() const { return m_seed; }

    // qlonglong for numbers, QByteArray for texts and tags (and the answer
    // frame for the echo record), invalid when the parameter does not exist.
    QVariant parameterValue(const QString& id) const;
    QVariant parameterValue(ParameterAddress address) const;

    // The distance code as the process data carries it: millimetres, or
    // tenths of an inch while the unit parameter says inches.
    quint16 distanceCode() const;
    // Keeps the object still at this distance (mm), for checks that compare
    // what is shown with where the object is; 0 lets it move again.
    void holdTarget(int distanceMm) { m_heldDistanceMm = distanceMm; }
    // The switching and status bits as the next process-data record holds them.
    quint8 statusBits();
    int crashCounter() const { return m_crashCounter; }
    // A knock on the housing, counted as the acceleration sensor counts one.
    void recordImpact() { ++m_crashCounter; }
    // A teach with the button on the housing, as a person at the machine does
    // it without the PC: output 1's switching point becomes where the object is.
    void teachAtHousing() { teach(1, 1, millimetreCode()); }
    // The byte of the last single-byte write, once committed by the 0x98 write.
    quint8 processDataSelection() const { return m_processDataSelection; }
    std::optional<ParameterAddress> pendingRead() const { return m_pendingRead; }

private:
    enum class Role
    {
        Number,
        Text,
        Tag,
        Identity,
        EchoRecord,
        CrashCounter,
        SystemCommand,
        SingleByteCommit,
        Button
    };

    struct Slot
    {
        Role role = Role::Number;
        std::size_t spec = 0; // first parameter of the description at this address
        qint64 number = 0;
        QByteArray text;
    };

    static Role roleOf(const ParameterSpec& spec);
    // The target's distance code in millimetres, whatever the unit.
    quint16 millimetreCode() const;
    QVariant valueOf(const Slot& slot) const;
    const Slot* slotOf(const QString& id) const;
    qint64 number(const QString& id) const;
    void setNumber(const QString& id, qint64 value);

    QByteArray processData(quint8 command);
    QByteArray readRequest(const QByteArray& data);
    QByteArray fetch() const;
    QByteArray write(const QByteArray& data);
    QByteArray echoRecord() const;
    void pressButton(const QString& id, qint64 value);
    void teach(int output, qint64 command, int distance);
    void factoryReset();
    OutputSettings outputSettings(int output) const;

    SensorDescription m_description;
    quint32 m_seed;
    Clock m_clock;
    TargetMotion m_motion;
    int m_heldDistanceMm = 0;
    std::map<ParameterAddress, Slot> m_slots;
    SwitchingOutput m_outputs[2];
    std::optional<ParameterAddress> m_pendingRead;
    int m_crashCounter;
    quint8 m_pendingSelection = 0;
    quint8 m_processDataSelection = 0;
};

} // namespace IoLinkSimulator
