#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace NimbarSensorPlugin::Core {

// What a settings file (".kvs") holds for one sensor.
struct SettingsFileContent
{
    bool hasPluginSettings = false;
    bool hasPropertyTreeData = false;
    bool hasChartData = false;
    std::string propertyTreeData; // "id=value;" entries
    std::string chartData;        // history text of the distance plot
};

enum class SettingsFileStatus
{
    Loaded,        // content filled in
    Unreadable,    // missing, not a regular file, or it does not open
    Corrupted,     // not XML, or no "root" element
    ForeignSensor, // written by another plug-in or for another sensor
};

// One parameter of a settings file's parameter text: "id=value;".
struct SettingsEntry
{
    std::string id;
    std::string value;
};

// Numbers in a settings file are written and read the same way on every
// desktop: a German one still writes "500.000000", not "500,000000".
std::string settingsIntText(int value);
std::string settingsDoubleText(double value); // six decimals
// Like C's atoi and atof in the C locale: leading blanks skipped, the
// longest number at the start taken, text that is no number gives 0.
int settingsInt(const std::string& text);
double settingsDouble(const std::string& text);
// The number a settings value holds when the whole value (blanks around it
// aside) is one finite number in the C locale's form; nothing for "abc",
// "2x", "nan", "inf" or "1e400", which loading refuses rather than guesses.
std::optional<double> strictSettingsNumber(const std::string& text);

// A text parameter's value as loaded: a tag keeps any character, other
// texts keep ASCII only (anything else becomes a replacement character).
QString settingsTextValue(const std::string& id, const std::string& value);

// The parameter text: every entry as "id=value;".
std::string parameterText(const std::vector<SettingsEntry>& entries);
// Splits a parameter text at ";" (empty pieces kept). A piece's id is the
// text before its first "=", its value the text up to a second "="; a piece
// without "=" is an id with an empty value.
std::vector<SettingsEntry> parseParameterText(const std::string& text);

// The whole settings file for the sensor named sensorName.
std::string settingsFileText(const std::string& sensorName, const std::string& parameterText,
                             const std::string& chartText);
// Writes settingsFileText to path, replacing any file there only once the
// new one is complete. Empty on success, otherwise the reason.
QString saveSettingsFile(const QString& path, const std::string& text);
// The name offered when saving, e.g. ABC123-settings-04-12-2026.kvs.
QString proposedSettingsFileName(const QString& sensorName, const QDate& date);

// Empty when path names a regular file that opens for reading; otherwise, for
// the user, what is wrong with it. Only the file's type is looked at before
// opening, so a named pipe or a device is never opened.
QString checkReadableRegularFile(const QString& path);

// Reads a settings file and checks that it was written by this plug-in for
// the sensor named sensorName. A file that is not well-formed XML counts as
// corrupted, like one without "root": nothing of it is used.
SettingsFileStatus readSettingsFile(const QString& path, const std::string& sensorName,
                                    SettingsFileContent* content);

} // namespace NimbarSensorPlugin::Core
