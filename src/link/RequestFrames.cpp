#include "RequestFrames.h"

#include <initializer_list>

namespace NimbarSensorPlugin::Core {

namespace {

constexpr quint8 kReadCommand = 0x26;
constexpr quint8 kWriteCommand = 0x24;
constexpr int kTagLength = 32;

bool bit(quint8 value, int position)
{
    return (value >> position) & 1;
}

QByteArray bytes(std::initializer_list<quint8> values)
{
    QByteArray result;
    for (quint8 value : values)
        result.append(static_cast<char>(value));
    return result;
}

QByteArray indexBytes(quint16 index, quint8 subIndex)
{
    return bytes({static_cast<quint8>(index & 0xFF), static_cast<quint8>(index >> 8), subIndex});
}

// The longest prefix of at most maxLength bytes that does not end inside a
// UTF-8 sequence.
QByteArray utf8Prefix(const QByteArray& text, int maxLength)
{
    if (text.size() <= maxLength)
        return text;
    int cut = maxLength;
    while (cut > 0 && (static_cast<quint8>(text.at(cut)) & 0xC0) == 0x80)
        --cut;
    return text.left(cut);
}

} // namespace

quint8 checkOctet(quint8 command, const QByteArray& data)
{
    // Seed: the master's fixed octet 0x52 and the check octet's type bits.
    quint8 sum = 0x52 ^ 0x40 ^ command;
    for (char byte : data)
        sum ^= static_cast<quint8>(byte);
    const int folded = (bit(sum, 7) ^ bit(sum, 5) ^ bit(sum, 3) ^ bit(sum, 1)) << 5 |
                       (bit(sum, 6) ^ bit(sum, 4) ^ bit(sum, 2) ^ bit(sum, 0)) << 4 |
                       (bit(sum, 7) ^ bit(sum, 6)) << 3 | (bit(sum, 5) ^ bit(sum, 4)) << 2 |
                       (bit(sum, 3) ^ bit(sum, 2)) << 1 | (bit(sum, 1) ^ bit(sum, 0));
    return static_cast<quint8>(0x40 | folded);
}

QByteArray requestFrame(quint8 command, const QByteArray& data)
{
    QByteArray frame;
    frame.append(static_cast<char>(data.size() + 2));
    frame.append(static_cast<char>(checkOctet(command, data)));
    frame.append(static_cast<char>(command));
    frame.append(data);
    return frame;
}

QByteArray connectionCheckRequest()
{
    return requestFrame(0x12, bytes({0x01}));
}

QByteArray connectSetupRequest()
{
    return requestFrame(0x11, bytes({0x09, 0x03}));
}

QByteArray processDataRequest()
{
    return requestFrame(0x22);
}

QByteArray connectModeRequest()
{
    return requestFrame(0x21, bytes({0x03}));
}

QByteArray fetchRequest()
{
    return requestFrame(0x27);
}

QByteArray identityReadRequest()
{
    return readRequest(0x0012, 0);
}

QByteArray echoReadRequest()
{
    return readRequest(0x1211, 0);
}

QByteArray crashCounterReadRequest()
{
    return readRequest(0x1323, 0);
}

QByteArray factoryResetRequest()
{
    return requestFrame(kWriteCommand, indexBytes(0x0002, 0).append(static_cast<char>(0x82)));
}

QByteArray singleByteCommitRequest()
{
    return requestFrame(kWriteCommand, indexBytes(0x0000, 1).append(static_cast<char>(0x98)));
}

QByteArray prepareTagWriteRequest()
{
    return requestFrame(0x25);
}

QByteArray readRequest(quint16 index, quint8 subIndex)
{
    return requestFrame(kReadCommand, indexBytes(index, subIndex));
}

QByteArray writeRequest(const ParameterAddress& address, int value)
{
    const QByteArray encoded = valueBytes(value, address.size);
    if (encoded.isEmpty())
        return {};
    return requestFrame(kWriteCommand, indexBytes(address.index, address.subIndex) + encoded);
}

QByteArray tagWriteRequest(quint8 index, const QByteArray& text)
{
    QByteArray tag = utf8Prefix(text, kTagLength);
    tag.append(kTagLength - tag.size(), '\0');
    return requestFrame(kWriteCommand, bytes({index, 0x00, 0x00}) + tag);
}

QByteArray singleByteRequest(quint8 byte)
{
    return requestFrame(0x23, bytes({byte}));
}

std::string toStdBytes(const QByteArray& frame)
{
    return std::string(frame.constData(), static_cast<size_t>(frame.size()));
}

QByteArray stripAnswer(const QByteArray& answer, int headerLength)
{
    QByteArray rest = answer;
    if (rest.size() > 1)
        rest.replace('\0', QByteArray());
    if (headerLength > 0 && rest.size() > 3)
        rest.remove(0, headerLength);
    return rest;
}

bool isErrorAnswer(const QByteArray& answer)
{
    const QByteArray hex = answer.toHex();
    return hex == "0476a78011" || hex == "0457a78020";
}

bool isErrorTextAnswer(const QByteArray& answer)
{
    return answer == QByteArray("\x05"
                                "ERROR",
                                6);
}

bool isRefusedTagAnswer(const QByteArray& answer)
{
    QByteArray rest = answer;
    rest.replace('\0', QByteArray());
    const QByteArray hex = rest.mid(3).toHex();
    return hex == "8020" || hex == "8011";
}

quint16 fetchErrorCode(const QByteArray& answer)
{
    if (answer.size() < 5 || !(quint8(answer.at(2)) & 0x80))
        return 0;
    return quint16((quint8(answer.at(3)) << 8) | quint8(answer.at(4)));
}

FetchFailure fetchFailure(const QByteArray& answer)
{
    if (answer.isEmpty())
        return FetchFailure::NoAnswer;
    if (isErrorTextAnswer(answer))
        return FetchFailure::Refused;
    switch (fetchErrorCode(answer)) {
    case 0:
        return FetchFailure::None;
    case 0x8011:
        return FetchFailure::IndexNotAvailable;
    case 0x8020:
        return FetchFailure::ServiceUnavailable;
    default:
        return FetchFailure::Refused;
    }
}

} // namespace NimbarSensorPlugin::Core
