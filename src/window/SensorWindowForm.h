#pragma once

class QAction;
class QFrame;
class QMainWindow;
class QStatusBar;
class QToolBar;
class QVBoxLayout;
class QWidget;

namespace NimbarSensorPlugin::Core {

// The sensor window's fixed form: its actions, tool bars and status bar,
// with their texts in the "SensorWindow" translation context.
struct SensorWindowForm
{
    QAction* actionSave_Settings = nullptr;
    QAction* actionOpen_Settings = nullptr;
    QAction* actionSettings = nullptr;
    QAction* actionSupported_sensors = nullptr;
    QAction* actionDefaultSettings = nullptr;
    QAction* actionExportChartData = nullptr;
    QAction* actionEnable_live_data = nullptr;
    QAction* actionClear_History = nullptr;
    QAction* actionPrint_chart_view = nullptr;
    QAction* actionExport_chart_view = nullptr;
    QAction* actionRead = nullptr;
    QAction* actionWritePermanent = nullptr;
    QAction* actionPrint = nullptr;
    QAction* actionWriting = nullptr;
    QAction* actionRead_Thresholds = nullptr;
    QWidget* centralwidget = nullptr;
    QVBoxLayout* verticalLayout = nullptr;
    QFrame* frame = nullptr;
    QToolBar* fileToolBar = nullptr;
    QToolBar* sensorOperationsToolbar = nullptr;
    QStatusBar* statusBar = nullptr;
    QToolBar* chartToolbar = nullptr;
    QToolBar* connectionToolBar = nullptr;
    QToolBar* outuptsComboToolBar = nullptr;

    // Builds everything on the window, which owns it all.
    void setupUi(QMainWindow* window);
    // Sets every text again in the current language.
    void retranslateUi(QMainWindow* window);
};

} // namespace NimbarSensorPlugin::Core
