#include <utils/ValueOverTime.h>
#include <utils/widgets/ExportDialog.h>
#include <utils/widgets/ExportText.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <FileFaults.h>

#include <unistd.h>

using Utils::ExportDialog;
using Utils::ValueOverTime;

class ExportDialogTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void previewFollowsTheTickedBoxes();
    void cancelOrNoNameWritesNothing();
    void failedExportKeepsTheOldFileAndAGoodOneReplacesIt();
    void browseProposesTheDatedName();

private:
    ValueOverTime m_history;
    QList<const ValueOverTime*> m_series{&m_history};
    QList<QString> m_names{"Time", "Signal"};
    QTemporaryDir m_dir;
};

void ExportDialogTest::init()
{
    m_history.clear();
    const qint64 start = QDateTime(QDate(2026, 12, 4), QTime(10, 0)).toMSecsSinceEpoch();
    for (int i = 0; i < 25; ++i)
        m_history.append(double(start + i * 85), 1000.0 + i);
}

void ExportDialogTest::previewFollowsTheTickedBoxes()
{
    ExportDialog dialog(&m_series, &m_names);
    auto* preview = dialog.findChild<QPlainTextEdit*>("preview");
    QCOMPARE(preview->toPlainText().split('\n', Qt::SkipEmptyParts).size(), 11);
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        box->setChecked(false);
    dialog.findChild<QCheckBox*>("commaBox")->setChecked(true);
    dialog.findChild<QCheckBox*>("semicolonBox")->setChecked(true);
    dialog.setUnit("mm");
    QVERIFY(preview->toPlainText().startsWith(
        "Time,;Signal,;Unit,;State\n04-12-2026 10:00:00.000,;1000,;mm,;\n"));
    dialog.findChild<QLineEdit*>("otherDelimiter")->setText("|");
    dialog.findChild<QCheckBox*>("otherBox")->setChecked(true);
    QVERIFY(preview->toPlainText().startsWith("Time,;|Signal,;|Unit,;|State\n"));
}

void ExportDialogTest::cancelOrNoNameWritesNothing()
{
    const QString path = m_dir.filePath("cancelled.csv");
    ExportDialog dialog(&m_series, &m_names);
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QVERIFY(!ok->isEnabled());
    auto* name = dialog.findChild<QLineEdit*>("fileName");
    name->setText(path);
    QVERIFY(ok->isEnabled());
    dialog.reject();
    QVERIFY(!QFile::exists(path));
    name->clear();
    QVERIFY(!ok->isEnabled());
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    dialog.accept();
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
}

void ExportDialogTest::failedExportKeepsTheOldFileAndAGoodOneReplacesIt()
{
    const QString path = m_dir.filePath("kept.csv");
    // Longer than the export, so that a replacement that leaves its tail shows.
    const QByteArray previous = QByteArray(20000, 'x');
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(previous);
    }
    ExportDialog dialog(&m_series, &m_names);
    QSignalSpy failed(&dialog, &ExportDialog::exportFailed);
    dialog.findChild<QLineEdit*>("fileName")->setText(path);
    {
        const FileSizeLimit limit(256);
        dialog.accept();
    }
    QCOMPARE(failed.size(), 1);
    QVERIFY(dialog.errorString().startsWith("Cannot export to " + path + ": "));
    QCOMPARE(failed.at(0).at(0).toString(), dialog.errorString());
    QCOMPARE(contentOf(path), previous);

    // Without write permission in the folder no temporary file can be made beside the target;
    // root is not held back by permissions, so there the case says nothing.
    if (geteuid() != 0) {
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        dialog.accept();
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(failed.size(), 2);
        QCOMPARE(contentOf(path), previous);
    }

    // The next export replaces the file with every sample.
    dialog.accept();
    QCOMPARE(dialog.errorString(), QString());
    const QList<QByteArray> lines = contentOf(path).split('\n');
    QCOMPARE(lines.size(), 27);
    QCOMPARE(lines[25], "04-12-2026 10:00:02.040" + dialog.delimiter() + "1024" + dialog.delimiter() +
                            dialog.delimiter());
}

void ExportDialogTest::browseProposesTheDatedName()
{
    ExportDialog dialog(&m_series, &m_names);
    const QString chosen = m_dir.filePath("chosen.csv");
    QString proposed;
    QTimer::singleShot(0, this, [&] {
        if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            proposed = QFileInfo(files->selectedFiles().value(0)).fileName();
            files->selectFile(chosen);
            static_cast<QDialog*>(files)->accept();
        }
    });
    dialog.findChild<QPushButton*>("browse")->click();
    QCOMPARE(proposed, Utils::proposedExportFileName(QDate::currentDate()));
    QCOMPARE(dialog.findChild<QLineEdit*>("fileName")->text(), chosen);
    QVERIFY(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());
}

QTEST_MAIN(ExportDialogTest)
#include "tst_utils_exportdialog.moc"
