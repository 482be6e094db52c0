// Speed and memory of the live chart: repainting a plot that holds a long
// history (1,000,000 and 10,000,000 samples), the same history drawn by a
// plain QwtPlotCurve for comparison, the same chart with no samples (the
// floor no history store goes under), memory per history sample, a live
// sample on a long history, and the text form of a history.
// Budgets: the chart at 1,000,000 samples at least 20 times faster than the
// plain curve or within 1 ms of the floor; at 10,000,000 at most 1.5 times
// its time at 1,000,000; at most 24 bytes per sample; a live sample on
// 10,000,000 samples repainted well within the 85 ms cycle; text out and
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

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using Utils::Charts::GenericChart;

namespace {

constexpr int millionSamples = 1000000;
constexpr int tenMillionSamples = 10000000;
constexpr double startTime = 1717171717000.0;

// Sample i of `samples` of a distance trace, 10 ms apart, with 200 "no data"
// stretches. The trace has the same shape whatever its length (the same
// number of waves and stretches over the whole history), so a chart showing
// all of it draws the same picture at every length and a difference in time
// is what reading the history costs, not more ink.
void appendSample(GenericChart& chart, int i, int samples)
{
    const double time = startTime + i * 10.0;
    const double along = double(i) / samples;
    if (std::fmod(along * 200.0, 1.0) < 0.008)
        chart.vAppendState(0, Utils::SampleState::NoData, false, time);
    else
        chart.vAppendData(0, 2000.0 + 1500.0 * std::sin(along * 500.0) + (i % 97), false, time, false, -1.0,
                          -1.0);
}

// A shown window whose chart holds `samples` samples, all of them in view.
struct FullChart
{
    QMainWindow window;
    GenericChart chart{1, &window, &window, false, true};

    explicit FullChart(int samples)
    {
        window.resize(1200, 800);
        chart.setScale(0, 0.0, 4000.0);
        const double seconds = samples * 10.0 / 1000.0 + 60.0;
        chart.setTimelineScale(2.0, std::max(20000.0, seconds));
        for (int i = 0; i < samples; ++i)
            appendSample(chart, i, samples);
        window.show();
        QApplication::processEvents();
        chart.setVisibleTimeSpan(seconds);
    }

    QwtPlot* plot() { return chart.poPlot(0); }

    Utils::Charts::HistoryCurve* historyCurve()
    {
        for (QwtPlotItem* item : plot()->itemList(QwtPlotItem::Rtti_PlotCurve)) {
            if (auto* curve = dynamic_cast<Utils::Charts::HistoryCurve*>(item))
                return curve;
        }
        return nullptr;
    }

    double bytesPerSample() { return double(chart.getData(0)->memoryBytes()) / chart.getData(0)->size(); }
};

double repaintMs(QwtPlot* plot)
{
    QElapsedTimer timer;
    timer.start();
    plot->replot();
    benchmark::DoNotOptimize(plot->canvas()->grab());
    return timer.nsecsElapsed() / 1e6;
}

// One repaint of the chart after its reduction was dropped, as after a new
// sample.
double chartRepaintMs(FullChart& full)
{
    if (Utils::Charts::HistoryCurve* curve = full.historyCurve())
        curve->series()->invalidate();
    return repaintMs(full.plot());
}

double median(std::vector<double> times)
{
    std::nth_element(times.begin(), times.begin() + std::ptrdiff_t(times.size() / 2), times.end());
    return times[times.size() / 2];
}

// The same canvas, in one run: the chart at 1,000,000 samples against a
// plain QwtPlotCurve holding every sample as a user of Qwt would write it
// (default attributes, no reduction), against the chart at 10,000,000
// samples and against the chart with none. Each is repainted a few times in
// a row, as a chart on screen is, and then the next; the rows come round
// several times and each figure is the median of its repaints, so a busy
// moment of the machine weighs on none much. The first repaint of each row
// is left out: it brings the chart back into the processor's caches.
void BM_RepaintAgainstPlainCurveAndFloor(benchmark::State& state)
{
    constexpr int rows = 7;
    constexpr int repaintsPerRow = 7;
    for (auto _ : state) {
        FullChart one(millionSamples);
        FullChart ten(tenMillionSamples);
        FullChart empty(0);
        Utils::Charts::HistoryCurve* history = one.historyCurve();
        if (!history) {
            state.SkipWithError("the chart has no history curve");
            return;
        }
        const Utils::ValueOverTime* data = one.chart.getData(0);
        auto* plain = new QwtPlotCurve;
        plain->setPen(history->pen());
        plain->setSamples(data->pxData(), data->pyData(), data->size());
        plain->setVisible(false);
        plain->attach(one.plot());

        std::vector<double> oneMs;
        std::vector<double> tenMs;
        std::vector<double> floorMs;
        std::vector<double> plainMs;
        const auto row = [](FullChart& full, std::vector<double>& times) {
            for (int i = -1; i < repaintsPerRow; ++i) {
                const double ms = chartRepaintMs(full);
                if (i >= 0)
                    times.push_back(ms);
            }
        };
        for (int r = 0; r < rows; ++r) {
            row(one, oneMs);
            history->setVisible(false);
            plain->setVisible(true);
            repaintMs(one.plot());
            plainMs.push_back(repaintMs(one.plot()));
            plain->setVisible(false);
            history->setVisible(true);
            row(ten, tenMs);
            row(empty, floorMs);
        }

        const double chart = median(oneMs);
        state.counters["chart_ms"] = chart;
        state.counters["plain_ms"] = median(plainMs);
        state.counters["plain_over_chart"] = median(plainMs) / chart;
        state.counters["ten_million_ms"] = median(tenMs);
        state.counters["ten_over_one"] = median(tenMs) / chart;
        state.counters["floor_ms"] = median(floorMs);
        // The larger of the two, whichever stands nearer its next growth.
        state.counters["bytes_per_sample"] = std::max(one.bytesPerSample(), ten.bytesPerSample());
    }
}
BENCHMARK(BM_RepaintAgainstPlainCurveAndFloor)->Unit(benchmark::kMillisecond)->Iterations(1);

// A live sample arrives on a 10,000,000-sample history, all of it in view,
// and the chart is repainted: the time per sample.
void BM_LiveSampleOnTenMillion(benchmark::State& state)
{
    auto full = std::make_unique<FullChart>(tenMillionSamples);
    int next = tenMillionSamples;
    for (auto _ : state) {
        appendSample(full->chart, next++, tenMillionSamples);
        full->plot()->replot();
        benchmark::DoNotOptimize(full->plot()->canvas()->grab());
    }
    state.counters["samples"] = full->chart.getData(0)->size();
    state.counters["canvas_px"] = full->chart.plotWidth(0);
}
BENCHMARK(BM_LiveSampleOnTenMillion)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_HistoryTextRoundTrip(benchmark::State& state)
{
    QMainWindow window;
    GenericChart chart(2, &window, &window, false, true);
    for (int i = 0; i < millionSamples; ++i)
        appendSample(chart, i, millionSamples);
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
