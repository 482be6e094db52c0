#pragma once

#include <QString>

namespace ExtensionSystem {

// Serial settings of one port as a plug-in asks the host to open it.
// Field order is shared with plug-ins built against the host: keep it.
class PortSettings
{
public:
    PortSettings();
    PortSettings(const PortSettings& other) = default;
    PortSettings& operator=(const PortSettings& other) = default;
    ~PortSettings();

    // Resets every field to the host's defaults.
    void vInit();
    // Selects a row of the baud-rate table (see baudRateForIndex).
    void vSetBaudrateDefault(int index);

    // Baud rate of a baud-rate index: 0 = 4800, 1 = 9600, 2 = 38400,
    // 3 = 115200, 4 = 230400; any other index falls back to 38400.
    static int baudRateForIndex(int index);
    int baudRate() const { return baudRateForIndex(baudrateIndex); }

    QString portName;
    int baudrateIndex;
    int characterDelay; // milliseconds between two bytes of a request
    int lineDelay;      // milliseconds after a complete request
    int flowControl;    // 0 = none, 1 = hardware (RTS/CTS)

    static constexpr int defaultBaudrateIndex = 2;
};

bool operator==(const PortSettings& a, const PortSettings& b);
inline bool operator!=(const PortSettings& a, const PortSettings& b)
{
    return !(a == b);
}

} // namespace ExtensionSystem
