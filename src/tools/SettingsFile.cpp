#include "SettingsFile.h"

#include "catalogue/DescriptionDocument.h"

#include <QFile>

#include <tinyxml2.h>

#include <cstdio>
#include <memory>

namespace NimbarSensorPlugin::Core {

namespace {

bool attributeEquals(const tinyxml2::XMLElement* element, const char* name, const std::string& expected)
{
    const char* value = element->Attribute(name);
    return value && expected == value;
}

} // namespace

SettingsFileStatus readSettingsFile(const QString& path, const std::string& sensorName,
                                    SettingsFileContent* content)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(QFile::encodeName(path).constData(), "rb"),
                                               &std::fclose);
    if (!file)
        return SettingsFileStatus::Unreadable;

    tinyxml2::XMLDocument document;
    if (document.LoadFile(file.get()) != tinyxml2::XML_SUCCESS)
        return SettingsFileStatus::Corrupted;
    const tinyxml2::XMLElement* root = document.FirstChildElement("root");
    if (!root)
        return SettingsFileStatus::Corrupted;
    if (!attributeEquals(root, "pluginid", familyId) || !attributeEquals(root, "sensorid", sensorName))
        return SettingsFileStatus::ForeignSensor;

    *content = SettingsFileContent();
    const tinyxml2::XMLElement* settings = root->FirstChildElement("pluginsettings");
    if (!settings)
        return SettingsFileStatus::Loaded;
    content->hasPluginSettings = true;
    if (const tinyxml2::XMLElement* tree = settings->FirstChildElement("propertytreedata")) {
        content->hasPropertyTreeData = true;
        content->propertyTreeData = tree->Attribute("data") ? tree->Attribute("data") : "";
    }
    if (const tinyxml2::XMLElement* chart = settings->FirstChildElement("chartdata")) {
        content->hasChartData = true;
        content->chartData = chart->Attribute("data") ? chart->Attribute("data") : "";
    }
    return SettingsFileStatus::Loaded;
}

} // namespace NimbarSensorPlugin::Core
