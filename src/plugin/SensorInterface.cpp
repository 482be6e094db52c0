#include "SensorInterface.h"

#include "window/SensorWindow.h"

#include <extensionsystem/CommunicationInterface.h>

#include <QMdiSubWindow>
#include <QtDebug>

namespace NimbarSensorPlugin::Core {

SensorInterface::SensorInterface(const ExtensionSystem::SensorBasic& sensor, QMdiSubWindow* subWindow)
{
    window = new SensorWindow(sensor);
    subWindow->setWidget(window);
    window->resize(800, 500);
    window->show();

    connect(window, SIGNAL(vSendData(const QString&)), this, SLOT(vSendDataBytes(const QString&)));
    connect(window, SIGNAL(vComPortSelected(const QString&)), this, SLOT(vComPortChanged(const QString&)));
    connect(window, SIGNAL(vAboutToClose()), this, SLOT(vAboutToClose()));
    portRegistered = false;
}

SensorInterface::~SensorInterface()
{
    vUnregisterPlugin(this);
    delete window;
}

SensorWindow* SensorInterface::sensorWindow() const
{
    return window;
}

QString SensorInterface::pluginNamespace()
{
    return "NimbarSensorPlugin";
}

QString SensorInterface::pluginGroup()
{
    return "NimbarSensors";
}

QStringList SensorInterface::additionalEntries()
{
    return QStringList();
}

void SensorInterface::vComPortListChanged()
{
    qDebug() << "thrt";
}

void SensorInterface::vComPortChanged(const QString& port)
{
    if (port.isEmpty()) {
        if (portRegistered) {
            vUnregisterConnection(this);
            communication = nullptr;
            window->setCommunication(nullptr);
            portSettings.vInit();
            portRegistered = false;
        }
        return;
    }
    // Only a port this window holds is kept as it is; one the host refused
    // before is asked for again, as it may be free now.
    if (portRegistered && port == portSettings.portName)
        return;

    if (portRegistered)
        vUnregisterConnection(this);
    portRegistered = false;
    portSettings.vInit();
    portSettings.portName = port;
    portSettings.characterDelay = window->sensorRecord().characterDelay();
    portSettings.lineDelay = window->sensorRecord().lineDelay();
    portSettings.flowControl = 0;

    vRegisterConnection(portSettings, &communication, this);
    portRegistered = communication != nullptr;
    // Never leave the window with the interface of a port released above.
    window->setCommunication(communication);
}

void SensorInterface::vSendDataBytes(const QString& text)
{
    if (!communication)
        return;
    const QByteArray bytes = text.toLatin1();
    communication->sendBytes(std::string(bytes.constData()));
}

void SensorInterface::vReceivedData(const QString&) {}

void SensorInterface::vAvailablePortsUpdated(const QStringList& ports)
{
    // Refilling the selector must not look like the user choosing a port.
    disconnect(window, SIGNAL(vComPortSelected(const QString&)), this, SLOT(vComPortChanged(const QString&)));
    QStringList offered = ports;
    if (portRegistered) {
        offered.append(portSettings.portName);
        qDebug() << portSettings.portName;
    }
    window->updateComPortList(offered);
    connect(window, SIGNAL(vComPortSelected(const QString&)), this, SLOT(vComPortChanged(const QString&)));
}

void SensorInterface::vActionOpen(const QString& fileName)
{
    window->bOpenSettings(fileName);
}

void SensorInterface::vActionExit(const QString&)
{
    window->close();
}

// Activation brings a live chart forward to its newest data.
void SensorInterface::setWindowActive(bool active)
{
    if (window)
        window->setWindowActive(active);
}

void SensorInterface::vAboutToClose()
{
    vUnregisterConnection(this);
}

void SensorInterface::vAutoConnect(const QString& port)
{
    window->vAutoConnect(port);
}

void SensorInterface::vUpdate(const QVariant& value)
{
    window->vSensorUpdate(value.toBool());
}

void SensorInterface::vSetCompleteNameDescription(const QString& str)
{
    window->vSetCompleteName(str);
}

void SensorInterface::setSensorName(const QString& name)
{
    sensorName = name;
}

QString SensorInterface::getSensorName()
{
    return sensorName;
}

// The host never routes received text this way; frames carry the answers.
void SensorInterface::receivedData(std::string text)
{
    Q_UNUSED(text)
}

} // namespace NimbarSensorPlugin::Core
