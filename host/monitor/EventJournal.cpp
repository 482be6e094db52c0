#include "EventJournal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

namespace Monitor {

EventJournal::EventJournal(const QString& fileName, qint64 limitBytes) : file(fileName), limit(limitBytes) {}

QString EventJournal::defaultFileName()
{
    // Qt 5 names no state folder; XDG's rule is the variable or ~/.local/state.
    QString folder = qEnvironmentVariable("XDG_STATE_HOME");
    if (folder.isEmpty())
        folder = QDir::home().filePath(".local/state");
    return QDir(folder).filePath("iolink-workbench/journal.jsonl");
}

QString EventJournal::open()
{
    QDir().mkpath(QFileInfo(file.fileName()).absolutePath());
    // Unbuffered: what append wrote is in the file when it returns.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return file.errorString();
    return QString();
}

QString EventJournal::rotate()
{
    file.close();
    const QString older = file.fileName() + ".1";
    QFile::remove(older);
    if (!QFile::rename(file.fileName(), older))
        return QCoreApplication::translate("EventJournal", "cannot move %1 aside to %2")
            .arg(file.fileName(), older);
    return QString();
}

QString EventJournal::append(const QJsonObject& event)
{
    const QByteArray line = QJsonDocument(event).toJson(QJsonDocument::Compact) + '\n';
    QString problem = file.isOpen() ? QString() : open();
    if (problem.isEmpty() && file.size() > 0 && file.size() + line.size() > limit) {
        problem = rotate();
        if (problem.isEmpty())
            problem = open();
    }
    if (problem.isEmpty() && file.write(line) != line.size())
        problem = file.errorString();
    // Opened again for the next line: the disk may have room by then.
    if (!problem.isEmpty())
        file.close();
    return problem;
}

} // namespace Monitor
