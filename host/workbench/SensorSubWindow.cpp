#include "SensorSubWindow.h"

#include <QCloseEvent>

SensorSubWindow::SensorSubWindow(QWidget* parent) : QMdiSubWindow(parent) {}

void SensorSubWindow::closeEvent(QCloseEvent* event)
{
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed(this);
}
