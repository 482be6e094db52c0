#include "Sensor.h"

#include "DescriptionDocument.h"

#include <extensionsystem/Globals.h>

#include <QString>

#include <boost/property_tree/xml_parser.hpp>

#include <algorithm>

namespace NimbarSensorPlugin::Core {

namespace pt = boost::property_tree;

namespace {

// Deep copy through the entry text, the same text the catalogue hands out.
void copyTree(const pt::ptree& from, pt::ptree& to)
{
    std::stringstream text;
    writeEntryText(text, from);
    pt::ptree copy;
    pt::read_xml(text, copy);
    to.swap(copy);
}

int integerKey(const pt::ptree& tree, const char* path)
{
    return tree.get_optional<int>(path).value_or(0);
}

} // namespace

Sensor::Sensor() : language(ExtensionSystem::Globals::getLanguage()) {}

Sensor::Sensor(const Sensor& other) : SensorBasic(other), language(other.language)
{
    copyTree(other.tree, tree);
}

Sensor& Sensor::operator=(const Sensor& other)
{
    if (this == &other)
        return *this;
    SensorBasic::operator=(other);
    copyTree(other.tree, tree);
    language = other.language;
    return *this;
}

Sensor::~Sensor() = default;

bool Sensor::fromXMLStream(std::stringstream& entryText)
{
    std::stringstream copy(entryText.str());
    try {
        pt::read_xml(entryText, tree, pt::xml_parser::no_comments);
    } catch (const pt::xml_parser_error&) {
        // A malformed entry leaves the tree as it was; the host decides below.
    } catch (...) {
        entryText.clear();
        return false;
    }
    entryText.clear();
    return SensorBasic::fromXMLStream(copy);
}

std::optional<long long> Sensor::documentDelay(const char* key) const
{
    const auto text = tree.get_optional<std::string>(std::string("portsettings.") + key);
    if (!text)
        return 0;
    const auto number = tree.get_optional<long long>(std::string("portsettings.") + key);
    return number ? std::optional<long long>(*number) : std::nullopt;
}

int Sensor::characterDelay() const
{
    return int(std::clamp(documentDelay("characterdelay").value_or(0), 0LL, (long long)longestDelayMs));
}

int Sensor::lineDelay() const
{
    return int(std::clamp(documentDelay("linedelay").value_or(0), 0LL, (long long)longestDelayMs));
}

QStringList Sensor::delayProblems() const
{
    QStringList problems;
    for (const char* key : {"characterdelay", "linedelay"}) {
        const std::optional<long long> delay = documentDelay(key);
        if (!delay)
            problems << tr("The port setting %1 is no whole number of milliseconds; 0 is used.").arg(key);
        else if (*delay < 0 || *delay > longestDelayMs)
            problems << tr("The port setting %1 of %2 ms lies outside 0 to %3 ms; %4 ms is used.")
                            .arg(key)
                            .arg(*delay)
                            .arg(longestDelayMs)
                            .arg(std::clamp(*delay, 0LL, (long long)longestDelayMs));
    }
    return problems;
}

bool Sensor::thresholdsReadOnly() const
{
    return integerKey(tree, "chartsettings.thresholdsreadonly") != 0;
}

pt::ptree& Sensor::sensorsNode()
{
    return tree.get_child("sensors");
}

std::optional<SensorVariant> Sensor::variant(const std::string& code) const
{
    const auto variants = tree.get_child_optional("sensors");
    if (!variants)
        return std::nullopt;
    for (const auto& child : *variants) {
        const pt::ptree& node = child.second;
        if (node.get<std::string>("ID3", "") != code)
            continue;
        auto number = [&node](const char* key) {
            return QString::fromStdString(node.get<std::string>(key, "")).toInt();
        };
        auto flag = [&node](const char* key) { return node.get<std::string>(key, ""); };
        return SensorVariant{number("maxRange"),     number("minRange"),          number("objMaxRange"),
                             number("objMinRange"),  flag("analogOutput") == "1", flag("A2PinFct") == "1",
                             flag("resetAcc") != "0"};
    }
    return std::nullopt;
}

std::string Sensor::languageCode() const
{
    return language;
}

} // namespace NimbarSensorPlugin::Core
