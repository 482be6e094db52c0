#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace NimbarSensorPlugin::Core {

// Conversions between property values and the bytes a parameter occupies on
// the sensor: addresses, value bytes, numbers, texts, enumeration codes,
// units and the two bit fields.

// Where a parameter lives on the sensor. `size` is the length byte of its
// write request and so fixes the width of the value (6, 7 or 9).
struct ParameterAddress
{
    quint16 index = 0;
    quint8 subIndex = 0;
    int size = 0;
};

// Reads "index;subIndex;size" (three decimal fields). Anything else, a field
// out of range or a size without a value layout gives no address: such a
// parameter is neither read nor written rather than sent with a guessed width.
std::optional<ParameterAddress> parseParameterAddress(const QString& text);

// The value bytes of a write request of the given size, big-endian; only the
// low 16 bits of the value reach the sensor. Empty for an unknown size.
QByteArray valueBytes(int value, int size);

// The unsigned number a fetch answer carries: the last two bytes when the
// answer's length byte, written in hex and read as a decimal number, is above
// 4 and the answer has at least five bytes, else the last byte; 0 when empty.
int answerNumber(const QByteArray& answer);

// True when the last two answer bytes (as many as there are) are not all zero.
bool answerBool(const QByteArray& answer);

// A text answer (tags and other strings): zero bytes removed, the three
// header bytes dropped, the rest read as UTF-8.
QString answerText(const QByteArray& answer);

// The read-only numbers shown as text: the last four answer bytes as a signed
// 32-bit number in decimal; a pattern of 0x80000000 or above gives "0".
QString answerSelfReadOnly(const QByteArray& answer);

// Enumeration list position -> code sent to the sensor. Most enumerations send
// their position; the pin functions and error sources have codes of their own.
// An error-source position outside the variant's table is sent as 0.
int enumCodeForPosition(const QString& id, int position, const QString& variantCode);

// The code of an error source by its position in the whole, untrimmed list,
// as the window shows it before a sensor variant is known; 0 outside it.
int errorSourceCodeInWholeList(int position);

// Code read from the sensor -> enumeration list position, the inverse of
// enumCodeForPosition. A code without a position is shown as that position.
int enumPositionForCode(const QString& id, int code, const QString& variantCode);

// Lengths are whole millimetres on the sensor.
// A caption's name and the unit it ends with in parentheses, as in
// "Switching point A1 (mm)"; the unit is empty when there is none.
struct CaptionParts
{
    QString name;
    QString unit;
};
CaptionParts splitCaptionUnit(const QString& caption);

double millimetresFromInches(double inches);
double inchesFromMillimetres(double millimetres);

// The whole millimetres sent for a length shown in the given unit (0
// millimetres, otherwise inches), rounded half up as the editor shows it.
int wholeMillimetres(double shownValue, int measurementUnit);

// The teach-lock parameter shares its word with three other bits: bit 2 is
// the lock, the remaining low bits are written back as last read.
int teachLockValue(int teachLockWord, int position);
int teachLockPosition(int teachLockWord);

// The simulated-distance switch: "off" is 65536, which the 16-bit value
// encoding sends as 0.
int simulationDistanceValue(int position);

// The byte of the single-byte switch write from the five check boxes of the
// observation rows 10 to 14, in row order.
quint8 processDataSwitchByte(const std::array<bool, 5>& checked);

} // namespace NimbarSensorPlugin::Core
