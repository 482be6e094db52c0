// What a user waits for between choosing a sensor and seeing its window:
// the catalogue, the lookup of the sensor in the description document, and
// building the window in a sub-window.
#include <catalogue/SensorCatalogue.h>
#include <plugin/PluginExports.h>

#include <extensionsystem/PluginInterface.h>

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

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

// Opens the sensor's window in a sub-window once per iteration; closing it
// is not timed.
static void openWindows(benchmark::State& state, const ExtensionSystem::SensorBasic& sensor)
{
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

static void openWindow(benchmark::State& state)
{
    openWindows(state, loadSensorCatalogue().front());
}
BENCHMARK(openWindow)->Unit(benchmark::kMillisecond);

// A document far larger than the family's: 120 groups of 100 parameters.
// The tree of 12,000 rows must still open within 2 s.
static QByteArray largeDocument()
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\"?><document>"
                      "<documentId>IoLinkMzRT5family</documentId><sensorList><sensor><id>UT001</id>"
                      "<name>Large sensor</name><portsettings><characterdelay>0</characterdelay>"
                      "<linedelay>0</linedelay></portsettings></sensor></sensorList><treeGui><default>";
    int n = 0;
    for (int group = 0; group < 120; ++group) {
        text += "<node><type>category</type><id>G" + QByteArray::number(group) + "</id><text><en>Group " +
                QByteArray::number(group) + "</en></text>";
        for (int k = 0; k < 100; ++k, ++n) {
            const QByteArray number = QByteArray::number(n);
            text += "<property><type>int</type><id>P" + number + "</id><text><en>Parameter " + number +
                    "</en></text><index>" + QByteArray::number(100 + n) +
                    "</index><subIndex>0</subIndex><size>7</size><min>0</min><max>1000</max>"
                    "<defaultvalue>5</defaultvalue></property>";
        }
        text += "</node>";
    }
    return text + "</default></treeGui></document>";
}

static void openLargeWindow(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("large.xml");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(largeDocument());
    file.close();
    const QByteArray previous = qgetenv("IOLINK_DESCRIPTION_DOCUMENT");
    qputenv("IOLINK_DESCRIPTION_DOCUMENT", QFile::encodeName(path));
    openWindows(state, loadSensorCatalogue().front());
    qputenv("IOLINK_DESCRIPTION_DOCUMENT", previous);
}
BENCHMARK(openLargeWindow)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
