#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

class QWidget;

namespace NimbarSensorPlugin::Core {

class DistanceChart;
class LengthUnits;
class LinkSession;
class ParameterEditor;
class ParameterModel;
class ParameterTree;
class Sensor;
class SensorSession;
class StatusPoll;
struct SettingsCheck;
struct SettingsEntry;

// What a settings file is saved from and loaded into.
struct SettingsFileParts
{
    const Sensor& sensor;
    LinkSession& link;
    StatusPoll& poll;
    SensorSession& session;
    ParameterTree& tree;
    ParameterModel& model;
    ParameterEditor& editor;
    LengthUnits& units;
    DistanceChart& chart;
};

// Saving the tree's values and the chart's history to a settings file, and
// loading one: the questions it asks, the checks of the file against the
// rows, the file's values taken as the user's edits, and, when a sensor is
// connected, the write of the window's values to it.
class SettingsFileActions : public QObject
{
    Q_OBJECT
public:
    SettingsFileActions(const SettingsFileParts& parts, QWidget* window);

    // Asks for a file name and saves there; a failure is told.
    void save();
    // Written beside the old file and renamed over it, so that a full disk
    // never costs the user the settings saved before; the reason on failure.
    QString saveTo(const QString& fileName) const;
    // Asks for a file when fileName is empty. True when the file's values
    // and its history were both taken.
    bool open(QString fileName);
    QString problem(const QString& fileName) const;
    QStringList differences(const QString& fileName) const;
    // Asks for a file when fileName is empty, checks it as opening does and
    // shows where it differs from the window; values taken there become the
    // user's edits, unwritten whatever the window's mode.
    void compare(QString fileName);
    // The values of fileName that differ from the window's, by row id, as
    // the rows would show them; empty when the file cannot be read.
    QMap<QString, QString> differingValues(const QString& fileName) const;
    // The settings file last saved or opened; empty when none was.
    QString lastFile() const { return m_lastFile; }

signals:
    void message(const QString& text);
    // The file's history replaced the chart's.
    void historyLoaded();
    // The values are in the tree: the window shows what follows from them
    // (limits, captions, marks) before they go to a connected sensor.
    void valuesApplied();
    // The file's parameter values became the window's.
    void loaded(const QString& fileName);

private:
    std::optional<std::vector<SettingsEntry>> loadableEntries(const QString& fileName) const;
    bool acceptRefused(const SettingsCheck& check);
    void apply(const SettingsCheck& check);
    void take(const QMap<QString, QVariant>& values);
    void finish();

    SettingsFileParts m_parts;
    QWidget* m_window;
    // Saving does not change the window, only what it last wrote to.
    mutable QString m_lastFile;
};

} // namespace NimbarSensorPlugin::Core
