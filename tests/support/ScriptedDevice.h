#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>

#include <functional>

// An in-memory port whose far side is a test: it records what is written
// and lets the test decide what comes back, in chunks of its choosing, each
// delivered from the event loop as a serial port would.
class ScriptedDevice : public QIODevice
{
    Q_OBJECT
public:
    // Called with each write; typically queues an answer with deliver().
    using Responder = std::function<void(ScriptedDevice&, const QByteArray&)>;

    explicit ScriptedDevice(QObject* parent = nullptr);

    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // Makes the bytes readable on a later turn of the event loop, one
    // readyRead per chunk of chunkSize bytes (0: all at once).
    void deliver(const QByteArray& bytes, int chunkSize = 0);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

    QList<QByteArray> writes;
    QList<int> baudRates;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    Responder m_responder;
    QByteArray m_readable;
};
