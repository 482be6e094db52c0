#pragma once

#include <QList>
#include <QObject>
#include <QVariant>

class QtProperty;

namespace Utils {
class ThresholdMultiManager;
class ThresholdWindowWidgetUniversal;
namespace Charts {
class GenericChart;
}
} // namespace Utils

namespace NimbarSensorPlugin::Core {

class LengthUnits;
class ParameterTree;

// The parameter a dragged mark moves, and the value it takes as the tree
// shows it; no property for a mark that moves none.
struct MarkEdit
{
    QtProperty* property = nullptr;
    QVariant value;
};

// The marks on the chart's two plots and the parameters behind them: the
// switching point, window limits and hysteresis of one output on the
// distance plot (0), the detection range on the echo plot (1).
class ThresholdMarks : public QObject
{
    Q_OBJECT
public:
    ThresholdMarks(Utils::Charts::GenericChart& chart, ParameterTree& tree, const LengthUnits& units,
                   QObject* parent = nullptr);

    // The marks of a plot; the plot owns them.
    Utils::ThresholdWindowWidgetUniversal* marks(int plot) const { return m_marks.value(plot); }
    // The marks of output 0 or 1 where the tree's values place them.
    void showOutput(int output, bool readOnly);
    // The detection range as the tree holds it, its far end at most 10001.
    void showDetectionRange();
    // Places a mark the user dragged on a plot, within what the variant
    // allows, and says which parameter of the output follows it.
    MarkEdit move(int plot, uint mark, double value, int output);

private:
    void showSwitchingMarks(const QString& output);

    Utils::Charts::GenericChart& m_chart;
    ParameterTree& m_tree;
    const LengthUnits& m_units;
    QList<Utils::ThresholdWindowWidgetUniversal*> m_marks;
    Utils::ThresholdMultiManager* m_manager = nullptr;
};

} // namespace NimbarSensorPlugin::Core
