// What a user waits for between choosing a sensor and seeing its window:
// the catalogue, the lookup of the sensor in the description document, and
// building the window in a sub-window.
#include <catalogue/SensorCatalogue.h>
#include <plugin/PluginExports.h>

#include <extensionsystem/PluginInterface.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <benchmark/benchmark.h>

using namespace NimbarSensorPlugin::Core;

static void catalogue(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(loadSensorCatalogue());
}
BENCHMARK(catalogue)->Unit(benchmark::kMillisecond);

static void lookup(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(findSensorDescription("RT5-6000-M30"));
}
BENCHMARK(lookup)->Unit(benchmark::kMillisecond);

static void openWindow(benchmark::State& state)
{
    const ExtensionSystem::SensorBasic sensor = loadSensorCatalogue().front();
    QMdiArea area;
    area.resize(1280, 800);
    area.show();
    for (auto _ : state) {
        auto* subWindow = new QMdiSubWindow(&area);
        ExtensionSystem::PluginInterface* interface = poGetInterfaceInstance(sensor, subWindow);
        subWindow->show();
        QApplication::processEvents();
        state.PauseTiming();
        delete interface;
        delete subWindow;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(openWindow)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
