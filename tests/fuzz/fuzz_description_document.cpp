// A description document of arbitrary bytes as the plug-in's catalogue, its
// parameter tree and the simulator's loader read it. None may throw or fail.
#include "FuzzSupport.h"

#include <SensorDescription.h>
#include <catalogue/DescriptionDocument.h>
#include <catalogue/SensorCatalogue.h>
#include <parameters/ParameterNode.h>
#include <parameters/ValueCodec.h>

namespace Core = NimbarSensorPlugin::Core;
namespace pt = boost::property_tree;

namespace {

void visit(const std::string& elementName, const pt::ptree& node, const std::string& language, int depth)
{
    if (!Core::hasChildElements(node) || depth > 64)
        return;
    Core::nodeLabel(elementName, node);
    Core::captionOf(node, language);
    const QString type = Core::keyText(node, "type");
    if (!Core::isKnownParameterType(type) || !Core::missingKey(node, language).isEmpty())
        return;
    if (type == "action")
        Core::buttonCaption(node, language);
    if (type == "enumerator" || type == "string") {
        try {
            Core::itemCaptions(node, language);
        } catch (const pt::ptree_error&) {
            // A string node without items is a free text, not a choice.
        }
    }
    if (type != "category")
        Core::parseParameterAddress(Core::parameterAddress(node));
    for (const auto& child : node)
        visit(child.first, child.second, language, depth + 1);
}

} // namespace

void Fuzz::run(const QByteArray& input)
{
    const QString path = Fuzz::scratchFile(input);
    const auto sensors = Core::loadSensorCatalogue(path.toStdString());
    Core::Sensor sensor = Core::findSensorDescription(sensors.empty() ? "RT5-350-M18" : sensors.back().name(),
                                                      path.toStdString());
    const Core::Sensor copy(sensor);
    sensor = copy;
    sensor.characterDelay();
    sensor.lineDelay();
    sensor.thresholdsReadOnly();
    try {
        sensor.sensorsNode();
    } catch (const pt::ptree_error&) {
        // An entry without variants; the window refuses it with a message.
    }

    for (const char* variant : {"", "107"}) {
        QString error;
        const auto description = IoLinkSimulator::loadSensorDescription(path, QStringLiteral("UM035"),
                                                                        QLatin1String(variant), &error);
        if (!description && error.isEmpty())
            Fuzz::fail("a refused description must say why");
        if (description) {
            for (const auto& parameter : description->parameters)
                description->find(parameter.address);
        }
    }

    pt::ptree document;
    try {
        Core::readDescriptionDocument(path.toStdString(), document);
    } catch (const pt::ptree_error&) {
        return;
    }
    if (const auto section = document.get_child_optional("document.treeGui.default")) {
        for (const char* language : {"en", "de"}) {
            for (const auto& child : *section)
                visit(child.first, child.second, language, 0);
        }
    }
}
