// The plug-in's catalogue reader on a description document of arbitrary
// bytes: listing the sensors and looking one up, as the host and the sensor
// window do. Neither may throw or fail on any document.
#include "FuzzSupport.h"

#include <catalogue/SensorCatalogue.h>

namespace Core = NimbarSensorPlugin::Core;

void Fuzz::run(const QByteArray& input)
{
    const std::string path = Fuzz::scratchFile(input).toStdString();
    const auto sensors = Core::loadSensorCatalogue(path);
    std::string name = "RT5-350-M18";
    if (!sensors.empty())
        name = sensors.back().name();

    Core::Sensor sensor = Core::findSensorDescription(name, path);
    const Core::Sensor copy(sensor);
    sensor = copy;
    sensor.characterDelay();
    sensor.lineDelay();
    sensor.thresholdsReadOnly();
    try {
        sensor.sensorsNode();
    } catch (const boost::property_tree::ptree_error&) {
        // An entry without variants; the window refuses it with a message.
    }
}
