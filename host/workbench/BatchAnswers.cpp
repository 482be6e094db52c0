#include "BatchAnswers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

namespace {

// A box may name in its property "whatHappened" the part of its text that
// is news; the rest speaks to a person at the desk, who chose the sensor.
QString boxText(const QMessageBox* box)
{
    const QString whatHappened = box->property("whatHappened").toString();
    if (!whatHappened.isEmpty())
        return box->windowTitle() + ": " + whatHappened;
    QString text = box->windowTitle() + ": " + box->text();
    if (!box->informativeText().isEmpty())
        text += "\n" + box->informativeText();
    return text;
}

} // namespace

BatchAnswers::BatchAnswers(QTextStream& log, QObject* parent) : QObject(parent), m_log(log)
{
    qApp->installEventFilter(this);
}

BatchAnswers::~BatchAnswers()
{
    qApp->removeEventFilter(this);
}

// A dialog is answered once its own event loop runs: a button pressed while
// it is still being shown would end it before exec() waits, which then waits
// for good.
bool BatchAnswers::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show)
        return false;
    if (auto* box = qobject_cast<QMessageBox*>(watched)) {
        QTimer::singleShot(0, this, [this, box = QPointer<QMessageBox>(box)] {
            if (box && box->isVisible())
                answerBox(box);
        });
    } else if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isModal()) {
        QTimer::singleShot(0, this, [this, dialog = QPointer<QDialog>(dialog)] {
            if (dialog && dialog->isVisible())
                answerDialog(dialog);
        });
    }
    return false;
}

void BatchAnswers::answerBox(QMessageBox* box)
{
    const QList<QAbstractButton*> buttons = box->buttons();
    if (buttons.size() <= 1) {
        m_log << "iolink-workbench: " << boxText(box) << "\n";
        m_log.flush();
        if (buttons.isEmpty())
            box->close();
        else
            buttons.front()->click();
        return;
    }
    const auto yes = {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Save};
    const auto no = {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Abort, QMessageBox::Close};
    QAbstractButton* answer = nullptr;
    for (QMessageBox::StandardButton wanted : m_confirm ? yes : no) {
        if (!answer)
            answer = box->button(wanted);
    }
    if (!answer)
        answer = m_confirm ? static_cast<QAbstractButton*>(box->defaultButton()) : box->escapeButton();
    if (!answer)
        answer = buttons.front();
    m_log << "iolink-workbench: " << boxText(box) << "\n"
          << "iolink-workbench: answered \"" << answer->text().remove('&') << "\"\n";
    m_log.flush();
    answer->click();
}

// Dialogs without a chosen button, such as the wait while the sensor
// answers, are the program's own business and are left alone.
void BatchAnswers::answerDialog(QWidget* dialog)
{
    for (const QString& name : qAsConst(m_choices)) {
        if (auto* button = dialog->findChild<QAbstractButton*>(name)) {
            m_log << "iolink-workbench: " << dialog->windowTitle() << ": answered \""
                  << button->text().remove('&') << "\"\n";
            m_log.flush();
            button->click();
            return;
        }
    }
}
