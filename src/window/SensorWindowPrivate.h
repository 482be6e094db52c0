#pragma once

#include <extensionsystem/CommunicationInterface.h>

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QDialog;
class QDockWidget;
class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QtBoolPropertyManager;
class QtCheckBoxFactory;
class QtDoublePropertyManager;
class QtDoubleSpinBoxFactory;
class QtEnumEditorFactory;
class QtEnumPropertyManager;
class QtGroupPropertyManager;
class QtIntPropertyManager;
class QtLineEditFactory;
class QtProperty;
class QtSpinBoxFactory;
class QtStringPropertyManager;

namespace Utils {
class ButtonFactory;
class ButtonManager;
class ConnectionStatus;
class ThresholdMultiManager;
class ThresholdWindowWidgetUniversal;
namespace Charts {
class GenericChart;
}
} // namespace Utils

namespace NimbarSensorPlugin::Core {

class LinkSession;
class ParameterModel;
class StatusPoll;

// Per-window state behind SensorWindow. The widgets and managers it points
// to are owned by the window through Qt's parent chain.
struct SensorWindowPrivate
{
    SensorWindowPrivate();

    bool liveDataRunning = false;
    // The line to the sensor.
    LinkSession* link = nullptr;
    StatusPoll* poll = nullptr;

    QtBoolPropertyManager* boolManager = nullptr;
    QtIntPropertyManager* intManager = nullptr;
    // The crash counter's own manager: its changes are never written back.
    QtIntPropertyManager* counterManager = nullptr;
    QtDoublePropertyManager* doubleManager = nullptr;
    QtStringPropertyManager* stringManager = nullptr;
    QtEnumPropertyManager* enumManager = nullptr;
    QtGroupPropertyManager* groupManager = nullptr;
    QtCheckBoxFactory* checkBoxFactory = nullptr;
    QtSpinBoxFactory* spinBoxFactory = nullptr;
    QtDoubleSpinBoxFactory* doubleSpinBoxFactory = nullptr;
    QtLineEditFactory* lineEditFactory = nullptr;
    QtEnumEditorFactory* enumEditorFactory = nullptr;
    Utils::ButtonManager* buttonManager = nullptr;
    Utils::ButtonFactory* buttonFactory = nullptr;

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
    QDialog* popup = nullptr;
    QGridLayout* popupLayout = nullptr;
    QProgressBar* popupProgressBar = nullptr;
    QLabel* popupLabel = nullptr;
    QPushButton* popupButton = nullptr;

    QTreeWidget* processDataTree = nullptr;
    QTreeWidget* observationTree = nullptr;
    QList<QTreeWidgetItem*> processDataRows;
    QTreeWidgetItem* measurementValueItem = nullptr;
    QTreeWidgetItem* deviceToMasterItem = nullptr;
    QTreeWidgetItem* masterToDeviceItem = nullptr;
    QTreeWidgetItem* objectInformationItem = nullptr;
    QTreeWidgetItem* objectItems[4] = {};
    // Check state of each output row of the master's data as last handled.
    QMap<const QTreeWidgetItem*, Qt::CheckState> sentCheckStates;

    bool showProgressUi = true;
    QtProperty* crashCounterProperty = nullptr;

    // Query dispatch and status polling.
    int popupSteps = 600;
    bool chartEditActive = false;
    // The live-data log, while one runs.
    std::unique_ptr<QFile> liveLog;
    QElapsedTimer liveLogClock;
    QString liveLogProblem;

    // Connecting and the connected variant.
    bool overwriteSensor = false;
    bool identified = false;
    int selectedPortIndex = 0;
    QString identityReference;
    QString identityText;
    QString variantCode;
    bool hasAnalogOutput = false;
    int maxRange = 10000;
    int objMaxRange = 10001;
    int minRange = 50;
    int objMinRange = 0;
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
    bool collectingWrites = false;
    int writtenCount = 0;
    QStringList writeFailures;

    // The sensor menu and the mode shown in the status bar.
    QAction* connectAction = nullptr;
    QAction* readAllAction = nullptr;
    QAction* writeAllAction = nullptr;
    QAction* liveDataAction = nullptr;
    QLabel* modeLabel = nullptr;
    bool presentationMode = false;

    // Units and parameter values.
    int measurementUnit = 0;
    QString unitText = " mm";
    QString unitCaptionSuffix = " (mm)";
    int teachLockWord = 0;
};

} // namespace NimbarSensorPlugin::Core
