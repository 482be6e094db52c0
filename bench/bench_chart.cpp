// Speed and memory of the live chart: repainting a plot that holds a long
// history, the same history drawn by a plain QwtPlotCurve for comparison,
// memory per history sample, and the text form of a history.
// Budgets: repaint under 30 ms, at most 24 bytes per sample, text out and
// back in under 2 s for 1,000,000 samples.
#include <utils/ValueOverTime.h>
#include <utils/charts/DecimatedSeriesData.h>
#include <utils/charts/GenericChart.h>
#include <utils/charts/HistoryCurve.h>

#include <benchmark/benchmark.h>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>

#include <cmath>

using Utils::Charts::GenericChart;

namespace {

constexpr int millionSamples = 1000000;
constexpr double startTime = 1717171717000.0;

// Sample i of a distance trace with "no data" stretches, 10 ms apart.
void appendSample(GenericChart& chart, int i)
{
    const double time = startTime + i * 10.0;
    if (i % 5000 < 40)
        chart.vAppendState(0, Utils::SampleState::NoData, false, time);
    else
        chart.vAppendData(0, 2000.0 + 1500.0 * std::sin(i / 2000.0) + (i % 97), false, time, false, -1.0,
                          -1.0);
}

void fillChart(GenericChart& chart, int samples)
{
    for (int i = 0; i < samples; ++i)
        appendSample(chart, i);
}

// A shown window whose chart holds the million samples, all of them in view.
struct FullChart
{
    QMainWindow window;
    GenericChart chart{1, &window, &window, false, true};

    FullChart()
    {
        window.resize(1200, 800);
        chart.setScale(0, 0.0, 4000.0);
        chart.setTimelineScale(2.0, 20000.0);
        fillChart(chart, millionSamples);
        window.show();
        QApplication::processEvents();
        chart.setVisibleTimeSpan(millionSamples * 10.0 / 1000.0 + 60.0);
    }
};

// Every repaint follows a new sample, so the reduction runs over the whole
// visible history each time, as it does while live data arrive.
void BM_RepaintMillionSamples(benchmark::State& state)
{
    FullChart full;
    GenericChart& chart = full.chart;
    QwtPlot* plot = chart.poPlot(0);
    int next = millionSamples;
    for (auto _ : state) {
        appendSample(chart, next++);
        plot->replot();
        benchmark::DoNotOptimize(plot->canvas()->grab());
    }
    state.counters["samples"] = chart.getData(0)->size();
    state.counters["canvas_px"] = chart.plotWidth(0);
}
BENCHMARK(BM_RepaintMillionSamples)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same 1,000,000 samples on the same canvas, drawn in turn by the
// chart's curve and by a plain QwtPlotCurve holding every sample, as a user
// of Qwt would write it (default attributes, no reduction). The chart's
// reduction is rebuilt before each of its repaints, as after a new sample.
void BM_RepaintAgainstPlainCurve(benchmark::State& state)
{
    FullChart full;
    GenericChart& chart = full.chart;
    QwtPlot* plot = chart.poPlot(0);
    Utils::Charts::HistoryCurve* history = nullptr;
    for (QwtPlotItem* item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        if (auto* curve = dynamic_cast<Utils::Charts::HistoryCurve*>(item))
            history = curve;
    }
    if (!history) {
        state.SkipWithError("the chart has no history curve");
        return;
    }
    const Utils::ValueOverTime* data = chart.getData(0);
    auto* plain = new QwtPlotCurve;
    plain->setPen(history->pen());
    plain->setSamples(data->pxData(), data->pyData(), data->size());
    plain->setVisible(false);
    plain->attach(plot);

    auto repaintMs = [plot] {
        QElapsedTimer timer;
        timer.start();
        plot->replot();
        benchmark::DoNotOptimize(plot->canvas()->grab());
        return timer.nsecsElapsed() / 1e6;
    };
    double chartMs = 0.0;
    double plainMs = 0.0;
    for (auto _ : state) {
        history->series()->invalidate();
        chartMs += repaintMs();
        history->setVisible(false);
        plain->setVisible(true);
        plainMs += repaintMs();
        plain->setVisible(false);
        history->setVisible(true);
    }
    const double repaints = double(state.iterations());
    state.counters["samples"] = data->size();
    state.counters["chart_ms"] = chartMs / repaints;
    state.counters["plain_ms"] = plainMs / repaints;
    state.counters["plain_over_chart"] = plainMs / chartMs;
}
BENCHMARK(BM_RepaintAgainstPlainCurve)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_MemoryPerSample(benchmark::State& state)
{
    double bytesPerSample = 0.0;
    for (auto _ : state) {
        QMainWindow window;
        GenericChart chart(1, &window, &window, false, true);
        fillChart(chart, millionSamples);
        const Utils::ValueOverTime* history = chart.getData(0);
        bytesPerSample = double(history->memoryBytes()) / history->size();
    }
    state.counters["bytes_per_sample"] = bytesPerSample;
}
BENCHMARK(BM_MemoryPerSample)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_HistoryTextRoundTrip(benchmark::State& state)
{
    QMainWindow window;
    GenericChart chart(2, &window, &window, false, true);
    fillChart(chart, millionSamples);
    std::size_t textBytes = 0;
    for (auto _ : state) {
        const std::string text = chart.dataToString(0);
        textBytes = text.size();
        if (!chart.setDataFromString(1, text, ';'))
            state.SkipWithError("history text refused");
    }
    state.counters["text_MB"] = double(textBytes) / 1e6;
}
BENCHMARK(BM_HistoryTextRoundTrip)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
