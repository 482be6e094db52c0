#pragma once

// The user's answers to modal windows, for tests that drive a window whose
// questions block in a nested event loop: each answerer polls for the modal
// window from a timer instead of sleeping, so a test waits only as long as
// the code under test takes to ask.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>

// Answers the next modal message box with a button and remembers its texts.
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

// Answers the modal dialogs that come up, in order: a connection question
// by the object name of its button, a message box by its button.
class DialogAnswers : public QObject
{
public:
    struct Answer
    {
        QString button;
        QMessageBox::StandardButton standard = QMessageBox::NoButton;
        // Unchecks the box's check box first.
        bool uncheck = false;
    };

    explicit DialogAnswers(QList<Answer> answers) : m_answers(std::move(answers))
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || m_answers.isEmpty())
                return;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                titles << box->windowTitle();
                texts << box->text();
                const Answer answer = m_answers.takeFirst();
                if (answer.uncheck && box->checkBox())
                    box->checkBox()->setChecked(false);
                box->button(answer.standard)->click();
            } else if (auto* button = m_answers.value(0).button.isEmpty()
                                          ? nullptr
                                          : modal->findChild<QAbstractButton*>(m_answers.value(0).button)) {
                titles << modal->windowTitle();
                m_answers.removeFirst();
                button->click();
            }
        });
        m_timer.start();
    }

    QStringList titles;
    QStringList texts;

private:
    QList<Answer> m_answers;
    QTimer m_timer;
};

inline DialogAnswers::Answer choose(const char* buttonName)
{
    return {buttonName, QMessageBox::NoButton};
}

inline DialogAnswers::Answer reply(QMessageBox::StandardButton button)
{
    return {QString(), button};
}

// Answers every modal box the way a user who only wants to go on does (OK,
// or the box's escape button), and the connection question with "Sensor ->
// PC", which reads the sensor and writes nothing. Keeps what the boxes said.
class ModalAnswers : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
    };

    ModalAnswers()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start(10);
    }

    QList<Box> boxes;

    bool saw(const QString& title, const QString& textStart) const
    {
        return std::any_of(boxes.cbegin(), boxes.cend(), [&](const Box& box) {
            return box.title == title && box.text.startsWith(textStart);
        });
    }
    QString summary() const
    {
        QStringList lines;
        for (const Box& box : boxes)
            lines << "[" + box.title + "] " + box.text;
        return lines.isEmpty() ? QString("no box") : lines.join(" | ");
    }

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes << Box{box->windowTitle(), box->text()};
            QAbstractButton* button = box->button(QMessageBox::Ok);
            if (!button)
                button = box->escapeButton();
            if (button)
                button->click();
            return;
        }
        // The "updating..." pop-up is modal too, but is no question.
        if (auto* button = modal->findChild<QAbstractButton*>("sensorToPc"))
            button->click();
    }

    QTimer m_timer;
};

// Runs a step on the next modal window, from a timer of its own, so that a
// message box the step leads to is answered while the step waits for it.
class ModalStep : public QObject
{
public:
    explicit ModalStep(std::function<void(QWidget*)> step)
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this, step] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                m_timer.stop();
                ++taken;
                QTimer::singleShot(0, this, [step, modal = QPointer<QWidget>(modal)] {
                    if (modal)
                        step(modal);
                });
            }
        });
        m_timer.start();
    }

    int taken = 0;

private:
    QTimer m_timer;
};
