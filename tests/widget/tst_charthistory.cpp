// The chart's history in a window: exported through the dialog, printed, cleared.
#include "WindowUnderTest.h"
#include <FileFaults.h>
#include <ModalAnswers.h>

#include <window/SensorWindowForm.h>

#include <utils/ValueOverTime.h>
#include <utils/widgets/ExportDialog.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolBar>

#include <cmath>
#include <memory>

using namespace NimbarSensorPlugin::Core;
using Utils::SampleState;

namespace {

const QDateTime historyStart(QDate(2026, 12, 4), QTime(10, 0));
// One sample per poll of 85 ms: 3 to 6 are the states and a gap, 7 is no whole number.
const QMap<int, QPair<SampleState, QString>> stateAt = {{3, {SampleState::TooClose, "too close"}},
                                                        {4, {SampleState::Gap, "gap"}},
                                                        {5, {SampleState::TooFar, "too far"}},
                                                        {6, {SampleState::NoData, "no data"}}};

} // namespace

class ChartHistoryTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<SensorWindow> window;
    QTemporaryDir dir;

    QStringList filesInDir() const { return QDir(dir.path()).entryList(QDir::Files); }
    QByteArray print(const QString& path)
    {
        qputenv("IOLINK_PRINT_PDF", QFile::encodeName(path));
        window->form().actionPrint_chart_view->trigger();
        qunsetenv("IOLINK_PRINT_PDF");
        return contentOf(path);
    }
    // Ticks only the given separators and closes the export dialog by the button; returns its preview.
    QStringList exportTo(const QString& path, const QStringList& boxes,
                         QDialogButtonBox::StandardButton button)
    {
        QStringList preview;
        ModalStep step([&](QWidget* modal) {
            auto* dialog = qobject_cast<Utils::ExportDialog*>(modal);
            QVERIFY(dialog);
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
                box->setChecked(boxes.contains(box->objectName()));
            preview =
                dialog->findChild<QPlainTextEdit*>("preview")->toPlainText().split('\n', Qt::SkipEmptyParts);
            dialog->findChild<QLineEdit*>("fileName")->setText(path);
            dialog->findChild<QDialogButtonBox*>()->button(button)->click();
        });
        window->form().actionExport_chart_view->trigger();
        return step.taken == 1 ? preview : QStringList{"no dialog"};
    }

private slots:
    void init()
    {
        window = std::make_unique<SensorWindow>(hostRecord("RT5-6000-M30"));
        QVERIFY(dir.isValid());
        for (const QString& name : filesInDir())
            QVERIFY(QFile::remove(dir.filePath(name)));
    }
    void cleanup() { window.reset(); }

    // The preview shows the first ten samples, the file all of them; a cancelled export writes nothing.
    // Clearing the history takes a Yes.
    void exportedLinesReadTimeValueUnitAndStateUntilCleared()
    {
        const QString path = dir.filePath("history.csv");
        QStringList expected = {"Time,;Distance,;Unit,;State"};
        for (int i = 0; i < 25; ++i) {
            const double time = double(historyStart.toMSecsSinceEpoch() + i * 85);
            if (stateAt.contains(i))
                window->chart()->vAppendState(0, stateAt[i].first, false, time);
            else
                window->chart()->vAppendData(0, i == 7 ? 1234.6 : 300.0 + 10.0 * i, false, time, false, -1.0,
                                             -1.0);
            expected << historyStart.addMSecs(i * 85).toString("dd-MM-yyyy hh:mm:ss.zzz") + ",;" +
                            (stateAt.contains(i)
                                 ? ",;mm,;" + stateAt[i].second
                                 : (i == 7 ? "1235" : QString::number(300 + 10 * i)) + ",;mm,;");
        }
        const QStringList separators = {"commaBox", "semicolonBox"};
        QCOMPARE(exportTo(path, separators, QDialogButtonBox::Cancel), expected.mid(0, 11));
        QCOMPARE(filesInDir(), QStringList());
        QCOMPARE(exportTo(path, separators, QDialogButtonBox::Ok), expected.mid(0, 11));
        QCOMPARE(QString::fromLatin1(contentOf(path)), expected.join('\n') + '\n');
        QCOMPARE(filesInDir(), QStringList{"history.csv"});

        QToolBar* chartToolbar = window->form().chartToolbar;
        chartToolbar->setEnabled(true);
        DialogAnswers answers({reply(QMessageBox::No), reply(QMessageBox::Yes)});
        window->form().actionClear_History->trigger();
        QVERIFY(window->chart()->getData(0)->size() == 25 && chartToolbar->isEnabled());
        window->form().actionClear_History->trigger();
        QVERIFY(answers.answered() == 2 && window->chart()->getData(0)->isEmpty() &&
                !chartToolbar->isEnabled());
    }

    // The curve is on the page: the PDF of a history is larger than that of an empty chart. A file that
    // cannot be written is named with the reason.
    void printingWritesThePlotIntoAPdf()
    {
        window->resize(1280, 800);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->chart()->setEnabled(true);
        DialogAnswers answer({reply(QMessageBox::Ok)});
        const QByteArray empty = print(dir.filePath("empty.pdf"));
        // A target moving back and forth over a minute and a half.
        const qint64 start = QDateTime::currentMSecsSinceEpoch() - 90000;
        for (int i = 0; i < 1060; ++i)
            window->chart()->vAppendData(0, 2200.0 + 1400.0 * std::sin(i / 60.0) + (i % 13) * 9.0, false,
                                         double(start + i * 85), false, -1.0, -1.0);
        window->chart()->updateChart(true);
        const QByteArray pdf = print(dir.filePath("chart.pdf"));
        QVERIFY2(pdf.count("/Type /Page\n") == 1 && pdf.size() > empty.size() + 2000,
                 qPrintable(QString("%1 bytes with history, %2 without").arg(pdf.size()).arg(empty.size())));
        // The only message is this one: the prints above went through.
        print(dir.path());
        QCOMPARE(answer.texts, QStringList{"Cannot print to " + dir.path() + ": it is not a regular file"});
    }
};

QTEST_MAIN(ChartHistoryTest)
#include "tst_charthistory.moc"
