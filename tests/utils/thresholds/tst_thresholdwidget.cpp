// Mouse events travel the way a real window system delivers them, so that
// moves reach the canvas with the pressed button and hovering works offscreen.
#define QTEST_QPA_MOUSE_HANDLING

#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>

#include <QSignalSpy>
#include <QtTest>
#include <qwt_plot.h>
#include <qwt_scale_map.h>

using Utils::ThresholdWindowWidgetUniversal;
using Mark = ThresholdWindowWidgetUniversal::Mark;

class TestThresholdWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dragReportsMarkAndValue_data();
    void dragReportsMarkAndValue();
    void readOnlyBlocksHoverAndDrag();
    void hiddenMarksAreNotDraggable();
    void overlappingRefusedUnlessAllowed();
    void restrictionKeepsDistance();
    void marksFollowAxisRescale();
    void deletedWidgetLeavesThePlot();

private:
    QPoint pointOfY(double value) const;
    QPoint pointOfX(double value) const;
    double unitsPerPixel(int axis) const;
    void drag(const QPoint& from, const QPoint& to);
    void showWindowAndRange();

    QwtPlot* m_plot = nullptr;
    ThresholdWindowWidgetUniversal* m_marks = nullptr;
};

void TestThresholdWidget::init()
{
    m_plot = new QwtPlot();
    m_plot->resize(640, 480);
    m_plot->setAxisScale(QwtPlot::yLeft, 0.0, 1000.0);
    m_plot->setAxisScale(QwtPlot::xBottom, 0.0, 1000.0);
    m_marks = new ThresholdWindowWidgetUniversal(m_plot, 3);
    m_plot->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_plot));
    m_plot->replot();
}

void TestThresholdWidget::cleanup()
{
    delete m_plot;
    m_plot = nullptr;
    m_marks = nullptr;
}

QPoint TestThresholdWidget::pointOfY(double value) const
{
    const QwtScaleMap map = m_plot->canvasMap(QwtPlot::yLeft);
    return QPoint(m_plot->canvas()->width() / 3, qRound(map.transform(value)));
}

QPoint TestThresholdWidget::pointOfX(double value) const
{
    const QwtScaleMap map = m_plot->canvasMap(QwtPlot::xBottom);
    return QPoint(qRound(map.transform(value)), m_plot->canvas()->height() / 2);
}

double TestThresholdWidget::unitsPerPixel(int axis) const
{
    const QwtScaleMap map = m_plot->canvasMap(axis);
    return qAbs(map.sDist() / map.pDist());
}

void TestThresholdWidget::drag(const QPoint& from, const QPoint& to)
{
    QWidget* canvas = m_plot->canvas();
    QTest::mouseMove(canvas, from);
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(canvas, (from + to) / 2);
    QTest::mouseMove(canvas, to);
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, to);
}

// Lower 300, middle 500, upper 700 across; a range from 100 to 800 upright.
void TestThresholdWidget::showWindowAndRange()
{
    m_marks->setLowerMark(300.0);
    m_marks->setMiddleMark(500.0);
    m_marks->setUpperMark(700.0);
    m_marks->showLowerMark(true);
    m_marks->showMiddleMark(true);
    m_marks->showUpperMark(true);
    m_marks->setLeftMark(0, 100.0);
    m_marks->setRightMark(0, 800.0);
}

void TestThresholdWidget::dragReportsMarkAndValue_data()
{
    QTest::addColumn<uint>("mark");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("target");
    QTest::newRow("lower") << uint(ThresholdWindowWidgetUniversal::LowerMark) << 300.0 << 150.0;
    QTest::newRow("upper") << uint(ThresholdWindowWidgetUniversal::UpperMark) << 700.0 << 900.0;
    QTest::newRow("middle") << uint(ThresholdWindowWidgetUniversal::MiddleMark) << 500.0 << 420.0;
    QTest::newRow("left") << uint(ThresholdWindowWidgetUniversal::LeftMark) << 100.0 << 250.0;
    QTest::newRow("right") << uint(ThresholdWindowWidgetUniversal::RightMark) << 800.0 << 640.0;
}

void TestThresholdWidget::dragReportsMarkAndValue()
{
    QFETCH(uint, mark);
    QFETCH(double, start);
    QFETCH(double, target);
    // Setting marks is no user action: only the drag may be reported.
    QSignalSpy changed(m_marks, &ThresholdWindowWidgetUniversal::emitValueChanged);
    showWindowAndRange();
    const bool vertical = mark >= ThresholdWindowWidgetUniversal::LeftMark;

    drag(vertical ? pointOfX(start) : pointOfY(start), vertical ? pointOfX(target) : pointOfY(target));

    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toUInt(), mark);
    const double value = changed.at(0).at(1).toDouble();
    QVERIFY(qAbs(value - target) <= unitsPerPixel(vertical ? QwtPlot::xBottom : QwtPlot::yLeft));
    const double kept[] = {m_marks->lowerMark(), m_marks->upperMark(), m_marks->middleMark(), 0.0,
                           m_marks->leftMark(0), m_marks->rightMark(0)};
    QCOMPARE(kept[mark], value);
}

void TestThresholdWidget::readOnlyBlocksHoverAndDrag()
{
    showWindowAndRange();
    QWidget* canvas = m_plot->canvas();
    const Qt::CursorShape plain = canvas->cursor().shape();
    QTest::mouseMove(canvas, pointOfY(500.0));
    QCOMPARE(canvas->cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(canvas, QPoint(pointOfX(100.0).x(), pointOfY(600.0).y()));
    QCOMPARE(canvas->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(canvas, pointOfY(600.0));
    QCOMPARE(canvas->cursor().shape(), plain);

    m_marks->setReadOnly(true);
    QSignalSpy changed(m_marks, &ThresholdWindowWidgetUniversal::emitValueChanged);
    QTest::mouseMove(canvas, pointOfY(500.0));
    QCOMPARE(canvas->cursor().shape(), plain);
    drag(pointOfX(100.0), pointOfX(400.0));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_marks->leftMark(0), 100.0);

    m_marks->setReadOnly(false);
    drag(pointOfY(500.0), pointOfY(800.0));
    QCOMPARE(changed.count(), 1);
}

void TestThresholdWidget::hiddenMarksAreNotDraggable()
{
    showWindowAndRange();
    m_marks->showUpperMark(false);
    m_marks->showMiddleMark(false);
    QSignalSpy changed(m_marks, &ThresholdWindowWidgetUniversal::emitValueChanged);

    drag(pointOfY(700.0), pointOfY(900.0));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_marks->upperMark(), 700.0);
    // Hidden marks are no obstacle either: the lower mark passes their places.
    drag(pointOfY(300.0), pointOfY(800.0));
    QCOMPARE(changed.count(), 1);
    QVERIFY(m_marks->lowerMark() > 750.0);
}

void TestThresholdWidget::overlappingRefusedUnlessAllowed()
{
    showWindowAndRange();
    drag(pointOfY(300.0), pointOfY(900.0));
    QCOMPARE(m_marks->lowerMark(), 500.0);
    drag(pointOfY(700.0), pointOfY(100.0));
    QCOMPARE(m_marks->upperMark(), 500.0);
    drag(pointOfX(100.0), pointOfX(950.0));
    QCOMPARE(m_marks->leftMark(0), 800.0);

    m_marks->allowOverlapping(true);
    drag(pointOfX(800.0), pointOfX(50.0));
    QVERIFY(m_marks->rightMark(0) < 100.0);
}

void TestThresholdWidget::restrictionKeepsDistance()
{
    showWindowAndRange();
    m_marks->showMiddleMark(false);
    m_marks->vSetRestrictionFactor(5);
    const QwtScaleMap map = m_plot->canvasMap(QwtPlot::yLeft);

    drag(pointOfY(300.0), QPoint(pointOfY(0.0).x(), m_plot->canvas()->height() - 1));
    QVERIFY(map.transform(0.0) - map.transform(m_marks->lowerMark()) >= 5.0 - 1e-6);
    drag(pointOfY(700.0), pointOfY(m_marks->lowerMark()));
    QVERIFY(map.transform(m_marks->lowerMark()) - map.transform(m_marks->upperMark()) >= 5.0 - 1e-6);
    // With overlapping allowed the distance to the axis end still holds.
    m_marks->allowOverlapping(true);
    drag(pointOfY(m_marks->upperMark()), QPoint(pointOfY(0.0).x(), 0));
    QVERIFY(map.transform(m_marks->upperMark()) - map.transform(1000.0) >= 5.0 - 1e-6);
}

void TestThresholdWidget::marksFollowAxisRescale()
{
    showWindowAndRange();
    const QPoint oldMiddle = pointOfY(500.0);
    const QPoint oldRight = pointOfX(800.0);
    m_plot->setAxisScale(QwtPlot::yLeft, 0.0, 2000.0);
    m_plot->setAxisScale(QwtPlot::xBottom, 0.0, 2000.0);
    m_plot->replot();
    QSignalSpy changed(m_marks, &ThresholdWindowWidgetUniversal::emitValueChanged);

    // Where the marks used to be there is nothing to grab any more.
    drag(oldMiddle, oldMiddle + QPoint(0, 20));
    drag(oldRight, oldRight + QPoint(20, 0));
    QCOMPARE(changed.count(), 0);
    drag(pointOfY(500.0), pointOfY(600.0));
    drag(pointOfX(800.0), pointOfX(1500.0));
    QCOMPARE(changed.count(), 2);
    QVERIFY(qAbs(changed.at(0).at(1).toDouble() - 600.0) <= unitsPerPixel(QwtPlot::yLeft));
    QVERIFY(qAbs(changed.at(1).at(1).toDouble() - 1500.0) <= unitsPerPixel(QwtPlot::xBottom));
}

void TestThresholdWidget::deletedWidgetLeavesThePlot()
{
    m_marks->setLeftMark(1, 100.0);
    const int withMarks = m_plot->itemList().size();
    auto* second = new ThresholdWindowWidgetUniversal(m_plot, 4);
    second->setRightMark(0, 500.0);
    QVERIFY(m_plot->itemList().size() > withMarks);
    delete second;
    QCOMPARE(m_plot->itemList().size(), withMarks);
}

QTEST_MAIN(TestThresholdWidget)
#include "tst_thresholdwidget.moc"
