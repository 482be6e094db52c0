#pragma once

#include "tools/LengthUnits.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QPushButton;
class QtProperty;
class QWidget;

namespace Utils {
class ConnectionStatus;
}

namespace NimbarSensorPlugin::Core {

class BusyPopup;
class DistanceChart;
class LinkSession;
class ParameterEditor;
class ParameterModel;
class ParameterReader;
class ParameterWriter;
class ParameterTree;
class LiveDataLog;
class ProcessDataView;
class ReconnectWatch;
class SensorEvents;
class SensorSession;
class SettingsFileActions;
class StatusPoll;

// The tree takes no edits while one of these lives; the keyboard focus goes
// back to it afterwards, so the window's keys keep working.
class TreeLock
{
public:
    TreeLock(QWidget* window, QWidget* tree);
    ~TreeLock();
    TreeLock(const TreeLock&) = delete;
    TreeLock& operator=(const TreeLock&) = delete;

private:
    QWidget* tree;
    bool wasEnabled;
    bool hadFocus;
};

// Per-window state behind SensorWindow. The widgets and managers it points
// to are owned by the window through Qt's parent chain.
struct SensorWindowPrivate
{
    SensorWindowPrivate();

    // The line to the sensor.
    LinkSession* link = nullptr;
    StatusPoll* poll = nullptr;
    // A lost sensor's port, watched for its return.
    ReconnectWatch* reconnect = nullptr;

    // The tree's rows, their managers, and the document they come from.
    ParameterTree* tree = nullptr;
    ParameterReader* reader = nullptr;
    ParameterWriter* writer = nullptr;
    ParameterEditor* editor = nullptr;
    SensorSession* session = nullptr;
    SettingsFileActions* settingsFiles = nullptr;
    SensorEvents* events = nullptr;
    std::optional<TreeLock> treeLock;

    QDockWidget* propertyTreeDock = nullptr;
    QDockWidget* processDataDock = nullptr;
    QDockWidget* observationDock = nullptr;
    QComboBox* portSelector = nullptr;
    QComboBox* outputSelector = nullptr;

    QTimer continuousDataTimer;
    QTimer writeModeIconTimer;

    DistanceChart* chart = nullptr;
    Utils::ConnectionStatus* connectionStatus = nullptr;

    // The "updating..." pop-up shown while the sensor is busy.
    BusyPopup* popup = nullptr;

    // The process-data list and what it shows.
    ProcessDataView* processData = nullptr;
    LiveDataLog* liveLog = nullptr;

    QtProperty* crashCounterProperty = nullptr;

    // The port connected, or the one being connected to.
    int selectedPortIndex = 0;

    // Every parameter's value, edit and row state.
    ParameterModel* model = nullptr;
    QAction* discardAction = nullptr;

    // The sensor menu and the mode shown in the status bar.
    struct
    {
        QAction* connect = nullptr;
        QAction* readAll = nullptr;
        QAction* writeAll = nullptr;
        QAction* reconnect = nullptr;
    } sensorMenu;
    struct
    {
        QAction* compare = nullptr;
        QAction* report = nullptr;
    } fileMenu;
    QLabel* modeLabel = nullptr;
    QLabel* liveDataPaused = nullptr;
    QAction* echoPlotAction = nullptr;
    // Offered while a read or write of everything runs.
    QPushButton* cancelButton = nullptr;
    bool presentationMode = false;
    // The lists share the property tree's column of tabs.
    bool listsFolded = false;

    // The unit lengths are shown in, and the connected variant.
    LengthUnits units;
};

} // namespace NimbarSensorPlugin::Core
