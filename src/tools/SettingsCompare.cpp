#include "SettingsCompare.h"

#include <map>

namespace NimbarSensorPlugin::Core {

bool sameSettingsValue(const std::string& a, const std::string& b, bool text)
{
    if (text)
        return a == b;
    return settingsDoubleText(settingsDouble(a)) == settingsDoubleText(settingsDouble(b));
}

std::vector<SettingsDifference> settingsDifferences(const std::vector<SettingsEntry>& file,
                                                    const std::vector<SettingsEntry>& window,
                                                    const std::set<std::string>& textIds)
{
    // As when loading, the last of several entries for one id counts.
    std::map<std::string, std::string> fileValues;
    for (const SettingsEntry& entry : file)
        fileValues[entry.id] = entry.value;
    std::vector<SettingsDifference> differences;
    for (const SettingsEntry& entry : window) {
        const auto found = fileValues.find(entry.id);
        if (found == fileValues.end())
            continue;
        if (!sameSettingsValue(found->second, entry.value, textIds.count(entry.id) != 0))
            differences.push_back({entry.id, found->second, entry.value});
    }
    return differences;
}

} // namespace NimbarSensorPlugin::Core
