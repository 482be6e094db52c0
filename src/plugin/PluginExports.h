#pragma once

#include <extensionsystem/SensorBasic.h>

#include <list>

class QMdiSubWindow;

namespace ExtensionSystem {
class PluginInterface;
}

// The entry points the host resolves by name when it loads the plug-in.
extern "C" {
void vInitialisePlugin();
const char* pcKavrixCalimoPluginName();
const char* pcPluginVersion();
const char* pcDescription();
const char* pcCommunicationType();
// A new interface for the sensor, owned by the caller; null without a sub-window.
ExtensionSystem::PluginInterface* poGetInterfaceInstance(const ExtensionSystem::SensorBasic& sensor,
                                                         QMdiSubWindow* subWindow);
// Replaces the list's content with the supported sensors.
void vSensorMap(std::list<ExtensionSystem::SensorBasic>& sensors);
}
