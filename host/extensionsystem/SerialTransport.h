#pragma once

#include "PortTransport.h"

class QSerialPort;

namespace ExtensionSystem {

// A real serial port: 8 data bits, no parity, one stop bit, at the baud
// rate of the settings' baud-rate index.
class SerialTransport : public DeviceTransport
{
    Q_OBJECT
public:
    explicit SerialTransport(const QString& portName, QObject* parent = nullptr);
    ~SerialTransport() override;

    bool open(const PortSettings& settings, QString* error) override;

private:
    QSerialPort* m_port;
};

} // namespace ExtensionSystem
