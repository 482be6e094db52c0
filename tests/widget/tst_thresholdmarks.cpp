// The chart, its marks and the parameters behind them, outside a window.
#include "WindowUnderTest.h"

#include <link/ProcessData.h>
#include <tools/DistanceChart.h>
#include <tools/ThresholdMarks.h>

#include <utils/ValueOverTime.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>

#include <qwt_plot.h>

#include <qtpropertymanager.h>

#include <QMainWindow>

using namespace NimbarSensorPlugin::Core;
using Marks = Utils::ThresholdWindowWidgetUniversal;

class ThresholdMarksTest : public QObject
{
    Q_OBJECT

private:
    TreeUnderTest built;
    ParameterTree& tree = built.tree;
    LengthUnits& units = built.units;
    QMainWindow host;
    DistanceChart* chart = nullptr;
    ThresholdMarks* marks = nullptr;

private slots:
    void initTestCase()
    {
        chart = new DistanceChart(&host, tree, units, &host);
        marks = chart->marks();
        chart->chart()->setPlotAxisScale(1, 0.0, 8000.0, 0.0);
        chart->chart()->poPlot(1)->replot();
    }

    // A state enters the history once until a distance comes; none enters while a mark is dragged.
    void specialCodesEndTheLineOnce()
    {
        const Utils::ValueOverTime* history = chart->chart()->getData(0);
        for (DistanceKind kind :
             {DistanceKind::Distance, DistanceKind::TooClose, DistanceKind::NoData, DistanceKind::Distance})
            chart->showDistance(kind, 510.0);
        emit marks->marks(0)->emitValueChanged(0, 400.0);
        chart->showDistance(DistanceKind::TooFar, 0.0);
        QVERIFY(history->size() == 3 && history->state(1) == Utils::SampleState::TooClose &&
                history->y(2) == 510.0);
    }

    // Window mode marks its limits around the switching point; the marks of the other output and the
    // read-only state follow the output shown.
    void theMarksShowTheOutputsValues()
    {
        tree.managers().enums->setValue(tree.find("TeachInMode1"), 2);
        tree.setDoubleValue("SwitchingThresholdA1", 500);
        tree.setDoubleValue("LowerThresholdA1", 20);
        tree.setDoubleValue("UpperThresholdA1", 30);
        tree.setDoubleValue("SwitchingThresholdA2", 800);
        const auto shown = [this] {
            auto* switching = marks->marks(0);
            return QList<double>{switching->lowerMark(), switching->middleMark(), switching->upperMark(),
                                 double(switching->isReadOnly())};
        };
        marks->showOutput(0, false);
        QCOMPARE(shown(), (QList<double>{480, 500, 530, 0}));
        marks->showOutput(1, true);
        QCOMPARE(shown().mid(1, 1) + shown().mid(3), (QList<double>{800, 1}));

        tree.setDoubleValue("DetectionRangeNear", 100);
        tree.setDoubleValue("DetectionRangeFar", 30000);
        marks->showDetectionRange();
        QCOMPARE((QList<double>{marks->marks(1)->leftMark(0), marks->marks(1)->rightMark(0),
                                tree.doubleValue("DetectionRangeFar")}),
                 (QList<double>{100, 10001, 10001}));
    }

    // A dragged mark stays within what the variant and the plot allow; the window limits are held as
    // distances from the switching point.
    void aDraggedMarkMovesItsParameter()
    {
        // Plot, mark, where it is dragged to, length unit; the row it moves and the value it gets.
        const std::tuple<int, uint, double, int, QString, double> drags[] = {
            {0, Marks::UpperMark, 545.4, 0, "UpperThresholdA1", 45.0},
            {0, Marks::LowerMark, 470.0, 0, "LowerThresholdA1", 30.0},
            {0, Marks::MiddleMark, 20000.0, 0, "SwitchingThresholdA1", 6000.0},        // above the range
            {0, Marks::MiddleMark, 3.0, 0, "SwitchingThresholdA1", 50.0},              // below it
            {0, Marks::MiddleMark, 396.0, 1, "SwitchingThresholdA1", 6000 / 25.4 - 1}, // inches
            {1, Marks::RightMark, 9500.0, 0, "DetectionRangeFar", 8000.0},             // past the plot
            {1, Marks::LeftMark, -5.0, 0, "DetectionRangeNear", 0.0},
            {0, Marks::LeftMark, 300.0, 0, QString(), 0.0}}; // no such mark
        for (const auto& [plot, mark, draggedTo, unit, id, value] : drags) {
            units.setVariant({"200", 6000, 6001, 50, 0, false});
            units.setUnit(unit);
            tree.setDoubleValue("SwitchingThresholdA1", 500);
            const MarkEdit edit = marks->move(plot, mark, draggedTo, 0);
            QCOMPARE(edit.property ? edit.property->propertyId() : QString(), id);
            if (edit.property)
                QCOMPARE(edit.value.toDouble(), value);
        }
    }
};

QTEST_MAIN(ThresholdMarksTest)
#include "tst_thresholdmarks.moc"
