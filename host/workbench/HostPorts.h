#pragma once

#include <extensionsystem/CommunicationInterface.h>
#include <extensionsystem/PortTransport.h>
#include <extensionsystem/ProtocolTrace.h>

#include <QMap>
#include <QObject>
#include <QStringList>

#include <memory>

class QIODevice;

// The ports the workbench offers besides the system's serial ports, and how
// any port is opened: simulated sensors in this process, paths given on the
// command line (such as the pseudo-terminal of a simulator), and the
// protocol trace that every opened port writes to.
class HostPorts : public QObject
{
    Q_OBJECT
public:
    explicit HostPorts(QObject* parent = nullptr);

    // Offers the device under name; takes ownership of it. The device lives
    // as long as the workbench, so a simulated sensor keeps its settings
    // from one connection to the next, like a real one on its cable.
    // modelId is the catalogue id of the sensor model behind it.
    void addSimulated(const QString& name, QIODevice* device,
                      ExtensionSystem::DeviceTransport::BaudSetter setBaud, const QString& modelId);
    QIODevice* simulated(const QString& name) const { return m_simulated.value(name); }
    // The model id of the simulated sensor on the port; empty for other ports.
    QString simulatedModel(const QString& name) const { return m_simulatedModels.value(name); }
    int simulatedCount() const { return m_simulatedOrder.size(); }
    // A serial device path to offer even when the system does not list it.
    void addPath(const QString& path);
    // Simulated ports in the order added, then the paths.
    QStringList ports() const;

    bool setTraceFile(const QString& fileName, QString* error);
    ExtensionSystem::ProtocolTrace* trace() { return &m_trace; }

    // Opens the named port: a communication interface over the simulated
    // device or the serial port, or null with the reason in *error.
    std::unique_ptr<ExtensionSystem::CommunicationInterface>
    open(const ExtensionSystem::PortSettings& settings, QString* error);

private:
    QMap<QString, QIODevice*> m_simulated;
    QMap<QString, ExtensionSystem::DeviceTransport::BaudSetter> m_baudSetters;
    QMap<QString, QString> m_simulatedModels;
    QStringList m_simulatedOrder;
    QStringList m_paths;
    ExtensionSystem::ProtocolTrace m_trace;
};
