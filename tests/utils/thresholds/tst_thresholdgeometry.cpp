#include <utils/thresholds/ThresholdGeometry.h>

#include <QtTest>

using namespace Utils;

class TestThresholdGeometry : public QObject
{
    Q_OBJECT

private slots:
    void hitTestPicksNearestMarkWithinTolerance();
    void draggedValueStaysInsideAxisAndNeighbours_data();
    void draggedValueStaysInsideAxisAndNeighbours();
    void hysteresisBandSides();
    void markValueText();
};

void TestThresholdGeometry::hitTestPicksNearestMarkWithinTolerance()
{
    const std::vector<MarkPixel> marks{{0, Qt::Horizontal, 100.0}, {1, Qt::Horizontal, 104.0}};
    QCOMPARE(nearestMarkWithin(marks, QPointF(50, 101), 5.0), 0);
    QCOMPARE(nearestMarkWithin(marks, QPointF(50, 103), 5.0), 1);
    QCOMPARE(nearestMarkWithin(marks, QPointF(50, 109), 5.0), 1);
    QCOMPARE(nearestMarkWithin(marks, QPointF(50, 109.5), 5.0), -1);
    QCOMPARE(nearestMarkWithin({}, QPointF(50, 100), 5.0), -1);
}

void TestThresholdGeometry::draggedValueStaysInsideAxisAndNeighbours_data()
{
    QTest::addColumn<double>("wanted");
    QTest::addColumn<double>("gap");
    QTest::addColumn<QVariant>("floor");
    QTest::addColumn<QVariant>("ceiling");
    QTest::addColumn<double>("expected");

    const QVariant none;
    QTest::newRow("free") << 300.0 << 0.0 << none << none << 300.0;
    QTest::newRow("below axis") << -50.0 << 0.0 << none << none << 0.0;
    QTest::newRow("above axis with gap") << 2000.0 << 10.0 << none << none << 990.0;
    QTest::newRow("onto ceiling") << 700.0 << 10.0 << none << QVariant(600.0) << 590.0;
    QTest::newRow("onto floor") << 100.0 << 0.0 << QVariant(200.0) << none << 200.0;
    QTest::newRow("between") << 450.0 << 10.0 << QVariant(200.0) << QVariant(600.0) << 450.0;
    QTest::newRow("no room keeps current") << 450.0 << 10.0 << QVariant(400.0) << QVariant(410.0) << 123.0;
}

void TestThresholdGeometry::draggedValueStaysInsideAxisAndNeighbours()
{
    QFETCH(double, wanted);
    QFETCH(double, gap);
    QFETCH(QVariant, floor);
    QFETCH(QVariant, ceiling);
    QFETCH(double, expected);
    auto optional = [](const QVariant& v) {
        return v.isValid() ? std::optional<double>(v.toDouble()) : std::nullopt;
    };
    // The axis is given reversed on purpose: inverted axes list their ends that way.
    QCOMPARE(restrictDraggedValue(wanted, 123.0, 1000.0, 0.0, gap, optional(floor), optional(ceiling)),
             expected);
}

void TestThresholdGeometry::hysteresisBandSides()
{
    QCOMPARE(hysteresisBand(500.0, 20.0, true, false), QwtInterval(480.0, 500.0));
    QCOMPARE(hysteresisBand(500.0, 20.0, false, false), QwtInterval(500.0, 520.0));
    QCOMPARE(hysteresisBand(500.0, 20.0, true, true), QwtInterval(490.0, 510.0));
    QVERIFY(!hysteresisBand(500.0, 0.0, true, false).isValid());
}

void TestThresholdGeometry::markValueText()
{
    QCOMPARE(formatMarkValue(480.0), QStringLiteral("480"));
    QCOMPARE(formatMarkValue(-3.0), QStringLiteral("-3"));
    QCOMPARE(formatMarkValue(39.37007874), QStringLiteral("39.37"));
    QCOMPARE(formatMarkValue(0.5), QStringLiteral("0.50"));
}

QTEST_GUILESS_MAIN(TestThresholdGeometry)
#include "tst_thresholdgeometry.moc"
