#include "ScriptedDevice.h"

#include <QTimer>

ScriptedDevice::ScriptedDevice(QObject* parent) : QIODevice(parent) {}

void ScriptedDevice::deliver(const QByteArray& bytes, int chunkSize)
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

qint64 ScriptedDevice::bytesAvailable() const
{
    return m_readable.size() + QIODevice::bytesAvailable();
}

qint64 ScriptedDevice::readData(char* data, qint64 maxSize)
{
    const qint64 n = qMin<qint64>(maxSize, m_readable.size());
    memcpy(data, m_readable.constData(), size_t(n));
    m_readable.remove(0, int(n));
    return n;
}

qint64 ScriptedDevice::writeData(const char* data, qint64 size)
{
    const QByteArray bytes(data, int(size));
    writes.append(bytes);
    if (m_responder)
        m_responder(*this, bytes);
    return size;
}
