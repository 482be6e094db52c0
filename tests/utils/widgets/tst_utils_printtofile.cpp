// Printing a chart into a PDF file: the file is written beside its target
// and renamed over it, so a print that fails leaves an older file as it was
// and says why. What the file name may be is up to the shared file
// replacement, tested with the export.
#include <utils/widgets/PlotDocument.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <FileFaults.h>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

class PrintToFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void failedPrintKeepsTheOldFileAndAGoodOneReplacesIt();
};

void PrintToFileTest::failedPrintKeepsTheOldFileAndAGoodOneReplacesIt()
{
    QwtPlot plot;
    auto* curve = new QwtPlotCurve("distance");
    curve->setSamples(QVector<double>{0, 1, 2, 3}, QVector<double>{120, 180, 90, 150});
    curve->attach(&plot);
    plot.resize(600, 400);
    plot.replot();
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.pdf");
    const QByteArray old = "an older print\n";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    Utils::PlotDocument document(&plot);
    QSignalSpy failed(&document, &Utils::PlotDocument::printFailed);
    document.setOutputFileName(path);
    {
        const FileSizeLimit limit(512);
        document.vPrintDocument();
    }
    QCOMPARE(failed.size(), 1);
    QVERIFY2(document.errorString().startsWith("Cannot print to " + path + ": "),
             qPrintable(document.errorString()));
    QCOMPARE(failed.at(0).at(0).toString(), document.errorString());
    QCOMPARE(contentOf(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.pdf"});

    // The next print succeeds, forgets the failure and leaves only the new file.
    document.vPrintDocument();
    QCOMPARE(failed.size(), 1);
    QCOMPARE(document.errorString(), QString());
    const QByteArray pdf = contentOf(path);
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.contains("/Type /Page"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.pdf"});
}

QTEST_MAIN(PrintToFileTest)
#include "tst_utils_printtofile.moc"
