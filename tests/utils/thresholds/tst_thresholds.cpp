// Threshold marks: the values kept per output, and the marks on a plot as a user drags them.
#include <CanvasDrag.h>

#include <utils/thresholds/ThresholdMultiManager.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>

#include <QtTest>
#include <qwt_plot.h>
#include <qwt_scale_map.h>

using namespace Utils;
using Marks = ThresholdWindowWidgetUniversal;

class ThresholdsTest : public QObject
{
    Q_OBJECT

private slots:
    // Only a real change to an output that exists is reported, with its mark and value; each output and
    // component keeps its own values, and a dropped output forgets them and takes no new ones.
    void managerKeepsAndReportsValuesOfCountedOutputs()
    {
        ThresholdMultiManager manager(2);
        QSignalSpy changed(&manager, &ThresholdMultiManager::emitValueChanged);
        manager.setHigh(1, 0, 530.0);
        manager.setHigh(1, 0, 530.0);
        manager.setLow(2, 0, 470.0);
        manager.setMiddle(2, 1, 710.0);
        manager.setLow(0, 0, 10.0);
        manager.setLow(3, 0, 10.0);
        QCOMPARE(QList<QVariantList>(changed), (QList<QVariantList>{{1u, 530.0}, {0u, 470.0}, {2u, 710.0}}));
        QCOMPARE((QList<double>{manager.high(1, 0), manager.low(1, 0), manager.low(2, 0),
                                manager.middle(2, 0), manager.middle(2, 1), manager.low(2, 1)}),
                 (QList<double>{530, 0, 470, 0, 710, 0}));
        manager.setOutputs(1);
        manager.setLow(2, 0, 90.0);
        QVERIFY(changed.count() == 3 && manager.low(2, 0) == 0.0);
    }

    // Lower 300, middle 500, upper 700 across; a range from 100 to 800 upright.
    void init()
    {
        m_plot = new QwtPlot();
        m_plot->resize(640, 480);
        m_plot->setAxisScale(QwtPlot::yLeft, 0.0, 1000.0);
        m_plot->setAxisScale(QwtPlot::xBottom, 0.0, 1000.0);
        m_marks = new Marks(m_plot, 3);
        m_marks->setLowerMark(300.0);
        m_marks->setMiddleMark(500.0);
        m_marks->setUpperMark(700.0);
        for (void (Marks::*show)(bool) :
             {&Marks::showLowerMark, &Marks::showMiddleMark, &Marks::showUpperMark})
            (m_marks->*show)(true);
        m_marks->setLeftMark(0, 100.0);
        m_marks->setRightMark(0, 800.0);
        m_plot->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_plot));
        m_plot->replot();
    }

    void cleanup() { delete m_plot; }

    void dragReportsMarkAndValueUnlessReadOnly()
    {
        const std::tuple<uint, double, double> drags[] = {{Marks::LowerMark, 300.0, 150.0},
                                                          {Marks::UpperMark, 700.0, 900.0},
                                                          {Marks::MiddleMark, 500.0, 420.0},
                                                          {Marks::LeftMark, 100.0, 250.0},
                                                          {Marks::RightMark, 800.0, 640.0}};
        for (const auto& [mark, start, target] : drags) {
            cleanup();
            init();
            QSignalSpy changed(m_marks, &Marks::emitValueChanged);
            const Qt::Orientation along = mark >= Marks::LeftMark ? Qt::Horizontal : Qt::Vertical;
            drag(along, start, target);
            QVERIFY(changed.count() == 1 && changed.at(0).at(0).toUInt() == mark);
            const double value = changed.at(0).at(1).toDouble();
            const QwtScaleMap map =
                m_plot->canvasMap(along == Qt::Vertical ? QwtPlot::yLeft : QwtPlot::xBottom);
            QVERIFY(qAbs(value - target) <= qAbs(map.sDist() / map.pDist()));
            const double kept[] = {m_marks->lowerMark(), m_marks->upperMark(), m_marks->middleMark(), 0.0,
                                   m_marks->leftMark(0), m_marks->rightMark(0)};
            QCOMPARE(kept[mark], value);
        }
        // Read-only marks do not move; a deleted widget takes its marks off the plot.
        m_marks->setReadOnly(true);
        QSignalSpy changed(m_marks, &Marks::emitValueChanged);
        drag(Qt::Horizontal, 100.0, 400.0);
        QVERIFY(changed.isEmpty() && m_marks->leftMark(0) == 100.0);
        m_marks->setReadOnly(false);
        drag(Qt::Vertical, 500.0, 800.0);
        QCOMPARE(changed.count(), 1);

        const int withMarks = m_plot->itemList().size();
        auto* second = new Marks(m_plot, 4);
        second->setRightMark(0, 500.0);
        QVERIFY(m_plot->itemList().size() > withMarks);
        delete second;
        QCOMPARE(m_plot->itemList().size(), withMarks);
    }

    // A mark stops at its visible neighbour unless overlapping is allowed, passes hidden ones, and keeps the
    // restriction's distance in pixels to the axis ends and its neighbours.
    void dragsStopAtNeighboursAndAxisEnds()
    {
        drag(Qt::Vertical, 300.0, 900.0);
        drag(Qt::Vertical, 700.0, 100.0);
        drag(Qt::Horizontal, 100.0, 950.0);
        QCOMPARE((QList<double>{m_marks->lowerMark(), m_marks->upperMark(), m_marks->leftMark(0)}),
                 (QList<double>{500, 500, 800}));
        m_marks->allowOverlapping(true);
        drag(Qt::Horizontal, 800.0, 50.0);
        QVERIFY(m_marks->rightMark(0) < 100.0);
        m_marks->allowOverlapping(false);

        m_marks->setLowerMark(300.0);
        m_marks->setUpperMark(700.0);
        m_marks->showUpperMark(false);
        m_marks->showMiddleMark(false);
        QSignalSpy changed(m_marks, &Marks::emitValueChanged);
        drag(Qt::Vertical, 700.0, 900.0);
        drag(Qt::Vertical, 300.0, 800.0);
        QVERIFY(changed.count() == 1 && m_marks->upperMark() == 700.0 && m_marks->lowerMark() > 750.0);

        m_marks->setLowerMark(300.0);
        m_marks->showUpperMark(true);
        m_marks->vSetRestrictionFactor(5);
        const auto pixelsApart = [map = m_plot->canvasMap(QwtPlot::yLeft)](double low, double high) {
            return map.transform(low) - map.transform(high) >= 5.0 - 1e-6;
        };
        drag(Qt::Vertical, 300.0, 0.0);
        drag(Qt::Vertical, 700.0, m_marks->lowerMark());
        QVERIFY(pixelsApart(0.0, m_marks->lowerMark()) &&
                pixelsApart(m_marks->lowerMark(), m_marks->upperMark()));
        m_marks->allowOverlapping(true);
        drag(Qt::Vertical, m_marks->upperMark(), 1000.0);
        QVERIFY(pixelsApart(m_marks->upperMark(), 1000.0));
    }

private:
    void drag(Qt::Orientation along, double from, double to) { dragOnCanvas(m_plot, along, from, to); }

    QwtPlot* m_plot = nullptr;
    Marks* m_marks = nullptr;
};

QTEST_MAIN(ThresholdsTest)
#include "tst_thresholds.moc"
