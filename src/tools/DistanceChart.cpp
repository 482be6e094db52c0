#include "DistanceChart.h"

#include "LengthUnits.h"
#include "ThresholdMarks.h"
#include "link/ProcessData.h"
#include "parameters/ValueCodec.h"

#include <utils/ValueOverTime.h>
#include <utils/charts/GenericChart.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>
#include <utils/widgets/ExportDialog.h>
#include <utils/widgets/PlotDocument.h>

#include <QDockWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QPainter>

#include <qwt_plot.h>
#include <qwt_plot_renderer.h>
#include <qwt_plot_zoneitem.h>

namespace NimbarSensorPlugin::Core {

namespace {

const QColor evaluatedEchoColour(0, 97, 158);
const QList<double> noEchoes{0.0, 0.0, 0.0, 0.0};

} // namespace

DistanceChart::DistanceChart(QMainWindow* plotWindow, ParameterTree& tree, const LengthUnits& units,
                             QWidget* window)
    : QObject(window), m_chart(new Utils::Charts::GenericChart(2, window, plotWindow, false, true)),
      m_units(units)
{
    m_chart->setCurrentValuePrecision(0, 1);
    m_chart->setScale(0, 0.0, 10005.0);
    m_chart->setAllowNegativeValues(0, false);
    m_chart->setPlotColor(0, QColor(0, 0, 188), QColor(0, 0, 188, 20), false, 1);
    m_chart->setMinPanOffset(0, 160);
    m_chart->setMaxPanOffset(0, 350);
    m_chart->setScale(1, 0.0, 0.0);
    m_chart->setAllowNegativeValues(1, false);
    m_chart->vSetMarkerVisible(1, false);
    m_chart->AddLayoutRow(1);
    m_chart->AddLayoutRow(1);
    m_chart->UpdateLayout();
    for (int plot = 0; plot < 2; ++plot)
        m_chart->poPlot(plot)->setObjectName(QString::number(plot));

    m_marks = new ThresholdMarks(*m_chart, tree, units, this);
    // A dragged mark keeps its view: no special code cuts the line under it.
    for (int plot = 0; plot < 2; ++plot)
        connect(m_marks->marks(plot), &Utils::ThresholdWindowWidgetUniversal::emitValueChanged, this,
                [this] { m_lineEnded = true; });
    m_marks->marks(0)->setUpperMark(150.0);
    m_marks->marks(0)->setLowerMark(100.0);
    m_marks->marks(0)->setMiddleMark(120.0);
    m_marks->marks(1)->setLeftMark(0, 0.0);
    m_marks->marks(1)->setRightMark(0, 10001.0);

    m_chart->setScale(1, 0.0, 1600.0);
    m_chart->setEnabled(false);
    m_chart->setTimelineScale(2.0, 10500.0);
    m_chart->setIndependentPlot(1, true);
    m_chart->enableXAxisDisplayValue(1);
    m_chart->setPlotAxisScale(1, 0.0, 10001.0, 2000.0);
    m_chart->axisChanged();
    m_chart->vCreateRectangles(1, 4);
    m_chart->vHideSignalText(0);
    retranslate();
}

DistanceChart::~DistanceChart()
{
    if (m_chart->nGetLinesSize() > 0)
        m_chart->vClearXLines();
    delete m_chart;
}

void DistanceChart::showDistance(DistanceKind kind, double value)
{
    if (kind == DistanceKind::Distance) {
        m_chart->vAppendData(0, value, true, -65000.0, false, -1.0, -1.0);
        m_lineEnded = false;
        m_chart->vSetValueMarkerCustomText(QString());
        return;
    }
    const Utils::SampleState state = kind == DistanceKind::NoData     ? Utils::SampleState::NoData
                                     : kind == DistanceKind::TooClose ? Utils::SampleState::TooClose
                                                                      : Utils::SampleState::TooFar;
    if (!m_lineEnded)
        m_chart->vAppendState(0, state, true, 0.0);
    m_lineEnded = true;
    m_chart->vSetValueMarkerCustomText(kind == DistanceKind::NoData     ? tr("No data")
                                       : kind == DistanceKind::TooClose ? tr("Obj. too close")
                                                                        : tr("Obj. too far"));
}

QList<double> DistanceChart::showEchoes(const EchoRecord& echoes)
{
    QList<double> distances;
    QList<double> amplitudes;
    for (std::size_t k = 0; k < 4; ++k) {
        const double mm = echoes.distanceCodes[k];
        distances << (m_units.inches() ? inchesFromMillimetres(mm) : mm);
        amplitudes << echoes.amplitudes[k];
    }
    m_chart->vUpdateXLines(1, distances, amplitudes);
    m_chart->vSetXLinesPen(echoes.evaluatedEcho, evaluatedEchoColour);
    return distances;
}

void DistanceChart::clearEchoes()
{
    m_chart->vUpdateXLines(1, noEchoes, noEchoes);
}

void DistanceChart::endLine()
{
    clearEchoes();
    m_chart->vSetValueMarkerCustomText(QString());
    m_chart->vAppendGap(0);
}

// Inches span the detection range's far end, millimetres the switching range.
void DistanceChart::scaleToUnit()
{
    showUnitOnAxis();
    if (m_units.unit() != LengthUnits::Millimetres && !m_units.inches())
        return;
    m_chart->setScale(
        0, 0.0, m_units.inches() ? qRound(m_units.variant().objMaxRange / 25.4) : m_units.variant().maxRange);
    scaleEchoPlot();
}

void DistanceChart::followUnitSwitch()
{
    if (m_units.unit() == LengthUnits::Millimetres) {
        m_chart->setScale(0, 0.0, qRound(m_chart->getYLeftMax(0) * 25.4));
        scaleEchoPlot();
    } else if (m_units.inches()) {
        scaleEchoPlot();
        m_chart->setScale(0, 0.0, qRound(m_units.variant().objMaxRange / 25.4));
    }
    m_chart->setPlotTitle(1, tr("Signal"), true, m_units.unitText(), true);
    showUnitOnAxis();
}

QString DistanceChart::unitSymbol() const
{
    return m_units.inches() ? tr("in") : tr("mm");
}

void DistanceChart::showUnitOnAxis()
{
    m_chart->poPlot(0)->setAxisTitle(QwtPlot::yLeft, tr("Distance (%1)").arg(unitSymbol()));
}

// The echo plot's distance axis spans what the connected variant can see.
void DistanceChart::scaleEchoPlot()
{
    const double far =
        m_units.inches() ? qRound(m_units.variant().maxRange / 25.4) : m_units.variant().objMaxRange;
    m_chart->setPlotAxisScale(1, 0.0, far, 0.0);
}

// The analog window is a band on the distance plot, which keeps its scale:
// scaled to the window, as the window first did, a distance outside it was
// off the chart.
void DistanceChart::showAnalogWindow(double low, double high)
{
    if (!m_analogBand) {
        m_analogBand = new QwtPlotZoneItem;
        m_analogBand->setOrientation(Qt::Horizontal);
        m_analogBand->setBrush(QColor(0, 97, 158, 40));
        m_analogBand->setZ(-1);
        m_analogBand->attach(m_chart->poPlot(0));
    }
    m_analogBand->setInterval(qMin(low, high), qMax(low, high));
    m_chart->poPlot(0)->replot();
}

void DistanceChart::setEchoPlotShown(bool shown)
{
    m_chart->getDockChartItem(1)->setHidden(!shown);
}

void DistanceChart::retranslate()
{
    m_chart->setPlotTitle(0, tr("Distance"), true, QString(), false);
    m_chart->setPlotTitle(1, tr("Signal"), true, m_units.unitText(), true);
    m_chart->translateDockTitleBarTexts();
    // Named as the tool bar and the plot name it: one name for one chart.
    m_chart->getDockChartItem(0)->setWindowTitle(tr("Distance"));
    showUnitOnAxis();
}

// The dialog writes the file when it is accepted; a file that cannot be
// written is named with the reason, and an older file there stays as it was.
void DistanceChart::exportHistory(QWidget* parent)
{
    QList<QString> names{tr("Time"), tr("Distance")};
    QList<const Utils::ValueOverTime*> series{m_chart->getData(0)};
    Utils::ExportDialog dialog(&series, &names, parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    dialog.setPrecision(2);
    dialog.setUnit(unitSymbol());
    connect(&dialog, &Utils::ExportDialog::exportFailed, parent, [parent](const QString& error) {
        QMessageBox::critical(parent, tr("Exporting chart data..."), error, QMessageBox::Ok);
    });
    dialog.exec();
}

// The user picks a printer or a PDF file in the print dialog. Tests and
// scripts name a PDF file in IOLINK_PRINT_PDF instead and get no dialog.
void DistanceChart::print(QWidget* parent)
{
    Utils::PlotDocument document(m_chart->poPlot(0));
    document.setOutputFileName(qEnvironmentVariable("IOLINK_PRINT_PDF"));
    document.vPrintDocument();
    if (!document.errorString().isEmpty())
        QMessageBox::critical(parent, tr("Printing chart..."), document.errorString(), QMessageBox::Ok);
}

QImage DistanceChart::image(const QSize& size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QwtPlotRenderer renderer;
    // The canvas keeps its colours so that the curve stays visible on it.
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground);
    renderer.setLayoutFlag(QwtPlotRenderer::FrameWithScales);
    QPainter painter(&image);
    renderer.render(m_chart->poPlot(0), &painter, QRectF(QPointF(0, 0), size));
    return image;
}

bool DistanceChart::clearHistory(QWidget* parent)
{
    if (QMessageBox::warning(parent, tr("Clear chart history"),
                             tr("Do you really want to clear chart history ?"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return false;
    m_chart->clear();
    return true;
}

} // namespace NimbarSensorPlugin::Core
