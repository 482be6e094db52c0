#pragma once

#include "catalogue/Sensor.h"

#include <extensionsystem/CommunicationInterface.h>

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <string>

class QComboBox;
class QDockWidget;
class QTreeWidget;

namespace ExtensionSystem {
class SensorBasic;
}

namespace NimbarSensorPlugin::Core {

struct SensorWindowPrivate;

// The main window of one opened sensor: port selector, parameter tree,
// process-data and observation lists, chart area and tool bars.
class SensorWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit SensorWindow(const ExtensionSystem::SensorBasic& sensor);
    ~SensorWindow() override;

    // The catalogue record this window shows.
    const Sensor& sensorRecord() const { return sensor; }

    // The host's communication interface for the registered port, or null.
    ExtensionSystem::CommunicationInterface* communication() const;
    void setCommunication(ExtensionSystem::CommunicationInterface* communication);

    QString completeName() const;

    bool isConnected() const { return connected; }

    QComboBox* portSelector() const;
    QDockWidget* propertyTreeDock() const;
    QDockWidget* processDataDock() const;
    QDockWidget* observationDock() const;

    // Signals and slots keep the order of the window's slot table: hosts and
    // tools address them by index.
signals:
    void vAboutToClose();
    // Raw text for the sensor; the interface sends it as it is.
    void vSendData(const QString& text);
    void vSendFrame(ExtensionSystem::CommunicationInterface::DataFrame frame);
    // The port the host is to register; an empty text releases it.
    void vComPortSelected(const QString& port);
    void vUpdateChart(double value);
    void sendQuery();

public slots:
    void updateComPortList(const QStringList& ports);
    void vAutoConnect(QString ComPort);
    void vSensorUpdate(const QVariant& value);
    void vSetCompleteName(QString str);
    bool bOpenSettings(QString fileName);
    bool bOpenSettings();

protected slots:
    void updateWindowTitle();
    void vDisconnect();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createConnectionToolBar();
    void createPropertyTreeDock();
    void createObservationDock();
    void createProcessDataDock();
    QDockWidget* createListDock(const QString& title, const QString& objectName, QTreeWidget** tree);
    void applyPresentationMode(bool hide);

    SensorWindowPrivate* d;
    Sensor sensor;
    bool connected = false;
};

} // namespace NimbarSensorPlugin::Core
