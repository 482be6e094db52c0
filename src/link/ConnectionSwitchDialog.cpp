#include "ConnectionSwitchDialog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace NimbarSensorPlugin::Core {

namespace {

QPushButton* addButton(QDialog* dialog, QGridLayout* layout, int row, const char* name, const char* icon)
{
    auto* button = new QPushButton(dialog);
    button->setObjectName(name);
    button->setIcon(QIcon(icon));
    button->setMinimumHeight(30);
    button->setMinimumWidth(130);
    layout->addWidget(button, row, 0);
    return button;
}

QLabel* addExplanation(QDialog* dialog, QGridLayout* layout, int row, const char* name)
{
    auto* label = new QLabel(dialog);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setMinimumWidth(300);
    layout->addWidget(label, row, 1);
    return label;
}

} // namespace

ConnectionSwitchDialog::ConnectionSwitchDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("connectionSwitchingDialog");
    setStyleSheet("QWidget#connectionSwitchingDialog { border: 1px solid gray; border-style: outset; "
                  "border-radius: 3px; padding: 1px 18px 1px 3px; min-width: 6em; "
                  "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #E1E1E1, "
                  "stop: 0.4 #DDDDDD, stop: 0.5 #D8D8D8, stop: 1.0 #D3D3D3); }"
                  "QPushButton { border-image: url(:/newPrefix/icons/button.svg); }"
                  "QPushButton:default, QPushButton:focus { border: 2px solid #00619E; }");
    gridLayout = new QGridLayout(this);
    gridLayout->setObjectName("gridLayout");
    question = new QLabel(this);
    question->setObjectName("question");
    question->setWordWrap(true);
    gridLayout->addWidget(question, 0, 0, 1, 2);
    pcToSensor = addButton(this, gridLayout, 1, "pcToSensor", ":/newPrefix/icons/connect_sensor_pc.svg");
    pcToSensorText = addExplanation(this, gridLayout, 1, "pcToSensorText");
    sensorToPc = addButton(this, gridLayout, 2, "sensorToPc", ":/newPrefix/icons/connect_yes.svg");
    sensorToPcText = addExplanation(this, gridLayout, 2, "sensorToPcText");
    cancel = addButton(this, gridLayout, 3, "cancel", ":/newPrefix/icons/edit_delete_all.svg");
    cancelText = addExplanation(this, gridLayout, 3, "cancelText");
    // Enter must never overwrite the sensor: the default takes the sensor's
    // settings and leaves the sensor as it is.
    pcToSensor->setAutoDefault(false);
    cancel->setAutoDefault(false);
    sensorToPc->setDefault(true);
    sensorToPc->setFocus();
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
    setWindowTitle(QCoreApplication::translate("connectionSwitchingDialog", "Connect to the sensor"));
    question->setText(QCoreApplication::translate(
        "connectionSwitchingDialog",
        "The window and the sensor may hold different settings. Which settings should both "
        "have from now on?"));
    pcToSensor->setText(QCoreApplication::translate("connectionSwitchingDialog", "PC -> Sensor"));
    pcToSensor->setToolTip(QCoreApplication::translate(
        "connectionSwitchingDialog", "Sensor settings will be overwritten with the ones from PC"));
    pcToSensorText->setText(QCoreApplication::translate(
        "connectionSwitchingDialog",
        "Write the settings shown in this window to the sensor. The sensor's own settings are "
        "overwritten."));
    sensorToPc->setText(QCoreApplication::translate("connectionSwitchingDialog", "Sensor -> PC"));
    sensorToPc->setToolTip(QCoreApplication::translate(
        "connectionSwitchingDialog", "PC settings will be overwritten with the ones from the Sensor"));
    sensorToPcText->setText(QCoreApplication::translate(
        "connectionSwitchingDialog",
        "Read the sensor's settings into this window. Nothing on the sensor changes."));
    cancel->setText(QCoreApplication::translate("connectionSwitchingDialog", "Cancel"));
    cancelText->setText(QCoreApplication::translate("connectionSwitchingDialog",
                                                    "Do not connect to this port. Nothing changes."));
}

} // namespace NimbarSensorPlugin::Core
