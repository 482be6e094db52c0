#include <QString>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace pt = boost::property_tree;

namespace {

// The real description document, read as the sensor window reads it:
// comments dropped, whitespace kept, so stray blanks around a value show.
const pt::ptree& document()
{
    static const pt::ptree tree = [] {
        pt::ptree read;
        pt::read_xml(IOLINK_DESCRIPTION_DOCUMENT, read, pt::xml_parser::no_comments);
        return read;
    }();
    return tree;
}

struct Row
{
    const pt::ptree* node;
    std::vector<const pt::ptree*> ancestors;

    std::string key(const char* name, const std::string& fallback = "") const
    {
        return node->get<std::string>(name, fallback);
    }
    std::string id() const { return key("id"); }
    std::string type() const { return key("type"); }
    bool isCategory() const { return type() == "category"; }
};

void collectRows(const pt::ptree& node, std::vector<const pt::ptree*> ancestors, std::vector<Row>* rows)
{
    rows->push_back({&node, ancestors});
    ancestors.push_back(&node);
    for (const auto& child : node) {
        if (child.first == "property")
            collectRows(child.second, ancestors, rows);
    }
}

// Every node of the parameter section, depth first in document order.
const std::vector<Row>& rows()
{
    static const std::vector<Row> all = [] {
        std::vector<Row> collected;
        for (const auto& top : document().get_child("document.treeGui.default"))
            collectRows(top.second, {}, &collected);
        return collected;
    }();
    return all;
}

const Row* findRow(const std::string& id)
{
    for (const Row& row : rows()) {
        if (row.id() == id)
            return &row;
    }
    return nullptr;
}

bool isDecimal(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

int itemCount(const Row& row)
{
    const auto items = row.node->get_child_optional("items");
    return items ? int(items->size()) : 0;
}

// Both languages present, non-empty and valid UTF-8.
void expectBilingual(const pt::ptree& texts, const std::string& where)
{
    for (const char* language : {"en", "de"}) {
        const std::string text = texts.get<std::string>(language, "");
        EXPECT_FALSE(text.empty()) << where << " lacks " << language;
        EXPECT_EQ(QString::fromUtf8(text.c_str()).toUtf8().toStdString(), text) << where;
    }
}

} // namespace

TEST(ParameterSection, EveryParameterHasADecimalAddressWithAKnownSize)
{
    ASSERT_GT(rows().size(), 50u);
    for (const Row& row : rows()) {
        if (row.isCategory())
            continue;
        const std::string index = row.key("index"), subIndex = row.key("subIndex"), size = row.key("size");
        ASSERT_TRUE(isDecimal(index) && isDecimal(subIndex) && isDecimal(size)) << row.id();
        EXPECT_LE(std::stoi(index), 0xFFFF) << row.id();
        EXPECT_LE(std::stoi(subIndex), 0xFF) << row.id();
        EXPECT_TRUE(size == "6" || size == "7" || size == "9") << row.id() << " size " << size;
    }
}

TEST(ParameterSection, IdsAndAddressesAreUnique)
{
    std::map<std::string, std::string> addressOwners;
    std::set<std::string> ids;
    for (const Row& row : rows()) {
        EXPECT_FALSE(row.id().empty()) << "a " << row.type() << " node has no id";
        EXPECT_TRUE(ids.insert(row.id()).second) << row.id();
        if (row.isCategory())
            continue;
        const std::string address = row.key("index") + "/" + row.key("subIndex");
        const auto known = addressOwners.emplace(address, row.id());
        EXPECT_TRUE(known.second) << row.id() << " shares " << address << " with " << known.first->second;
    }
}

TEST(ParameterSection, TagsAreFreeTextAtTheIdentificationIndices)
{
    const std::map<std::string, std::string> tagIndices{
        {"AppSpecificTag", "24"}, {"FunctionTag", "25"}, {"LocationTag", "26"}};
    for (const auto& [id, index] : tagIndices) {
        const Row* tag = findRow(id);
        ASSERT_TRUE(tag) << id;
        EXPECT_EQ(tag->key("index"), index) << id;
        EXPECT_EQ(tag->key("subIndex"), "0") << id;
        EXPECT_EQ(tag->type(), "string") << id;
        EXPECT_EQ(tag->key("isString"), "true") << id;
        EXPECT_EQ(tag->key("readonly"), "false") << id;
    }
}

TEST(ParameterSection, RowsItemsAndButtonsAreCaptionedInEnglishAndGerman)
{
    for (const Row& row : rows()) {
        ASSERT_TRUE(row.node->get_child_optional("text")) << row.id();
        expectBilingual(row.node->get_child("text"), row.id());
        if (row.type() == "action") {
            ASSERT_TRUE(row.node->get_child_optional("caption.text")) << row.id();
            expectBilingual(row.node->get_child("caption.text"), row.id() + " button");
        }
        if (const auto items = row.node->get_child_optional("items")) {
            for (const auto& item : *items)
                expectBilingual(item.second, row.id() + " item");
        }
    }
    for (const auto& entry : document().get_child("document.guiCategory.default"))
        expectBilingual(entry.second.get_child("text"),
                        "process-data entry " + entry.second.get<std::string>("id"));
}

TEST(ParameterSection, TypesAndDefaultsFitTheirRanges)
{
    const std::set<std::string> types{"category", "enumerator", "int", "double", "bool", "action", "string"};
    for (const Row& row : rows()) {
        const std::string type = row.type();
        EXPECT_TRUE(types.count(type)) << row.id() << " has type '" << type << "'";
        EXPECT_TRUE(row.isCategory() || row.key("readonly") == "true" || row.key("readonly") == "false")
            << row.id();
        if (type == "enumerator") {
            ASSERT_GE(itemCount(row), 2) << row.id();
            const int value = row.node->get<int>("defaultvalue");
            EXPECT_TRUE(value >= 0 && value < itemCount(row)) << row.id();
        } else if (type == "int" || type == "double") {
            const double minimum = row.node->get<double>("min"), maximum = row.node->get<double>("max");
            const double value = row.node->get<double>("defaultvalue");
            EXPECT_LT(minimum, maximum) << row.id();
            EXPECT_TRUE(value >= minimum && value <= maximum) << row.id() << " default " << value;
        } else if (type == "bool") {
            const std::string value = row.key("defaultvalue");
            EXPECT_TRUE(value == "0" || value == "1") << row.id();
        } else if (type == "string") {
            EXPECT_TRUE(row.node->get_child_optional("defaultvalue")) << row.id();
        }
    }
}

TEST(ParameterSection, EnumerationsHaveTheEntriesTheirSensorCodesNeed)
{
    // Sensor code 10 (the crash-detection function) sits at positions 6, 7
    // and 3 and is the last name, which variants without crash detection drop.
    const std::map<std::string, int> sizes{
        {"PinFunctionA1", 7},  {"PinFunctionA2", 8},  {"PinFunctionA3", 4}, {"ErrorWarning1", 17},
        {"ErrorWarning2", 17}, {"ErrorWarning3", 17}, {"ErrorWarning4", 17}};
    for (const auto& [id, size] : sizes) {
        const Row* row = findRow(id);
        ASSERT_TRUE(row) << id;
        EXPECT_EQ(itemCount(*row), size) << id;
    }
    for (const char* id : {"TeachInMode1", "TeachInMode2"})
        EXPECT_GE(itemCount(*findRow(id)), 3) << id << " needs window mode at position 2";
    // Unit code 0 is millimetres, 1 inches.
    const pt::ptree& units = findRow("MesurementUnit")->node->get_child("items");
    ASSERT_EQ(units.size(), 2u);
    EXPECT_NE(units.front().second.get<std::string>("en").find("mm"), std::string::npos);
    EXPECT_NE(units.back().second.get<std::string>("en").find("inch"), std::string::npos);
    EXPECT_EQ(findRow("TestMode")->key("defaultvalue"), "0") << "test mode starts off";
}

TEST(ParameterSection, EveryIdTheWindowHandlesIsPresentAndAttached)
{
    // A node whose visible is not "true" is never attached to the tree, so
    // the window could neither find nor show any of these rows.
    std::istringstream handled(R"(
PinFunctionA1 PinFunctionA2 PinFunctionA3 TeachInMode1 TeachInMode2 SwitchingThresholdA1
SwitchingThresholdA2 LowerThresholdA1 UpperThresholdA1 LowerThresholdA2 UpperThresholdA2
HysteresisA1 HysteresisA2 DetectionRangeNear DetectionRangeFar Output1Settings Output2Settings
Output3Settings NONCA1 NPNPNP1 OnDelay1 OffDelay1 InputMode1 NONCA2 NPNPNP2 OnDelay2 OffDelay2
InputMode2 InputMode3 TestMode TestA1 TestA2 SimulationDistanceValue SimulationMeasurementValue
SimulaionAnalogVoltage SimulaionAnalogCurrent SimulationAnalogOutput SimulationWarning
SimulationContamination SimulatioContaminationRange SimulationAmbient SimulationFatalError
SimulationTemperatureError SimulationTemperatureWarningHigh SimulationTemperatureWarningLow
SimulationUndervoltage SimulationShortCircuit SimulationAccelerationSensor analog0V analog10V
AnalogMode AnalogSubt CrashDetection CrashCounter RESETBUTTON TEACHBUTTON1 TEACHBUTTON2
TEACHBUTTON13 TEACHBUTTON14 TEACHBUTTON22 TEACHBUTTON23 ANALOGTEACHBUTTON1 ANALOGTEACHBUTTON2
MesurementUnit ObjectInfo TeachLoked ErrorWarning1 ErrorWarning2 ErrorWarning3 ErrorWarning4
FirmwareRevisionReadOnly SensorNumberReadOnly SerialNumberReadOnly HardwareRevisionReadOnly
FunctionTag LocationTag AppSpecificTag)");
    for (std::string id; handled >> id;) {
        const Row* row = findRow(id);
        ASSERT_TRUE(row) << id;
        EXPECT_EQ(row->key("visible", "true"), "true") << id;
        for (const pt::ptree* ancestor : row->ancestors)
            EXPECT_EQ(ancestor->get<std::string>("visible", "true"), "true") << id;
    }
    for (const char* group :
         {"Output1Settings", "Output2Settings", "Output3Settings", "AnalogMode", "CrashDetection"})
        EXPECT_TRUE(findRow(group)->isCategory()) << group;
    EXPECT_EQ(findRow("CrashCounter")->type(), "int");
    EXPECT_EQ(findRow("CrashCounter")->key("index"), "4899") << "the status poll reads it at 0x1323";
}

TEST(ParameterSection, LengthCaptionsEndInTheMillimetreSuffix)
{
    // The unit switch replaces the last five characters; the language switch
    // looks for "mm" to tell which suffix a caption carries.
    for (const char* id : {"LowerThresholdA1", "SwitchingThresholdA1", "UpperThresholdA1", "HysteresisA1",
                           "LowerThresholdA2", "SwitchingThresholdA2", "UpperThresholdA2", "HysteresisA2"}) {
        for (const char* language : {"text.en", "text.de"}) {
            const std::string caption = findRow(id)->key(language);
            ASSERT_GT(caption.size(), 5u) << id;
            EXPECT_EQ(caption.substr(caption.size() - 5), " (mm)") << id;
            EXPECT_EQ(caption.find("mm"), caption.size() - 3) << id << ": " << caption;
        }
    }
}

TEST(ProcessDataSection, EntriesFollowTheRowLayout)
{
    // Row 0 distance, 1 a second value, 2-9 status bits, 10-14 switches,
    // 15-22 distance and amplitude of objects 1 to 4.
    const std::string groups = "nn" + std::string(8, '0') + std::string(5, '1') + std::string(8, '2');
    std::vector<std::string> ids;
    for (const auto& entry : document().get_child("document.guiCategory.default")) {
        const std::string id = entry.second.get<std::string>("id", "");
        const std::size_t row = ids.size();
        ids.push_back(id);
        ASSERT_LT(row, groups.size());
        ASSERT_FALSE(id.empty());
        EXPECT_EQ(id.front(), groups[row]) << "row " << row;
        if (id.front() == '2') {
            EXPECT_EQ(entry.second.get<std::string>("parent", ""),
                      "Object" + std::to_string((row - 15) / 2 + 1));
        }
        if (row > 0 && ids[row - 1].front() == id.front()) {
            EXPECT_LT(ids[row - 1], id) << "row " << row;
        }
    }
    EXPECT_EQ(ids.size(), groups.size());
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
}
