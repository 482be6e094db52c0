#include "Globals.h"

namespace ExtensionSystem {

namespace {
std::string& language()
{
    static std::string code = "en";
    return code;
}
bool presentationMode = false;
} // namespace

std::string Globals::getLanguage()
{
    return language();
}

void Globals::setLanguage(const std::string& code)
{
    language() = code;
}

bool Globals::getPresentationMode()
{
    return presentationMode;
}

void Globals::setPresentationMode(bool on)
{
    presentationMode = on;
}

} // namespace ExtensionSystem
