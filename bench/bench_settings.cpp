// Settings files of a window whose chart holds a long history: saving and
// loading 1,000,000 samples must each stay well under 2 s. Run from
// build/bin; it works offscreen without a display.
#include <catalogue/SensorCatalogue.h>
#include <window/SensorWindow.h>

#include <extensionsystem/SensorBasic.h>
#include <utils/ValueOverTime.h>
#include <utils/charts/GenericChart.h>
#include <utils/charts/HistoryText.h>

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace NimbarSensorPlugin::Core;

namespace {

// A window of the first sensor of the catalogue with samples of live data,
// one per 85 ms poll, distances that move.
std::unique_ptr<SensorWindow> windowWithHistory(int samples)
{
    const auto sensors = loadSensorCatalogue();
    auto window = std::make_unique<SensorWindow>(sensors.front());
    std::vector<double> x(static_cast<std::size_t>(samples));
    std::vector<double> y(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        x[std::size_t(i)] = 1764000000000.0 + 85.0 * i;
        y[std::size_t(i)] = 300.0 + (i % 1700) * 1.37;
    }
    Utils::ValueOverTime history;
    history.assign(std::move(x), std::move(y));
    window->chart()->setDataFromString(0, Utils::Charts::formatHistory(history), ';');
    return window;
}

void saveSettings(benchmark::State& state)
{
    const std::unique_ptr<SensorWindow> window = windowWithHistory(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.kvs");
    for (auto _ : state) {
        if (!window->saveSettingsTo(path).isEmpty())
            state.SkipWithError("the settings file could not be written");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void loadSettings(benchmark::State& state)
{
    const std::unique_ptr<SensorWindow> window = windowWithHistory(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.kvs");
    window->saveSettingsTo(path);
    const std::unique_ptr<SensorWindow> fresh = windowWithHistory(0);
    for (auto _ : state) {
        if (!fresh->bOpenSettings(path))
            state.SkipWithError("the settings file was not loaded");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(saveSettings)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(loadSettings)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
