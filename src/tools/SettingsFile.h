#pragma once

#include <QString>

#include <string>

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
