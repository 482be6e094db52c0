#include "SensorModel.h"

#include "BuiltInParameters.h"
#include "Frame.h"

#include <QElapsedTimer>

#include <algorithm>
#include <memory>

namespace IoLinkSimulator {

namespace {

// The document's own spelling of the unit parameter's id.
const char* const UnitParameter = "MesurementUnit";
constexpr qint64 InchUnit = 1;
constexpr qint64 FarEndNoLimit = 30000;

SensorModel::Clock elapsedClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

qint64 bigEndian(const QByteArray& bytes)
{
    quint32 value = 0;
    for (const char byte : bytes.right(4))
        value = (value << 8) | static_cast<quint8>(byte);
    return value;
}

QByteArray padded(const QByteArray& text)
{
    QByteArray tag = text.left(TagLength);
    tag.append(QByteArray(TagLength - tag.size(), '\0'));
    return tag;
}

void appendUint16(QByteArray* bytes, quint16 value)
{
    bytes->append(static_cast<char>(value >> 8));
    bytes->append(static_cast<char>(value & 0xFF));
}

} // namespace

SensorModel::SensorModel(SensorDescription description, quint32 seed, Clock clock)
    : m_description(std::move(description)), m_seed(seed), m_clock(clock ? std::move(clock) : elapsedClock()),
      m_motion(seed, m_description.variant.minRange, m_description.variant.maxRange),
      m_crashCounter(1 + static_cast<int>((seed * 2654435761u) >> 16) % 5)
{
    for (std::size_t i = 0; i < m_description.parameters.size(); ++i) {
        const ParameterSpec& spec = m_description.parameters[i];
        if (m_slots.count(spec.address) == 0)
            m_slots[spec.address] = Slot{roleOf(spec), i, 0, QByteArray()};
    }
    factoryReset();
}

std::unique_ptr<SensorModel> SensorModel::create(const QString& documentPath, const QString& modelId,
                                                 const QString& variantCode, quint32 seed, QString* error,
                                                 Clock clock)
{
    std::optional<SensorDescription> description =
        loadSensorDescription(documentPath, modelId, variantCode, error);
    if (!description)
        return nullptr;
    return std::make_unique<SensorModel>(std::move(*description), seed, std::move(clock));
}

SensorModel::Role SensorModel::roleOf(const ParameterSpec& spec)
{
    // The link's own addresses behave the same whatever the description
    // calls them.
    if (spec.address == Address::Identity)
        return Role::Identity;
    if (spec.address == Address::EchoRecord)
        return Role::EchoRecord;
    if (spec.address == Address::CrashCounter || spec.id == QLatin1String("CrashCounter"))
        return Role::CrashCounter;
    if (spec.address == Address::SystemCommand)
        return Role::SystemCommand;
    if (spec.address == Address::SingleByteCommit)
        return Role::SingleByteCommit;
    if (isTagAddress(spec.address))
        return Role::Tag;
    if (spec.type == QLatin1String("action"))
        return Role::Button;
    return spec.isText() ? Role::Text : Role::Number;
}

void SensorModel::factoryReset()
{
    for (auto& [address, slot] : m_slots) {
        const ParameterSpec& spec = m_description.parameters[slot.spec];
        slot.number = spec.defaultNumber;
        // The document's largest far end stands for the sensor's "no limit",
        // which is what a sensor fresh from the box holds.
        if (spec.id == QLatin1String("DetectionRangeFar") && spec.maximum > spec.minimum &&
            spec.defaultNumber == qRound64(spec.maximum))
            slot.number = FarEndNoLimit;
        slot.text = spec.defaultText;
        if (slot.role == Role::Tag)
            slot.text = padded(QByteArray());
        else if (slot.role == Role::Identity)
            slot.text = m_description.identityText().toLatin1();
    }
    for (SwitchingOutput& output : m_outputs)
        output.reset();
}

QByteArray SensorModel::answer(const QByteArray& requestFrame)
{
    if (!Frame::isValid(requestFrame))
        return QByteArray();
    const quint8 command = static_cast<quint8>(requestFrame.at(2));
    const QByteArray data = requestFrame.mid(3);
    switch (command) {
    case Frame::ConnectionCheck:
        return Frame::build(command, QByteArray(1, '\x02'));
    case Frame::ConnectAcknowledge:
    case Frame::ConnectSetup:
    case Frame::PrepareTagWrite:
        return Frame::acknowledgement(command);
    case Frame::SingleByteWrite:
        if (data.isEmpty())
            return Frame::errorAnswer(command, Frame::LengthUnderrun);
        m_pendingSelection = static_cast<quint8>(data.at(0));
        return Frame::acknowledgement(command);
    case Frame::ProcessData:
        return processData(command);
    case Frame::ReadRequest:
        return readRequest(data);
    case Frame::Fetch:
        return fetch();
    case Frame::ParameterWrite:
        return write(data);
    default:
        return Frame::errorAnswer(command, Frame::FunctionNotAvailable);
    }
}

QByteArray SensorModel::processData(quint8 command)
{
    const quint16 code = distanceCode();
    return Frame::processDataRecord(command, code, statusBits());
}

quint16 SensorModel::millimetreCode() const
{
    if (m_heldDistanceMm > 0)
        return quint16(m_heldDistanceMm);
    return m_motion.at(m_clock()).code();
}

// Only the measured distance follows the unit: the sensor keeps thresholds,
// ranges and echoes in millimetres either way.
quint16 SensorModel::distanceCode() const
{
    const quint16 code = millimetreCode();
    return number(QLatin1String(UnitParameter)) == InchUnit ? DistanceCode::inTenthsOfAnInch(code) : code;
}

quint8 SensorModel::statusBits()
{
    const quint16 code = millimetreCode();
    quint8 bits = m_outputs[0].update(code, outputSettings(1)) ? 0x01 : 0x00;
    const bool second = m_outputs[1].update(code, outputSettings(2));
    if (second && !m_description.variant.singleSwitchingOutput)
        bits |= 0x02;
    return bits;
}

OutputSettings SensorModel::outputSettings(int output) const
{
    const QString n = QString::number(output);
    OutputSettings settings;
    settings.windowMode = number(QLatin1String("TeachInMode") + n) == 2;
    settings.switchingPoint = static_cast<int>(number(QLatin1String("SwitchingThresholdA") + n));
    settings.lowerWidth = static_cast<int>(number(QLatin1String("LowerThresholdA") + n));
    settings.upperWidth = static_cast<int>(number(QLatin1String("UpperThresholdA") + n));
    settings.hysteresis = static_cast<int>(number(QLatin1String("HysteresisA") + n));
    return settings;
}

QByteArray SensorModel::readRequest(const QByteArray& data)
{
    if (data.size() < 3)
        return Frame::errorAnswer(Frame::ReadRequest, Frame::LengthUnderrun);
    m_pendingRead = ParameterAddress{
        static_cast<quint16>(static_cast<quint8>(data.at(0)) | (static_cast<quint8>(data.at(1)) << 8)),
        static_cast<quint8>(data.at(2))};
    return processData(Frame::ReadRequest);
}

QByteArray SensorModel::fetch() const
{
    const auto found = m_pendingRead ? m_slots.find(*m_pendingRead) : m_slots.end();
    if (found == m_slots.end())
        return Frame::errorAnswer(Frame::Fetch, Frame::IndexNotAvailable);
    const Slot& slot = found->second;
    switch (slot.role) {
    case Role::CrashCounter:
        // Variants without the acceleration sensor have no crash counter.
        if (!m_description.variant.crashDetection)
            return Frame::errorAnswer(Frame::Fetch, Frame::IndexNotAvailable);
        return Frame::numberAnswer(m_crashCounter);
    case Role::Text:
    case Role::Tag:
    case Role::Identity:
        return Frame::textAnswer(slot.text);
    case Role::EchoRecord:
        return echoRecord();
    default:
        return Frame::numberAnswer(valueOf(slot).toLongLong());
    }
}

// 22 bytes: 15 check 27, echo count, 00, index of the evaluated echo, four
// distance codes, four amplitudes (16 bits each, unused ones FFFF).
QByteArray SensorModel::echoRecord() const
{
    const TargetMotion::Echoes echoes = m_motion.echoesAt(m_clock());
    QByteArray data;
    data.append(static_cast<char>(echoes.count));
    data.append('\0');
    data.append(static_cast<char>(echoes.evaluated));
    for (const TargetMotion::Echo& echo : echoes.echoes)
        appendUint16(&data, echo.distanceCode);
    for (const TargetMotion::Echo& echo : echoes.echoes)
        appendUint16(&data, echo.amplitude);
    return Frame::build(Frame::Fetch, data);
}

QByteArray SensorModel::write(const QByteArray& data)
{
    if (data.size() < 4)
        return Frame::errorAnswer(Frame::ParameterWrite, Frame::LengthUnderrun);
    const ParameterAddress address{
        static_cast<quint16>(static_cast<quint8>(data.at(0)) | (static_cast<quint8>(data.at(1)) << 8)),
        static_cast<quint8>(data.at(2))};
    const auto found = m_slots.find(address);
    if (found == m_slots.end())
        return Frame::errorAnswer(Frame::ParameterWrite, Frame::IndexNotAvailable);
    Slot& slot = found->second;
    const QByteArray value = data.mid(3);
    const ParameterSpec& spec = m_description.parameters[slot.spec];
    switch (slot.role) {
    case Role::SystemCommand:
        if (bigEndian(value) == FactoryResetCommand)
            factoryReset();
        break;
    case Role::SingleByteCommit:
        if (bigEndian(value) == SingleByteCommitValue)
            m_processDataSelection = m_pendingSelection;
        break;
    case Role::Button:
        pressButton(spec.id, bigEndian(value));
        break;
    case Role::Tag:
        // Tags are the user's own texts: always writable.
        slot.text = padded(value);
        break;
    default:
        if (spec.readOnly)
            return Frame::errorAnswer(Frame::ParameterWrite, Frame::AccessDenied);
        if (slot.role == Role::Text) {
            slot.text = value;
            while (slot.text.endsWith('\0'))
                slot.text.chop(1);
        } else {
            const qint64 number = bigEndian(value);
            // Only parameters whose description declares a range are checked.
            // The far end of the detection range also holds the sensor's own
            // "no limit", which lies beyond the range the description gives.
            const bool noLimit = spec.id == QLatin1String("DetectionRangeFar") && number == FarEndNoLimit;
            if (spec.maximum > spec.minimum && !noLimit && (number < spec.minimum || number > spec.maximum))
                return Frame::errorAnswer(Frame::ParameterWrite, Frame::ValueOutOfRange);
            slot.number = number;
        }
    }
    return Frame::acknowledgement(Frame::ParameterWrite);
}

void SensorModel::pressButton(const QString& id, qint64 value)
{
    if (id == QLatin1String("RESETBUTTON")) {
        m_crashCounter = 0;
        return;
    }
    TargetMotion::Sample sample = m_motion.at(m_clock());
    if (m_heldDistanceMm > 0)
        sample = {TargetMotion::Kind::Distance, m_heldDistanceMm};
    // Without an object in range there is nothing to teach.
    if (sample.kind != TargetMotion::Kind::Distance)
        return;
    if (id.startsWith(QLatin1String("ANALOGTEACHBUTTON"))) {
        setNumber(value == 1 ? QStringLiteral("analog0V") : QStringLiteral("analog10V"), sample.distanceMm);
        return;
    }
    const QString teachButton = QStringLiteral("TEACHBUTTON");
    if (id.startsWith(teachButton) && id.size() > teachButton.size())
        teach(id.at(teachButton.size()).digitValue(), value, sample.distanceMm);
}

// Command 1 teaches the switching point, 2 the lower and 3 the upper window
// edge (both kept as distances from the switching point).
void SensorModel::teach(int output, qint64 command, int distance)
{
    if (output != 1 && output != 2)
        return;
    const QString n = QString::number(output);
    const int point = static_cast<int>(number(QLatin1String("SwitchingThresholdA") + n));
    if (command == 1)
        setNumber(QLatin1String("SwitchingThresholdA") + n, distance);
    else if (command == 2)
        setNumber(QLatin1String("LowerThresholdA") + n, std::abs(point - distance));
    else if (command == 3)
        setNumber(QLatin1String("UpperThresholdA") + n, std::abs(distance - point));
}

const SensorModel::Slot* SensorModel::slotOf(const QString& id) const
{
    const ParameterSpec* spec = m_description.find(id);
    if (!spec)
        return nullptr;
    const auto found = m_slots.find(spec->address);
    return found == m_slots.end() ? nullptr : &found->second;
}

qint64 SensorModel::number(const QString& id) const
{
    const Slot* slot = slotOf(id);
    return slot ? slot->number : 0;
}

void SensorModel::setNumber(const QString& id, qint64 value)
{
    const ParameterSpec* spec = m_description.find(id);
    if (!spec)
        return;
    if (spec->maximum > spec->minimum)
        value = std::clamp<qint64>(value, qRound64(spec->minimum), qRound64(spec->maximum));
    m_slots[spec->address].number = value;
}

QVariant SensorModel::valueOf(const Slot& slot) const
{
    switch (slot.role) {
    case Role::Text:
    case Role::Tag:
    case Role::Identity:
        return slot.text;
    case Role::EchoRecord:
        return echoRecord();
    case Role::CrashCounter:
        return qlonglong(m_crashCounter);
    default:
        return qlonglong(slot.number);
    }
}

QVariant SensorModel::parameterValue(const QString& id) const
{
    const Slot* slot = slotOf(id);
    return slot ? valueOf(*slot) : QVariant();
}

QVariant SensorModel::parameterValue(ParameterAddress address) const
{
    const auto found = m_slots.find(address);
    return found == m_slots.end() ? QVariant() : valueOf(found->second);
}

} // namespace IoLinkSimulator
