// The live chart in a main window: time plots following new data, breaks and
// marks for states and gaps, texts, echo bars and double clicks.
#include <utils/ValueOverTime.h>
#include <utils/charts/DecimatedSeriesData.h>
#include <utils/charts/EchoBarsItem.h>
#include <utils/charts/GenericChart.h>
#include <utils/charts/StateMarksItem.h>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_textlabel.h>
#include <qwt_scale_map.h>

#include <QAction>
#include <QDateTime>
#include <QDockWidget>
#include <QMainWindow>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace Utils::Charts;

namespace {

constexpr double startTime = 1717171717000.0;

QwtPlotCurve* historyCurve(QwtPlot* plot)
{
    const QwtPlotItemList curves = plot->itemList(QwtPlotItem::Rtti_PlotCurve);
    return curves.isEmpty() ? nullptr : static_cast<QwtPlotCurve*>(curves.first());
}

QStringList canvasTexts(QwtPlot* plot)
{
    QStringList texts;
    for (QwtPlotItem* item : plot->itemList(QwtPlotItem::Rtti_PlotTextLabel)) {
        if (item->isVisible())
            texts << static_cast<QwtPlotTextLabel*>(item)->text().text();
    }
    return texts;
}

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
        appendSamples(*m_chart, 10, newest + 100.0, 100.0, 700.0);
        newest += 10 * 100.0;
        QVERIFY(m_chart->getXMax(0) > newest);

        // The wheel zooms the time axis; a double click resets zoom and view.
        const double span = m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).width();
        QWheelEvent wheel(QPointF(middle), QPointF(canvas->mapToGlobal(middle)), QPoint(), QPoint(0, 240),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
        QVERIFY(m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).width() < span * 0.7);
        QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, middle);
        QCOMPARE(reset.count(), 2);
        QCOMPARE(independent.count(), 0);
        QCOMPARE(m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).width(), span);

        // The independent plot reports its double click instead, and not while the chart is disabled.
        QTest::mouseDClick(m_chart->poPlot(1)->canvas(), Qt::LeftButton);
        QCOMPARE(QList<QVariantList>(independent), QList<QVariantList>{{1}});
        QCOMPARE(reset.count(), 2);
        m_chart->setEnabled(false);
        QTest::mouseDClick(m_chart->poPlot(1)->canvas(), Qt::LeftButton);
        QCOMPARE(independent.count(), 1);
    }

    // A gap ends the line where live data stopped: it is drawn as a break until
    // the next sample, kept in the history once however often it is asked for,
    // and leaves no current value on the canvas. States break the line too and
    // are marked in their colours, too close at the bottom, the others at the top.
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
        QVERIFY(!canvasTexts(m_chart->poPlot(0)).contains(QStringLiteral("540.0")));
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

        const QwtPlotCurve* curve = historyCurve(m_chart->poPlot(0));
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

    void textsShowTitleAndCustomTextOrValue()
    {
        m_chart->setCurrentValuePrecision(0, 1);
        m_chart->vAppendData(0, 512.46, true, -65000.0, false, -1.0, -1.0);
        QVERIFY(canvasTexts(m_chart->poPlot(0)).contains(QStringLiteral("512.5")));
        m_chart->vSetValueMarkerCustomText(QStringLiteral("No data"));
        QVERIFY(canvasTexts(m_chart->poPlot(0)).contains(QStringLiteral("No data")));
        m_chart->vSetValueMarkerCustomText(QString());
        QVERIFY(canvasTexts(m_chart->poPlot(0)).contains(QStringLiteral("512.5")));
        m_chart->vSetMarkerVisible(0, false);
        QVERIFY(!canvasTexts(m_chart->poPlot(0)).contains(QStringLiteral("512.5")));

        m_chart->setPlotTitle(0, QStringLiteral("Distance"), true, QString(), false);
        QVERIFY(canvasTexts(m_chart->poPlot(0)).contains(QStringLiteral("Distance")));
        m_chart->vHideSignalText(0);
        QVERIFY(!canvasTexts(m_chart->poPlot(0)).contains(QStringLiteral("Distance")));

        m_chart->setPlotTitle(1, QStringLiteral("Signal"), true, QStringLiteral(" mm "), true);
        m_chart->translateDockTitleBarTexts();
        QCOMPARE(m_chart->getDockChartItem(1)->windowTitle(), QStringLiteral("Signal mm"));
        QCOMPARE(m_chart->dockToggleAction(1)->text(), QStringLiteral("Signal mm"));
    }

    void reducedSeriesIsRebuiltOnlyOnChange()
    {
        appendSamples(*m_chart, 100000, startTime, 10.0, 300.0);
        m_chart->setVisibleTimeSpan(2000.0);
        auto* series = dynamic_cast<DecimatedSeriesData*>(historyCurve(m_chart->poPlot(0))->data());
        QVERIFY(series != nullptr);
        m_chart->updateChart(true);
        m_chart->poPlot(0)->canvas()->grab();
        const int rebuilds = series->rebuildCount();
        QVERIFY(series->size() <= std::size_t(4 * (m_chart->plotWidth(0) + 2)));
        m_chart->updateChart(true);
        m_chart->poPlot(0)->canvas()->grab();
        QCOMPARE(series->rebuildCount(), rebuilds);
        // New data move the view and change the data: one rebuild.
        m_chart->vAppendData(0, 400.0, false, startTime + 1e6, false, -1.0, -1.0);
        m_chart->updateChart(false);
        m_chart->poPlot(0)->canvas()->grab();
        QCOMPARE(series->rebuildCount(), rebuilds + 1);
    }

    void echoLinesCountAndPens()
    {
        m_chart->setScale(1, 0.0, 1600.0);
        m_chart->setPlotAxisScale(1, 0.0, 10001.0, 2000.0);
        m_chart->vCreateRectangles(1, 4);
        m_chart->vUpdateXLines(1, {1000.0, 3000.0, 5000.0, 7000.0}, {400.0, 800.0, 1200.0, 200.0});
        QCOMPARE(m_chart->nGetLinesSize(), 4);
        const QColor highlight(0, 97, 158);
        m_chart->vSetXLinesPen(2, highlight);
        QwtPlot* plot = m_chart->poPlot(1);
        auto* bars = static_cast<EchoBarsItem*>(plot->itemList(QwtPlotItem::Rtti_PlotUserItem + 1).value(0));
        QVERIFY(bars);

        // The highlighted bar is painted in its colour up to its height, the others not.
        m_chart->updateChart(true);
        const QImage image = plot->canvas()->grab().toImage();
        const int x = int(plot->canvasMap(QwtPlot::xBottom).transform(5000.0));
        const QwtScaleMap yMap = plot->canvasMap(QwtPlot::yLeft);
        QCOMPARE(QColor(image.pixel(x, int(yMap.transform(600.0)))), highlight);
        QVERIFY(QColor(image.pixel(x, int(yMap.transform(1400.0)))) != highlight);
        const int other = int(plot->canvasMap(QwtPlot::xBottom).transform(3000.0));
        QVERIFY(QColor(image.pixel(other, int(yMap.transform(400.0)))) != highlight);

        // New echoes come in the default colour; the list may shrink.
        m_chart->vUpdateXLines(1, {1500.0, 2500.0}, {100.0, 200.0, 300.0});
        QCOMPARE(m_chart->nGetLinesSize(), 2);
        QCOMPARE(bars->bar(1).color, EchoBarsItem::defaultColor());
        QCOMPARE(bars->bar(1).x, 2500.0);
        m_chart->vClearXLines();
        QCOMPARE(m_chart->nGetLinesSize(), 0);
    }

private:
    std::unique_ptr<QMainWindow> m_window;
    GenericChart* m_chart = nullptr;
};

QTEST_MAIN(GenericChartTest)

#include "tst_genericchart.moc"
