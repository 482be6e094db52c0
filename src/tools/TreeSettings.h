#pragma once

#include "tools/SettingsCompare.h"
#include "tools/SettingsFile.h"

#include <QCoreApplication>
#include <QMap>
#include <QStringList>
#include <QVariant>

#include <string>
#include <vector>

class QtProperty;

namespace NimbarSensorPlugin::Core {

class LengthUnits;
class ParameterModel;
class ParameterTree;

// What of a settings file this sensor can take: values in the sensor's
// units by id, one line per refused value, and the unit the file was
// written in.
struct SettingsCheck
{
    QMap<QString, QVariant> usable;
    QStringList refused;
    int unit = 0;
};

// A parameter whose value in a settings file is not the window's, both as
// the tree would show them, in the window's unit.
struct SettingsComparison
{
    QString id;
    QString caption;
    QString windowValue;
    QString fileValue;
    QString unit;
    // The file's value in the sensor's units and codes, as taking it edits
    // the row; invalid when this sensor cannot take it.
    QVariant fileSensorValue;
};

// The parameter tree's values as a settings file holds them, and a file's
// values checked against what the tree's rows take.
class TreeSettings
{
    Q_DECLARE_TR_FUNCTIONS(TreeSettings)
public:
    TreeSettings(const ParameterTree& tree, const ParameterModel& model, const LengthUnits& units);

    // Every row's value as the tree shows it, in the tree's order.
    std::vector<SettingsEntry> entries() const;
    SettingsCheck check(const std::vector<SettingsEntry>& file) const;
    // One line per parameter whose value in file is not the tree's: caption,
    // file value, tree value and unit, separated by tabs. Read-only rows and
    // counters are left out: they describe one sensor, not its settings.
    QStringList differences(const std::vector<SettingsEntry>& file) const;
    // The same rows compared by what the sensor would hold, so that a file
    // written in the other unit differs only where its lengths do; the unit
    // itself is no difference, the window shows lengths in its own.
    std::vector<SettingsComparison> compare(const std::vector<SettingsEntry>& file) const;
    // The same rows' values in file, by id, as the rows would show them, with their unit.
    QMap<QString, QString> differingFileValues(const std::vector<SettingsEntry>& file) const;
    // Why fileName cannot be loaded into these rows (missing, corrupted, for
    // another sensor, no usable values), as the user is told; empty when it can.
    QString problem(const QString& fileName, const std::string& sensorName) const;

    // Reads fileName, written for sensorName; message says why it cannot be used.
    static SettingsFileStatus read(const QString& fileName, const std::string& sensorName,
                                   SettingsFileContent* content, QString* message);
    static QString noSettingsText(const QString& fileName);

private:
    bool isCompared(QtProperty* property) const;
    std::vector<SettingsDifference> settingsDifferencesOf(const std::vector<SettingsEntry>& file) const;
    QString shownValue(QtProperty* property, const std::string& value) const;

    const ParameterTree& m_tree;
    const ParameterModel& m_model;
    const LengthUnits& m_units;
};

} // namespace NimbarSensorPlugin::Core
