#pragma once

#include <QImage>
#include <QList>
#include <QObject>

class QMainWindow;
class QwtPlotZoneItem;
class QWidget;

namespace Utils::Charts {
class GenericChart;
}

namespace NimbarSensorPlugin::Core {

enum class DistanceKind;
struct EchoRecord;
class LengthUnits;
class ParameterTree;
class ThresholdMarks;

// The sensor window's chart: the distance over time on plot 0 with the
// switching marks of one output, the echoes over distance on plot 1 with
// the detection range, both scaled to the unit and the connected variant,
// and the distance history that is exported, printed and cleared.
class DistanceChart : public QObject
{
    Q_OBJECT
public:
    // The plots dock in plotWindow; window owns the chart's widgets.
    DistanceChart(QMainWindow* plotWindow, ParameterTree& tree, const LengthUnits& units, QWidget* window);
    ~DistanceChart() override;

    Utils::Charts::GenericChart* chart() const { return m_chart; }
    ThresholdMarks* marks() const { return m_marks; }

    // A distance is drawn; a state (too close, too far, no data) goes into
    // the history once until a distance comes, ends the line and is marked
    // on the plot's edge, and says which it is beside the current value.
    void showDistance(DistanceKind kind, double value);
    // The echo lines, at the distances returned (in the unit shown).
    QList<double> showEchoes(const EchoRecord& echoes);
    void clearEchoes();
    // Nothing looks live: no echoes, no special text, and the line ends.
    void endLine();

    // The distance plot spans what the variant measures in the unit shown.
    void scaleToUnit();
    // After the user switched the unit: the plots follow, the values stay.
    void followUnitSwitch();
    void scaleEchoPlot();
    // The range the analog output spans, as a band on the distance plot.
    void showAnalogWindow(double low, double high);
    void setEchoPlotShown(bool shown);
    void retranslate();

    void exportHistory(QWidget* parent);
    // A failure is told to the user.
    void print(QWidget* parent);
    // The distance plot as shown, drawn at size on white paper.
    QImage image(const QSize& size) const;
    // False when the user kept the history.
    bool clearHistory(QWidget* parent);

private:
    // The unit's short name, as the distance axis and the export write it.
    QString unitSymbol() const;
    void showUnitOnAxis();

    Utils::Charts::GenericChart* m_chart;
    ThresholdMarks* m_marks;
    const LengthUnits& m_units;
    // Set from the first state (or mark drag) until a distance comes.
    bool m_lineEnded = false;
    // Owned by the distance plot once attached.
    QwtPlotZoneItem* m_analogBand = nullptr;
};

} // namespace NimbarSensorPlugin::Core
