// The chart's pure logic: reduction to pixel columns, the text form of a history, the time window.
#include <utils/ValueOverTime.h>
#include <utils/charts/ColumnDecimation.h>
#include <utils/charts/HistoryText.h>
#include <utils/charts/TimeWindow.h>

#include <QtTest>

#include <cmath>
#include <cstring>
#include <map>

using namespace Utils::Charts;
using Utils::SampleState;
using Utils::ValueOverTime;

namespace {

int columnOf(double x, double xMin, double xMax, int columns)
{
    if (!(xMax > xMin))
        return 0;
    const double position = (x - xMin) * columns / (xMax - xMin);
    return position < 0.0 ? -1 : position >= columns ? columns : int(position);
}

// Checks what every reduction must keep: the first and last sample of the range, each column's lowest and
// highest value, at most four points per column, and only points of the input.
void verifyReduction(const ValueOverTime& h, int begin, int end, double xMin, double xMax, int columns)
{
    std::vector<QPointF> out;
    decimateColumns(h.pxData(), h.pyData(), begin, end, xMin, xMax, columns, out);
    QVERIFY(!out.empty());
    QCOMPARE(out.front(), QPointF(h.x(begin), h.y(begin)));
    QCOMPARE(out.back(), QPointF(h.x(end - 1), h.y(end - 1)));
    std::map<int, std::pair<QPointF, QPointF>> extremes; // lowest and highest per column
    for (int i = begin; i < end; ++i) {
        const QPointF p(h.x(i), h.y(i));
        auto& [low, high] = extremes.try_emplace(columnOf(p.x(), xMin, xMax, columns), p, p).first->second;
        low = p.y() < low.y() ? p : low;
        high = p.y() > high.y() ? p : high;
    }
    QVERIFY(out.size() <= 4 * extremes.size());
    QVERIFY(std::adjacent_find(out.begin(), out.end()) == out.end());
    const auto kept = [&out](const QPointF& p) { return std::find(out.begin(), out.end(), p) != out.end(); };
    for (const auto& [column, lowHigh] : extremes)
        QVERIFY2(kept(lowHigh.first) && kept(lowHigh.second), qPrintable(QString::number(column)));
    for (const QPointF& p : out)
        QVERIFY(std::binary_search(h.pxData() + begin, h.pxData() + end, p.x()));
}

// The line and the marks read from the summaries equal those of a scan of every sample; no segment of the
// line from one pixel column to another crosses a gap or a state, and breaks come one at a time.
void verifySummariesDrawAsAScan(const ValueOverTime& history, double xMin, double xMax, int columns)
{
    const int begin = std::max(0, history.lowerBound(xMin) - 1);
    const int end = std::min(history.size(), history.upperBound(xMax) + 1);
    std::vector<QPointF> scanned, summarised;
    std::vector<StateMark> scannedMarks, summarisedMarks;
    decimateColumns(history.pxData(), history.pyData(), begin, end, xMin, xMax, columns, scanned);
    decimateStates(history.pxData(), history.stateData(), begin, end, xMin, xMax, columns, scannedMarks);
    decimateHistory(history, begin, end, xMin, xMax, columns, summarised, summarisedMarks);
    for (std::size_t i = 1; i < scanned.size(); ++i) {
        QVERIFY(!isLineBreak(scanned[i]) || !isLineBreak(scanned[i - 1]));
        if (isLineBreak(scanned[i]) || isLineBreak(scanned[i - 1]) ||
            columnOf(scanned[i - 1].x(), xMin, xMax, columns) ==
                columnOf(scanned[i].x(), xMin, xMax, columns))
            continue;
        for (int k = history.upperBound(scanned[i - 1].x()); k < history.lowerBound(scanned[i].x()); ++k)
            QVERIFY2(history.state(k) == SampleState::Value, qPrintable(QString::number(k)));
    }
    QVERIFY(std::equal(scanned.begin(), scanned.end(), summarised.begin(), summarised.end(),
                       [](const QPointF& a, const QPointF& b) {
                           return a.x() == b.x() && (a.y() == b.y() || (isLineBreak(a) && isLineBreak(b)));
                       }));
    QVERIFY(
        std::equal(scannedMarks.begin(), scannedMarks.end(), summarisedMarks.begin(), summarisedMarks.end(),
                   [](const StateMark& a, const StateMark& b) { return a.x == b.x && a.state == b.state; }));
}

} // namespace

class ChartLogicTest : public QObject
{
    Q_OBJECT

private slots:
    // A random walk, a square wave, a sparse series and an irregularly spaced one; then the edge cases.
    void reductionKeepsFirstLastAndExtremes()
    {
        for (int shape = 0; shape < 4; ++shape) {
            for (int columns : {1, 7, 640}) {
                QRandomGenerator random(quint32(1234 + shape * 17 + columns));
                ValueOverTime h;
                double walk = 0.0;
                double time = 1.7e12;
                for (int i = 0; i < (shape == 2 ? 50 : 20000); ++i) {
                    time = shape == 3 ? time + random.bounded(1000) * random.bounded(1000) / 100.0
                                      : 1.7e12 + i * 85.0;
                    walk += shape == 0 ? random.bounded(2.0) - 1.0 : 0.0;
                    h.append(time, shape == 0   ? walk
                                   : shape == 1 ? ((i / 733) % 2 == 0 ? 100.0 : 9000.0)
                                                : random.bounded(10000.0));
                }
                // The whole history, and a window in its middle entered and left by the line.
                const double first = h.x(0);
                const double span = h.x(h.size() - 1) - first;
                verifyReduction(h, 0, h.size(), first, first + span, columns);
                verifyReduction(h, h.lowerBound(first + span * 0.3) - 1, h.lowerBound(first + span * 0.6) + 1,
                                first + span * 0.3, first + span * 0.6, columns);
            }
        }

        std::vector<QPointF> out{QPointF(1, 1)};
        ValueOverTime h;
        for (int i = 0; i < 100; ++i)
            h.append(1000.0 + i, (i * 37 + 50) % 101);
        decimateColumns(h.pxData(), h.pyData(), 5, 5, 0.0, 2000.0, 100, out);
        QVERIFY(out.empty());
        decimateColumns(h.pxData(), h.pyData(), 7, 8, 0.0, 2000.0, 100, out);
        QCOMPARE(out, std::vector<QPointF>{QPointF(h.x(7), h.y(7))});
        // All samples on one column: first, lowest, highest, last, whichever of lowest and highest came
        // first.
        decimateColumns(h.pxData(), h.pyData(), 0, 100, 0.0, 1e9, 100, out);
        QCOMPARE(out, (std::vector<QPointF>{{1000, 50}, {1086, 0}, {1015, 100}, {1099, 77}}));
        // A range reaching beyond the data, and an empty one that puts everything into one column.
        verifyReduction(h, 0, 100, 900.0, 1200.0, 50);
        verifyReduction(h, 0, 100, 1050.0, 1050.0, 10);
    }

    // Random histories of value runs, gaps and states (alone or in a row, at the ends and on column borders),
    // grown sample by sample or assigned whole and trimmed, some ending on a whole block of the summaries,
    // read through random ranges (an empty one, one that ends on a sample) and canvas widths.
    void summariesDrawWhatAScanDraws()
    {
        QRandomGenerator random(29);
        const std::size_t block = std::size_t(Utils::HistorySummary::samplesPerEntry(1));
        for (int round = 0; round < 60; ++round) {
            std::vector<double> x, y;
            std::vector<SampleState> states;
            const std::size_t length = random.bounded(1, 60000);
            double time = 1.7e12;
            while (x.size() < length) {
                const bool values = random.bounded(3) != 0;
                const SampleState state = values ? SampleState::Value : SampleState(random.bounded(1, 5));
                // Some histories change state every few samples, so different states meet at column edges.
                const int run = values ? random.bounded(1, round % 5 == 4 ? 40 : 5000)
                                       : random.bounded(1, round % 2 ? 300 : 20);
                for (int i = 0; i < run; ++i) {
                    x.push_back(time += random.bounded(3)); // equal times too
                    y.push_back(values ? double(random.bounded(50)) : std::nan(""));
                    states.push_back(state);
                }
            }
            const std::size_t kept =
                round % 4 == 1 && x.size() >= block ? x.size() / block * block : x.size();
            x.resize(kept);
            y.resize(kept);
            states.resize(kept);
            ValueOverTime history;
            for (std::size_t i = 0; round % 3 == 0 && i < x.size(); ++i) {
                if (states[i] == SampleState::Value)
                    history.append(x[i], y[i]);
                else
                    history.appendState(x[i], states[i]);
            }
            if (round % 3 != 0) {
                history.assign(x, y, states);
                history.dropOldest(round % 3 == 2 ? random.bounded(int(x.size())) : 0);
            }
            if (history.isEmpty())
                continue;
            const double first = history.x(0);
            const double span = history.x(history.size() - 1) - first;
            for (int view = 0; view < 5; ++view) {
                const double xMin = first + random.bounded(1.2) * span - 0.1 * span;
                const double xMax = view == 0   ? xMin
                                    : view == 1 ? history.x(random.bounded(history.size()))
                                                : xMin + random.bounded(1.0) * span;
                verifySummariesDrawAsAScan(history, xMin, xMax, random.bounded(1, 2000));
                QVERIFY2(!QTest::currentTestFailed(),
                         qPrintable(QString("round %1, view %2").arg(round).arg(view)));
            }
        }
    }

    // Written as XML-safe text, every double reads back bit for bit.
    void historyTextRoundTripsAndReadsOlderFiles()
    {
        ValueOverTime history;
        history.append(1717171717000.0, -12.75);
        history.appendState(1717171717085.5, SampleState::NoData);
        history.appendState(1717171717170.0, SampleState::Gap);
        QCOMPARE(QString::fromStdString(formatHistory(history)),
                 QStringLiteral("1717171717000:-12.75;1717171717085.5:nodata;1717171717170:gap;"));
        double time = 1717171717200.0;
        for (double value : {0.1 + 0.2, 1e-300, -2.5e17, -0.0, 1.0 / 3.0})
            history.append(time += 85.3, value);
        history.appendState(time += 85.0, SampleState::TooClose);
        history.appendState(time += 85.0, SampleState::TooFar);
        ValueOverTime read;
        QVERIFY(parseHistory(formatHistory(history, '|'), '|', read) && read.size() == history.size());
        const std::size_t count = std::size_t(history.size());
        QVERIFY(std::memcmp(read.pxData(), history.pxData(), count * sizeof(double)) == 0 &&
                std::memcmp(read.pyData(), history.pyData(), count * sizeof(double)) == 0 &&
                std::memcmp(read.stateData(), history.stateData(), count) == 0);
        QVERIFY(parseHistory(formatHistory(ValueOverTime()), ';', read) && read.isEmpty());

        // Older files kept gaps as "nan" and states as codes; a malformed text leaves the history as it was.
        QVERIFY(parseHistory("1:32760;2:32764;3:32776;4:nan;5:32770;6:close;7:far", ';', read));
        QCOMPARE(formatHistory(read), std::string("1:far;2:nodata;3:close;4:gap;5:32770;6:close;7:far;"));

        const std::pair<const char*, char> malformed[] = {
            {"1:2;3;", ';'},   {"1:2;x:3;", ';'}, {"1:2;3:4abc;", ';'},   {"1:2;;3:4;", ';'},
            {"1:2:3;", ';'},   {"5:1;4:1;", ';'}, {"1 :2;", ';'},         {";", ';'},
            {"1:2,3:4,", ';'}, {"1:2e3:4e", 'e'}, {"1:2;3:closer;", ';'}, {"gap:2;", ';'}};
        for (const auto& [text, separator] : malformed)
            QVERIFY2(!parseHistory(text, separator, read) && read.size() == 7 && read.y(4) == 32770.0, text);
    }

    void timeWindowFollowsPansAndZooms()
    {
        TimeWindow window;
        window.setSpanLimits(2000.0, 600000.0);
        window.setDefaultSpan(60000.0);
        window.setFollowOffset(100.0);
        window.setPanOffset(200.0);
        const int width = 600; // 100 ms per pixel
        window.jumpTo(1e6, width);
        QVERIFY(window.isFollowing() && window.follow(1e6 + 85.0, width) && window.right() == 1e6 + 10085.0);
        // Panning ends 200 px (20 s) past the newest or the oldest sample.
        window.panBy(1e9, 0.0, 1e6, width);
        const double toNewest = window.right();
        window.panBy(-1e9, 5e5, 1e6, width);
        const double toOldest = window.left();
        // Offsets are capped on a narrow canvas: at most 45% while following.
        window.jumpTo(1e6, 100);
        QCOMPARE((QList<double>{toNewest, toOldest, window.right()}),
                 (QList<double>{1e6 + 20000.0, 5e5 - 20000.0, 1e6 + 0.45 * 60000.0}));

        // Zooming keeps the time under the mouse in place and the span within its limits.
        window.setRight(1e6);
        window.zoomAt(1e6 - 30000.0, 0.5, 0.0, 1e6, 600);
        QVERIFY(window.span() == 30000.0 && window.left() == 1e6 - 45000.0);
        window.zoomAt(1e6, 1e-6, 0.0, 1e6, 600);
        const double narrowest = window.span();
        window.zoomAt(1e6, 1e9, 0.0, 1e12, 600);
        QCOMPARE((QList<double>{narrowest, window.span()}), (QList<double>{2000.0, 600000.0}));
        window.resetZoom(2e6, 600);
        QVERIFY(window.span() == 60000.0 && window.isFollowing());
    }
};

QTEST_APPLESS_MAIN(ChartLogicTest)

#include "tst_chartlogic.moc"
