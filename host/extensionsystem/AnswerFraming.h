#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace ExtensionSystem {

// Length of the first master frame in bytes when it has fully arrived (its
// first byte counts the bytes that follow), otherwise 0.
int completeFrameLength(const QByteArray& received);

// The command a frame is about, with bit 7 cleared: byte 2 of a request,
// echoed by the master as the response code of its answer (with bit 7 set
// in an error answer). -1 when the bytes are not exactly one frame of at
// least three bytes, such as raw text.
int frameCommand(const QByteArray& frame);

// Whether a whole answer frame is what the master sent: its check octet
// fits its response code and data by the rule requests follow (0x40 and the
// six-bit checksum seeded with 0x52 ^ 0x40). The master's ERROR frame, whose
// bytes after the length are "ERROR", carries no check octet and fits as it
// is; a frame too short for a response code never fits.
bool checkOctetFits(const QByteArray& frame);

// Query status for an answer: 1 accepted, 2 not accepted. An empty pattern
// accepts any answer; otherwise the pattern must match the whole answer read
// as Latin-1 text, newlines and zero bytes included. A pattern that is not a
// valid regular expression accepts nothing.
int32_t answerStatus(const QByteArray& answer, const QString& pattern);

} // namespace ExtensionSystem
