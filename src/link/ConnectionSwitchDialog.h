#pragma once

#include <QDialog>

class QGridLayout;
class QPushButton;

namespace NimbarSensorPlugin::Core {

// Asks, when the user picks a port, which side's settings win: the
// result is 2 for "PC -> Sensor", 1 for "Sensor -> PC", 0 for cancel.
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
    QPushButton* pcToSensor;
    QPushButton* sensorToPc;
    QPushButton* cancel;
};

} // namespace NimbarSensorPlugin::Core
