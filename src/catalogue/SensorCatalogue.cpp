#include "SensorCatalogue.h"

#include "DescriptionDocument.h"

#include <QtDebug>

namespace NimbarSensorPlugin::Core {

namespace pt = boost::property_tree;

std::list<ExtensionSystem::SensorBasic> loadSensorCatalogue()
{
    return loadSensorCatalogue(descriptionDocumentPath());
}

std::list<ExtensionSystem::SensorBasic> loadSensorCatalogue(const std::string& documentPath)
{
    std::list<ExtensionSystem::SensorBasic> sensors;
    try {
        pt::ptree document;
        readDescriptionDocument(documentPath, document);
        if (!isFamilyDocument(document))
            return sensors;

        // One stream for all entries: each entry is appended behind the
        // previous one and the record reads on from where it stopped.
        std::stringstream entries;
        ExtensionSystem::SensorBasic record;
        for (const auto& entry : document.get_child("document.sensorList")) {
            entries.clear();
            writeEntryText(entries, entry.second);
            if (record.fromXMLStream(entries))
                sensors.push_back(record);
        }
    } catch (const std::exception& error) {
        qDebug() << "sensor catalogue:" << error.what();
    }
    return sensors;
}

Sensor findSensorDescription(const std::string& name)
{
    return findSensorDescription(name, descriptionDocumentPath());
}

Sensor findSensorDescription(const std::string& name, const std::string& documentPath)
{
    Sensor fallback;
    try {
        pt::ptree document;
        readDescriptionDocument(documentPath, document);
        if (!isFamilyDocument(document))
            return fallback;

        for (const auto& entry : document.get_child("document.sensorList")) {
            if (entry.second.get_child("name").data() != name)
                continue;
            std::stringstream text;
            writeEntryText(text, entry.second);
            Sensor found;
            found.fromXMLStream(text);
            return found;
        }
    } catch (const std::exception& error) {
        qDebug() << "sensor lookup:" << error.what();
    }
    return fallback;
}

} // namespace NimbarSensorPlugin::Core
