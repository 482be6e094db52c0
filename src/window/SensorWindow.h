#pragma once

#include "catalogue/Sensor.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <string>

class QComboBox;
class QDockWidget;
class QTreeWidget;

namespace ExtensionSystem {
class CommunicationInterface;
class SensorBasic;
} // namespace ExtensionSystem

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

    void vSetCompleteName(const QString& text);
    QString completeName() const;

    bool isConnected() const { return connected; }

    QComboBox* portSelector() const;
    QDockWidget* propertyTreeDock() const;
    QDockWidget* processDataDock() const;
    QDockWidget* observationDock() const;

public slots:
    void updateComPortList(const QStringList& ports);
    void vSensorUpdate(const QVariant& value);
    void vAutoConnect(QString ComPort);
    void vDisconnect();
    void updateWindowTitle();
    bool bOpenSettings(QString fileName);
    bool bOpenSettings();

signals:
    void vSendData(const QString& text);
    void vComPortSelected(const QString& port);
    void vAboutToClose();

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
