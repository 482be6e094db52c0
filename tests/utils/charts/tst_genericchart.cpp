// The live chart in a main window: following, panning and zooming, breaks and marks for states and gaps.
#include <utils/ValueOverTime.h>
#include <utils/charts/GenericChart.h>
#include <utils/charts/StateMarksItem.h>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_map.h>

#include <QMainWindow>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace Utils::Charts;

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

    void cleanup() { m_window.reset(); }

    void timePlotFollowsNewestUntilPanned()
    {
        // Following, the newest sample keeps clear of the right edge.
        m_chart->setMinPanOffset(0, 160);
        const double startTime = 1717171717000.0;
        for (int i = 0; i < 1500; ++i)
            m_chart->vAppendData(0, 500.0, false, startTime + i * 100.0, false, -1.0, -1.0);
        double newest = startTime + 1499 * 100.0;
        m_chart->updateChart(false);
        QVERIFY(m_chart->getXMax(0) > newest &&
                m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).maxValue() == m_chart->getXMax(0));

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
        for (int i = 1; i <= 100; ++i)
            m_chart->vAppendData(0, 600.0, false, newest + i * 100.0, false, -1.0, -1.0);
        newest += 100 * 100.0;
        QCOMPARE(m_chart->getXMax(0), panned);

        QSignalSpy reset(m_chart, &GenericChart::vSignalZommResetForNoiseLine);
        QSignalSpy independent(m_chart, &GenericChart::IndependentPlotDoubleClick);
        m_chart->jumpToPlottingArea();
        QVERIFY(reset.count() == 1 && m_chart->getXMax(0) > newest);

        // The wheel zooms the time axis; a double click resets zoom and view.
        const double span = m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).width();
        QWheelEvent wheel(QPointF(middle), QPointF(canvas->mapToGlobal(middle)), QPoint(), QPoint(0, 240),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &wheel);
        QVERIFY(m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).width() < span * 0.7);
        QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, middle);
        QVERIFY(reset.count() == 2 && m_chart->poPlot(0)->axisInterval(QwtPlot::xBottom).width() == span);

        // The independent plot reports its double click instead.
        QTest::mouseDClick(m_chart->poPlot(1)->canvas(), Qt::LeftButton);
        QCOMPARE(QList<QVariantList>(independent), QList<QVariantList>{{1}});
        QCOMPARE(reset.count(), 2);
    }

    // A gap ends the line where live data stopped: it is drawn as a break until the next sample and kept in
    // the history once however often it is asked for. States break the line too and are marked in their
    // colours, too close at the bottom, the others at the top.
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
        QString drawn;
        for (std::size_t i = 0; i < curve->dataSize(); ++i)
            drawn += std::isnan(curve->sample(int(i)).y()) ? '|' : '-';
        QCOMPARE(drawn, QString("--|-|-|-|-"));
        const Utils::ValueOverTime* history = m_chart->getData(0);
        QVERIFY(history->size() == 11 && std::equal(states, states + 9, history->stateData()));
        QVERIFY(history->state(9) == State::Gap && history->x(9) >= from + 8000.0 &&
                history->x(9) <= history->x(10));
    }

private:
    std::unique_ptr<QMainWindow> m_window;
    GenericChart* m_chart = nullptr;
};

QTEST_MAIN(GenericChartTest)

#include "tst_genericchart.moc"
