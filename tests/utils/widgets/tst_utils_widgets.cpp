// libUtils' small widgets and dialogs: the export text and file, the export
// dialog's file name, printing, the progress wait, the property browser's
// button, the built-in icons and the connection status.
#include <utils/ValueOverTime.h>
#include <utils/widgets/ButtonFactory.h>
#include <utils/widgets/ButtonManager.h>
#include <utils/widgets/ConnectionStatus.h>
#include <utils/widgets/ExportDialog.h>
#include <utils/widgets/ExportText.h>
#include <utils/widgets/PlotDocument.h>
#include <utils/widgets/ProgressBarUi.h>

#include <FileFaults.h>

#include <qttreepropertybrowser.h>
#include <qwt_plot.h>

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <ctime>
#include <limits>

#include <sys/stat.h>

using namespace Utils;

namespace {

double localMs(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return double(QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms)).toMSecsSinceEpoch());
}

QList<QByteArray> lines(const QByteArray& text)
{
    return text.split('\n').mid(0, text.count('\n'));
}

} // namespace

class WidgetsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A zone with daylight-saving switches, which the day-wise time conversion must handle.
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }

    void delimiterAndFileNameFollowTheChoice()
    {
        using Choice = ExportDelimiterChoice;
        const std::pair<Choice, QByteArray> cases[] = {
            {{true, false, false, false, false, ""}, "\t"}, {{false, true, true, false, false, ""}, ",;"},
            {{false, false, false, false, false, "|"}, ""}, // a text without its box
            {{false, false, false, false, true, "|"}, "|"}, {{true, true, true, true, true, "|"}, "\t,; |"},
        };
        for (const auto& [choice, delimiter] : cases)
            QCOMPARE(exportDelimiter(choice), delimiter);
        QCOMPARE(proposedExportFileName(QDate(2026, 12, 4)), QStringLiteral("export-04-12-2026.csv"));
    }

    void linesHoldLocalTimeValueUnitAndState()
    {
        ValueOverTime data;
        data.append(localMs(2025, 7, 1, 0, 0, 0, 1), 1234.6);
        data.append(localMs(2025, 12, 31, 23, 59, 59, 999), -7.6);
        // A fractional millisecond is cut off.
        data.append(localMs(2026, 3, 9, 14, 7, 3, 40) + 0.75, -12.4);
        // A gap and the states keep their times, leave the value empty and say what they are.
        data.append(localMs(2026, 3, 9, 14, 7, 4, 0), std::numeric_limits<double>::quiet_NaN());
        data.appendState(localMs(2026, 3, 9, 14, 7, 5, 0), SampleState::TooClose);
        data.appendState(localMs(2026, 3, 9, 14, 7, 6, 0), SampleState::TooFar);
        data.appendState(localMs(2026, 3, 9, 14, 7, 7, 0), SampleState::NoData);
        const QList<QByteArray> expected = {
            "Zeit,;Abstand,;Einheit,;Zustand",        "01-07-2025 00:00:00.001,;1235,;in,;",
            "31-12-2025 23:59:59.999,;-8,;in,;",      "09-03-2026 14:07:03.040,;-12,;in,;",
            "09-03-2026 14:07:04.000,;,;in,;gap",     "09-03-2026 14:07:05.000,;,;in,;too close",
            "09-03-2026 14:07:06.000,;,;in,;too far", "09-03-2026 14:07:07.000,;,;in,;no data"};
        QCOMPARE(lines(exportText(data, ",;", {"Zeit", "Abstand", "Einheit", "Zustand"}, "in")), expected);
        QCOMPARE(lines(exportText(data, ",;", {"Zeit", "Abstand", "Einheit", "Zustand"}, "in", 2)),
                 expected.mid(0, 3));
    }

    // Every 37 minutes over a year and a half, and every minute around both clock changes of 2026,
    // checked against a plain QDateTime conversion of each sample.
    void localTimeStaysRightAcrossDaysAndClockChanges()
    {
        ValueOverTime data;
        const double start = localMs(2025, 10, 20, 0, 0, 0, 0);
        for (double t = start; t < start + 540.0 * 86400000; t += 37 * 60000 + 123)
            data.append(t, 1.0);
        for (const double around : {localMs(2026, 3, 29, 1, 0, 0, 0), localMs(2026, 10, 25, 1, 0, 0, 0)}) {
            for (double t = around; t < around + 3 * 3600000; t += 59999)
                data.append(t, 2.0);
        }
        const QList<QByteArray> text = lines(exportText(data, " ", {"Time", "Value", "Unit", "State"}, "mm"));
        QCOMPARE(text.size(), data.size() + 1);
        for (int i = 0; i < data.size(); ++i) {
            const QString time =
                QDateTime::fromMSecsSinceEpoch(qint64(data.x(i))).toString("dd-MM-yyyy hh:mm:ss.zzz");
            QCOMPARE(QString::fromLatin1(text[i + 1]),
                     time + " " + QString::number(data.y(i), 'f', 0) + " mm ");
        }
    }

    // The folder's name is not ASCII: paths are the file system's bytes. A pipe, a folder or a
    // missing folder is refused with the reason and left as it was, and so is an older file when the
    // disk is full.
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
        for (const QString& target : {fifo, folder}) {
            QCOMPARE(saveExportFile(target, "Time;Value\n"),
                     "Cannot export to " + target + ": it is not a regular file");
        }
        const QString missing = dir.filePath("none/export.csv");
        QCOMPARE(saveExportFile(missing, "Time;Value\n"),
                 "Cannot export to " + missing + ": the folder " + dir.filePath("none") + " does not exist");
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System), QStringList{"pipe.csv"});
    }

    // Export is offered only with a file name, which browsing proposes with the date; cancelling
    // or accepting without a name writes nothing.
    void exportNeedsANameAndWritesNothingWhenCancelled()
    {
        ValueOverTime history;
        history.append(1e12, 1.0);
        QList<const ValueOverTime*> series{&history};
        QList<QString> names{"Time", "Signal"};
        ExportDialog dialog(&series, &names);
        QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        auto* name = dialog.findChild<QLineEdit*>("fileName");
        QVERIFY(!ok->isEnabled());
        QTemporaryDir dir;
        const QString chosen = dir.filePath("chosen.csv");
        QString proposed;
        QTimer::singleShot(0, this, [&] {
            if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                proposed = QFileInfo(files->selectedFiles().value(0)).fileName();
                files->selectFile(chosen);
                static_cast<QDialog*>(files)->accept();
            }
        });
        dialog.findChild<QPushButton*>("browse")->click();
        QCOMPARE(proposed, proposedExportFileName(QDate::currentDate()));
        QCOMPARE(name->text(), chosen);
        QVERIFY(ok->isEnabled());
        dialog.reject();
        name->clear();
        QVERIFY(!ok->isEnabled());
        dialog.accept();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    // A chart is printed into a PDF beside its target and renamed over it, so a print that fails
    // leaves an older file as it was and says why.
    void failedPrintKeepsTheOldFileAndAGoodOneReplacesIt()
    {
        QwtPlot plot;
        plot.resize(600, 400);
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.pdf");
        QCOMPARE(saveExportFile(path, "an older print\n"), QString());
        PlotDocument document(&plot);
        QSignalSpy failed(&document, &PlotDocument::printFailed);
        document.setOutputFileName(path);
        {
            const FileSizeLimit limit(512);
            document.vPrintDocument();
        }
        QVERIFY2(document.errorString().startsWith("Cannot print to " + path + ": "),
                 qPrintable(document.errorString()));
        QCOMPARE(QList<QVariantList>(failed), QList<QVariantList>{{document.errorString()}});
        QCOMPARE(contentOf(path), QByteArray("an older print\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.pdf"});

        document.vPrintDocument();
        QCOMPARE(document.errorString(), QString());
        QVERIFY(contentOf(path).startsWith("%PDF-"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.pdf"});
    }

    // A wrongly ended wait shows as a failed check; one that never ends fails by the time-out. An
    // exit before the wait ends the next wait at once, but only that one; foreign ids are ignored.
    // A wait that is not to be shown stays hidden past the delay after which a wait is shown; one
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
        QCOMPARE(progress->exec(5), 1);
        QVERIFY(ownExitSent);

        bool guardFired = false;
        QTimer guard;
        connect(&guard, &QTimer::timeout, progress, [&] {
            guardFired = true;
            guard.stop();
            progress->exit(3);
        });
        guard.start(0);
        QCOMPARE(progress->exec(3), 1);
        QVERIFY(!guardFired);
        QCOMPARE(progress->exec(3), 1);
        QVERIFY(guardFired);

        progress->setShowUi(false);
        bool visible = true;
        QTimer::singleShot(400, progress, [&] {
            visible = progress->isVisible();
            progress->exit(11);
        });
        QCOMPARE(progress->exec(11), 1);
        QVERIFY(!visible);
        QTimer::singleShot(0, progress, [&] { progress->deleteLater(); });
        QCOMPARE(progress->exec(8), 0);
        QVERIFY(progress.isNull());
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
        QVERIFY(button);
        QCOMPARE(button->text(), QString("Teach"));
        QList<QtProperty*> clicked;
        connect(&manager, &ButtonManager::buttonClicked, this, [&](QtProperty* p) { clicked.append(p); });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked, QList<QtProperty*>{teach});

        // An open button follows its property's text and state; one made while the property is
        // disabled starts disabled.
        manager.setValue(teach, "Zurücksetzen");
        QCOMPARE(button->text(), QString("Zurücksetzen"));
        QCOMPARE(teach->valueText(), QString("Zurücksetzen"));
        teach->setEnabled(false);
        QVERIFY(!button->isEnabled());
        QWidget parent;
        QtAbstractEditorFactoryBase& editors = factory;
        auto* late = qobject_cast<QPushButton*>(editors.createEditor(teach, &parent));
        QVERIFY(late && !late->isEnabled());
        teach->setEnabled(true);
        QVERIFY(button->isEnabled() && late->isEnabled());
    }

    // The icons plug-ins name by resource path come built into the widget library, each of the
    // format its name promises and not a blank or single-coloured square.
    void everyIconLoads()
    {
        const QString main =
            "!_galben_cerc_negru.svg Connection_image_new-01.svg Export.svg Menuebaum.svg PNBC.jpg "
            "Reset.svg Sensorenliste.svg Verlauf_Loeschen.svg button.svg connect_sensor_pc.svg "
            "connect_yes.svg edit_delete_all.svg file_open.svg file_print.svg file_save.svg "
            "kavrix-tool-configure.svg led_state_1_1.svg led_state_1_2.svg led_state_2_1.svg "
            "led_state_2_2.svg led_state_F_2.svg lesen.svg libary.svg recorder_play.svg "
            "schreiben.svg temporaer_schreiben.svg";
        QStringList paths;
        for (const QString& name : main.split(' '))
            paths << ":/newPrefix/icons/" + name;
        for (const char* name :
             {"schreiben.svg", "schreiben2cerc.svg", "arrow_down.png", "Process_data_new-01.svg"})
            paths << QStringLiteral(":/icons/icons/") + name;
        for (const QString& path : paths) {
            QImageReader reader(path);
            const QString suffix = QFileInfo(path).suffix();
            QCOMPARE(QString(reader.format()), suffix == "jpg" ? QString("jpeg") : suffix);
            const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
            QVERIFY2(!QIcon(path).pixmap(24, 24).isNull(), qPrintable(path));
            QSet<QRgb> colours;
            for (int y = 0; y < image.height() && colours.size() < 3; ++y) {
                for (int x = 0; x < image.width(); ++x)
                    colours.insert(image.pixel(x, y));
            }
            QVERIFY2(colours.size() > 2, qPrintable(path));
        }
    }

    void connectionStatusShowsTheState()
    {
        ConnectionStatus status(nullptr);
        const auto texts = [&status] {
            QStringList result;
            for (const QLabel* label : status.findChildren<QLabel*>())
                result << label->text();
            return result;
        };
        QVERIFY(!status.isConnected() && texts().contains("Not connected"));
        status.setConnected(true);
        QVERIFY(status.isConnected() && texts().contains("Connected"));
        status.setConnected(false);
        QVERIFY(texts().contains("Not connected"));
    }
};

QTEST_MAIN(WidgetsTest)
#include "tst_utils_widgets.moc"
