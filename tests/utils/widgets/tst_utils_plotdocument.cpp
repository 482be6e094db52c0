#include <utils/widgets/PlotDocument.h>

#include <QTemporaryDir>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

class PlotDocumentTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void printsThePlotIntoAPdf();
};

void PlotDocumentTest::printsThePlotIntoAPdf()
{
    QwtPlot plot;
    auto* curve = new QwtPlotCurve("distance");
    curve->setSamples(QVector<double>{0, 1, 2, 3}, QVector<double>{120, 180, 90, 150});
    curve->attach(&plot);
    plot.resize(600, 400);
    plot.replot();
    QTemporaryDir dir;
    const QString path = dir.filePath("chart.pdf");
    Utils::PlotDocument document(&plot);
    document.setOutputFileName(path);
    document.vPrintDocument();

    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray content = pdf.readAll();
    QVERIFY(content.startsWith("%PDF"));
    QVERIFY(content.contains("/Type /Page"));
}

QTEST_MAIN(PlotDocumentTest)
#include "tst_utils_plotdocument.moc"
