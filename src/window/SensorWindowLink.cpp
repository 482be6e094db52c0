#include "SensorWindow.h"

#include "SensorWindowPrivate.h"

#include <QComboBox>

namespace NimbarSensorPlugin::Core {

void SensorWindow::vAutoConnect(QString ComPort)
{
    vDisconnect();
    for (int index = d->portSelector->count() - 1; index >= 0; --index) {
        if (d->portSelector->itemText(index) == ComPort) {
            d->portSelector->setCurrentIndex(index);
            break;
        }
    }
    emit vComPortSelected(d->portSelector->currentText());
}

void SensorWindow::vDisconnect()
{
    connected = false;
    d->liveDataRunning = false;
    emit vComPortSelected(QString());
    updateWindowTitle();
}

} // namespace NimbarSensorPlugin::Core
