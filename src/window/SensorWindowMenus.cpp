#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "link/ReconnectWatch.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace NimbarSensorPlugin::Core {

// The file commands of this window: settings files and the chart's history.
// Their keys work wherever the focus is inside this window.
void SensorWindow::createFileMenu()
{
    QMenu* menu = menuBar()->addMenu(QString());
    menu->setObjectName("fileMenu");
    menu->addAction(ui->actionOpen_Settings);
    ui->actionOpen_Settings->setShortcut(QKeySequence::Open);
    menu->addAction(ui->actionSave_Settings);
    ui->actionSave_Settings->setShortcut(QKeySequence::Save);
    d->fileMenu.compare =
        menu->addAction(QString(), this, qOverload<>(&SensorWindow::compareWithSettingsFile));
    d->fileMenu.compare->setObjectName("actionCompareSettings");
    menu->addSeparator();
    menu->addAction(ui->actionExport_chart_view);
    menu->addAction(ui->actionPrint_chart_view);
    ui->actionPrint_chart_view->setShortcut(QKeySequence::Print);
    d->fileMenu.report = menu->addAction(QString(), this, &SensorWindow::printReport);
    d->fileMenu.report->setObjectName("actionPrintReport");
    for (QAction* action : {ui->actionOpen_Settings, ui->actionSave_Settings, ui->actionPrint_chart_view}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    createViewMenu();
    retranslateFileMenu();
}

void SensorWindow::createViewMenu()
{
    QMenu* menu = menuBar()->addMenu(QString());
    menu->setObjectName("viewMenu");
    d->echoPlotAction = menu->addAction(QString());
    d->echoPlotAction->setObjectName("actionShowEchoPlot");
    d->echoPlotAction->setCheckable(true);
    connect(d->echoPlotAction, &QAction::toggled, this, &SensorWindow::showEchoPlot);
}

void SensorWindow::retranslateFileMenu()
{
    menuBar()->findChild<QMenu*>("viewMenu")->setTitle(tr("&View"));
    d->echoPlotAction->setText(tr("&Echo plot, also without echo data"));
    menuBar()->findChild<QMenu*>("fileMenu")->setTitle(tr("&File"));
    d->fileMenu.compare->setText(tr("&Compare with settings file..."));
    d->fileMenu.report->setText(tr("Print &report..."));
}

// The sensor's commands with keys of their own. The keys work wherever the
// focus is inside this window, so several open windows do not compete for
// them.
void SensorWindow::createSensorMenu()
{
    QMenu* menu = menuBar()->addMenu(QString());
    menu->setObjectName("sensorMenu");
    d->sensorMenu.connect = menu->addAction(QString(), this, &SensorWindow::connectOrDisconnect);
    d->sensorMenu.connect->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_K));
    menu->addSeparator();
    d->sensorMenu.readAll = menu->addAction(QString(), this, [this] { vRadAllSettings(true); });
    d->sensorMenu.readAll->setShortcuts({QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL + Qt::Key_R)});
    d->sensorMenu.writeAll = menu->addAction(QString(), this, [this] { vWriteAllSettings(true); });
    d->sensorMenu.writeAll->setShortcut(QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_W));
    menu->addAction(ui->actionEnable_live_data);
    d->sensorMenu.reconnect = menu->addAction(QString());
    d->sensorMenu.reconnect->setObjectName("reconnectAction");
    d->sensorMenu.reconnect->setCheckable(true);
    d->sensorMenu.reconnect->setChecked(true);
    connect(d->sensorMenu.reconnect, &QAction::toggled, this, [this](bool on) {
        if (!on && d->reconnect->isWatching()) {
            d->reconnect->stop();
            statusBar()->clearMessage();
            showWindowMode();
        }
    });
    ui->actionEnable_live_data->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_L));
    for (QAction* action :
         {d->sensorMenu.connect, d->sensorMenu.readAll, d->sensorMenu.writeAll, ui->actionEnable_live_data}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    connect(ui->actionRead, &QAction::toggled, this, &SensorWindow::showWindowMode);
    connect(ui->actionWritePermanent, &QAction::toggled, this, &SensorWindow::showWindowMode);
    retranslateSensorMenu();
    setSensorOperationsEnabled(false);
}

void SensorWindow::retranslateSensorMenu()
{
    menuBar()->findChild<QMenu*>("sensorMenu")->setTitle(tr("&Sensor"));
    d->sensorMenu.connect->setText(isConnected() ? tr("&Disconnect") : tr("&Connect..."));
    d->sensorMenu.readAll->setText(tr("&Read all parameters from the sensor"));
    d->sensorMenu.writeAll->setText(tr("&Write all parameters to the sensor"));
    d->sensorMenu.reconnect->setText(tr("Reconnect when the sensor comes back"));
    if (d->discardAction)
        showEditCount();
    showWindowMode();
    showLiveDataState();
}

// Live data paused while connected is said where the user looks for it:
// in the status bar and in the entry that resumes it.
void SensorWindow::showLiveDataState()
{
    const bool paused = isConnected() && !ui->actionEnable_live_data->isChecked();
    ui->actionEnable_live_data->setText(paused ? tr("Live data paused: resume") : tr("Enable live data"));
    d->liveDataPaused->setText(tr("Live data paused"));
    d->liveDataPaused->setVisible(paused);
}

} // namespace NimbarSensorPlugin::Core
