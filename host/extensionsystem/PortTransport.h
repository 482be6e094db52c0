#pragma once

#include "PortSettings.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QIODevice;

namespace ExtensionSystem {

// The byte stream under one communication interface: a serial port or a
// simulated device. It only moves bytes; framing belongs to its user.
class PortTransport : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the port with the settings, or adjusts an open one. On failure
    // returns false and says why in *error.
    virtual bool open(const PortSettings& settings, QString* error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void write(const QByteArray& bytes) = 0;
    virtual QByteArray readAll() = 0;

signals:
    void readyRead();
    // The port went away under us (cable pulled, device closed).
    void vanished(const QString& reason);
};

// A transport over a QIODevice that someone else owns, such as the
// simulator's in-process port, which outlives the interfaces that use it
// so that a sensor keeps its settings across connections.
class DeviceTransport : public PortTransport
{
    Q_OBJECT
public:
    using BaudSetter = std::function<void(QIODevice*, int baudRate)>;

    DeviceTransport(QIODevice* device, BaudSetter setBaud, QObject* parent = nullptr);
    ~DeviceTransport() override;

    bool open(const PortSettings& settings, QString* error) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;

protected:
    explicit DeviceTransport(BaudSetter setBaud, QObject* parent = nullptr);
    void setDevice(QIODevice* device) { m_device = device; }
    QIODevice* device() const { return m_device; }
    // Called after the device has closed under us.
    void deviceGone(const QString& reason);

private:
    void attach();
    void detach();

    QPointer<QIODevice> m_device;
    QList<QMetaObject::Connection> m_connections;
    BaudSetter m_setBaud;
    // Whether this transport opened the device; another transport may hold
    // it later, and must not be disturbed by this one going away.
    bool m_open = false;
};

} // namespace ExtensionSystem
