#include "ThresholdMarks.h"

#include "LengthUnits.h"
#include "parameters/ParameterTree.h"

#include <utils/charts/GenericChart.h>
#include <utils/thresholds/ThresholdMultiManager.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>

#include <algorithm>
#include <cmath>

namespace NimbarSensorPlugin::Core {

using Utils::ThresholdWindowWidgetUniversal;

ThresholdMarks::ThresholdMarks(Utils::Charts::GenericChart& chart, ParameterTree& tree,
                               const LengthUnits& units, QObject* parent)
    : QObject(parent), m_chart(chart), m_tree(tree), m_units(units)
{
    for (int plot = 0; plot < 2; ++plot) {
        auto* marks = new ThresholdWindowWidgetUniversal(chart.poPlot(plot), plot);
        marks->allowOverlapping(true);
        marks->setWindowSizeVisible(false);
        marks->setReadOnly(false);
        m_marks.append(marks);
    }
    m_marks[0]->vSetRestrictionFactor(5);
    m_manager = new Utils::ThresholdMultiManager(0, this);
    m_manager->setOutputs(2);
}

void ThresholdMarks::showOutput(int output, bool readOnly)
{
    ThresholdWindowWidgetUniversal* marks = m_marks[0];
    marks->showLowerMark(false);
    marks->showUpperMark(false);
    marks->showMiddleMark(false);
    marks->showMiddleMark1(false);
    if (output == 0 || output == 1)
        showSwitchingMarks(QString::number(output + 1));
    // An analog second output has no switching point.
    if (output == 1 && m_tree.choice("PinFunctionA2") >= 5)
        marks->showMiddleMark(false);
    marks->setReadOnly(readOnly);
}

// Window mode marks a lower and an upper limit around the switching point,
// with the hysteresis at both; any other mode the switching point alone.
void ThresholdMarks::showSwitchingMarks(const QString& output)
{
    const double switching = m_tree.doubleValue("SwitchingThresholdA" + output);
    const int hysteresis = int(m_tree.doubleValue("HysteresisA" + output));
    ThresholdWindowWidgetUniversal* marks = m_marks[0];
    marks->setMiddleMark(switching);
    marks->showMiddleMark(true);
    marks->setNoiseMiddleMark(hysteresis, true);
    if (m_tree.choice("TeachInMode" + output) != 2)
        return;
    const int point = int(switching);
    marks->setLowerMark(double(point - int(m_tree.doubleValue("LowerThresholdA" + output))));
    marks->setUpperMark(double(point + int(m_tree.doubleValue("UpperThresholdA" + output))));
    marks->showLowerMark(true);
    marks->showUpperMark(true);
    marks->setNoise(hysteresis, -1, false);
    marks->setNoiseOrientation(true, false, false);
    marks->setNoiseMiddleMark(0, true);
}

void ThresholdMarks::showDetectionRange()
{
    const double far = std::min(m_tree.doubleValue("DetectionRangeFar"), 10001.0);
    m_tree.setDoubleValue("DetectionRangeFar", far);
    m_marks[1]->setLeftMark(0, m_tree.doubleValue("DetectionRangeNear"));
    m_marks[1]->setRightMark(0, m_tree.doubleValue("DetectionRangeFar"));
}

// The window limits are held as distances from the switching point.
MarkEdit ThresholdMarks::move(int plot, uint mark, double value, int output)
{
    const QString n = QString::number(output + 1);
    double v = qRound(value);
    MarkEdit edit;
    if (plot == 0) {
        const double switching = int(m_tree.doubleValue("SwitchingThresholdA" + n));
        v = m_units.switchingMarkPlace(v);
        ThresholdWindowWidgetUniversal* marks = m_marks[0];
        if (mark == ThresholdWindowWidgetUniversal::UpperMark) {
            edit = {m_tree.find("UpperThresholdA" + n), std::abs(v - switching)};
            m_manager->setHigh(n.toUInt(), 0, v);
            marks->setUpperMark(v);
        } else if (mark == ThresholdWindowWidgetUniversal::LowerMark) {
            edit = {m_tree.find("LowerThresholdA" + n), std::abs(switching - v)};
            m_manager->setLow(n.toUInt(), 0, v);
            marks->setLowerMark(v);
        } else if (mark == ThresholdWindowWidgetUniversal::MiddleMark) {
            edit = {m_tree.find("SwitchingThresholdA" + n), v};
            marks->setMiddleMark(v);
            m_manager->setMiddle(n.toUInt(), 0, v);
        }
    } else if (plot == 1) {
        v = std::max(std::min(v, m_chart.getXMax(1)), m_units.detectionMarkMinimum());
        if (mark == ThresholdWindowWidgetUniversal::LeftMark) {
            edit.property = m_tree.find("DetectionRangeNear");
            m_marks[1]->setLeftMark(0, v);
        } else if (mark == ThresholdWindowWidgetUniversal::RightMark) {
            edit.property = m_tree.find("DetectionRangeFar");
            m_marks[1]->setRightMark(0, v);
        }
        edit.value = v;
    }
    return edit;
}

} // namespace NimbarSensorPlugin::Core
