#include "SerialTransport.h"

#include <QSerialPort>

namespace ExtensionSystem {

namespace {

void setBaudRate(QIODevice* device, int baudRate)
{
    static_cast<QSerialPort*>(device)->setBaudRate(baudRate);
}

} // namespace

SerialTransport::SerialTransport(const QString& portName, QObject* parent)
    : DeviceTransport(&setBaudRate, parent), m_port(new QSerialPort(portName, this))
{
    setDevice(m_port);
    // A pulled USB adapter or a closed pseudo-terminal shows up as a
    // resource error; the port is unusable from then on.
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError)
            deviceGone(m_port->errorString());
    });
}

SerialTransport::~SerialTransport()
{
    close();
}

bool SerialTransport::open(const PortSettings& settings, QString* error)
{
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(settings.flowControl == 1 ? QSerialPort::HardwareControl
                                                     : QSerialPort::NoFlowControl);
    return DeviceTransport::open(settings, error);
}

} // namespace ExtensionSystem
