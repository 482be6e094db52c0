#include "PluginExports.h"

#include "SensorInterface.h"
#include "catalogue/DescriptionDocument.h"
#include "catalogue/SensorCatalogue.h"

using namespace NimbarSensorPlugin::Core;

extern "C" {

void vInitialisePlugin() {}

const char* pcKavrixCalimoPluginName()
{
    return familyId;
}

const char* pcPluginVersion()
{
    return "1.0.0";
}

const char* pcDescription()
{
    return "Plugin for handling MASTER IO_LINK-TX9  KAVRIX ultra sonic sensors family";
}

const char* pcCommunicationType()
{
    return "SERIAL";
}

ExtensionSystem::PluginInterface* poGetInterfaceInstance(const ExtensionSystem::SensorBasic& sensor,
                                                         QMdiSubWindow* subWindow)
{
    if (!subWindow)
        return nullptr;
    return new SensorInterface(sensor, subWindow);
}

void vSensorMap(std::list<ExtensionSystem::SensorBasic>& sensors)
{
    sensors = loadSensorCatalogue();
}
}
