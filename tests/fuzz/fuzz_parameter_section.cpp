// The parameter section of a description document, read from arbitrary bytes
// and walked node by node the way the sensor window builds its parameter tree
// and the address table the reads and writes use.
#include "FuzzSupport.h"

#include <catalogue/DescriptionDocument.h>
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
    if (!Core::isKnownParameterType(type))
        return;
    if (!Core::missingKey(node, language).isEmpty())
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
    pt::ptree document;
    try {
        Core::readDescriptionDocument(Fuzz::scratchFile(input).toStdString(), document);
    } catch (const pt::ptree_error&) {
        return;
    }
    const auto section = document.get_child_optional("document.treeGui.default");
    if (!section)
        return;
    for (const char* language : {"en", "de"}) {
        for (const auto& child : *section)
            visit(child.first, child.second, language, 0);
    }
}
