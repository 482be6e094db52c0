#pragma once

#include "Sensor.h"

#include <extensionsystem/SensorBasic.h>

#include <list>
#include <string>

namespace NimbarSensorPlugin::Core {

// The supported sensors of the description document, in document order.
// Never throws and never reports: a missing or foreign document gives an
// empty list, a failure part-way gives the entries read so far.
std::list<ExtensionSystem::SensorBasic> loadSensorCatalogue();
std::list<ExtensionSystem::SensorBasic> loadSensorCatalogue(const std::string& documentPath);

// The record of the first entry named name, or a default record when the
// document lacks it or cannot be read.
Sensor findSensorDescription(const std::string& name);
Sensor findSensorDescription(const std::string& name, const std::string& documentPath);

} // namespace NimbarSensorPlugin::Core
