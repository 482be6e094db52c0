#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace ExtensionSystem {

// Length of the first master frame in bytes when it has fully arrived (its
// first byte counts the bytes that follow), otherwise 0.
int completeFrameLength(const QByteArray& received);

// Query status for an answer: 1 accepted, 2 not accepted. An empty pattern
// accepts any answer; otherwise the pattern must match the whole answer read
// as Latin-1 text, newlines and zero bytes included. A pattern that is not a
// valid regular expression accepts nothing.
int32_t answerStatus(const QByteArray& answer, const QString& pattern);

} // namespace ExtensionSystem
