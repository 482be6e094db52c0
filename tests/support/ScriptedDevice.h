#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QTimer>

#include <cstring>
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

    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // Makes the bytes readable on a later turn of the event loop, one
    // readyRead per chunk of chunkSize bytes (0: all at once).
    void deliver(const QByteArray& bytes, int chunkSize = 0)
    {
        const int step = chunkSize > 0 ? chunkSize : qMax(1, bytes.size());
        for (int offset = 0; offset < bytes.size(); offset += step) {
            QTimer::singleShot(0, this, [this, chunk = bytes.mid(offset, step)] {
                if (!isOpen())
                    return;
                m_readable += chunk;
                emit readyRead();
            });
        }
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_readable.size() + QIODevice::bytesAvailable(); }

    QList<QByteArray> writes;
    QList<int> baudRates;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = qMin<qint64>(maxSize, m_readable.size());
        memcpy(data, m_readable.constData(), size_t(n));
        m_readable.remove(0, int(n));
        return n;
    }
    qint64 writeData(const char* data, qint64 size) override
    {
        const QByteArray bytes(data, int(size));
        writes.append(bytes);
        if (m_responder)
            m_responder(*this, bytes);
        return size;
    }

private:
    Responder m_responder;
    QByteArray m_readable;
};
