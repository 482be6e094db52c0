#include <parameters/ChoiceTrims.h>
#include <parameters/ValueCodec.h>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

namespace {

TEST(ValueCodec, AddressIsThreeDecimalFieldsWithAKnownSize)
{
    const auto address = parseParameterAddress("4660;5;7");
    ASSERT_TRUE(address);
    EXPECT_EQ(QString("%1 %2 %3").arg(address->index).arg(address->subIndex).arg(address->size), "4660 5 7");
    EXPECT_TRUE(parseParameterAddress("24;0;9") && parseParameterAddress("0;0;6"));
    for (const char* rejected :
         {"24;0;8", "24;0", "24;0;6;1", "0x18;0;6", "24;a;6", "70000;0;6", "24;256;6", ""})
        EXPECT_FALSE(parseParameterAddress(rejected)) << rejected;
}

// Each case is caption|name|unit.
TEST(ValueCodec, CaptionsSplitAtTheirLastParenthesis)
{
    for (const char* text : {"Switching point A1 (mm)|Switching point A1|mm", " Span (a) (in) |Span (a)|in",
                             "Temperature (°C)|Temperature|°C", "Output (A1|Output (A1|", "(mm)|(mm)|"}) {
        const QString c = QString::fromUtf8(text);
        const CaptionParts parts = splitCaptionUnit(c.section('|', 0, 0));
        EXPECT_EQ(parts.name + "|" + parts.unit, c.section('|', 1)) << text;
    }
}

TEST(ValueCodec, AnswerNumberReadsTheLengthByteAsDecimal)
{
    const std::pair<const char*, int> cases[] = {
        {"0552a703e8", 1000},  // length above 4: the last two bytes
        {"0552a7ffff", 65535}, // unsigned
        {"1052a70102", 258},   // 0x10 reads as ten
        {"0a52a703e8", 232},   // 0x0a is no decimal number: the last byte
        {"0452a703e8", 232},   // length 4: the last byte
        {"05a703e8", 232},     // too short for two bytes of value
        {"", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(answerNumber(QByteArray::fromHex(c.first)), c.second) << c.first;
}

TEST(ValueCodec, BoolsTextsAndReadOnlyNumbersFromAnswers)
{
    for (const auto& [answer, on] : std::map<QByteArray, bool>{
             {"0552a70000", false}, {"0552a70100", true}, {"0552a70001", true}, {"", false}})
        EXPECT_EQ(answerBool(QByteArray::fromHex(answer)), on) << answer.constData();
    EXPECT_EQ(answerText(QByteArray::fromHex("2552a7") + "F\xc3\xbcllstand" + QByteArray(23, '\0')),
              QString::fromUtf8("Füllstand"));
    EXPECT_EQ(answerText(QByteArray::fromHex("0552a7")), QString());
    // Read-only numbers the sensor reports itself are signed 32 bits, shown from 0.
    for (const auto& [answer, shown] : std::map<QByteArray, QString>{
             {"0752a7000001f4", "500"}, {"0752a77fffffff", "2147483647"}, {"0752a780000000", "0"}})
        EXPECT_EQ(answerSelfReadOnly(QByteArray::fromHex(answer)), shown) << answer.constData();
}

TEST(ValueCodec, EnumerationPositionsAndSensorCodesMapBothWays)
{
    struct EnumCase
    {
        const char* id;
        const char* variant;
        int position;
        int code;
    };
    // The error sources of the variants are read back in full below.
    const EnumCase cases[] = {
        {"PinFunctionA1", "", 6, 10},     {"PinFunctionA1", "", 2, 2},      {"PinFunctionA2", "", 7, 10},
        {"PinFunctionA2", "", 6, 6},      {"PinFunctionA3", "", 0, 3},      {"PinFunctionA3", "", 3, 10},
        {"PinFunctionA3", "", 4, 4},      {"MesurementUnit", "", 1, 1},     {"ErrorWarning1", "111", 12, 28},
        {"ErrorWarning3", "107", 12, 21}, {"ErrorWarning4", "108", 15, 31}, {"ErrorWarning1", "", 14, 31},
        {"ErrorWarning1", "120", 15, 0},  {"ErrorWarning1", "111", -1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(enumCodeForPosition(c.id, c.position, c.variant), c.code)
            << c.id << " " << c.variant << " " << c.position;
    // And back: the sensor's codes are shown at their positions.
    const EnumCase shown[] = {{"PinFunctionA1", "", 6, 10},     {"PinFunctionA2", "", 7, 10},
                              {"PinFunctionA3", "", 3, 10},     {"PinFunctionA3", "", 1, 4},
                              {"PinFunctionA3", "", 6, 6},      {"ErrorWarning1", "111", 14, 30},
                              {"ErrorWarning1", "120", 14, 30}, {"ErrorWarning1", "", 14, 30},
                              {"ErrorWarning1", "111", 7, 7},   {"ErrorWarning1", "111", 25, 25}};
    for (const auto& c : shown)
        EXPECT_EQ(enumPositionForCode(c.id, c.code, c.variant), c.position)
            << c.id << " " << c.variant << " " << c.code;
}

// Every error source reads back as written, and keeps the code it has in the whole list when the list
// is cut for a variant.
TEST(ValueCodec, TrimmedChoicesReadBackAndKeepTheCodesOfTheWholeList)
{
    QStringList whole;
    for (int position = 0; position < 17; ++position)
        whole << QString::number(position);
    for (const char* variant : {"107", "108", "111", "113", "120", "137"}) {
        QStringList trimmed = whole;
        trimErrorWarningNames(trimmed, variant);
        for (int position = 0; position < trimmed.size(); ++position) {
            const int code = enumCodeForPosition("ErrorWarning2", position, variant);
            EXPECT_EQ(code, errorSourceCodeInWholeList(trimmed[position].toInt()))
                << variant << " " << position;
            EXPECT_EQ(enumPositionForCode("ErrorWarning2", code, variant), position)
                << variant << " " << position;
        }
    }
    EXPECT_EQ(errorSourceCodeInWholeList(13), 28);
    EXPECT_EQ(errorSourceCodeInWholeList(17), 0);
    // Without a known variant nothing goes; shorter lists lose what they can.
    const std::tuple<int, const char*, QStringList> cuts[] = {
        {17, "", whole}, {14, "137", whole.mid(0, 12) + whole.mid(13, 1)}, {10, "108", whole.mid(0, 10)}};
    for (auto [length, variant, kept] : cuts) {
        QStringList names = whole.mid(0, length);
        trimErrorWarningNames(names, variant);
        EXPECT_EQ(names, kept) << variant;
    }
    // Crash detection is the last pin function and goes without the sensor for it.
    QStringList names{"switching", "crash"};
    trimPinFunctionNames(names, true);
    EXPECT_EQ(names.size(), 2);
    trimPinFunctionNames(names, false);
    EXPECT_EQ(names, QStringList{"switching"});
}

TEST(ValueCodec, LengthsAreWholeMillimetresRoundedHalfUp)
{
    const std::tuple<double, int, int> rounded[] = {
        {12.6, 0, 13}, {12.5, 0, 13}, {-2.5, 0, -2}, {-2.6, 0, -3}, {1.0, 1, 25}};
    for (const auto& [value, unit, millimetres] : rounded)
        EXPECT_EQ(wholeMillimetres(value, unit), millimetres) << value << " unit " << unit;
    EXPECT_EQ(millimetresFromInches(-1.0), -25.0);
    EXPECT_EQ(millimetresFromInches(0.5), 13.0);
    EXPECT_DOUBLE_EQ(inchesFromMillimetres(500.0), 19.68503937007874);
}

TEST(ValueCodec, TeachLockSimulationAndSwitchBits)
{
    EXPECT_EQ((QList<int>{teachLockValue(9, 1), teachLockValue(13, 0), teachLockValue(0x1F3, 1)}),
              (QList<int>{13, 9, 0x7}));
    EXPECT_EQ((QList<int>{teachLockPosition(13), teachLockPosition(9), teachLockPosition(0x1F4)}),
              (QList<int>{1, 0, 1}));
    // Simulation distance "off" is sent as zero; values wider than their size keep their low bytes (the
    // write requests show the rest).
    EXPECT_EQ(valueBytes(simulationDistanceValue(0), 7).toHex(), "0000");
    EXPECT_EQ(simulationDistanceValue(1), 500);
    EXPECT_EQ(valueBytes(65536, 7).toHex() + valueBytes(-1, 7).toHex(), "0000ffff");
    // The process-data switch rows map to their bits.
    const int bitOfRow[] = {0, 1, 3, 4, 7};
    for (int row = 0; row < 5; ++row) {
        std::array<bool, 5> checked{};
        checked[static_cast<size_t>(row)] = true;
        EXPECT_EQ(processDataSwitchByte(checked), 1 << bitOfRow[row]) << "row " << row + 10;
    }
    EXPECT_EQ(processDataSwitchByte({true, true, true, true, true}), 0x9B);
}

} // namespace
