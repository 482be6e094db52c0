// The live chart in a main window: time plots following new data, breaks and marks for states and gaps, the
// current value, echo bars and double clicks.
#include <utils/ValueOverTime.h>
#include <utils/charts/EchoBarsItem.h>
#include <utils/charts/GenericChart.h>
#include <utils/charts/StateMarksItem.h>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_textlabel.h>
#include <qwt_scale_map.h>

#include <QMainWindow>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace Utils::Charts;

namespace {

constexpr double startTime = 1717171717000.0;

void appendSamples(GenericChart& chart, int count, double from, double step, double value)
{
    for (int i = 0; i < count; ++i)
        chart.vAppendData(0, value, false, from + i * step, false, -1.0, -1.0);
}

} // namespace

class GenericChartTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_window = std::make_unique<QMainWindow>();
        m_window->resize(900, 700);
        m_chart = new GenericChart(2, m_window.get(), m_window.get(), false, true);
        m_chart->setTimelineScale(2.0, 10500.0);
        m_chart->setIndependentPlot(1, true);
        m_chart->AddLayoutRow(1);
        m_chart->AddLayoutRow(1);
        m_chart->UpdateLayout();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        m_chart = nullptr;
    }

    void timePlotFollowsNewestUntilPanned()
    {
        m_chart->setMinPanOffset(0, 160);
        m_chart->setMaxPanOffset(0, 350);
        appendSamples(*m_chart, 1500, startTime, 100.0, 500.0);
        double newest = startTime + 1499 * 100.0;
        QVERIFY(m_chart->getXMax(0) > newest);
        m_chart->updateChart(false);
        QCOMPARE(m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).maxValue(), m_chart->getXMax(0));
        const QwtScaleMap map = m_chart->poPlot(0)->canvasMap(QwtPlot::xBottom);
        const double offset = map.transform(m_chart->getXMax(0)) - map.transform(newest);
        QVERIFY2(std::abs(offset - 160.0) <= 1.0, qPrintable(QString::number(offset)));

        // Dragging to the right shows older data; the view then stays put.
        QWidget* canvas = m_chart->poPlot(0)->canvas();
        const QPoint middle = canvas->rect().center();
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, middle);
        // QTest's mouse move carries no buttons; a drag needs them.
        QMouseEvent drag(QEvent::MouseMove, QPointF(middle + QPoint(200, 0)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(canvas, &drag);
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, middle + QPoint(200, 0));
        const double panned = m_chart->getXMax(0);
        QVERIFY(panned < newest);
        appendSamples(*m_chart, 100, newest + 100.0, 100.0, 600.0);
        newest += 100 * 100.0;
        QCOMPARE(m_chart->getXMax(0), panned);

        QSignalSpy reset(m_chart, &GenericChart::vSignalZommResetForNoiseLine);
        QSignalSpy independent(m_chart, &GenericChart::IndependentPlotDoubleClick);
        m_chart->jumpToPlottingArea();
        QCOMPARE(reset.count(), 1);
        QVERIFY(m_chart->getXMax(0) > newest);

        // The wheel zooms the time axis; a double click resets zoom and view.
        const double span = m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).width();
        QWheelEvent wheel(QPointF(middle), QPointF(canvas->mapToGlobal(middle)), QPoint(), QPoint(0, 240),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
        QVERIFY(m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).width() < span * 0.7);
        QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, middle);
        QCOMPARE(reset.count(), 2);
        QCOMPARE(m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).width(), span);

        // The independent plot reports its double click instead.
        QTest::mouseDClick(m_chart->poPlot(1)->canvas(), Qt::LeftButton);
        QCOMPARE(QList<QVariantList>(independent), QList<QVariantList>{{1}});
        QCOMPARE(reset.count(), 2);
    }

    // A gap ends the line where live data stopped: it is drawn as a break until the next sample, kept in the
    // history once however often it is asked for, and leaves no current value on the canvas. States break the
    // line too and are marked in their colours, too close at the bottom, the others at the top.
    void statesAndGapsAreDrawnAsBreaksButKept()
    {
        m_chart->vAppendGap(0);
        QCOMPARE(m_chart->getData(0)->size(), 0);
        m_chart->setScale(0, 0.0, 1000.0);
        const double from = double(QDateTime::currentMSecsSinceEpoch()) - 20000.0;
        using State = Utils::SampleState;
        const State states[] = {State::Value,  State::Value, State::NoData,   State::NoData, State::Value,
                                State::TooFar, State::Value, State::TooClose, State::Value};
        for (int i = 0; i < 9; ++i) {
            if (states[i] == State::Value)
                m_chart->vAppendData(0, 500 + i, false, from + i * 1000.0, false, -1.0, -1.0);
            else
                m_chart->vAppendState(0, states[i], false, from + i * 1000.0);
        }
        m_chart->vAppendGap(0);
        m_chart->vAppendGap(0);
        for (QwtPlotItem* label : m_chart->poPlot(0)->itemList(QwtPlotItem::Rtti_PlotTextLabel))
            QVERIFY(!label->isVisible() || static_cast<QwtPlotTextLabel*>(label)->text().text() != "508.0");
        m_chart->vAppendData(0, 550, true, -65000.0, false, -1.0, -1.0);
        m_chart->updateChart(true);
        const QImage image = m_chart->poPlot(0)->canvas()->grab().toImage();
        const QwtScaleMap xMap = m_chart->poPlot(0)->canvasMap(QwtPlot::xBottom);
        for (int i : {2, 5, 7}) {
            const int x = int(std::lround(xMap.transform(from + i * 1000.0)));
            const QColor colour = StateMarksItem::color(states[i]);
            const int rows = image.height() / int(image.devicePixelRatio());
            int found = -1;
            for (int y = 0; y < rows && found < 0; ++y)
                found = QColor(image.pixel(x, y)) == colour ? y : -1;
            QVERIFY2(found >= 0, qPrintable(QString::number(i)));
            QCOMPARE(found < rows / 2, states[i] != State::TooClose);
        }

        const auto* curve =
            static_cast<QwtPlotCurve*>(m_chart->poPlot(0)->itemList(QwtPlotItem::Rtti_PlotCurve).value(0));
        int breaks = 0;
        for (std::size_t i = 0; i < curve->dataSize(); ++i)
            breaks += std::isnan(curve->sample(int(i)).y());
        QCOMPARE(breaks, 4);
        QCOMPARE(curve->dataSize(), std::size_t(10));
        const Utils::ValueOverTime* history = m_chart->getData(0);
        QCOMPARE(history->size(), 11);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(history->state(i), states[i]);
        QVERIFY(std::isnan(history->y(9)));
        QVERIFY(history->x(9) >= from + 8000.0 && history->x(9) <= history->x(10));
    }

    void echoLinesFollowTheEchoes()
    {
        m_chart->setScale(1, 0.0, 1600.0);
        m_chart->setPlotAxisScale(1, 0.0, 10001.0, 2000.0);
        m_chart->vCreateRectangles(1, 4);
        m_chart->vUpdateXLines(1, {1000.0, 3000.0, 5000.0, 7000.0}, {400.0, 800.0, 1200.0, 200.0});
        QCOMPARE(m_chart->nGetLinesSize(), 4);
        m_chart->vSetXLinesPen(1, Qt::red);
        auto* bars = static_cast<EchoBarsItem*>(
            m_chart->poPlot(1)->itemList(QwtPlotItem::Rtti_PlotUserItem + 1).value(0));
        QVERIFY(bars);
        QCOMPARE((QList<double>{bars->bar(1).x, bars->bar(1).height}), (QList<double>{3000.0, 800.0}));
        QCOMPARE(bars->bar(1).color, QColor(Qt::red));

        // New echoes come in the default colour; the list may shrink.
        m_chart->vUpdateXLines(1, {1500.0, 2500.0}, {100.0, 200.0, 300.0});
        QCOMPARE(m_chart->nGetLinesSize(), 2);
        QCOMPARE((QList<double>{bars->bar(1).x, bars->bar(1).height}), (QList<double>{2500.0, 200.0}));
        QCOMPARE(bars->bar(1).color, EchoBarsItem::defaultColor());
        m_chart->vClearXLines();
        QCOMPARE(m_chart->nGetLinesSize(), 0);
    }

private:
    std::unique_ptr<QMainWindow> m_window;
    GenericChart* m_chart = nullptr;
};

QTEST_MAIN(GenericChartTest)

#include "tst_genericchart.moc"
