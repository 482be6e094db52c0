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
    int items() const { return node->get_child_optional("items") ? int(node->get_child("items").size()) : 0; }
};

void collectRows(const pt::ptree& node, std::vector<const pt::ptree*> ancestors, std::vector<Row>* rows)
{
    rows->push_back({&node, ancestors});
    ancestors.push_back(&node);
    for (const auto& child : node)
        if (child.first == "property")
            collectRows(child.second, ancestors, rows);
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

const Row& row(const std::string& id)
{
    static const Row none{&document(), {}};
    for (const Row& r : rows())
        if (r.id() == id)
            return r;
    ADD_FAILURE() << id << " is missing";
    return none;
}

bool isDecimal(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
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

TEST(ParameterSection, EveryRowIsUniqueCaptionedAndItsDefaultFitsItsRange)
{
    ASSERT_GT(rows().size(), 50u);
    const std::set<std::string> types{"category", "enumerator", "int", "double", "bool", "action", "string"};
    std::map<std::string, std::string> addressOwners;
    std::set<std::string> ids;
    for (const Row& row : rows()) {
        const std::string id = row.id(), type = row.type();
        EXPECT_TRUE(!id.empty() && ids.insert(id).second) << "a " << type << " node has id '" << id << "'";
        EXPECT_TRUE(types.count(type)) << id << " has type '" << type << "'";
        ASSERT_TRUE(row.node->get_child_optional("text")) << id;
        expectBilingual(row.node->get_child("text"), id);
        if (type == "action")
            expectBilingual(row.node->get_child("caption.text", {}), id + " button");
        if (const auto items = row.node->get_child_optional("items"))
            for (const auto& item : *items)
                expectBilingual(item.second, id + " item");
        if (type == "category")
            continue;
        const std::string index = row.key("index"), subIndex = row.key("subIndex"), size = row.key("size");
        ASSERT_TRUE(isDecimal(index) && isDecimal(subIndex) && isDecimal(size)) << id;
        EXPECT_TRUE(std::stoi(index) <= 0xFFFF && std::stoi(subIndex) <= 0xFF) << id;
        EXPECT_TRUE(size == "6" || size == "7" || size == "9") << id << " size " << size;
        const auto known = addressOwners.emplace(index + "/" + subIndex, id);
        EXPECT_TRUE(known.second) << id << " shares its address with " << known.first->second;
        EXPECT_TRUE(row.key("readonly") == "true" || row.key("readonly") == "false") << id;
        if (type == "enumerator") {
            const int value = row.node->get<int>("defaultvalue");
            EXPECT_TRUE(row.items() >= 2 && value >= 0 && value < row.items()) << id;
        } else if (type == "int" || type == "double") {
            const double minimum = row.node->get<double>("min"), maximum = row.node->get<double>("max");
            const double value = row.node->get<double>("defaultvalue");
            EXPECT_TRUE(minimum < maximum && value >= minimum && value <= maximum) << id << " " << value;
        } else if (type == "bool") {
            EXPECT_TRUE(row.key("defaultvalue") == "0" || row.key("defaultvalue") == "1") << id;
        } else if (type == "string") {
            EXPECT_TRUE(row.node->get_child_optional("defaultvalue")) << id;
        }
    }
    for (const auto& entry : document().get_child("document.guiCategory.default"))
        expectBilingual(entry.second.get_child("text"),
                        "process-data entry " + entry.second.get<std::string>("id"));
}

TEST(ParameterSection, RowsTheCodeReliesOnHaveTheirPlaceTypeAndEntries)
{
    // The tags are free text at the identification indices.
    for (const auto& [id, index] : std::map<std::string, std::string>{
             {"AppSpecificTag", "24"}, {"FunctionTag", "25"}, {"LocationTag", "26"}}) {
        const std::string place = row(id).key("index") + "/" + row(id).key("subIndex") + " " +
                                  row(id).type() + " " + row(id).key("isString") + " " +
                                  row(id).key("readonly");
        EXPECT_EQ(place, index + "/0 string true false") << id;
    }
    // Sensor code 10 (the crash-detection function) sits at positions 6, 7
    // and 3 and is the last name, which variants without crash detection drop.
    for (const auto& [id, size] : std::map<std::string, int>{{"PinFunctionA1", 7},
                                                             {"PinFunctionA2", 8},
                                                             {"PinFunctionA3", 4},
                                                             {"ErrorWarning1", 17},
                                                             {"ErrorWarning2", 17},
                                                             {"ErrorWarning3", 17},
                                                             {"ErrorWarning4", 17},
                                                             {"MesurementUnit", 2}})
        EXPECT_EQ(row(id).items(), size) << id;
    for (const char* id : {"TeachInMode1", "TeachInMode2"})
        EXPECT_GE(row(id).items(), 3) << id << " needs window mode at position 2";
    // Unit code 0 is millimetres, 1 inches.
    EXPECT_NE(row("MesurementUnit").node->get_child("items").front().second.get<std::string>("en").find("mm"),
              std::string::npos);
    EXPECT_NE(
        row("MesurementUnit").node->get_child("items").back().second.get<std::string>("en").find("inch"),
        std::string::npos);
    EXPECT_EQ(row("TestMode").key("defaultvalue"), "0") << "test mode starts off";
    for (const char* group :
         {"Output1Settings", "Output2Settings", "Output3Settings", "AnalogMode", "CrashDetection"})
        EXPECT_EQ(row(group).type(), "category") << group;
    EXPECT_EQ(row("CrashCounter").type(), "int");
    EXPECT_EQ(row("CrashCounter").key("index"), "4899") << "the status poll reads it at 0x1323";
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
        EXPECT_EQ(row(id).key("visible", "true"), "true") << id;
        for (const pt::ptree* ancestor : row(id).ancestors)
            EXPECT_EQ(ancestor->get<std::string>("visible", "true"), "true") << id;
    }
}

TEST(ParameterSection, LengthCaptionsEndInTheMillimetreSuffix)
{
    // The unit switch replaces the last five characters; the language switch
    // looks for "mm" to tell which suffix a caption carries.
    for (const char* id : {"LowerThresholdA1", "SwitchingThresholdA1", "UpperThresholdA1", "HysteresisA1",
                           "LowerThresholdA2", "SwitchingThresholdA2", "UpperThresholdA2", "HysteresisA2"}) {
        for (const char* language : {"text.en", "text.de"}) {
            const std::string caption = row(id).key(language);
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
        EXPECT_TRUE(id.front() != '2' || entry.second.get<std::string>("parent", "") ==
                                             "Object" + std::to_string((row - 15) / 2 + 1))
            << "row " << row;
        EXPECT_TRUE(row == 0 || ids[row - 1].front() != id.front() || ids[row - 1] < id) << "row " << row;
    }
    EXPECT_EQ(ids.size(), groups.size());
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
}
