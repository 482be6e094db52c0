#include <QString>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace pt = boost::property_tree;

namespace {

// The real description document, read as the sensor window reads it: comments dropped, whitespace kept,
// so stray blanks around a value show.
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
    // A node whose visible is not "true" is never attached to the tree, nor is anything under it.
    bool attached;

    std::string key(const char* name, const char* fallback = "") const { return node->get(name, fallback); }
    int items() const { return node->get_child_optional("items") ? int(node->get_child("items").size()) : 0; }
};

void collectRows(const pt::ptree& node, bool attached, std::vector<Row>* rows)
{
    attached = attached && node.get<std::string>("visible", "true") == "true";
    rows->push_back({&node, attached});
    for (const auto& child : node)
        if (child.first == "property")
            collectRows(child.second, attached, rows);
}

// Every node of the parameter section, depth first in document order.
const std::vector<Row>& rows()
{
    static const std::vector<Row> all = [] {
        std::vector<Row> collected;
        for (const auto& top : document().get_child("document.treeGui.default"))
            collectRows(top.second, true, &collected);
        return collected;
    }();
    return all;
}

const Row& row(const std::string& id)
{
    static const Row none{&document(), false};
    for (const Row& r : rows())
        if (r.key("id") == id)
            return r;
    ADD_FAILURE() << id << " is missing";
    return none;
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
    const auto isDecimal = [](const std::string& text) {
        return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    };
    for (const Row& row : rows()) {
        const std::string id = row.key("id"), type = row.key("type");
        EXPECT_TRUE(!id.empty() && ids.insert(id).second) << "a " << type << " node has id '" << id << "'";
        EXPECT_TRUE(types.count(type)) << id << " has type '" << type << "'";
        expectBilingual(row.node->get_child("text", {}), id);
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
        const std::string value = row.key("defaultvalue", "none");
        if (type == "enumerator") {
            EXPECT_TRUE(row.items() >= 2 && std::stoi(value) >= 0 && std::stoi(value) < row.items()) << id;
        } else if (type == "int" || type == "double") {
            const double minimum = row.node->get<double>("min"), maximum = row.node->get<double>("max");
            EXPECT_TRUE(minimum < maximum && std::stod(value) >= minimum && std::stod(value) <= maximum)
                << id;
        } else if (type == "bool") {
            EXPECT_TRUE(value == "0" || value == "1") << id;
        } else if (type == "string") {
            EXPECT_NE(value, "none") << id;
        }
    }
    for (const auto& entry : document().get_child("document.guiCategory.default"))
        expectBilingual(entry.second.get_child("text"),
                        "process-data entry " + entry.second.get<std::string>("id"));
}

// Type, address, number of entries and whether it is read-only, of rows whose place the code relies on;
// each is attached to the tree, where the window looks for it.
TEST(ParameterSection, RowsTheCodeReliesOnHaveTheirPlaceTypeAndEntries)
{
    // The tags are free text at the identification indices; the status poll reads the crash counter at
    // 0x1323. Sensor code 10 (crash detection) sits at positions 6, 7 and 3 of the pin functions and is
    // the last name, which variants without crash detection drop; teach-in has window mode at 2.
    const std::pair<const char*, const char*> cases[] = {
        {"AppSpecificTag", "string 24/0 0 false"},    {"FunctionTag", "string 25/0 0 false"},
        {"LocationTag", "string 26/0 0 false"},       {"CrashCounter", "int 4899/0 0 true"},
        {"PinFunctionA1", "enumerator 72/1 7 false"}, {"PinFunctionA2", "enumerator 72/2 8 false"},
        {"PinFunctionA3", "enumerator 72/3 4 false"}, {"TeachInMode1", "enumerator 67/1 3 false"},
        {"TeachInMode2", "enumerator 67/2 3 false"},  {"MesurementUnit", "enumerator 81/0 2 false"},
        {"TestMode", "enumerator 90/0 2 false"},      {"CrashDetection", "category / 0 "},
        {"Output1Settings", "category / 0 "},         {"AnalogMode", "category / 0 "}};
    for (const auto& [id, place] : cases) {
        const Row& r = row(id);
        EXPECT_EQ(r.key("type") + " " + r.key("index") + "/" + r.key("subIndex") + " " +
                      std::to_string(r.items()) + " " + r.key("readonly"),
                  place)
            << id;
        EXPECT_TRUE(r.attached) << id << " is hidden from the tree";
    }
    for (const char* id : {"ErrorWarning1", "ErrorWarning2", "ErrorWarning3", "ErrorWarning4"})
        EXPECT_EQ(row(id).items(), 17) << id;
    EXPECT_EQ(row("AppSpecificTag").key("isString"), "true");
    // Unit code 0 is millimetres, 1 inches; test mode starts off.
    const pt::ptree& units = row("MesurementUnit").node->get_child("items");
    EXPECT_NE(units.front().second.get<std::string>("en").find("mm"), std::string::npos);
    EXPECT_NE(units.back().second.get<std::string>("en").find("inch"), std::string::npos);
    EXPECT_EQ(row("TestMode").key("defaultvalue"), "0");
}
