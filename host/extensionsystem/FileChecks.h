#pragma once

#include <QByteArray>
#include <QString>

namespace ExtensionSystem {

// What the program reads whole: a settings file of many hours of history
// stays well below it, anything larger is no file of ours.
constexpr qint64 largestSettingsFileBytes = qint64(1) << 30;

// Whether path is there but is no regular file once links are followed: a
// folder, a named pipe, a device or a socket. Opening a pipe waits for its
// other end and a device may never end, so none of them is opened.
bool isThereButNoRegularFile(const QString& path);

// Opens path for reading when it names a regular file of at most maxBytes.
// Paths are taken as the file system's bytes (QFile::encodeName). Returns
// the descriptor, or -1 with *problem set to a sentence for the user.
int openRegularFile(const QString& path, qint64 maxBytes, QString* problem);

// Reads all of a regular file of at most maxBytes into *content; false with
// *problem set, as openRegularFile, when it cannot.
bool readRegularFile(const QString& path, qint64 maxBytes, QByteArray* content, QString* problem);

// Why path cannot take a file the program writes: there but no regular
// file, a folder that is missing or not writable, a file that is not
// writable. Empty when it can. Said as the reason of a sentence, as in
// "cannot write X: <reason>".
QString outputProblem(const QString& path);

} // namespace ExtensionSystem
