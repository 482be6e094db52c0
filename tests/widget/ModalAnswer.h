#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

// Answers the next modal message box with a button and remembers its texts.
// Polls for the box instead of sleeping, so the test waits only as long as
// the code under test takes to show it.
class ModalAnswer : public QObject
{
public:
    // NoButton answers with the box's default button, as Enter would.
    explicit ModalAnswer(QMessageBox::StandardButton button)
        : ModalAnswer([button](QMessageBox* box) -> QAbstractButton* {
              if (button == QMessageBox::NoButton)
                  return box->defaultButton();
              return box->button(button);
          })
    {
    }
    // A button of the box's own, found by its object name.
    explicit ModalAnswer(const char* buttonName)
        : ModalAnswer([buttonName](QMessageBox* box) { return box->findChild<QAbstractButton*>(buttonName); })
    {
    }

    QString title;
    QString text;
    QString informativeText;
    int answered = 0;

private:
    explicit ModalAnswer(std::function<QAbstractButton*(QMessageBox*)> button)
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            // A file dialog's own questions are the file dialog's answerer's.
            if (!box || qobject_cast<QFileDialog*>(box->parentWidget()))
                return;
            title = box->windowTitle();
            text = box->text();
            informativeText = box->informativeText();
            ++answered;
            m_timer.stop();
            button(box)->click();
        });
        m_timer.start();
    }

    QTimer m_timer;
};
