#pragma once

#include <QObject>
#include <QStringList>

class QMessageBox;
class QTextStream;

// Answers every question a batch run meets the way its command means it,
// and writes question and answer to the log: a batch run never waits for a
// person. A message (a box with one button) is logged and acknowledged.
class BatchAnswers : public QObject
{
    Q_OBJECT
public:
    BatchAnswers(QTextStream& log, QObject* parent = nullptr);
    ~BatchAnswers() override;

    // Whether questions get their yes (OK, Yes): the command asked for what
    // they ask (overwrite the sensor, restore its factory settings). When
    // not, they get their no, and nothing happens the command did not ask.
    void setConfirming(bool confirm) { m_confirm = confirm; }
    // Object names of the buttons to press in a dialog that is not a message
    // box, such as which side wins when connecting.
    void setChoices(const QStringList& buttonNames) { m_choices = buttonNames; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answerBox(QMessageBox* box);
    void answerDialog(QWidget* dialog);

    QTextStream& m_log;
    bool m_confirm = false;
    QStringList m_choices;
};
