#pragma once

#include <QByteArray>
#include <QString>

namespace Utils {

// Writes content to path through a temporary file beside it that replaces the target only
// once every byte is on disk, so a full disk, a size limit or a crash half-way leaves the old
// file as it was. Only a regular file or a new name is taken as target: a device or a pipe is
// neither removed nor written. Returns empty on success, otherwise the reason, for the user.
QString replaceFileContent(const QString& path, const QByteArray& content);

} // namespace Utils
