#include "PortSettings.h"

namespace ExtensionSystem {

PortSettings::PortSettings()
{
    vInit();
}

PortSettings::~PortSettings() = default;

void PortSettings::vInit()
{
    portName.clear();
    baudrateIndex = defaultBaudrateIndex;
    characterDelay = 0;
    lineDelay = 0;
    flowControl = 0;
}

void PortSettings::vSetBaudrateDefault(int index)
{
    baudrateIndex = index;
}

int PortSettings::baudRateForIndex(int index)
{
    static const int table[] = {4800, 9600, 38400, 115200, 230400};
    if (index < 0 || index >= int(sizeof(table) / sizeof(table[0])))
        return table[defaultBaudrateIndex];
    return table[index];
}

bool operator==(const PortSettings& a, const PortSettings& b)
{
    return a.portName == b.portName && a.baudrateIndex == b.baudrateIndex &&
           a.characterDelay == b.characterDelay && a.lineDelay == b.lineDelay &&
           a.flowControl == b.flowControl;
}

} // namespace ExtensionSystem
