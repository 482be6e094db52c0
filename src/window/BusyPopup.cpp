#include "BusyPopup.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace NimbarSensorPlugin::Core {

BusyPopup::BusyPopup(QWidget* window)
    : QDialog(window), window(window), bar(new QProgressBar(this)), label(new QLabel(this)),
      cancelButton(new QPushButton(tr("Cancel"), this))
{
    setObjectName("DataFrameSenderUi");
    bar->setTextVisible(false);
    bar->setStyleSheet("QProgressBar::chunk{background-color: #00619E;margin: 0.8px}");
    bar->setFixedHeight(20);
    label->setObjectName("label");
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 1, Qt::AlignCenter);
    layout->addWidget(bar, 1, 1);
    cancelButton->setObjectName("cancelSequence");
    cancelButton->hide();
    layout->addWidget(cancelButton, 2, 1, Qt::AlignCenter);
    connect(cancelButton, &QPushButton::clicked, this, [this] {
        cancelButton->setEnabled(false);
        emit cancelRequested();
    });
}

void BusyPopup::setCancellable(bool cancellable)
{
    cancelButton->setText(tr("Cancel"));
    cancelButton->setEnabled(true);
    cancelButton->setVisible(cancellable);
    fitSize();
}

void BusyPopup::fitSize()
{
    setFixedSize(270, cancelButton->isHidden() ? 60 : 96);
}

void BusyPopup::start(const QString& text, int steps)
{
    setParent(window);
    setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    setWindowOpacity(0.75);
    setModal(true);
    setStyleSheet("QWidget#DataFrameSenderUi { border: 1px solid gray; border-style: outset; "
                  "border-radius: 3px; padding: 1px 18px 1px 3px; min-width: 6em; "
                  "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #E1E1E1, "
                  "stop: 0.4 #DDDDDD, stop: 0.5 #D8D8D8, stop: 1.0 #D3D3D3); }");
    label->setText(text);
    fitSize();
    show();
    bar->setRange(0, steps);
    bar->setValue(0);
}

void BusyPopup::setProgress(int done)
{
    bar->setValue(done);
}

void BusyPopup::withdraw()
{
    const bool wasShown = isVisible();
    hide();
    if (wasShown && !QApplication::activeWindow() && window->isVisible())
        window->window()->activateWindow();
}

} // namespace NimbarSensorPlugin::Core
