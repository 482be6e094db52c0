// The chart's pure logic: reduction of a history to pixel columns, the text
// form of a history, and the rules of the time window.
#include <utils/ValueOverTime.h>
#include <utils/charts/ColumnDecimation.h>
#include <utils/charts/HistoryText.h>
#include <utils/charts/TimeWindow.h>

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <map>

using namespace Utils::Charts;
using Utils::SampleState;
using Utils::ValueOverTime;

namespace {

struct Series
{
    std::vector<double> x;
    std::vector<double> y;
};

Series makeSeries(int count, const std::function<double(int)>& time, const std::function<double(int)>& value)
{
    Series s;
    for (int i = 0; i < count; ++i) {
        s.x.push_back(time(i));
        s.y.push_back(value(i));
    }
    return s;
}

int columnOf(double x, double xMin, double xMax, int columns)
{
    if (!(xMax > xMin))
        return 0;
    const double position = (x - xMin) * columns / (xMax - xMin);
    return position < 0.0 ? -1 : position >= columns ? columns : int(position);
}

bool containsPoint(const std::vector<QPointF>& points, double x, double y)
{
    return std::any_of(points.begin(), points.end(),
                       [&](const QPointF& p) { return p.x() == x && p.y() == y; });
}

// Checks what every reduction must keep: the first and last sample of the
// range, each column's lowest and highest value, at most four points per
// column, and only points of the input.
void verifyReduction(const Series& s, int begin, int end, double xMin, double xMax, int columns)
{
    std::vector<QPointF> out;
    decimateColumns(s.x.data(), s.y.data(), begin, end, xMin, xMax, columns, out);
    QVERIFY(!out.empty());
    QCOMPARE(out.front(), QPointF(s.x[begin], s.y[begin]));
    QCOMPARE(out.back(), QPointF(s.x[end - 1], s.y[end - 1]));

    std::map<int, std::pair<int, int>> extremes; // column -> indices of min and max
    for (int i = begin; i < end; ++i) {
        const int column = columnOf(s.x[i], xMin, xMax, columns);
        auto it = extremes.find(column);
        if (it == extremes.end()) {
            extremes[column] = {i, i};
            continue;
        }
        if (s.y[i] < s.y[it->second.first])
            it->second.first = i;
        if (s.y[i] > s.y[it->second.second])
            it->second.second = i;
    }
    QVERIFY(out.size() <= 4 * extremes.size());
    QVERIFY(std::adjacent_find(out.begin(), out.end()) == out.end());
    for (const auto& [column, minMax] : extremes) {
        QVERIFY2(containsPoint(out, s.x[minMax.first], s.y[minMax.first]),
                 qPrintable(QString::number(column)));
        QVERIFY2(containsPoint(out, s.x[minMax.second], s.y[minMax.second]),
                 qPrintable(QString::number(column)));
    }
    for (const QPointF& p : out) {
        const auto it = std::find(s.x.begin() + begin, s.x.begin() + end, p.x());
        QVERIFY(it != s.x.begin() + end);
    }
}

} // namespace

class ChartLogicTest : public QObject
{
    Q_OBJECT

private slots:
    // A random walk, a square wave, a sparse series and an irregularly spaced one.
    void reductionKeepsExtremesOfRandomShapes()
    {
        for (int shape = 0; shape < 4; ++shape) {
            for (int columns : {1, 7, 640}) {
                QRandomGenerator random(quint32(1234 + shape * 17 + columns));
                double walk = 0.0;
                double time = 1.7e12;
                const Series s = makeSeries(
                    shape == 2 ? 50 : 20000,
                    [&](int i) {
                        return shape == 3 ? time += random.bounded(1000) * random.bounded(1000) / 100.0
                                          : 1.7e12 + i * 85.0;
                    },
                    [&](int i) {
                        if (shape == 0)
                            return walk += random.bounded(2.0) - 1.0;
                        return shape == 1 ? ((i / 733) % 2 == 0 ? 100.0 : 9000.0) : random.bounded(10000.0);
                    });
                // The whole history, and a window in its middle entered and left by the line.
                const double first = s.x.front();
                const double span = s.x.back() - first;
                verifyReduction(s, 0, int(s.x.size()), first, s.x.back(), columns);
                const auto index = [&s](double x) {
                    return int(std::lower_bound(s.x.begin(), s.x.end(), x) - s.x.begin());
                };
                verifyReduction(s, index(first + span * 0.3) - 1, index(first + span * 0.6) + 1,
                                first + span * 0.3, first + span * 0.6, columns);
            }
        }
    }

    void reductionEdgeCases()
    {
        std::vector<QPointF> out{QPointF(1, 1)};
        const Series s = makeSeries(
            100, [](int i) { return 1000.0 + i; }, [](int i) { return (i * 37 + 50) % 101; });

        decimateColumns(s.x.data(), s.y.data(), 5, 5, 0.0, 2000.0, 100, out);
        QVERIFY(out.empty());

        decimateColumns(s.x.data(), s.y.data(), 7, 8, 0.0, 2000.0, 100, out);
        QCOMPARE(out.size(), std::size_t(1));
        QCOMPARE(out.front(), QPointF(s.x[7], s.y[7]));

        // All samples on one column: first, lowest, highest, last, whatever the
        // order of lowest and highest in time.
        decimateColumns(s.x.data(), s.y.data(), 0, 100, 0.0, 1e9, 100, out);
        QCOMPARE(out.size(), std::size_t(4));
        QCOMPARE(out[0], QPointF(s.x[0], s.y[0]));
        QCOMPARE(out[1].y(), 0.0);
        QCOMPARE(out[2].y(), 100.0);
        QCOMPARE(out[3], QPointF(s.x[99], s.y[99]));

        // A range reaching beyond the data on both sides, and one on the left only.
        verifyReduction(s, 0, 100, 900.0, 1200.0, 50);
        verifyReduction(s, 0, 40, 500.0, 1030.0, 13);
        // An empty x range puts everything into one column.
        verifyReduction(s, 0, 100, 1050.0, 1050.0, 10);
    }

    // Values, gaps and the three states mixed at random: the line holds values
    // only, and every pixel column gets one mark per state it holds, at the
    // state's first sample there, never for a value or a gap.
    void statesAreMarkedOncePerColumn()
    {
        QRandomGenerator random(5);
        ValueOverTime history;
        for (int i = 0; i < 5000; ++i) {
            const int pick = random.bounded(8);
            if (pick < 4)
                history.appendState(i, SampleState(pick + 1));
            else
                history.append(i, random.bounded(1000.0));
        }
        // The whole range on several widths, a part of it, and an empty one.
        const std::tuple<int, double, double> views[] = {{1, 0.0, 4999.0},   {7, 0.0, 4999.0},
                                                         {100, 0.0, 4999.0}, {5000, 0.0, 4999.0},
                                                         {50, 1200.5, 3100}, {10, 2500.0, 2500.0}};
        for (const auto& [columns, xMin, xMax] : views) {
            const int begin = std::max(0, history.lowerBound(xMin) - 1);
            const int end = std::min(history.size(), history.upperBound(xMax) + 1);
            std::vector<QPointF> line;
            decimateColumns(history.pxData(), history.pyData(), begin, end, xMin, xMax, columns, line);
            for (const QPointF& p : line)
                QVERIFY(isLineBreak(p) || history.state(int(p.x())) == SampleState::Value);

            auto columnAt = [&](double x) { return std::min(columnOf(x, xMin, xMax, columns), columns - 1); };
            std::map<std::pair<int, SampleState>, double> expected;
            for (int i = begin; i < end; ++i) {
                const SampleState state = history.state(i);
                if (state != SampleState::Value && state != SampleState::Gap && i >= xMin && i <= xMax)
                    expected.emplace(std::make_pair(columnAt(i), state), i);
            }
            std::vector<StateMark> marks;
            decimateStates(history.pxData(), history.stateData(), begin, end, xMin, xMax, columns, marks);
            QCOMPARE(marks.size(), expected.size());
            for (const StateMark& mark : marks)
                QCOMPARE(mark.x, expected[std::make_pair(columnAt(mark.x), mark.state)]);
        }
    }

    void gapsBreakTheLineWhereverTheyFall_data()
    {
        QTest::addColumn<QVector<int>>("gaps");
        QTest::addColumn<int>("columns");
        const std::pair<const char*, QVector<int>> placements[] = {
            {"inside a column", {437}},           {"several in a row", {300, 301, 302}},
            {"around a lone sample", {600, 602}}, {"first and last", {0, 999}},
            {"after the first sample", {1}},      {"on a column border", {100, 900}},
        };
        for (const auto& [name, gaps] : placements) {
            for (int columns : {3, 10, 1000})
                QTest::addRow("%s, %d columns", name, columns) << gaps << columns;
        }
    }

    // Wherever a gap lies, no drawn segment from one pixel column to another
    // crosses its time, and each stretch of data that a gap parts from the next
    // column keeps a run of its own. Within a column, whose values are drawn as
    // one vertical stroke, a gap narrower than the pixel is joined.
    void gapsBreakTheLineWhereverTheyFall()
    {
        QFETCH(QVector<int>, gaps);
        QFETCH(int, columns);
        QRandomGenerator random(42);
        Series s = makeSeries(
            1000, [](int i) { return 1.7e12 + i; }, [&](int) { return random.bounded(1000.0); });
        for (int gap : gaps)
            s.y[std::size_t(gap)] = std::numeric_limits<double>::quiet_NaN();
        const double xMin = s.x.front();
        const double xMax = s.x.back() + 1.0;
        std::vector<QPointF> out;
        decimateColumns(s.x.data(), s.y.data(), 0, 1000, xMin, xMax, columns, out);

        QVERIFY(!out.empty());
        QVERIFY(!isLineBreak(out.front()) && !isLineBreak(out.back()));
        int runs = 1;
        for (std::size_t i = 1; i < out.size(); ++i) {
            if (isLineBreak(out[i])) {
                QVERIFY(!isLineBreak(out[i + 1]));
                ++runs;
                continue;
            }
            if (isLineBreak(out[i - 1]) ||
                columnOf(out[i - 1].x(), xMin, xMax, columns) == columnOf(out[i].x(), xMin, xMax, columns))
                continue;
            for (int gap : gaps) {
                const double at = s.x[std::size_t(gap)];
                QVERIFY2(!(out[i - 1].x() < at && at < out[i].x()), qPrintable(QString::number(gap)));
            }
        }
        int parted = 1;
        int previous = -1;
        for (int i = 0; i < 1000; ++i) {
            if (std::isnan(s.y[std::size_t(i)]))
                continue;
            if (previous >= 0 && i - previous > 1 &&
                columnOf(s.x[std::size_t(i)], xMin, xMax, columns) !=
                    columnOf(s.x[std::size_t(previous)], xMin, xMax, columns))
                ++parted;
            previous = i;
        }
        QCOMPARE(runs, parted);
    }

    // Random histories of value runs, gaps and states, grown sample by sample,
    // assigned whole or trimmed, read through random ranges and canvas widths:
    // the line and the marks read from the summaries equal those of a scan of
    // every sample.
    void summariesDrawWhatAScanDraws()
    {
        QRandomGenerator random(29);
        for (int round = 0; round < 60; ++round) {
            std::vector<double> x;
            std::vector<double> y;
            std::vector<SampleState> states;
            const int length = random.bounded(1, 60000);
            double time = 1.7e12;
            while (int(x.size()) < length) {
                const bool values = random.bounded(3) != 0;
                const SampleState state = values ? SampleState::Value : SampleState(random.bounded(1, 5));
                // Some histories change state every few samples, so different states meet at column edges.
                const int run = values ? random.bounded(1, round % 5 == 4 ? 40 : 5000)
                                       : random.bounded(1, round % 2 ? 300 : 20);
                for (int i = 0; i < run; ++i) {
                    x.push_back(time += random.bounded(3)); // equal times too
                    y.push_back(values ? double(random.bounded(50))
                                       : std::numeric_limits<double>::quiet_NaN());
                    states.push_back(state);
                }
            }
            // Some histories end on a whole block of the summaries.
            const std::size_t block = std::size_t(Utils::HistorySummary::samplesPerEntry(1));
            const std::size_t kept =
                round % 4 == 1 && x.size() >= block ? x.size() / block * block : x.size();
            x.resize(kept);
            y.resize(kept);
            states.resize(kept);
            const int dropped = round % 3 == 2 ? random.bounded(int(x.size())) : 0;
            ValueOverTime grown;
            for (std::size_t i = std::size_t(dropped); i < x.size(); ++i) {
                if (states[i] == SampleState::Value)
                    grown.append(x[i], y[i]);
                else
                    grown.appendState(x[i], states[i]);
            }
            ValueOverTime history = grown;
            if (round % 3 != 0) {
                history.assign(x, y, states);
                history.dropOldest(dropped);
            }
            if (history.isEmpty())
                continue;
            Utils::HistorySummary summary = history.summary();
            QVERIFY(summary.memoryBytes() >=
                    std::size_t(summary.size(1)) * sizeof(Utils::HistorySummary::Entry));
            summary.clear();
            QCOMPARE(summary.memoryBytes(), std::size_t(0));
            const double first = history.x(0);
            const double span = history.x(history.size() - 1) - first;
            for (int view = 0; view < 5; ++view) {
                const double xMin = first + random.bounded(1.2) * span - 0.1 * span;
                // An empty range, one that ends on a sample, and random ones.
                double xMax = xMin + random.bounded(1.0) * span;
                if (view == 0)
                    xMax = xMin;
                else if (view == 1)
                    xMax = history.x(random.bounded(history.size()));
                const int columns = random.bounded(1, 2000);
                const int begin = std::max(0, history.lowerBound(xMin) - 1);
                const int end = std::min(history.size(), history.upperBound(xMax) + 1);
                const QString where = QString("round %1, view %2").arg(round).arg(view);

                std::vector<QPointF> scanned;
                std::vector<QPointF> summarised;
                std::vector<StateMark> scannedMarks;
                std::vector<StateMark> summarisedMarks;
                decimateColumns(history.pxData(), history.pyData(), begin, end, xMin, xMax, columns, scanned);
                decimateStates(history.pxData(), history.stateData(), begin, end, xMin, xMax, columns,
                               scannedMarks);
                decimateHistory(history, begin, end, xMin, xMax, columns, summarised, summarisedMarks);
                QVERIFY2(std::equal(scanned.begin(), scanned.end(), summarised.begin(), summarised.end(),
                                    [](const QPointF& a, const QPointF& b) {
                                        return a.x() == b.x() &&
                                               (a.y() == b.y() || (isLineBreak(a) && isLineBreak(b)));
                                    }),
                         qPrintable(where));
                QVERIFY2(std::equal(scannedMarks.begin(), scannedMarks.end(), summarisedMarks.begin(),
                                    summarisedMarks.end(),
                                    [](const StateMark& a, const StateMark& b) {
                                        return a.x == b.x && a.state == b.state;
                                    }),
                         qPrintable(where));
            }
        }
    }

    // Written as XML-safe text, every double reads back bit for bit.
    void historyTextRoundTripsExactly()
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
        QVERIFY(parseHistory(formatHistory(history, '|'), '|', read));
        QCOMPARE(read.size(), history.size());
        const std::size_t count = std::size_t(history.size());
        QVERIFY(std::memcmp(read.pxData(), history.pxData(), count * sizeof(double)) == 0);
        QVERIFY(std::memcmp(read.pyData(), history.pyData(), count * sizeof(double)) == 0);
        QVERIFY(std::memcmp(read.stateData(), history.stateData(), count) == 0);
        QVERIFY(parseHistory(formatHistory(ValueOverTime()), ';', read));
        QVERIFY(read.isEmpty());
    }

    // Older files kept gaps as "nan" and the states as the sensor's codes. A malformed text leaves
    // the history as it was.
    void historyTextReadsOlderFilesAndRefusesMalformedOnes()
    {
        ValueOverTime read;
        QVERIFY(parseHistory("1:32760;2:32764;3:32776;4:nan;5:32770;6:close;7:far", ';', read));
        const SampleState expected[] = {SampleState::TooFar, SampleState::NoData, SampleState::TooClose,
                                        SampleState::Gap,    SampleState::Value,  SampleState::TooClose,
                                        SampleState::TooFar};
        QCOMPARE(std::vector<SampleState>(read.stateData(), read.stateData() + read.size()),
                 std::vector<SampleState>(std::begin(expected), std::end(expected)));
        for (int i = 0; i < 7; ++i)
            QCOMPARE(std::isnan(read.y(i)), expected[i] != SampleState::Value);

        const std::pair<const char*, char> malformed[] = {
            {"1:2;3;", ';'},   {"1:2;x:3;", ';'}, {"1:2;3:4abc;", ';'},   {"1:2;;3:4;", ';'},
            {"1:2:3;", ';'},   {"5:1;4:1;", ';'}, {"1 :2;", ';'},         {";", ';'},
            {"1:2,3:4,", ';'}, {"1:2e3:4e", 'e'}, {"1:2;3:closer;", ';'}, {"gap:2;", ';'}};
        for (const auto& [text, separator] : malformed) {
            QVERIFY2(!parseHistory(text, separator, read), text);
            QVERIFY(read.size() == 7 && read.y(4) == 32770.0);
        }
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
        QVERIFY(window.isFollowing());
        QCOMPARE(window.right(), 1e6 + 10000.0);
        QVERIFY(window.follow(1e6 + 85.0, width));
        QCOMPARE(window.right(), 1e6 + 85.0 + 10000.0);

        // Panning stops following; the view stays put while data arrive.
        window.panBy(-30000.0, 0.0, 1e6 + 85.0, width);
        QVERIFY(!window.isFollowing());
        const double panned = window.right();
        QVERIFY(!window.follow(1e6 + 500.0, width));
        QCOMPARE(window.right(), panned);

        // Panning ends 200 px (20 s) past the newest or the oldest sample.
        window.panBy(1e9, 0.0, 1e6, width);
        QCOMPARE(window.right(), 1e6 + 20000.0);
        window.panBy(-1e9, 5e5, 1e6, width);
        QCOMPARE(window.left(), 5e5 - 20000.0);

        // Offsets are capped on a narrow canvas: at most 45% while following.
        window.jumpTo(1e6, 100);
        QCOMPARE(window.right(), 1e6 + 0.45 * 60000.0);

        // Zooming keeps the time under the mouse in place and the span within its limits.
        window.setRight(1e6);
        window.zoomAt(1e6 - 30000.0, 0.5, 0.0, 1e6, 600);
        QCOMPARE(window.span(), 30000.0);
        QCOMPARE(window.left() + window.span() / 2.0, 1e6 - 30000.0);
        window.zoomAt(1e6, 1e-6, 0.0, 1e6, 600);
        QCOMPARE(window.span(), 2000.0);
        window.zoomAt(1e6, 1e9, 0.0, 1e12, 600);
        QCOMPARE(window.span(), 600000.0);
        window.resetZoom(2e6, 600);
        QCOMPARE(window.span(), 60000.0);
        QVERIFY(window.isFollowing());
    }
};

QTEST_APPLESS_MAIN(ChartLogicTest)

#include "tst_chartlogic.moc"
