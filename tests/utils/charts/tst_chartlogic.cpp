// The chart's pure logic: reduction of a history to pixel columns, the text
// form of a history, and the rules of the time window.
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
    decimateColumns(s.x.data(), s.y.data(), begin, end, xMin, xMax, columns, false, out);
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
    void reductionKeepsExtremesOfRandomShapes_data();
    void reductionKeepsExtremesOfRandomShapes();
    void reductionEdgeCases();
    void specialCodesBreakTheLine();
    void gapsBreakTheLineWhereverTheyFall_data();
    void gapsBreakTheLineWhereverTheyFall();
    void historyTextRoundTripsExactly();
    void historyTextIsXmlSafe();
    void malformedHistoryTextIsRefused_data();
    void malformedHistoryTextIsRefused();
    void timeWindowFollowsAndPans();
    void timeWindowZoomStaysInLimits();
};

void ChartLogicTest::reductionKeepsExtremesOfRandomShapes_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("columns");
    const char* names[] = {"random walk", "noisy sine",        "square wave",
                           "sparse",      "irregular spacing", "spikes"};
    for (int shape = 0; shape < 6; ++shape) {
        for (int columns : {1, 7, 640}) {
            QTest::addRow("%s, %d columns", names[shape], columns) << shape << columns;
        }
    }
}

void ChartLogicTest::reductionKeepsExtremesOfRandomShapes()
{
    QFETCH(int, shape);
    QFETCH(int, columns);
    QRandomGenerator random(quint32(1234 + shape * 17 + columns));
    const int count = shape == 3 ? 50 : 20000;
    double walk = 0.0;
    double time = 1.7e12;
    const Series s = makeSeries(
        count,
        [&](int i) {
            if (shape == 4)
                return time += random.bounded(1000) * random.bounded(1000) / 100.0;
            return 1.7e12 + i * 85.0;
        },
        [&](int i) {
            switch (shape) {
            case 0:
                return walk += random.bounded(2.0) - 1.0;
            case 1:
                return 500.0 * std::sin(i / 300.0) + random.bounded(40.0);
            case 2:
                return (i / 733) % 2 == 0 ? 100.0 : 9000.0;
            case 5:
                return random.bounded(100) == 0 ? 10000.0 : 200.0;
            default:
                return random.bounded(10000.0);
            }
        });
    const double first = s.x.front();
    const double last = s.x.back();
    // The whole history, and a window in its middle entered and left by the line.
    verifyReduction(s, 0, count, first, last, columns);
    const double span = last - first;
    const int begin = int(std::lower_bound(s.x.begin(), s.x.end(), first + span * 0.3) - s.x.begin()) - 1;
    const int end = int(std::upper_bound(s.x.begin(), s.x.end(), first + span * 0.6) - s.x.begin()) + 1;
    verifyReduction(s, begin, end, first + span * 0.3, first + span * 0.6, columns);
}

void ChartLogicTest::reductionEdgeCases()
{
    std::vector<QPointF> out{QPointF(1, 1)};
    const Series s = makeSeries(
        100, [](int i) { return 1000.0 + i; }, [](int i) { return (i * 37 + 50) % 101; });

    decimateColumns(s.x.data(), s.y.data(), 5, 5, 0.0, 2000.0, 100, false, out);
    QVERIFY(out.empty());

    decimateColumns(s.x.data(), s.y.data(), 7, 8, 0.0, 2000.0, 100, false, out);
    QCOMPARE(out.size(), std::size_t(1));
    QCOMPARE(out.front(), QPointF(s.x[7], s.y[7]));

    // All samples on one column: first, lowest, highest, last, whatever the
    // order of lowest and highest in time.
    decimateColumns(s.x.data(), s.y.data(), 0, 100, 0.0, 1e9, 100, false, out);
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

// Many samples per column: the codes never become a column's maximum. (The
// chart's own test shows them as gaps with one sample per column.)
void ChartLogicTest::specialCodesBreakTheLine()
{
    std::vector<QPointF> out;
    QRandomGenerator random(7);
    const Series dense = makeSeries(
        5000, [](int i) { return double(i); },
        [&](int) {
            const double codes[] = {32760.0, 32764.0, 32776.0};
            return random.bounded(5) == 0 ? codes[random.bounded(3)] : random.bounded(1000.0);
        });
    decimateColumns(dense.x.data(), dense.y.data(), 0, 5000, 0.0, 5000.0, 100, true, out);
    QVERIFY(!out.empty());
    for (const QPointF& p : out)
        QVERIFY(isLineBreak(p) || p.y() < 1000.0);
    QVERIFY(std::any_of(out.begin(), out.end(), isLineBreak));
}

void ChartLogicTest::gapsBreakTheLineWhereverTheyFall_data()
{
    QTest::addColumn<QVector<int>>("gaps");
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("breakAtSpecialCodes");
    const std::pair<const char*, QVector<int>> placements[] = {
        {"inside a column", {437}},           {"several in a row", {300, 301, 302}},
        {"around a lone sample", {600, 602}}, {"first and last", {0, 999}},
        {"on a column border", {100, 900}},
    };
    for (const auto& [name, gaps] : placements) {
        for (int columns : {3, 10, 1000}) {
            for (bool codes : {false, true})
                QTest::addRow("%s, %d columns%s", name, columns, codes ? ", codes break" : "")
                    << gaps << columns << codes;
        }
    }
}

// Wherever a gap lies, also amid many samples of one pixel column, no drawn
// segment crosses its time, and every stretch of data between gaps keeps a
// run of its own.
void ChartLogicTest::gapsBreakTheLineWhereverTheyFall()
{
    QFETCH(QVector<int>, gaps);
    QFETCH(int, columns);
    QFETCH(bool, breakAtSpecialCodes);
    QRandomGenerator random(42);
    Series s = makeSeries(
        1000, [](int i) { return 1.7e12 + i; }, [&](int) { return random.bounded(1000.0); });
    for (int gap : gaps)
        s.y[std::size_t(gap)] = std::numeric_limits<double>::quiet_NaN();
    std::vector<QPointF> out;
    decimateColumns(s.x.data(), s.y.data(), 0, 1000, s.x.front(), s.x.back() + 1.0, columns,
                    breakAtSpecialCodes, out);

    QVERIFY(!out.empty());
    QVERIFY(!isLineBreak(out.front()) && !isLineBreak(out.back()));
    int runs = 1;
    for (std::size_t i = 1; i < out.size(); ++i) {
        if (isLineBreak(out[i])) {
            QVERIFY(!isLineBreak(out[i + 1]));
            ++runs;
            continue;
        }
        if (isLineBreak(out[i - 1]))
            continue;
        for (int gap : gaps) {
            const double at = s.x[std::size_t(gap)];
            QVERIFY2(!(out[i - 1].x() < at && at < out[i].x()), qPrintable(QString::number(gap)));
        }
    }
    int stretches = 0;
    for (int i = 0; i < 1000; ++i)
        stretches += !std::isnan(s.y[std::size_t(i)]) && (i == 0 || std::isnan(s.y[std::size_t(i - 1)]));
    QCOMPARE(runs, stretches);
}

void ChartLogicTest::historyTextRoundTripsExactly()
{
    QRandomGenerator random(99);
    std::vector<double> x;
    // A gap (NaN) reads back as a gap.
    std::vector<double> y{0.1 + 0.2, 1e-300,    -2.5e17,
                          32760.0,   32764.0,   32776.0,
                          -0.0,      1.0 / 3.0, std::numeric_limits<double>::quiet_NaN()};
    double time = 1717171717000.0;
    for (std::size_t i = 0; i < y.size(); ++i)
        x.push_back(time += 85.0);
    for (int i = 0; i < 1000; ++i) {
        x.push_back(time += random.bounded(200.0));
        y.push_back(random.bounded(20000.0) - 10000.0);
    }
    const std::string text = formatHistory(x.data(), y.data(), int(x.size()));
    std::vector<double> readX;
    std::vector<double> readY;
    QVERIFY(parseHistory(text, ';', readX, readY));
    QCOMPARE(readX.size(), x.size());
    QVERIFY(std::memcmp(readX.data(), x.data(), x.size() * sizeof(double)) == 0);
    QVERIFY(std::memcmp(readY.data(), y.data(), y.size() * sizeof(double)) == 0);

    // Another separator, and an empty history.
    QVERIFY(parseHistory(formatHistory(x.data(), y.data(), 5, '|'), '|', readX, readY));
    QCOMPARE(readY.size(), std::size_t(5));
    QVERIFY(parseHistory(formatHistory(nullptr, nullptr, 0), ';', readX, readY));
    QVERIFY(readX.empty());
}

void ChartLogicTest::historyTextIsXmlSafe()
{
    const std::vector<double> x{1717171717000.0, 1717171717085.5};
    const std::vector<double> y{-12.75, 32764.0};
    const std::string text = formatHistory(x.data(), y.data(), 2);
    QCOMPARE(QString::fromStdString(text), QStringLiteral("1717171717000:-12.75;1717171717085.5:32764;"));
    QVERIFY(text.find_first_of("<>&\"'\n\r\t ") == std::string::npos);
}

void ChartLogicTest::malformedHistoryTextIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<char>("separator");
    QTest::newRow("no value mark") << "1:2;3;" << ';';
    QTest::newRow("letters") << "1:2;x:3;" << ';';
    QTest::newRow("trailing garbage") << "1:2;3:4abc;" << ';';
    QTest::newRow("empty sample") << "1:2;;3:4;" << ';';
    QTest::newRow("two value marks") << "1:2:3;" << ';';
    QTest::newRow("time runs backwards") << "5:1;4:1;" << ';';
    QTest::newRow("blank inside") << "1 :2;" << ';';
    QTest::newRow("only separator") << ";" << ';';
    QTest::newRow("wrong separator") << "1:2,3:4," << ';';
    QTest::newRow("separator part of numbers") << "1:2e3:4e" << 'e';
}

void ChartLogicTest::malformedHistoryTextIsRefused()
{
    QFETCH(QString, text);
    QFETCH(char, separator);
    std::vector<double> x{7.0};
    std::vector<double> y{8.0};
    QVERIFY(!parseHistory(text.toStdString(), separator, x, y));
    QCOMPARE(x, std::vector<double>{7.0});
    QCOMPARE(y, std::vector<double>{8.0});
}

void ChartLogicTest::timeWindowFollowsAndPans()
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
}

void ChartLogicTest::timeWindowZoomStaysInLimits()
{
    TimeWindow window;
    window.setSpanLimits(2000.0, 10500000.0);
    window.setDefaultSpan(60000.0);
    window.setRight(1e6);
    window.zoomAt(1e6 - 30000.0, 0.5, 0.0, 1e6, 600);
    QCOMPARE(window.span(), 30000.0);
    // The time under the mouse stays where it was.
    QCOMPARE(window.left() + window.span() / 2.0, 1e6 - 30000.0);
    window.zoomAt(1e6, 1e-6, 0.0, 1e6, 600);
    QCOMPARE(window.span(), 2000.0);
    window.zoomAt(1e6, 1e9, 0.0, 1e12, 600);
    QCOMPARE(window.span(), 10500000.0);
    window.resetZoom(2e6, 600);
    QCOMPARE(window.span(), 60000.0);
    QVERIFY(window.isFollowing());
}

QTEST_APPLESS_MAIN(ChartLogicTest)

#include "tst_chartlogic.moc"
