#include "TestDocument.h"

#include <catalogue/DescriptionDocument.h>
#include <catalogue/SensorCatalogue.h>

#include <boost/property_tree/xml_parser.hpp>

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace NimbarSensorPlugin::Core;

static std::vector<std::string> names(const std::list<ExtensionSystem::SensorBasic>& sensors)
{
    std::vector<std::string> result;
    for (const auto& sensor : sensors)
        result.push_back(sensor.name() + "=" + sensor.id());
    return result;
}

// The build copies the real document beside every executable, where the catalogue looks by default.
TEST(Catalogue, RealDocumentListsTheFamilyAndGivesWholeEntries)
{
    const auto sensors = names(loadSensorCatalogue(IOLINK_DESCRIPTION_DOCUMENT));
    ASSERT_GE(sensors.size(), 5u);
    EXPECT_EQ(sensors.front() + " " + sensors.back(), "RT5-350-M18=UM035 RT5-6000-M30=UK600");
    EXPECT_EQ(names(loadSensorCatalogue()), sensors);
    Sensor sensor = findSensorDescription("RT5-6000-M30", IOLINK_DESCRIPTION_DOCUMENT);
    EXPECT_EQ(sensor.id() + " " + sensor.sensorsNode().front().second.get<std::string>("ID3"), "UK600 111");
    EXPECT_TRUE(sensor.characterDelay() == 1 && sensor.lineDelay() == 10 && sensor.sensorsNode().size() == 2);
    EXPECT_TRUE(findSensorDescription("rt5-350-m18", IOLINK_DESCRIPTION_DOCUMENT).tree.empty());
}

// What the list holds and which entry a lookup of "Alpha" finds: element text is trimmed (only a CDATA
// section keeps a blank), entries without a name are left out of the list but end a lookup, element names
// are not examined.
TEST(Catalogue, ListAndLookupOfMadeUpDocuments)
{
    TestDocument docs;
    const std::string alpha = TestDocument::entry("A1", "Alpha");
    const std::tuple<std::string, std::vector<std::string>, const char*> cases[] = {
        {docs.write(TestDocument::family(alpha, "OtherFamily"), "1.xml"), {}, ""},
        {docs.write(TestDocument::family(alpha, "<![CDATA[IoLinkMzRT5family ]]>"), "2.xml"), {}, ""},
        {docs.write(TestDocument::family(alpha, "iolinkmzrt5family"), "3.xml"), {}, ""},
        {docs.missingPath(), {}, ""},
        {docs.write("<document><documentId>IoLinkMzRT5family</documentId><sensorList>", "4.xml"), {}, ""},
        {docs.write("<document><sensorList>" + alpha + "</sensorList></document>", "5.xml"), {}, ""},
        {docs.write(TestDocument::family(TestDocument::entry("A1", " Alpha "), "\n  IoLinkMzRT5family "),
                    "7.xml"),
         {"Alpha=A1"},
         "A1"},
        {docs.write(TestDocument::family("    <sensor><id>B2</id></sensor>\n" + alpha +
                                         TestDocument::entry("C3", "Gamma")),
                    "8.xml"),
         {"Alpha=A1", "Gamma=C3"},
         ""},
        {docs.write(TestDocument::family(
                        "    <sensor><name>Beta</name></sensor>\n    <model><name>Alpha</name><id>M</id>"
                        "</model>\n" +
                        TestDocument::entry("A2", "Alpha")),
                    "9.xml"),
         {"Beta=", "Alpha=M", "Alpha=A2"},
         "M"}};
    for (const auto& [path, listed, foundId] : cases) {
        EXPECT_EQ(names(loadSensorCatalogue(path)), listed) << path;
        const Sensor sensor = findSensorDescription("Alpha", path);
        EXPECT_EQ(sensor.id(), foundId) << path;
        EXPECT_EQ(sensor.tree.empty(), std::string(foundId).empty()) << path;
    }
}

// Every variant of the real document has what the window reads of it, and the identity check, which
// compares characters 0 and 2 to 4 of the id, tells every model apart.
TEST(FamilyDocument, VariantsAreCompleteAndCoverTheKnownCodes)
{
    std::set<std::string> codes, identityKeys, flags;
    const auto listed = loadSensorCatalogue(IOLINK_DESCRIPTION_DOCUMENT);
    for (const auto& entry : listed) {
        Sensor sensor = findSensorDescription(entry.name(), IOLINK_DESCRIPTION_DOCUMENT);
        ASSERT_TRUE(sensor.id() == entry.id() && sensor.id().size() >= 5u) << entry.name();
        identityKeys.insert(sensor.id().substr(0, 1) + sensor.id().substr(2, 3));
        for (const auto& variant : sensor.sensorsNode()) {
            const auto& v = variant.second;
            const std::string code = v.get<std::string>("ID3");
            codes.insert(code);
            flags.insert("analog" + v.get<std::string>("analogOutput"));
            flags.insert("reset" + v.get<std::string>("resetAcc"));
            const int minRange = v.get<int>("minRange"), maxRange = v.get<int>("maxRange");
            EXPECT_TRUE(code.size() == 3 && v.get_optional<std::string>("A2PinFct") && minRange < maxRange &&
                        v.get<int>("objMinRange") <= minRange && v.get<int>("objMaxRange") >= maxRange)
                << sensor.name() << " " << code;
        }
    }
    EXPECT_EQ(identityKeys.size(), listed.size()) << "models the identity check cannot tell apart";
    for (const char* code : {"107", "108", "111", "113", "137"})
        EXPECT_TRUE(codes.count(code)) << code;
    EXPECT_EQ(flags, (std::set<std::string>{"analog0", "analog1", "reset0", "reset1"}));
}

TEST(DocumentLimits, NestingAndTextsAreMeasuredPastCommentsCdataAndQuotes)
{
    const DocumentShape odd = documentShape(
        "<?xml version=\"1.0\"?><!-- <x><y><z> long comment --><a t=\"<b>\"><![CDATA[<c><d>]]></a>");
    EXPECT_TRUE(odd.depth == 1 && odd.longestText == 18u);
    const DocumentShape deep = documentShape("<a>\n<b>\n<c/>\n<c></c></b></a>");
    EXPECT_TRUE(deep.depth == 3 && deep.line == 4);
    const DocumentShape texts = documentShape("<a><b>short</b>\n<c>\nlonger text</c></a>");
    EXPECT_TRUE(texts.longestText == 12u && texts.longestTextLine == 2);
}

// A document nested deeper than any real one is refused before the reader recurses into it, and so is a
// huge text; the workbench lists nothing instead of crashing.
TEST(DocumentLimits, TooDeepOrHugeDocumentsAreRefusedWithFileAndLine)
{
    TestDocument docs;
    std::string nested;
    for (int k = 0; k < 50000; ++k)
        nested += "<property>";
    const std::tuple<std::string, unsigned long, const char*> cases[] = {
        {docs.write("<document><documentId>IoLinkMzRT5family</documentId>\n" + nested, "deep.xml"), 2,
         "nested more than 64 deep"},
        {docs.write(
             TestDocument::family(TestDocument::entry(
                 "UM035", "RT5-350-M18", "\n<caption><en>" + std::string(1 << 20, 'x') + "</en></caption>")),
             "huge.xml"),
         6, "an element text of 1048576 bytes"}};
    for (const auto& [path, line, message] : cases) {
        try {
            checkDocumentLimits(path);
            ADD_FAILURE() << path << " not refused";
        } catch (const boost::property_tree::xml_parser_error& error) {
            EXPECT_EQ(error.filename() + ":" + std::to_string(error.line()),
                      path + ":" + std::to_string(line));
            EXPECT_NE(std::string(error.message()).find(message), std::string::npos) << error.message();
        }
        EXPECT_TRUE(loadSensorCatalogue(path).empty());
    }
    EXPECT_NO_THROW(checkDocumentLimits(IOLINK_DESCRIPTION_DOCUMENT));
}
