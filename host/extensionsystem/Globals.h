#pragma once

#include <string>

namespace ExtensionSystem {

// Host-wide settings that plug-ins read; only the host sets them.
class Globals
{
public:
    static std::string getLanguage();
    static void setLanguage(const std::string& code);
    static bool getPresentationMode();
    static void setPresentationMode(bool on);
};

} // namespace ExtensionSystem
