#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

// Answers the next modal file dialog with a file name, or cancels it when
// the name is empty; confirms replacing an existing file. Polls as the
// answerers of ModalAnswers.h do.
class FileDialogAnswer : public QObject
{
public:
    explicit FileDialogAnswer(const QString& fileName) : m_fileName(fileName)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            // The dialog's own question whether to replace an existing file.
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                if (qobject_cast<QFileDialog*>(box->parentWidget()) && box->button(QMessageBox::Yes)) {
                    m_timer.stop();
                    box->button(QMessageBox::Yes)->click();
                }
                return;
            }
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog || asked > 0)
                return;
            ++asked;
            if (m_fileName.isEmpty()) {
                m_timer.stop();
                dialog->reject();
                return;
            }
            // Typed into the name field, as a user does: selectFile() gives way
            // to the folder the dialog remembers when that one is gone.
            if (auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit"))
                edit->setText(m_fileName);
            else
                dialog->selectFile(m_fileName);
            // Queued: the dialog may ask whether to replace the file, and this
            // timer does not fire again while its own slot runs.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        m_timer.start(10);
    }

    int asked = 0;

private:
    QString m_fileName;
    QTimer m_timer;
};
