#pragma once

#include <QMdiSubWindow>

// The sub-window a sensor window lives in. It tells the workbench once the
// user has closed it for good, so the plug-in's interface can be released.
class SensorSubWindow : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit SensorSubWindow(QWidget* parent = nullptr);

signals:
    void closed(SensorSubWindow* subWindow);

protected:
    void closeEvent(QCloseEvent* event) override;
};
