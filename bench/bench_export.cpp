// CSV export of a chart history: exporting 1,000,000 samples to a file must stay well under 2 s.
// Measured twice: building the export text alone, and the whole export as the accepted dialog
// does it (text, temporary file beside the target, rename over it). Run from build/bin with
// QT_QPA_PLATFORM=offscreen; TMPDIR chooses the disk the file goes to.
#include <utils/ValueOverTime.h>
#include <utils/widgets/ExportDialog.h>
#include <utils/widgets/ExportText.h>

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A live-data history as the chart records it: one sample per 85 ms poll, distances that move.
Utils::ValueOverTime history(int samples)
{
    Utils::ValueOverTime data;
    data.reserve(samples);
    const double start = double(QDateTime(QDate(2026, 3, 28), QTime(20, 0)).toMSecsSinceEpoch());
    for (int i = 0; i < samples; ++i)
        data.append(start + 85.0 * i, 300.0 + (i % 1700) * 1.37);
    return data;
}

void exportText(benchmark::State& state)
{
    const Utils::ValueOverTime data = history(int(state.range(0)));
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray text = Utils::exportText(data, ";",
                                                  {QStringLiteral("Time"), QStringLiteral("Distance"),
                                                   QStringLiteral("Unit"), QStringLiteral("State")},
                                                  QStringLiteral("mm"));
        bytes += text.size();
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(bytes);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void exportToFile(benchmark::State& state)
{
    const Utils::ValueOverTime data = history(int(state.range(0)));
    QList<const Utils::ValueOverTime*> series{&data};
    QList<QString> names{QStringLiteral("Time"), QStringLiteral("Signal")};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.csv"));
    Utils::ExportDialog dialog(&series, &names);
    dialog.findChild<QLineEdit*>(QStringLiteral("fileName"))->setText(path);
    for (auto _ : state) {
        dialog.vFinished(QDialog::Accepted);
        if (!dialog.errorString().isEmpty()) {
            state.SkipWithError(qPrintable(dialog.errorString()));
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

// From 20:00 the day before a clock change, so that the run crosses midnight and the switch.
BENCHMARK(exportText)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(exportToFile)->Arg(1000000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
