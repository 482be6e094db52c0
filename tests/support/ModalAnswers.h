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
// questions are the file dialog's answerer's. Once its answers are used up,
// one told to go on answers as a user who only wants to go on does: OK or the
// box's escape button, and "Sensor -> PC", which reads and writes nothing.
class DialogAnswers : public QObject
{
public:
    struct Answer
    {
        QString button;
        QMessageBox::StandardButton standard = QMessageBox::NoButton;
        bool uncheck = false; // unchecks the box's check box first
    };

    explicit DialogAnswers(QList<Answer> answers, bool thenGoOn = false)
        : m_answers(std::move(answers)), m_goOn(thenGoOn)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || (m_answers.isEmpty() && !m_goOn))
                return;
            const bool scripted = !m_answers.isEmpty();
            const Answer answer = scripted ? m_answers.first() : Answer{"sensorToPc"};
            QAbstractButton* button = nullptr;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                if (qobject_cast<QFileDialog*>(box->parentWidget()))
                    return;
                titles << box->windowTitle();
                texts << box->text();
                informativeTexts << box->informativeText();
                m_boxes << "[" + box->windowTitle() + "] " + box->text();
                if (answer.uncheck && box->checkBox())
                    box->checkBox()->setChecked(false);
                if (!scripted)
                    button =
                        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok) : box->escapeButton();
                else if (!answer.button.isEmpty())
                    button = box->findChild<QAbstractButton*>(answer.button);
                else
                    button = answer.standard == QMessageBox::NoButton ? box->defaultButton()
                                                                      : box->button(answer.standard);
            } else {
                // The "updating..." pop-up is modal too, but is no question.
                button =
                    answer.button.isEmpty() ? nullptr : modal->findChild<QAbstractButton*>(answer.button);
                if (!button)
                    return;
                titles << modal->windowTitle();
            }
            if (scripted)
                m_answers.removeFirst();
            if (button)
                button->click();
        });
        m_timer.start(10);
    }

    QStringList titles;
    QStringList texts;
    QStringList informativeTexts;
    int answered() const { return titles.size(); }

    // Whether a box with this title and a text that starts so came up.
    bool saw(const QString& title, const QString& textStart) const
    {
        return std::any_of(m_boxes.cbegin(), m_boxes.cend(), [&](const QString& box) {
            return box.startsWith("[" + title + "] " + textStart);
        });
    }
    QString summary() const { return m_boxes.isEmpty() ? QString("no box") : m_boxes.join(" | "); }
    void forgetBoxes() { m_boxes.clear(); }

private:
    QList<Answer> m_answers;
    bool m_goOn;
    QStringList m_boxes; // "[title] text" of each box
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

// Runs a step on the next modal window, from a timer of its own, so that a
// message box the step leads to is answered while the step waits for it.
class ModalStep : public QObject
{
public:
    explicit ModalStep(std::function<void(QWidget*)> step)
    {
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
        m_timer.start(10);
    }

    int taken = 0;

private:
    QTimer m_timer;
};
