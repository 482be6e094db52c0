#include "ConnectionSwitchDialog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QPushButton>

namespace NimbarSensorPlugin::Core {

namespace {

QPushButton* addButton(QDialog* dialog, QGridLayout* layout, int row, const char* name, const char* icon)
{
    auto* button = new QPushButton(dialog);
    button->setObjectName(name);
    button->setIcon(QIcon(icon));
    button->setMinimumHeight(30);
    button->setMaximumWidth(150);
    layout->addWidget(button, row, 0);
    return button;
}

} // namespace

ConnectionSwitchDialog::ConnectionSwitchDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("connectionSwitchingDialog");
    resize(225, 120);
    setMinimumSize(101, 0);
    setMaximumSize(300, 200);
    setStyleSheet("QWidget#connectionSwitchingDialog { border: 1px solid gray; border-style: outset; "
                  "border-radius: 3px; padding: 1px 18px 1px 3px; min-width: 6em; "
                  "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #E1E1E1, "
                  "stop: 0.4 #DDDDDD, stop: 0.5 #D8D8D8, stop: 1.0 #D3D3D3); }"
                  "QPushButton { border-image: url(:/newPrefix/icons/button.svg); }");
    gridLayout = new QGridLayout(this);
    gridLayout->setObjectName("gridLayout");
    pcToSensor = addButton(this, gridLayout, 0, "pcToSensor", ":/newPrefix/icons/connect_sensor_pc.svg");
    sensorToPc = addButton(this, gridLayout, 1, "sensorToPc", ":/newPrefix/icons/connect_yes.svg");
    cancel = addButton(this, gridLayout, 2, "cancel", ":/newPrefix/icons/edit_delete_all.svg");
    connect(pcToSensor, &QPushButton::clicked, this, &ConnectionSwitchDialog::vPcToSensor);
    connect(sensorToPc, &QPushButton::clicked, this, &ConnectionSwitchDialog::vSensorToPc);
    connect(cancel, &QPushButton::clicked, this, &ConnectionSwitchDialog::vCancel);
    retranslateUi();
}

void ConnectionSwitchDialog::vPcToSensor()
{
    accept();
    setResult(PcToSensor);
}

void ConnectionSwitchDialog::vSensorToPc()
{
    accept();
    setResult(SensorToPc);
}

void ConnectionSwitchDialog::vCancel()
{
    accept();
    setResult(Cancel);
}

void ConnectionSwitchDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void ConnectionSwitchDialog::retranslateUi()
{
    setWindowTitle(QCoreApplication::translate("connectionSwitchingDialog", "Dialog"));
    pcToSensor->setText(QCoreApplication::translate("connectionSwitchingDialog", "PC -> Sensor"));
    pcToSensor->setToolTip(QCoreApplication::translate(
        "connectionSwitchingDialog", "Sensor settings will be overwritten with the ones from PC"));
    sensorToPc->setText(QCoreApplication::translate("connectionSwitchingDialog", "Sensor -> PC"));
    sensorToPc->setToolTip(QCoreApplication::translate(
        "connectionSwitchingDialog", "PC settings will be overwritten with the ones from the Sensor"));
    cancel->setText(QCoreApplication::translate("connectionSwitchingDialog", "Cancel"));
}

} // namespace NimbarSensorPlugin::Core
