#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

// Answers the next modal message box with a button and remembers its texts.
// Polls for the box instead of sleeping, so the test waits only as long as
// the code under test takes to show it.
class ModalAnswer : public QObject
{
public:
    explicit ModalAnswer(QMessageBox::StandardButton button) : m_button(button)
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            // A file dialog's own questions are the file dialog's answerer's.
            if (!box || qobject_cast<QFileDialog*>(box->parentWidget()))
                return;
            title = box->windowTitle();
            text = box->text();
            ++answered;
            m_timer.stop();
            box->button(m_button)->click();
        });
        m_timer.start();
    }

    QString title;
    QString text;
    int answered = 0;

private:
    QMessageBox::StandardButton m_button;
    QTimer m_timer;
};
