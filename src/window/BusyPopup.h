#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace NimbarSensorPlugin::Core {

// The pop-up over the sensor window while a sequence runs and the sensor
// settles afterwards: a text and a bar that its owner fills step by step.
class BusyPopup : public QDialog
{
    Q_OBJECT
public:
    explicit BusyPopup(QWidget* window);

    // Shows the text over an empty bar of the given steps.
    void start(const QString& text, int steps);
    void setProgress(int done);
    // A read or write of everything offers the user to cancel it.
    void setCancellable(bool cancellable);
    // Hides it. The modal pop-up took the activation; without it nothing in
    // the workbench would have the keyboard focus.
    void withdraw();

signals:
    void cancelRequested();

private:
    void fitSize();

    QWidget* window;
    QProgressBar* bar;
    QLabel* label;
    QPushButton* cancelButton;
};

} // namespace NimbarSensorPlugin::Core
