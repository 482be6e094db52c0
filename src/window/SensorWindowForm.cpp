#include "SensorWindowForm.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace NimbarSensorPlugin::Core {

namespace {

QAction* addAction(QMainWindow* window, const char* name, const char* icon)
{
    auto* action = new QAction(window);
    action->setObjectName(name);
    if (icon)
        action->setIcon(QIcon(icon));
    return action;
}

QToolBar* addToolBar(QMainWindow* window, const char* name, Qt::ToolBarAreas areas)
{
    auto* toolBar = new QToolBar(window);
    toolBar->setObjectName(name);
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar->setAllowedAreas(areas);
    toolBar->setFloatable(false);
    window->addToolBar(Qt::TopToolBarArea, toolBar);
    return toolBar;
}

// Combo boxes in the house style: a gray gradient that turns round while the
// list is open, a narrow arrow button, a plain list. The tool box tabs are in
// the brand green.
const char* const windowStyleSheet = R"(QComboBox {
    border: 1px solid gray;
    border-radius: 3px;
    padding: 1px 18px 1px 3px;
    min-width: 6em;
}
QComboBox:editable {
    background: white;
}
QComboBox:!editable, QComboBox::drop-down:editable {
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                stop: 0 #E1E1E1, stop: 0.4 #DDDDDD,
                                stop: 0.5 #D8D8D8, stop: 1.0 #D3D3D3);
}
QComboBox:!editable:on, QComboBox::drop-down:editable:on {
    background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                stop: 0 #D3D3D3, stop: 0.4 #D8D8D8,
                                stop: 0.5 #DDDDDD, stop: 1.0 #E1E1E1);
}
QComboBox:on {
    padding-top: 3px;
    padding-left: 4px;
}
QComboBox::drop-down {
    subcontrol-origin: padding;
    subcontrol-position: top right;
    width: 15px;
    border-left-width: 1px;
    border-left-color: darkgray;
    border-left-style: solid;
    border-top-right-radius: 3px;
    border-bottom-right-radius: 3px;
}
QComboBox:focus {
    border: 2px solid #00619E;
}
QToolButton:focus {
    border: 2px solid #00619E;
    border-radius: 3px;
}
QComboBox::down-arrow {
    image: url(:/icons/icons/arrow_down.png);
}
QComboBox::down-arrow:on {
    top: 1px;
    left: 1px;
}
QComboBox QAbstractItemView {
    border: 2px solid darkgray;
    selection-background-color: lightgray;
}
QToolBox#toolBox::tab {
    font-weight: bold;
    color: #4FA600;
    min-height: 26px;
})";

} // namespace

void SensorWindowForm::setupUi(QMainWindow* window)
{
    if (window->objectName().isEmpty())
        window->setObjectName("SensorWindow");
    window->setEnabled(true);
    window->resize(648, 625);
    window->setContextMenuPolicy(Qt::NoContextMenu);
    window->setWindowOpacity(1.0);
    window->setToolButtonStyle(Qt::ToolButtonIconOnly);
    window->setDocumentMode(false);
    window->setDockNestingEnabled(false);
    window->setStyleSheet(windowStyleSheet);

    actionSave_Settings = addAction(window, "actionSave_Settings", ":/newPrefix/icons/file_save.svg");
    actionOpen_Settings = addAction(window, "actionOpen_Settings", ":/newPrefix/icons/file_open.svg");
    actionSettings = addAction(window, "actionSettings", ":/newPrefix/icons/kavrix-tool-configure.svg");
    actionSupported_sensors = addAction(window, "actionSupported_sensors", ":/newPrefix/icons/libary.svg");
    // A factory, not the circular arrow of the description: beside Play that read as "reload".
    actionDefaultSettings =
        addAction(window, "actionDefaultSettings", ":/newPrefix/icons/factory_settings.svg");
    actionExportChartData =
        addAction(window, "actionExportChartData", ":/newPrefix/icons/connect_sensor_pc.svg");
    actionExportChartData->setEnabled(false);
    actionExportChartData->setVisible(false);
    actionEnable_live_data =
        addAction(window, "actionEnable_live_data", ":/newPrefix/icons/recorder_play.svg");
    actionEnable_live_data->setCheckable(true);
    actionClear_History = addAction(window, "actionClear_History", ":/newPrefix/icons/Verlauf_Loeschen.svg");
    actionPrint_chart_view = addAction(window, "actionPrint_chart_view", ":/newPrefix/icons/file_print.svg");
    actionExport_chart_view = addAction(window, "actionExport_chart_view", ":/newPrefix/icons/Export.svg");
    actionRead = addAction(window, "actionRead", ":/newPrefix/icons/lesen.svg");
    actionRead->setCheckable(true);
    actionRead->setIconVisibleInMenu(true);
    actionWritePermanent = addAction(window, "actionWritePermanent", ":/newPrefix/icons/schreiben.svg");
    actionWritePermanent->setCheckable(true);
    actionWritePermanent->setChecked(true);
    actionPrint = addAction(window, "actionPrint", nullptr);
    actionPrint->setEnabled(false);
    actionPrint->setVisible(false);
    actionWriting = addAction(window, "actionWriting", ":/newPrefix/icons/temporaer_schreiben.svg");
    actionWriting->setCheckable(true);
    actionWriting->setChecked(true);
    actionWriting->setEnabled(false);
    actionWriting->setVisible(false);
    actionRead_Thresholds = addAction(window, "actionRead_Thresholds", ":/newPrefix/icons/PNBC.jpg");
    actionRead_Thresholds->setEnabled(false);
    actionRead_Thresholds->setVisible(false);

    centralwidget = new QWidget(window);
    centralwidget->setObjectName("centralwidget");
    verticalLayout = new QVBoxLayout(centralwidget);
    verticalLayout->setObjectName("verticalLayout");
    frame = new QFrame(centralwidget);
    frame->setObjectName("frame");
    frame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    verticalLayout->addWidget(frame);
    window->setCentralWidget(centralwidget);

    fileToolBar = addToolBar(window, "fileToolBar", Qt::AllToolBarAreas);
    fileToolBar->setAutoFillBackground(false);
    fileToolBar->setIconSize(QSize(25, 25));
    fileToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    sensorOperationsToolbar =
        addToolBar(window, "sensorOperationsToolbar", Qt::TopToolBarArea | Qt::BottomToolBarArea);
    statusBar = new QStatusBar(window);
    statusBar->setObjectName("statusBar");
    window->setStatusBar(statusBar);
    chartToolbar = addToolBar(window, "chartToolbar", Qt::AllToolBarAreas);
    chartToolbar->setEnabled(false);
    connectionToolBar = addToolBar(window, "connectionToolBar", Qt::TopToolBarArea | Qt::BottomToolBarArea);
    outuptsComboToolBar = new QToolBar(window);
    outuptsComboToolBar->setObjectName("outuptsComboToolBar");
    window->addToolBar(Qt::TopToolBarArea, outuptsComboToolBar);

    fileToolBar->addAction(actionOpen_Settings);
    fileToolBar->addAction(actionSave_Settings);
    fileToolBar->addSeparator();
    fileToolBar->addAction(actionExportChartData);
    sensorOperationsToolbar->addAction(actionDefaultSettings);
    sensorOperationsToolbar->addAction(actionEnable_live_data);
    sensorOperationsToolbar->addSeparator();
    sensorOperationsToolbar->addAction(actionRead);
    sensorOperationsToolbar->addAction(actionWritePermanent);
    sensorOperationsToolbar->addAction(actionWriting);
    chartToolbar->addAction(actionRead_Thresholds);
    chartToolbar->addAction(actionClear_History);
    chartToolbar->addAction(actionPrint_chart_view);
    chartToolbar->addAction(actionExport_chart_view);
    chartToolbar->addAction(actionPrint);

    retranslateUi(window);
    QMetaObject::connectSlotsByName(window);
}

void SensorWindowForm::retranslateUi(QMainWindow* window)
{
    window->setWindowTitle(QCoreApplication::translate("SensorWindow", "MainWindow"));
    actionSave_Settings->setText(QCoreApplication::translate("SensorWindow", "Save Settings"));
    actionSave_Settings->setStatusTip(
        QCoreApplication::translate("SensorWindow", "Save sensor settings to file"));
    actionOpen_Settings->setText(QCoreApplication::translate("SensorWindow", "Open Settings"));
    actionOpen_Settings->setStatusTip(
        QCoreApplication::translate("SensorWindow", "Open a saved sensor from file"));
    actionSettings->setText(QCoreApplication::translate("SensorWindow", "Settings"));
    actionSupported_sensors->setText(QCoreApplication::translate("SensorWindow", "Supported sensors"));
    actionDefaultSettings->setText(QCoreApplication::translate("SensorWindow", "Restore factory settings"));
    actionDefaultSettings->setToolTip(
        QCoreApplication::translate("SensorWindow", "Restore the sensor's factory settings."));
    actionDefaultSettings->setStatusTip(
        QCoreApplication::translate("SensorWindow", "Restore sensor's default settings"));
    actionExportChartData->setText(QCoreApplication::translate("SensorWindow", "Export Chart Data"));
    actionExportChartData->setStatusTip(
        QCoreApplication::translate("SensorWindow", "Export chart data to file"));
    actionEnable_live_data->setText(QCoreApplication::translate("SensorWindow", "Enable live data"));
    actionEnable_live_data->setToolTip(QCoreApplication::translate(
        "SensorWindow", "Start or stop showing the sensor's distance and outputs live (Ctrl+L)."));
    actionClear_History->setText(QCoreApplication::translate("SensorWindow", "Clear History"));
    actionClear_History->setToolTip(
        QCoreApplication::translate("SensorWindow", "Clear the history of the distance chart."));
    actionPrint_chart_view->setText(QCoreApplication::translate("SensorWindow", "Print chart view"));
    actionPrint_chart_view->setToolTip(
        QCoreApplication::translate("SensorWindow", "Print the chart as it is shown now."));
    actionExport_chart_view->setText(QCoreApplication::translate("SensorWindow", "Export chart view"));
    actionExport_chart_view->setToolTip(
        QCoreApplication::translate("SensorWindow", "Export the chart's history to a text file."));
    actionRead->setText(QCoreApplication::translate("SensorWindow", "Output 1"));
    actionRead->setToolTip(QCoreApplication::translate(
        "SensorWindow", "Read all parameters from the sensor into the tree (Ctrl+R)."));
    actionWritePermanent->setText(QString());
    actionWritePermanent->setToolTip(QCoreApplication::translate(
        "SensorWindow", "Write all parameters of the tree to the sensor (Ctrl+Shift+W). "
                        "While this is on, each edit is written to the sensor."));
    actionPrint->setText(QCoreApplication::translate("SensorWindow", "Print"));
    actionPrint->setToolTip(QCoreApplication::translate("SensorWindow", "print"));
    actionWriting->setText(QCoreApplication::translate("SensorWindow", "Switch to FP"));
    actionWriting->setIconText(QCoreApplication::translate("SensorWindow", "writings"));
    actionWriting->setToolTip(QCoreApplication::translate("SensorWindow", "Write temporarily"));
    actionRead_Thresholds->setText(QCoreApplication::translate("SensorWindow", "Read Thresholds"));
    fileToolBar->setWindowTitle(QCoreApplication::translate("SensorWindow", "File Tool Bar"));
    fileToolBar->setStatusTip(QString());
    sensorOperationsToolbar->setWindowTitle(
        QCoreApplication::translate("SensorWindow", "Sensor Operations Tool Bar"));
    chartToolbar->setWindowTitle(QCoreApplication::translate("SensorWindow", "toolBar"));
    connectionToolBar->setWindowTitle(QCoreApplication::translate("SensorWindow", "toolBar"));
    outuptsComboToolBar->setWindowTitle(QCoreApplication::translate("SensorWindow", "toolBar"));
}

} // namespace NimbarSensorPlugin::Core
