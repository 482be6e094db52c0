#pragma once

#include <QByteArray>

#include <cstdint>

namespace IoLinkSimulator {

// Frames on the master's serial line, in both directions:
// length (bytes that follow), check octet, command or response code, data.
namespace Frame {

// Command codes of the requests the master understands.
enum Command : quint8
{
    ConnectAcknowledge = 0x11,
    ConnectionCheck = 0x12,
    ConnectSetup = 0x21,
    ProcessData = 0x22,
    SingleByteWrite = 0x23,
    ParameterWrite = 0x24,
    PrepareTagWrite = 0x25,
    ReadRequest = 0x26,
    Fetch = 0x27,
};

// Error codes carried by error answers (response code = command | 0x80).
enum ErrorCode : quint16
{
    IndexNotAvailable = 0x8011,
    ServiceUnavailable = 0x8020,
    // Busy with an operation of its own (a teach-in, storing its settings):
    // the sensor takes no parameter changes until that ends.
    DeviceControl = 0x8022,
    AccessDenied = 0x8023,
    ValueOutOfRange = 0x8030,
    LengthUnderrun = 0x8034,
    FunctionNotAvailable = 0x8035,
};

// Longest request of the command set: the 32-byte tag write.
constexpr int MaxRequestLength = 0x25;

// 0x40 | six-bit checksum over code and data (seed 0x52 ^ 0x40).
quint8 checkOctet(quint8 code, const QByteArray& data);

QByteArray build(quint8 code, const QByteArray& data = QByteArray());

// A complete frame whose length byte matches its size and whose check octet
// follows the rule.
bool isValid(const QByteArray& frame);

bool isKnownCommand(quint8 code);

QByteArray acknowledgement(quint8 command);
QByteArray errorAnswer(quint8 command, quint16 errorCode);

// Process-data record, 8 bytes: 07 check code 00 distanceHi distanceLo 00 status.
QByteArray processDataRecord(quint8 command, quint16 distanceCode, quint8 statusBits);

// A number fetched by 0x27: four big-endian bytes after the header, so the
// length byte is 06 and the value's low 16 bits are the last two bytes.
QByteArray numberAnswer(qint64 value);

// A text fetched by 0x27: its bytes right after the three header bytes.
QByteArray textAnswer(const QByteArray& text);

quint16 readUint16(const QByteArray& bytes, int position);

} // namespace Frame
} // namespace IoLinkSimulator
