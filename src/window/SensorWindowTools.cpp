#include "SensorWindow.h"

#include "tools/SettingsFile.h"

#include <QFileDialog>
#include <QMessageBox>

namespace NimbarSensorPlugin::Core {

bool SensorWindow::bOpenSettings()
{
    return bOpenSettings(QString());
}

bool SensorWindow::bOpenSettings(QString fileName)
{
    if (fileName.isEmpty()) {
        fileName = QFileDialog::getOpenFileName(this, QString(), QString(), tr("Sensor Settings (*.kvs)"));
        if (fileName.isEmpty())
            return false;
    }
    if (connected && QMessageBox::information(this, tr("Open Settings"),
                                              tr("Loaded settings will override the current project"),
                                              QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Cancel)
        return false;

    SettingsFileContent content;
    switch (readSettingsFile(fileName, sensor.name(), &content)) {
    case SettingsFileStatus::Unreadable:
    case SettingsFileStatus::Corrupted:
        QMessageBox::critical(this, tr("Opening settings..."), tr("The selected settings are corupted"),
                              QMessageBox::Ok);
        return false;
    case SettingsFileStatus::ForeignSensor:
        QMessageBox::critical(this, tr("Opening settings..."),
                              tr("The selected settings are not for the current sensor"), QMessageBox::Ok);
        return false;
    case SettingsFileStatus::Loaded:
        break;
    }
    return content.hasPluginSettings && content.hasPropertyTreeData && content.hasChartData;
}

} // namespace NimbarSensorPlugin::Core
