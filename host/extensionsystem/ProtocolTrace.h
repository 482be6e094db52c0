#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QString>

namespace ExtensionSystem {

// What went over the wire, one line per request, answer or timeout, so that
// a user or a supporter can see the conversation with the master:
//     <ms since start> <direction> <port> <hex bytes>
// Directions: ">" sent, "<" received, "!" a query that timed out (with the
// bytes that did arrive) or a port event. Every line is flushed at once so
// that the trace survives a crash. When a line cannot be written (a full
// disk, say) the trace says so once and stops rather than leave a file that
// ends mid-line without a word.
class ProtocolTrace : public QObject
{
    Q_OBJECT
public:
    explicit ProtocolTrace(QObject* parent = nullptr);

    // Starts writing to the file (replacing its content). False with the
    // reason in *error when it cannot be written.
    bool open(const QString& fileName, QString* error);
    bool isOpen() const { return m_file.isOpen(); }
    // Why the trace stopped; empty while it writes or was never opened.
    QString errorString() const { return m_error; }
    // The file named by the IOLINK_TRACE environment variable, or empty.
    static QString fileFromEnvironment();

    void sent(const QString& port, const QByteArray& bytes);
    void received(const QString& port, const QByteArray& bytes);
    void timedOut(const QString& port, const QByteArray& partialBytes);
    void event(const QString& port, const QString& text);

Q_SIGNALS:
    // A line could not be written, error says why; the trace is closed.
    void writeFailed(const QString& error);

private:
    void line(char direction, const QString& port, const QString& text);

    QFile m_file;
    QElapsedTimer m_clock;
    QString m_error;
};

// Bytes as lower-case hex pairs separated by blanks: "03 51 12 01".
QString hexBytes(const QByteArray& bytes);

} // namespace ExtensionSystem
