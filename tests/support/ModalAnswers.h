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

// Answers the modal dialogs that come up, in order, and keeps what the boxes
// said: a connection question by the object name of its button; a message
// box by a button of its own found by object name, or by a standard button,
// where NoButton is its default button, as Enter would. A file dialog's own
// questions are the file dialog's answerer's.
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
                if (qobject_cast<QFileDialog*>(box->parentWidget()))
                    return;
                titles << box->windowTitle();
                texts << box->text();
                informativeTexts << box->informativeText();
                const Answer answer = m_answers.takeFirst();
                if (answer.uncheck && box->checkBox())
                    box->checkBox()->setChecked(false);
                boxButton(box, answer)->click();
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
    QStringList informativeTexts;
    int answered() const { return titles.size(); }

private:
    static QAbstractButton* boxButton(QMessageBox* box, const Answer& answer)
    {
        if (!answer.button.isEmpty())
            return box->findChild<QAbstractButton*>(answer.button);
        return answer.standard == QMessageBox::NoButton ? box->defaultButton() : box->button(answer.standard);
    }

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
