#pragma once

#include <QString>

#include <string>

class QComboBox;
class QDockWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace ExtensionSystem {
class CommunicationInterface;
}

namespace NimbarSensorPlugin::Core {

// Per-window state behind SensorWindow. The widgets it points to are owned
// by the window through Qt's parent chain; this block owns none of them.
struct SensorWindowPrivate
{
    bool liveDataRunning = false;
    // Set and cleared only by the sensor interface when it registers the port.
    ExtensionSystem::CommunicationInterface* communication = nullptr;

    QDockWidget* propertyTreeDock = nullptr;
    QDockWidget* processDataDock = nullptr;
    QDockWidget* observationDock = nullptr;
    QComboBox* portSelector = nullptr;

    std::string languageCode = "en";
    QString completeName;

    QTreeWidget* processDataTree = nullptr;
    QTreeWidget* observationTree = nullptr;
    QTreeWidgetItem* measurementValueItem = nullptr;
    QTreeWidgetItem* deviceToMasterItem = nullptr;
    QTreeWidgetItem* masterToDeviceItem = nullptr;
    QTreeWidgetItem* objectInformationItem = nullptr;
    QTreeWidgetItem* objectItems[4] = {};

    bool showProgressUi = true;
};

} // namespace NimbarSensorPlugin::Core
