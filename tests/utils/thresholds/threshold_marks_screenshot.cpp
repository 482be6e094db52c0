// Renders a distance plot with window marks and hysteresis bands above a
// signal plot with a detection range into one picture.
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>

#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <cmath>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file.png>\n", argv[0]);
        return 2;
    }

    QWidget window;
    window.resize(760, 640);
    auto* layout = new QVBoxLayout(&window);

    auto* distancePlot = new QwtPlot(QwtText(QStringLiteral("Distance")), &window);
    distancePlot->setAxisScale(QwtPlot::yLeft, 0.0, 1000.0);
    distancePlot->setAxisScale(QwtPlot::xBottom, 0.0, 100.0);
    auto* distance = new QwtPlotCurve();
    QVector<QPointF> samples;
    for (int i = 0; i <= 100; ++i)
        samples.append(QPointF(i, 500.0 + 180.0 * std::sin(i / 9.0)));
    distance->setSamples(samples);
    distance->setPen(QColor(0, 0, 188), 1.0);
    distance->attach(distancePlot);
    layout->addWidget(distancePlot);

    auto* window0 = new Utils::ThresholdWindowWidgetUniversal(distancePlot, 0);
    window0->setMiddleMark(500.0);
    window0->setLowerMark(380.0);
    window0->setUpperMark(620.0);
    window0->setNoise(40.0, -1, false);
    window0->setNoiseOrientation(true, false, false);
    window0->setNoiseMiddleMark(60.0, true);
    window0->showLowerMark(true);
    window0->showUpperMark(true);
    window0->showMiddleMark(true);

    auto* signalPlot = new QwtPlot(QwtText(QStringLiteral("Signal")), &window);
    signalPlot->setAxisScale(QwtPlot::xBottom, 0.0, 10001.0, 2000.0);
    signalPlot->setAxisScale(QwtPlot::yLeft, 0.0, 1600.0);
    layout->addWidget(signalPlot);
    auto* range = new Utils::ThresholdWindowWidgetUniversal(signalPlot, 1);
    range->setLeftMark(0, 1500.0);
    range->setRightMark(0, 8200.0);

    window.show();
    app.processEvents();
    distancePlot->replot();
    signalPlot->replot();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
