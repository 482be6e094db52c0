#pragma once

#include "tools/LengthUnits.h"
#include "tools/LiveLog.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <string>

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QtBoolPropertyManager;
class QtDoublePropertyManager;
class QtEnumPropertyManager;
class QtGroupPropertyManager;
class QtIntPropertyManager;
class QtProperty;
class QtStringPropertyManager;

namespace Utils {
class ButtonManager;
class ConnectionStatus;
class ThresholdMultiManager;
class ThresholdWindowWidgetUniversal;
namespace Charts {
class GenericChart;
}
} // namespace Utils

namespace NimbarSensorPlugin::Core {

class BusyPopup;
class LinkSession;
class ParameterModel;
class ProcessDataView;
class StatusPoll;

// The managers of the parameter tree's rows, one per kind of value; the
// tree's editors come from factories the tree's dock owns.
struct PropertyManagers
{
    QtBoolPropertyManager* bools = nullptr;
    QtIntPropertyManager* ints = nullptr;
    // The crash counter's own manager: its changes are never written back.
    QtIntPropertyManager* counters = nullptr;
    QtDoublePropertyManager* doubles = nullptr;
    QtStringPropertyManager* strings = nullptr;
    QtEnumPropertyManager* enums = nullptr;
    QtGroupPropertyManager* groups = nullptr;
    Utils::ButtonManager* buttons = nullptr;
};

// Per-window state behind SensorWindow. The widgets and managers it points
// to are owned by the window through Qt's parent chain.
struct SensorWindowPrivate
{
    SensorWindowPrivate();

    // The line to the sensor.
    LinkSession* link = nullptr;
    StatusPoll* poll = nullptr;

    PropertyManagers managers;

    QDockWidget* propertyTreeDock = nullptr;
    QDockWidget* processDataDock = nullptr;
    QDockWidget* observationDock = nullptr;
    QComboBox* portSelector = nullptr;
    QComboBox* outputSelector = nullptr;

    QTimer continuousDataTimer;
    QTimer teachUpdateTimer;
    QTimer writeModeIconTimer;

    Utils::ThresholdMultiManager* thresholdManager = nullptr;
    QList<Utils::ThresholdWindowWidgetUniversal*> thresholdWidgets;
    Utils::Charts::GenericChart* chart = nullptr;
    Utils::ConnectionStatus* connectionStatus = nullptr;

    std::string languageCode = "en";
    QtProperty* rootProperty = nullptr;
    QStringList hiddenParameterIds;
    QStringList chartIconNames;
    QString completeName;

    // The "updating..." pop-up shown while the sensor is busy.
    BusyPopup* popup = nullptr;

    // The process-data list and what it shows.
    ProcessDataView* processData = nullptr;

    bool showProgressUi = true;
    QtProperty* crashCounterProperty = nullptr;

    // No special distance code goes to the chart until a distance comes: one
    // is there already, or a mark is being dragged and keeps its view.
    bool chartEditActive = false;
    // The live-data log, while one runs, and why the last one stopped.
    LiveLogFile liveLog;

    // Connecting.
    int selectedPortIndex = 0;
    bool crashDetectionAvailable = true;
    bool resumeLiveData = false;
    bool liveDataOnResume = false;

    // Value changes the window makes itself, in progress.
    int quietChanges = 0;

    // Every parameter's value, edit and row state.
    ParameterModel* model = nullptr;
    QAction* discardAction = nullptr;
    // The variant the error-source lists were last trimmed for.
    QString choiceListVariant;
    // A write of all parameters in progress collects its outcome here, to
    // report it once at the end instead of row by row.
    struct
    {
        bool collecting = false;
        int written = 0;
        QStringList failures;
    } writeTally;

    // The sensor menu and the mode shown in the status bar.
    struct
    {
        QAction* connect = nullptr;
        QAction* readAll = nullptr;
        QAction* writeAll = nullptr;
    } sensorMenu;
    QLabel* modeLabel = nullptr;
    bool presentationMode = false;

    // The unit lengths are shown in, and the connected variant.
    LengthUnits units;
    int teachLockWord = 0;
};

} // namespace NimbarSensorPlugin::Core
