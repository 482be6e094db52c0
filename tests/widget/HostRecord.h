#pragma once

#include <extensionsystem/SensorBasic.h>

#include <sstream>
#include <string>

// The record a host hands the plug-in for a sensor chosen by name.
inline ExtensionSystem::SensorBasic hostRecord(const std::string& name)
{
    std::stringstream text("<name>" + name + "</name>");
    ExtensionSystem::SensorBasic sensor;
    sensor.fromXMLStream(text);
    return sensor;
}
