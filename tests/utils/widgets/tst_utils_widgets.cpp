// libUtils' small widgets: the export text and file, the progress wait and the property browser's button.
#include <utils/ValueOverTime.h>
#include <utils/widgets/ButtonFactory.h>
#include <utils/widgets/ButtonManager.h>
#include <utils/widgets/ExportText.h>
#include <utils/widgets/ProgressBarUi.h>

#include <FileFaults.h>

#include <qttreepropertybrowser.h>

#include <QPushButton>
#include <QtTest>

#include <ctime>

#include <sys/stat.h>

using namespace Utils;

namespace {

double localMs(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return double(QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms)).toMSecsSinceEpoch());
}

} // namespace

class WidgetsTest : public QObject
{
    Q_OBJECT

private slots:
    // Every 37 minutes over 18 months and every minute around both clock changes of 2026, against QDateTime.
    void localTimeStaysRightAcrossDaysAndClockChanges()
    {
        // A zone with daylight-saving switches, which the day-wise time conversion must handle.
        qputenv("TZ", "Europe/Berlin");
        tzset();
        ValueOverTime data;
        QByteArray expected = "Time Value Unit State\n";
        const auto add = [&](double time) {
            data.append(time, 1.0);
            expected +=
                QDateTime::fromMSecsSinceEpoch(qint64(time)).toString("dd-MM-yyyy hh:mm:ss.zzz").toLatin1() +
                " 1 mm \n";
        };
        const double start = localMs(2025, 10, 20, 0, 0, 0, 0);
        for (double t = start; t < start + 540.0 * 86400000; t += 37 * 60000 + 123)
            add(t);
        for (const double around : {localMs(2026, 3, 29, 1, 0, 0, 0), localMs(2026, 10, 25, 1, 0, 0, 0)})
            for (double t = around; t < around + 3 * 3600000; t += 59999)
                add(t);
        QCOMPARE(exportText(data, " ", {"Time", "Value", "Unit", "State"}, "mm"), expected);
    }

    // The folder's name is not ASCII: paths are the file system's bytes. A pipe, a folder or a missing folder
    // is refused with the reason and left as it was, and so is an older file when the disk is full.
    void saveReplacesOnlyRegularFiles()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("Prüfung-Тест"));
        const QString folder = dir.filePath("Prüfung-Тест");
        const QString path = folder + "/export.csv";
        QCOMPARE(saveExportFile(path, QByteArray(5000, 'a')), QString());
        {
            const FileSizeLimit limit(256);
            QVERIFY(
                saveExportFile(path, QByteArray(1000, 'b')).startsWith("Cannot export to " + path + ": "));
        }
        QCOMPARE(contentOf(path), QByteArray(5000, 'a'));
        // Shorter than the older file, so that a replacement that leaves its tail shows.
        QCOMPARE(saveExportFile(path, "Time;Value\n"), QString());
        QCOMPARE(contentOf(path), QByteArray("Time;Value\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"export.csv"});

        const QString fifo = dir.filePath("pipe.csv");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString& target : {fifo, folder})
            QCOMPARE(saveExportFile(target, "Time;Value\n"),
                     "Cannot export to " + target + ": it is not a regular file");
        const QString missing = dir.filePath("none/export.csv");
        QCOMPARE(saveExportFile(missing, "Time;Value\n"),
                 "Cannot export to " + missing + ": the folder " + dir.filePath("none") + " does not exist");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System), QStringList{"pipe.csv"});
    }

    // An exit before the wait ends the next wait at once, but only that one; foreign ids are ignored. A wait
    // whose dialog is destroyed meanwhile ends.
    void progressEndsOnlyForItsOwnIdAndOnce()
    {
        QWidget window;
        window.show();
        QPointer<ProgressBarUi> progress = new ProgressBarUi(&window);
        progress->exit(4);
        progress->exit(3);
        bool ownExitSent = false;
        QTimer::singleShot(0, progress, [&] {
            progress->exit(6);
            QTimer::singleShot(0, progress, [&] {
                ownExitSent = true;
                progress->exit(5);
            });
        });
        QVERIFY(progress->exec(5) == 1 && ownExitSent);

        bool guardFired = false;
        QTimer::singleShot(0, progress, [&] {
            guardFired = true;
            progress->exit(3);
        });
        QVERIFY(progress->exec(3) == 1 && !guardFired);
        QVERIFY(progress->exec(3) == 1 && guardFired);

        QTimer::singleShot(0, progress, [&] { progress->deleteLater(); });
        QVERIFY(progress->exec(8) == 0 && progress.isNull());
    }

    void browserButtonReportsItsPropertyAndFollowsIt()
    {
        ButtonManager manager(nullptr);
        ButtonFactory factory(nullptr);
        QtTreePropertyBrowser browser;
        browser.setFactoryForManager(&manager, &factory);
        manager.addProperty("Teach output 2");
        QtProperty* teach = manager.addProperty("Teach output 1");
        manager.setValue(teach, "Teach");
        browser.addProperty(teach);
        browser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&browser));
        browser.editItem(browser.topLevelItem(teach));
        auto* button = browser.findChild<QPushButton*>();
        QVERIFY(button && button->text() == "Teach");
        QList<QtProperty*> clicked;
        connect(&manager, &ButtonManager::buttonClicked, this, [&](QtProperty* p) { clicked.append(p); });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked, QList<QtProperty*>{teach});

        // An open button follows its property's text and state; one made while it is disabled starts so.
        manager.setValue(teach, "Zurücksetzen");
        QCOMPARE(button->text(), QString("Zurücksetzen"));
        teach->setEnabled(false);
        QWidget parent;
        QtAbstractEditorFactoryBase& editors = factory;
        auto* late = qobject_cast<QPushButton*>(editors.createEditor(teach, &parent));
        QVERIFY(!button->isEnabled() && late && !late->isEnabled());
        teach->setEnabled(true);
        QVERIFY(button->isEnabled() && late->isEnabled());
    }
};

QTEST_MAIN(WidgetsTest)
#include "tst_utils_widgets.moc"
