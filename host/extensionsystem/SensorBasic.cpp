#include "SensorBasic.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

namespace ExtensionSystem {

SensorBasic::SensorBasic() = default;
SensorBasic::SensorBasic(const SensorBasic& other) = default;
SensorBasic& SensorBasic::operator=(const SensorBasic& other) = default;
SensorBasic::~SensorBasic() = default;

bool SensorBasic::fromXMLStream(std::stringstream& entryText)
{
    namespace pt = boost::property_tree;
    pt::ptree entry;
    bool parsed = true;
    try {
        pt::read_xml(entryText, entry, pt::xml_parser::no_comments | pt::xml_parser::trim_whitespace);
    } catch (const pt::ptree_error&) {
        parsed = false;
    }
    entryText.clear();
    if (!parsed)
        return false;

    const auto name = entry.get_optional<std::string>("name");
    if (!name)
        return false;
    m_name = *name;
    m_id = entry.get<std::string>("id", std::string());
    return true;
}

} // namespace ExtensionSystem
