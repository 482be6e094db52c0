#include "FileReplace.h"

#include <extensionsystem/FileChecks.h>

#include <QSaveFile>

namespace Utils {

QString replaceFileContent(const QString& path, const QByteArray& content)
{
    const QString problem = ExtensionSystem::outputProblem(path);
    if (!problem.isEmpty())
        return problem;
    // Unbuffered, and every byte checked: a buffered QSaveFile can commit although flushing its
    // buffer failed, and a short write reports no error of its own.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    for (qint64 written = 0; written < content.size();) {
        const qint64 count = file.write(content.constData() + written, content.size() - written);
        if (count <= 0)
            return file.errorString();
        written += count;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace Utils
