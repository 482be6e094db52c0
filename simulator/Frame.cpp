#include "Frame.h"

namespace IoLinkSimulator {
namespace Frame {

namespace {

int bit(quint8 value, int position)
{
    return (value >> position) & 1;
}

} // namespace

quint8 checkOctet(quint8 code, const QByteArray& data)
{
    quint8 sum = 0x52 ^ 0x40 ^ code;
    for (const char byte : data)
        sum ^= static_cast<quint8>(byte);
    const int six = ((bit(sum, 7) ^ bit(sum, 5) ^ bit(sum, 3) ^ bit(sum, 1)) << 5) |
                    ((bit(sum, 6) ^ bit(sum, 4) ^ bit(sum, 2) ^ bit(sum, 0)) << 4) |
                    ((bit(sum, 7) ^ bit(sum, 6)) << 3) | ((bit(sum, 5) ^ bit(sum, 4)) << 2) |
                    ((bit(sum, 3) ^ bit(sum, 2)) << 1) | (bit(sum, 1) ^ bit(sum, 0));
    return static_cast<quint8>(0x40 | six);
}

QByteArray build(quint8 code, const QByteArray& data)
{
    QByteArray frame;
    frame.reserve(data.size() + 3);
    frame.append(static_cast<char>(data.size() + 2));
    frame.append(static_cast<char>(checkOctet(code, data)));
    frame.append(static_cast<char>(code));
    frame.append(data);
    return frame;
}

bool isValid(const QByteArray& frame)
{
    if (frame.size() < 3 || static_cast<quint8>(frame.at(0)) != frame.size() - 1)
        return false;
    const quint8 code = static_cast<quint8>(frame.at(2));
    return static_cast<quint8>(frame.at(1)) == checkOctet(code, frame.mid(3));
}

bool isKnownCommand(quint8 code)
{
    switch (code) {
    case ConnectAcknowledge:
    case ConnectionCheck:
    case ConnectSetup:
    case ProcessData:
    case SingleByteWrite:
    case ParameterWrite:
    case PrepareTagWrite:
    case ReadRequest:
    case Fetch:
        return true;
    default:
        return false;
    }
}

QByteArray acknowledgement(quint8 command)
{
    return build(command);
}

QByteArray errorAnswer(quint8 command, quint16 errorCode)
{
    QByteArray data;
    data.append(static_cast<char>(errorCode >> 8));
    data.append(static_cast<char>(errorCode & 0xFF));
    return build(static_cast<quint8>(command | 0x80), data);
}

QByteArray processDataRecord(quint8 command, quint16 distanceCode, quint8 statusBits)
{
    QByteArray data(5, '\0');
    data[1] = static_cast<char>(distanceCode >> 8);
    data[2] = static_cast<char>(distanceCode & 0xFF);
    data[4] = static_cast<char>(statusBits);
    return build(command, data);
}

QByteArray numberAnswer(qint64 value)
{
    const quint32 bits = static_cast<quint32>(value);
    QByteArray data;
    for (int shift = 24; shift >= 0; shift -= 8)
        data.append(static_cast<char>((bits >> shift) & 0xFF));
    return build(Fetch, data);
}

QByteArray textAnswer(const QByteArray& text)
{
    // The length byte counts check octet and code as well.
    return build(Fetch, text.left(0xFF - 2));
}

quint16 readUint16(const QByteArray& bytes, int position)
{
    return static_cast<quint16>((static_cast<quint8>(bytes.at(position)) << 8) |
                                static_cast<quint8>(bytes.at(position + 1)));
}

} // namespace Frame
} // namespace IoLinkSimulator
