#pragma once

#include <QFile>
#include <QJsonObject>
#include <QString>

namespace Monitor {

// The journal of what happened to every sensor: one JSON object a line,
// appended and flushed line by line, so that a crash keeps every line
// before it. A journal that reaches its size limit becomes the one older
// file (its name with ".1") and a new one begins.
class EventJournal
{
public:
    static constexpr qint64 defaultLimitBytes = 10 * 1024 * 1024;

    explicit EventJournal(const QString& fileName, qint64 limitBytes = defaultLimitBytes);

    // The journal in the user's state folder.
    static QString defaultFileName();

    // Empty on success, otherwise why the line could not be written; a
    // journal that failed tries again with the next line.
    QString append(const QJsonObject& event);
    QString fileName() const { return file.fileName(); }

private:
    QString open();
    QString rotate();

    QFile file;
    qint64 limit;
};

} // namespace Monitor
