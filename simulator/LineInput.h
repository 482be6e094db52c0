#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

namespace IoLinkSimulator {

// Lines arriving on a file descriptor (standard input), read as the event
// loop finds them ready so that serving never waits for a person typing.
// The end of the input, or an input that cannot be read, ends the lines and
// nothing else.
class LineInput : public QObject
{
    Q_OBJECT
public:
    explicit LineInput(int fd, QObject* parent = nullptr);

signals:
    void lineRead(const QString& line);
    // Why no further lines come when that is not the plain end of the input;
    // empty at the end.
    void ended(const QString& reason);

private:
    void readAvailable();
    void end(const QString& reason);

    int m_fd;
    QSocketNotifier* m_notifier;
    QByteArray m_pending;
};

} // namespace IoLinkSimulator
