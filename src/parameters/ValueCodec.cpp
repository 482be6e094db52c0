#include "ValueCodec.h"

#include <QStringList>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace NimbarSensorPlugin::Core {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kInchesPerMillimetre = 0.03937007874015748;

quint8 byteAt(const QByteArray& bytes, int position)
{
    return static_cast<quint8>(bytes.at(position));
}

// The error-source codes by list position. Positions 0 to 11 are common; the
// variants lack one or two of the later sources (the same entries the choice
// lists lose), so the later positions shift.
std::vector<int> errorSourceCodes(const QString& variantCode)
{
    std::vector<int> codes{0, 1, 2, 3, 4, 5, 6, 8, 17, 18, 19, 20};
    if (variantCode == "108" || variantCode == "107")
        codes.insert(codes.end(), {21, 28, 29, 31});
    else if (variantCode == "111" || variantCode == "113")
        codes.insert(codes.end(), {28, 29, 30, 31});
    else
        codes.insert(codes.end(), {28, 29, 31});
    return codes;
}

bool hasOwnSourceTable(const QString& variantCode)
{
    return variantCode == "108" || variantCode == "107" || variantCode == "111" || variantCode == "113";
}

bool isErrorSource(const QString& id)
{
    return id.contains("ErrorWarning");
}

// The pin functions that send a code of their own: (position, code) pairs.
std::vector<std::pair<int, int>> pinFunctionCodes(const QString& id)
{
    if (id == "PinFunctionA1")
        return {{6, 10}};
    if (id == "PinFunctionA2")
        return {{7, 10}};
    if (id == "PinFunctionA3")
        return {{0, 3}, {1, 4}, {2, 5}, {3, 10}};
    return {};
}

} // namespace

std::optional<ParameterAddress> parseParameterAddress(const QString& text)
{
    const QStringList fields = text.split(';');
    if (fields.size() != 3)
        return std::nullopt;
    bool indexOk = false;
    bool subIndexOk = false;
    bool sizeOk = false;
    const int index = fields.at(0).toInt(&indexOk, 10);
    const int subIndex = fields.at(1).toInt(&subIndexOk, 10);
    const int size = fields.at(2).toInt(&sizeOk, 10);
    if (!indexOk || !subIndexOk || !sizeOk)
        return std::nullopt;
    if (index < 0 || index > 0xFFFF || subIndex < 0 || subIndex > 0xFF)
        return std::nullopt;
    if (size != 6 && size != 7 && size != 9)
        return std::nullopt;
    return ParameterAddress{static_cast<quint16>(index), static_cast<quint8>(subIndex), size};
}

QByteArray valueBytes(int value, int size)
{
    const char high = static_cast<char>((value >> 8) & 0xFF);
    const char low = static_cast<char>(value & 0xFF);
    switch (size) {
    case 6:
        return QByteArray(1, low);
    case 7:
        return QByteArray(1, high).append(low);
    case 9:
        return QByteArray(2, '\0').append(high).append(low);
    default:
        return {};
    }
}

int answerNumber(const QByteArray& answer)
{
    if (answer.isEmpty())
        return 0;
    const QByteArray hex = answer.toHex();
    // The length byte's hex digits are read as decimal: 0x0a..0x0f and 0x1a..
    // fail and give 0, so such answers take the last byte only.
    const int lengthAsDecimal = hex.left(2).toInt(nullptr, 10);
    const int last = answer.size() - 1;
    if (lengthAsDecimal > 4 && hex.size() >= 10)
        return (byteAt(answer, last - 1) << 8) | byteAt(answer, last);
    return byteAt(answer, last);
}

bool answerBool(const QByteArray& answer)
{
    const QByteArray tail = answer.right(2);
    return std::any_of(tail.begin(), tail.end(), [](char byte) { return byte != '\0'; });
}

QString answerText(const QByteArray& answer)
{
    QByteArray text = answer;
    text.replace('\0', QByteArray());
    return QString::fromUtf8(text.mid(3));
}

QString answerSelfReadOnly(const QByteArray& answer)
{
    // A signed parse: patterns with the top bit set fail and give 0.
    return QString::number(answer.right(4).toHex().toInt(nullptr, 16));
}

int enumCodeForPosition(const QString& id, int position, const QString& variantCode)
{
    if (isErrorSource(id)) {
        const std::vector<int> codes = errorSourceCodes(variantCode);
        if (position < 0 || position >= static_cast<int>(codes.size()))
            return 0;
        return codes[static_cast<size_t>(position)];
    }
    for (const auto& [pinPosition, code] : pinFunctionCodes(id)) {
        if (pinPosition == position)
            return code;
    }
    return position;
}

int errorSourceCodeInWholeList(int position)
{
    static const int codes[] = {0, 1, 2, 3, 4, 5, 6, 8, 17, 18, 19, 20, 21, 28, 29, 30, 31};
    return position >= 0 && position < int(std::size(codes)) ? codes[position] : 0;
}

int enumPositionForCode(const QString& id, int code, const QString& variantCode)
{
    if (isErrorSource(id)) {
        if (code <= 7)
            return code;
        // Without its own table the list has one entry for both of these.
        if (!hasOwnSourceTable(variantCode) && (code == 30 || code == 31))
            return 14;
        const std::vector<int> codes = errorSourceCodes(variantCode);
        const auto found = std::find(codes.begin(), codes.end(), code);
        return found == codes.end() ? code : static_cast<int>(found - codes.begin());
    }
    for (const auto& [position, pinCode] : pinFunctionCodes(id)) {
        if (pinCode == code)
            return position;
    }
    return code;
}

CaptionParts splitCaptionUnit(const QString& caption)
{
    const QString trimmed = caption.trimmed();
    const int open = trimmed.lastIndexOf(" (");
    if (!trimmed.endsWith(')') || open < 1)
        return {trimmed, QString()};
    return {trimmed.left(open), trimmed.mid(open + 2, trimmed.size() - open - 3)};
}

double millimetresFromInches(double inches)
{
    return qRound(inches * kMillimetresPerInch);
}

double inchesFromMillimetres(double millimetres)
{
    return millimetres * kInchesPerMillimetre;
}

int wholeMillimetres(double shownValue, int measurementUnit)
{
    if (measurementUnit == 0)
        return qRound(shownValue);
    return static_cast<int>(millimetresFromInches(shownValue));
}

int teachLockValue(int teachLockWord, int position)
{
    constexpr int lockBit = 0x4;
    const int otherBits = teachLockWord & 0xF & ~lockBit;
    return position != 0 ? otherBits | lockBit : otherBits;
}

int teachLockPosition(int teachLockWord)
{
    return (teachLockWord >> 2) & 1;
}

int simulationDistanceValue(int position)
{
    return position == 0 ? 65536 : 500;
}

quint8 processDataSwitchByte(const std::array<bool, 5>& checked)
{
    constexpr std::array<int, 5> bitOfRow{0, 1, 3, 4, 7};
    quint8 byte = 0;
    for (size_t row = 0; row < checked.size(); ++row) {
        if (checked[row])
            byte |= static_cast<quint8>(1u << bitOfRow[row]);
    }
    return byte;
}

} // namespace NimbarSensorPlugin::Core
