#include "TreeSettings.h"

#include "parameters/ParameterModel.h"
#include "parameters/ParameterTree.h"
#include "parameters/ValueCodec.h"
#include "tools/LengthUnits.h"
#include "tools/SettingsCompare.h"

#include <qtpropertymanager.h>

#include <cmath>
#include <map>

namespace NimbarSensorPlugin::Core {

TreeSettings::TreeSettings(const ParameterTree& tree, const ParameterModel& model, const LengthUnits& units)
    : m_tree(tree), m_model(model), m_units(units)
{
}

std::vector<SettingsEntry> TreeSettings::entries() const
{
    std::vector<SettingsEntry> entries;
    for (QtProperty* property : m_tree.properties()) {
        const QString id = property->propertyId();
        QtAbstractPropertyManager* manager = property->propertyManager();
        // A value the sensor holds that the editor cannot show is left out
        // rather than saved as the editor cut it: a file written back then
        // leaves it as the sensor holds it.
        if (m_model.contains(id) && m_model.state(id) == RowState::NotAllowed)
            continue;
        std::string value;
        if (manager == m_tree.managers().enums)
            value = settingsIntText(m_tree.managers().enums->value(property));
        else if (manager == m_tree.managers().bools)
            value = settingsIntText(m_tree.managers().bools->value(property) ? 1 : 0);
        else if (manager == m_tree.managers().ints || manager == m_tree.managers().counters)
            value = settingsIntText(static_cast<QtIntPropertyManager*>(manager)->value(property));
        else if (manager == m_tree.managers().doubles)
            value = settingsDoubleText(m_tree.managers().doubles->value(property));
        else if (manager == m_tree.managers().strings && !id.contains("ReadOnly"))
            value = m_tree.managers().strings->value(property).toStdString();
        else
            continue;
        entries.push_back({id.toStdString(), value});
    }
    return entries;
}

// What of a settings file this sensor can take. A value is taken only when
// it is a number of the row's type within what the connected variant
// allows (a text within what a tag holds); anything else is refused, never
// cut or clamped into something the user did not write. Ids this sensor
// does not have, and rows that describe one sensor rather than its
// settings, are left out.
SettingsCheck TreeSettings::check(const std::vector<SettingsEntry>& entries) const
{
    SettingsCheck check;
    int fileUnit = m_units.unit();
    for (const SettingsEntry& entry : entries) {
        const std::optional<double> unit = strictSettingsNumber(entry.value);
        if (entry.id == "MesurementUnit" && unit && (*unit == 0 || *unit == 1))
            fileUnit = int(*unit);
    }
    check.unit = fileUnit;
    for (const SettingsEntry& entry : entries) {
        const QString id = QString::fromStdString(entry.id);
        QtProperty* property = m_tree.find(id);
        if (!property || !m_model.contains(id) || property->statusTip() == "readOnly" ||
            property->propertyManager() == m_tree.managers().counters || id.contains("ReadOnly"))
            continue;
        QtAbstractPropertyManager* manager = property->propertyManager();
        const std::optional<double> number = strictSettingsNumber(entry.value);
        QString allowed;
        QVariant value;
        if (manager == m_tree.managers().strings) {
            const QString text = settingsTextValue(entry.id, entry.value);
            if (text.toUtf8().size() <= 32)
                value = text;
            else
                allowed = tr("at most 32 bytes of text");
        } else if (manager == m_tree.managers().enums) {
            const int choices = int(m_tree.managers().enums->enumNames(property).size());
            if (number && *number == std::floor(*number) && *number >= 0 && *number < choices)
                value = m_tree.sensorValueOf(property, int(*number));
            else
                allowed = tr("a choice from 0 to %1").arg(choices - 1);
        } else if (manager == m_tree.managers().bools) {
            if (number && (*number == 0 || *number == 1))
                value = int(*number);
            else
                allowed = tr("0 or 1");
        } else if (manager == m_tree.managers().ints) {
            const int minimum = m_tree.managers().ints->minimum(property);
            const int maximum = m_tree.managers().ints->maximum(property);
            if (number && *number == std::floor(*number) && *number >= minimum && *number <= maximum)
                value = int(*number);
            else
                allowed = tr("%1 to %2").arg(minimum).arg(maximum);
        } else if (manager == m_tree.managers().doubles) {
            const int unit = m_units.isLength(id) ? fileUnit : 0;
            const double scale = unit == 1 ? 25.4 : 1.0;
            // The editor's limits, in whole millimetres whatever unit it shows.
            const double shownScale = m_units.unit() == 1 && m_units.isLength(id) ? 25.4 : 1.0;
            const double minimum = qRound(m_tree.managers().doubles->minimum(property) * shownScale);
            const double maximum = qRound(m_tree.managers().doubles->maximum(property) * shownScale);
            const int millimetres = number ? wholeMillimetres(*number, unit) : 0;
            if (number && millimetres >= minimum && millimetres <= maximum)
                // As the sensor holds it: the largest far end is its "no limit".
                value = m_tree.sensorValueOf(property, millimetres / shownScale);
            else
                allowed = tr("%1 to %2 %3")
                              .arg(QString::number(minimum / scale, 'g', 6),
                                   QString::number(maximum / scale, 'g', 6), unit == 1 ? "inch" : "mm");
        } else {
            continue;
        }
        if (value.isValid())
            check.usable.insert(id, value);
        else
            check.refused << tr("%1: %2 (allowed: %3)")
                                 .arg(splitCaptionUnit(property->propertyName()).name,
                                      QString::fromStdString(entry.value), allowed);
    }
    return check;
}

std::vector<SettingsDifference>
TreeSettings::settingsDifferencesOf(const std::vector<SettingsEntry>& file) const
{
    std::vector<SettingsEntry> compared;
    std::set<std::string> textIds;
    for (const SettingsEntry& entry : entries()) {
        QtProperty* property = m_tree.find(QString::fromStdString(entry.id));
        if (!isCompared(property))
            continue;
        if (property->propertyManager() == m_tree.managers().strings)
            textIds.insert(entry.id);
        compared.push_back(entry);
    }
    return settingsDifferences(file, compared, textIds);
}

QStringList TreeSettings::differences(const std::vector<SettingsEntry>& file) const
{
    QStringList lines;
    for (const SettingsDifference& difference : settingsDifferencesOf(file)) {
        QtProperty* property = m_tree.find(QString::fromStdString(difference.id));
        const CaptionParts caption = splitCaptionUnit(property->propertyName());
        lines << QStringList{caption.name, shownValue(property, difference.fileValue),
                             shownValue(property, difference.windowValue), caption.unit}
                     .join('\t');
    }
    return lines;
}

std::vector<SettingsComparison> TreeSettings::compare(const std::vector<SettingsEntry>& file) const
{
    const SettingsCheck check = this->check(file);
    // As when loading, the last of several entries for one id counts.
    std::map<std::string, std::string> fileValues;
    for (const SettingsEntry& entry : file)
        fileValues[entry.id] = entry.value;
    std::vector<SettingsComparison> rows;
    for (QtProperty* property : m_tree.properties()) {
        const QString id = property->propertyId();
        const auto found = fileValues.find(id.toStdString());
        if (found == fileValues.end() || !isCompared(property) || id == "MesurementUnit" ||
            !m_model.contains(id) || m_model.state(id) == RowState::NotAllowed)
            continue;
        const QVariant window = m_model.shown(id);
        const QVariant fromFile = check.usable.value(id);
        const bool text = property->propertyManager() == m_tree.managers().strings;
        const auto settingsText = [text](const QVariant& value) {
            return text ? value.toString().toStdString() : settingsDoubleText(value.toDouble());
        };
        if (fromFile.isValid() && sameSettingsValue(settingsText(window), settingsText(fromFile), text))
            continue;
        const CaptionParts caption = splitCaptionUnit(property->propertyName());
        rows.push_back({id, caption.name, m_tree.shownText(property, window),
                        fromFile.isValid() ? m_tree.shownText(property, fromFile)
                                           : QString::fromStdString(found->second),
                        caption.unit, fromFile});
    }
    return rows;
}

// The same rows a write of all parameters leaves out, and the counter,
// which counts what happened to this one sensor.
bool TreeSettings::isCompared(QtProperty* property) const
{
    if (!property)
        return false;
    const QString id = property->propertyId();
    return property->statusTip() != "readOnly" && property->propertyManager() != m_tree.managers().counters &&
           !id.contains("ReadOnly") && !id.contains("InputMode") && !id.contains("BUTTON");
}

QMap<QString, QString> TreeSettings::differingFileValues(const std::vector<SettingsEntry>& file) const
{
    QMap<QString, QString> values;
    for (const SettingsDifference& difference : settingsDifferencesOf(file)) {
        const QString id = QString::fromStdString(difference.id);
        QtProperty* property = m_tree.find(id);
        const QString unit = splitCaptionUnit(property->propertyName()).unit;
        const QString value = shownValue(property, difference.fileValue);
        values.insert(id, unit.isEmpty() ? value : value + ' ' + unit);
    }
    return values;
}

// A settings value as the tree shows it: a choice by its name, a switch as
// on or off.
QString TreeSettings::shownValue(QtProperty* property, const std::string& value) const
{
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == m_tree.managers().enums) {
        const int index = settingsInt(value);
        return m_tree.managers().enums->enumNames(property).value(index, QString::number(index));
    }
    if (manager == m_tree.managers().bools)
        return settingsInt(value) != 0 ? tr("On") : tr("Off");
    if (manager == m_tree.managers().doubles) {
        const double number = settingsDouble(value);
        return m_units.unit() == 0 || !m_units.isLength(property->propertyId())
                   ? QString::number(number, 'g', 10)
                   : QString::number(number, 'f', 2);
    }
    if (manager == m_tree.managers().strings)
        return settingsTextValue(property->propertyId().toStdString(), value);
    return QString::number(settingsInt(value));
}

SettingsFileStatus TreeSettings::read(const QString& fileName, const std::string& sensorName,
                                      SettingsFileContent* content, QString* message)
{
    // A missing file, a pipe or a device is named as what it is, and never
    // opened: a pipe would block the window.
    const QString problem = checkReadableRegularFile(fileName);
    const SettingsFileStatus status =
        problem.isEmpty() ? readSettingsFile(fileName, sensorName, content) : SettingsFileStatus::Unreadable;
    switch (status) {
    case SettingsFileStatus::Unreadable:
        *message = problem.isEmpty() ? tr("The selected settings are corupted") : problem;
        break;
    case SettingsFileStatus::Corrupted:
        *message = tr("The selected settings are corupted");
        break;
    case SettingsFileStatus::ForeignSensor:
        *message = tr("The selected settings are not for the current sensor");
        break;
    case SettingsFileStatus::Loaded:
        message->clear();
        break;
    }
    return status;
}

QString TreeSettings::problem(const QString& fileName, const std::string& sensorName) const
{
    SettingsFileContent content;
    QString message;
    if (read(fileName, sensorName, &content, &message) != SettingsFileStatus::Loaded)
        return message;
    if (!content.hasPluginSettings || !content.hasPropertyTreeData)
        return tr("The settings file %1 holds no parameter values.").arg(fileName);
    const SettingsCheck check = this->check(parseParameterText(content.propertyTreeData));
    if (!check.refused.isEmpty())
        return tr("The settings file %1 holds values this sensor cannot take; nothing is written:")
                   .arg(fileName) +
               "\n" + check.refused.join('\n');
    if (check.usable.isEmpty())
        return noSettingsText(fileName);
    return QString();
}

QString TreeSettings::noSettingsText(const QString& fileName)
{
    return tr("The settings file %1 sets no parameter of this sensor; nothing is written.").arg(fileName);
}

} // namespace NimbarSensorPlugin::Core
