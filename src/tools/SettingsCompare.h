#pragma once

#include "tools/SettingsFile.h"

#include <set>
#include <string>
#include <vector>

namespace NimbarSensorPlugin::Core {

// A parameter whose value in a settings file is not the one in the window.
struct SettingsDifference
{
    std::string id;
    std::string fileValue;
    std::string windowValue;
};

// Whether two settings values are the same. Numbers compare as a settings
// file holds them, to six decimals, so "321" in a hand-edited file equals
// the window's "321.000000"; texts (the ids in textIds) compare exactly.
bool sameSettingsValue(const std::string& a, const std::string& b, bool text);

// The window's entries whose id the file has with another value, in the
// window's order. An id only one side has is no difference: a file may
// leave parameters out, and unknown ids are ignored when loading too.
std::vector<SettingsDifference> settingsDifferences(const std::vector<SettingsEntry>& file,
                                                    const std::vector<SettingsEntry>& window,
                                                    const std::set<std::string>& textIds);

} // namespace NimbarSensorPlugin::Core
