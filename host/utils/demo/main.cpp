// The chart as a sensor window uses it, with made-up data: a distance over
// time with a switching window and hysteresis, and an echo profile with its
// detection range. For looking at the widget library by eye, and for
// screenshots taken without a display (--screenshot FILE).
#include <utils/charts/GenericChart.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QMainWindow>
#include <QTimer>

#include <cmath>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption screenshotOption("screenshot", "Save a picture of the demo to FILE and quit.",
                                              "FILE");
    parser.addOption(screenshotOption);
    parser.process(app);

    QMainWindow window;
    window.resize(1000, 720);
    Utils::Charts::GenericChart chart(2, &window, &window, false, true);
    chart.setPlotTitle(0, "Distance", true, " mm", false);
    chart.setPlotColor(0, QColor(0, 0, 188), QColor(0, 0, 188, 20), false, 1);
    chart.setScale(0, 0.0, 1000.0);
    chart.setCurrentValuePrecision(0, 1);
    chart.setMinPanOffset(0, 160);
    chart.setPlotTitle(1, "Signal", true, " mm", true);
    chart.setIndependentPlot(1, true);
    chart.setPlotAxisScale(1, 0.0, 1000.0, 200.0);
    chart.setScale(1, 0.0, 1600.0);
    chart.AddLayoutRow(1);
    chart.AddLayoutRow(1);
    chart.UpdateLayout();
    chart.translateDockTitleBarTexts();
    chart.setTimelineScale(2.0, 600.0);
    chart.setVisibleTimeSpan(200.0);

    // Three minutes of a target swinging through the window, with a moment
    // of "no data" and one of "too far" that the chart marks on its top edge.
    const double now = double(QDateTime::currentMSecsSinceEpoch());
    const int samples = 180 * 1000 / 85;
    for (int i = 0; i < samples; ++i) {
        const double t = now - (samples - i) * 85.0;
        if (i > 700 && i < 760)
            chart.vAppendState(0, Utils::SampleState::NoData, false, t);
        else if (i > 1500 && i < 1540)
            chart.vAppendState(0, Utils::SampleState::TooFar, false, t);
        else
            chart.vAppendData(0, 500.0 + 180.0 * std::sin(i / 150.0) + 15.0 * std::sin(i / 9.0), false, t,
                              false, -1.0, -1.0);
    }

    Utils::ThresholdWindowWidgetUniversal distanceMarks(chart.poPlot(0), 0);
    distanceMarks.allowOverlapping(true);
    distanceMarks.setWindowSizeVisible(false);
    distanceMarks.setMiddleMark(500.0);
    distanceMarks.setLowerMark(400.0);
    distanceMarks.setUpperMark(620.0);
    distanceMarks.showLowerMark(true);
    distanceMarks.showUpperMark(true);
    distanceMarks.showMiddleMark(true);
    distanceMarks.setNoise(20.0, -1, false);
    distanceMarks.setNoiseOrientation(true, false, false);
    distanceMarks.setNoiseMiddleMark(0.0, true);

    Utils::ThresholdWindowWidgetUniversal rangeMarks(chart.poPlot(1), 1);
    rangeMarks.setLeftMark(0, 120.0);
    rangeMarks.setRightMark(0, 880.0);
    chart.vUpdateXLines(1, {310.0, 492.0, 705.0, 930.0}, {640.0, 1350.0, 420.0, 180.0});
    chart.vSetXLinesPen(1, QColor(0, 97, 158));

    window.show();
    chart.jumpToPlottingArea();
    chart.updateChart(true);

    const QString screenshot = parser.value(screenshotOption);
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(300, &window, [&window, screenshot] {
            QApplication::exit(window.grab().save(screenshot) ? 0 : 1);
        });
    }
    return QApplication::exec();
}
