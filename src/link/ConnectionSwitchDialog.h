#pragma once

#include <QDialog>

class QGridLayout;
class QLabel;
class QPushButton;

namespace NimbarSensorPlugin::Core {

// Asks, when the user picks a port, which side's settings win, and says
// in a sentence what each choice does: the result is 2 for "PC -> Sensor",
// 1 for "Sensor -> PC" (the default, which leaves the sensor as it is), 0
// for cancel.
class ConnectionSwitchDialog : public QDialog
{
    Q_OBJECT
public:
    enum Choice
    {
        Cancel = 0,
        SensorToPc = 1,
        PcToSensor = 2
    };

    explicit ConnectionSwitchDialog(QWidget* parent = nullptr);

public slots:
    void vPcToSensor();
    void vSensorToPc();
    void vCancel();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();

    QGridLayout* gridLayout;
    QLabel* question;
    QLabel* pcToSensorText;
    QLabel* sensorToPcText;
    QLabel* cancelText;
    QPushButton* pcToSensor;
    QPushButton* sensorToPc;
    QPushButton* cancel;
};

} // namespace NimbarSensorPlugin::Core
