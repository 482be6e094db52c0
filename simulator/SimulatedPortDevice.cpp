#include "SimulatedPortDevice.h"

#include "AnswerPacer.h"

#include <cstring>

namespace IoLinkSimulator {

SimulatedPortDevice::SimulatedPortDevice(std::unique_ptr<SensorModel> model, QObject* parent)
    : QIODevice(parent), m_master(std::move(model)), m_pacer(new AnswerPacer(this))
{
    connect(m_pacer, &AnswerPacer::answerReady, this, &SimulatedPortDevice::takeAnswer);
}

SimulatedPortDevice::~SimulatedPortDevice() = default;

bool SimulatedPortDevice::open(OpenMode mode)
{
    if (m_unplugged) {
        setErrorString(QStringLiteral("unplugged"));
        return false;
    }
    if (isOpen()) {
        setErrorString(QStringLiteral("already open"));
        return false;
    }
    m_master.reset();
    m_pacer->clear();
    m_readBuffer.clear();
    return QIODevice::open(mode);
}

void SimulatedPortDevice::close()
{
    QIODevice::close();
    m_master.reset();
    m_pacer->clear();
    m_readBuffer.clear();
}

qint64 SimulatedPortDevice::bytesAvailable() const
{
    return m_readBuffer.size() + QIODevice::bytesAvailable();
}

bool SimulatedPortDevice::waitForBytesWritten(int)
{
    return isOpen();
}

void SimulatedPortDevice::setBaudRate(qint32 baudRate)
{
    m_pacer->schedule().setBaudRate(baudRate);
}

qint32 SimulatedPortDevice::baudRate() const
{
    return m_pacer->schedule().baudRate();
}

void SimulatedPortDevice::setWireTimeEnabled(bool enabled)
{
    m_pacer->schedule().setWireTimeEnabled(enabled);
}

bool SimulatedPortDevice::wireTimeEnabled() const
{
    return m_pacer->schedule().wireTimeEnabled();
}

void SimulatedPortDevice::unplug()
{
    m_unplugged = true;
    if (isOpen())
        close();
    setErrorString(QStringLiteral("unplugged"));
}

void SimulatedPortDevice::plugIn()
{
    m_unplugged = false;
}

qint64 SimulatedPortDevice::readData(char* data, qint64 maxSize)
{
    const qint64 count = std::min<qint64>(maxSize, m_readBuffer.size());
    std::memcpy(data, m_readBuffer.constData(), static_cast<std::size_t>(count));
    m_readBuffer.remove(0, static_cast<int>(count));
    return count;
}

qint64 SimulatedPortDevice::writeData(const char* data, qint64 size)
{
    m_pacer->add(m_master.receive(QByteArray(data, static_cast<int>(size))));
    return size;
}

void SimulatedPortDevice::takeAnswer(const QByteArray& bytes)
{
    if (!isOpen())
        return;
    m_readBuffer.append(bytes);
    emit readyRead();
}

} // namespace IoLinkSimulator
