#pragma once

#include <parameters/ValueCodec.h>

#include <QByteArray>
#include <QtGlobal>

#include <string>

namespace NimbarSensorPlugin::Core {

// The request frames for the serial IO-Link master (length, check octet,
// command, data) and the small rules for reading its answers.

// The check octet over the command and data bytes: the IO-Link checksum folded
// into six bits, with the two type bits 01 on top.
quint8 checkOctet(quint8 command, const QByteArray& data);

// A complete request: length of what follows, check octet, command, data.
QByteArray requestFrame(quint8 command, const QByteArray& data = {});

// The fixed requests of the connect sequence and the status poll.
QByteArray connectionCheckRequest();
QByteArray connectSetupRequest();
QByteArray processDataRequest();
QByteArray connectModeRequest();
QByteArray fetchRequest();
QByteArray identityReadRequest();
QByteArray echoReadRequest();
QByteArray crashCounterReadRequest();

// The fixed writes: restore factory settings, and the commit that follows a
// single-byte write.
QByteArray factoryResetRequest();
QByteArray singleByteCommitRequest();

// Announces a 32-byte tag write.
QByteArray prepareTagWriteRequest();

// Read request of one parameter; the index travels low byte first.
QByteArray readRequest(quint16 index, quint8 subIndex);

// Write request of one parameter; its size fixes the value bytes. Empty for an
// address whose size has no value layout.
QByteArray writeRequest(const ParameterAddress& address, int value);

// Write of a 32-byte tag at the given index. The UTF-8 text is padded with
// zero bytes; a longer text is cut to at most 32 bytes at a character
// boundary, so the sensor never holds half a character.
QByteArray tagWriteRequest(quint8 index, const QByteArray& text);

// Single-byte write (the observation switches).
QByteArray singleByteRequest(quint8 byte);

// The request as the host's query carries it, zero bytes included.
std::string toStdBytes(const QByteArray& frame);

// Zero bytes removed (from answers longer than one byte), then the header
// dropped when more than three bytes remain.
QByteArray stripAnswer(const QByteArray& answer, int headerLength);

// One of the master's two error answers (codes 0x8011 and 0x8020), as a whole.
bool isErrorAnswer(const QByteArray& answer);

// The master's complaint about a request it could not take: the frame whose
// bytes after the length byte are exactly "ERROR". Only the whole frame
// counts, so that a tag may hold those letters like any other text.
bool isErrorTextAnswer(const QByteArray& answer);

// A tag read the sensor refused for now or for good: without zero bytes and
// header, only the error code 0x8020 or 0x8011 is left.
bool isRefusedTagAnswer(const QByteArray& answer);

// Why a fetch brought no value to show. The master answers a refused read
// with its response code's top bit set and a 16-bit error code; the ERROR
// frame is its complaint about the request itself.
enum class FetchFailure
{
    None,
    NoAnswer,
    IndexNotAvailable,  // error code 0x8011
    ServiceUnavailable, // error code 0x8020
    Refused             // any other error answer
};
FetchFailure fetchFailure(const QByteArray& answer);
// The error code of an error answer, 0 for any other answer.
quint16 fetchErrorCode(const QByteArray& answer);

} // namespace NimbarSensorPlugin::Core
