#include "TestDocument.h"

#include <catalogue/DescriptionDocument.h>
#include <catalogue/SensorCatalogue.h>

#include <boost/property_tree/xml_parser.hpp>

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace NimbarSensorPlugin::Core;

namespace {

std::vector<std::string> names(const std::list<ExtensionSystem::SensorBasic>& sensors)
{
    std::vector<std::string> result;
    for (const auto& sensor : sensors)
        result.push_back(sensor.name() + "=" + sensor.id());
    return result;
}

} // namespace

TEST(Catalogue, RealDocumentListsTheFamilyAndGivesWholeEntries)
{
    const auto sensors = names(loadSensorCatalogue(IOLINK_DESCRIPTION_DOCUMENT));
    ASSERT_GE(sensors.size(), 5u);
    EXPECT_EQ(sensors.front(), "RT5-350-M18=UM035");
    EXPECT_EQ(sensors.back(), "RT5-6000-M30=UK600");
    // The build copies the real document beside every executable.
    EXPECT_EQ(names(loadSensorCatalogue()), sensors);

    Sensor sensor = findSensorDescription("RT5-6000-M30", IOLINK_DESCRIPTION_DOCUMENT);
    EXPECT_EQ(sensor.id(), "UK600");
    EXPECT_EQ(sensor.characterDelay(), 1);
    EXPECT_EQ(sensor.lineDelay(), 10);
    EXPECT_EQ(sensor.sensorsNode().size(), 2u);
    EXPECT_EQ(sensor.sensorsNode().front().second.get<std::string>("ID3"), "111");
    EXPECT_TRUE(findSensorDescription("rt5-350-m18", IOLINK_DESCRIPTION_DOCUMENT).tree.empty());
}

// What the list holds and which entry a lookup of "Alpha" finds: element text
// is trimmed (only a CDATA section keeps a blank), entries without a name
// are left out of the list but end a lookup, element names are not examined.
TEST(Catalogue, ListAndLookupOfMadeUpDocuments)
{
    TestDocument docs;
    const std::string alpha = TestDocument::entry("A1", "Alpha");
    const struct
    {
        std::string path;
        std::vector<std::string> listed;
        const char* foundId;
    } cases[] = {
        {docs.write(TestDocument::family(alpha, "OtherFamily"), "1.xml"), {}, ""},
        {docs.write(TestDocument::family(alpha, "<![CDATA[IoLinkMzRT5family ]]>"), "2.xml"), {}, ""},
        {docs.write(TestDocument::family(alpha, "iolinkmzrt5family"), "3.xml"), {}, ""},
        {docs.missingPath(), {}, ""},
        {docs.write("<document><documentId>IoLinkMzRT5family</documentId><sensorList>", "4.xml"), {}, ""},
        {docs.write("<document><sensorList>" + alpha + "</sensorList></document>", "5.xml"), {}, ""},
        {docs.write("<document><documentId>IoLinkMzRT5family</documentId></document>", "6.xml"), {}, ""},
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
         "M"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(names(loadSensorCatalogue(c.path)), c.listed) << c.path;
        const Sensor sensor = findSensorDescription("Alpha", c.path);
        EXPECT_EQ(sensor.id(), c.foundId) << c.path;
        EXPECT_EQ(sensor.tree.empty(), std::string(c.foundId).empty()) << c.path;
        EXPECT_FALSE(sensor.thresholdsReadOnly());
    }
}

TEST(FamilyDocument, VariantsAreCompleteAndCoverTheKnownCodes)
{
    std::set<std::string> codes, analog, resetAcc, identityKeys;
    const auto listed = loadSensorCatalogue(IOLINK_DESCRIPTION_DOCUMENT);
    for (const auto& entry : listed) {
        Sensor sensor = findSensorDescription(entry.name(), IOLINK_DESCRIPTION_DOCUMENT);
        ASSERT_EQ(sensor.id(), entry.id());
        // The identity check compares characters 0 and 2 to 4.
        ASSERT_GE(sensor.id().size(), 5u);
        identityKeys.insert(sensor.id().substr(0, 1) + sensor.id().substr(2, 3));
        for (const auto& variant : sensor.sensorsNode()) {
            const auto& v = variant.second;
            const std::string code = v.get<std::string>("ID3");
            EXPECT_EQ(code.size(), 3u);
            codes.insert(code);
            analog.insert(v.get<std::string>("analogOutput"));
            resetAcc.insert(v.get<std::string>("resetAcc"));
            EXPECT_NO_THROW(v.get<std::string>("A2PinFct")) << sensor.name() << " " << code;
            const int minRange = v.get<int>("minRange"), maxRange = v.get<int>("maxRange");
            EXPECT_LT(minRange, maxRange) << sensor.name() << " " << code;
            EXPECT_LE(v.get<int>("objMinRange"), minRange);
            EXPECT_GE(v.get<int>("objMaxRange"), maxRange);
        }
    }
    EXPECT_EQ(identityKeys.size(), listed.size()) << "models the identity check cannot tell apart";
    for (const char* code : {"107", "108", "111", "113", "137"})
        EXPECT_TRUE(codes.count(code)) << code;
    EXPECT_GE(codes.size(), 6u);
    EXPECT_EQ(analog, (std::set<std::string>{"0", "1"}));
    EXPECT_EQ(resetAcc, (std::set<std::string>{"0", "1"}));
}

TEST(DocumentLimits, NestingAndTextsAreMeasuredPastCommentsCdataAndQuotes)
{
    const DocumentShape odd = documentShape(
        "<?xml version=\"1.0\"?><!-- <x><y><z> long comment --><a t=\"<b>\"><![CDATA[<c><d>]]></a>");
    EXPECT_EQ(odd.depth, 1);
    EXPECT_EQ(odd.longestText, 18u);
    const DocumentShape deep = documentShape("<a>\n<b>\n<c/>\n<c></c></b></a>");
    EXPECT_EQ(deep.depth, 3);
    EXPECT_EQ(deep.line, 4);
    const DocumentShape texts = documentShape("<a><b>short</b>\n<c>\nlonger text</c></a>");
    EXPECT_EQ(texts.longestText, 12u);
    EXPECT_EQ(texts.longestTextLine, 2);
}

// A document nested deeper than any real one is refused before the reader
// recurses into it, and so is a huge text; the workbench lists nothing
// instead of crashing.
TEST(DocumentLimits, TooDeepOrHugeDocumentsAreRefusedWithFileAndLine)
{
    TestDocument docs;
    std::string nested;
    for (int k = 0; k < 50000; ++k)
        nested += "<property>";
    const struct
    {
        std::string path;
        unsigned long line;
        const char* message;
    } cases[] = {
        {docs.write("<document><documentId>IoLinkMzRT5family</documentId>\n" + nested, "deep.xml"), 2,
         "nested more than 64 deep"},
        {docs.write(
             TestDocument::family(TestDocument::entry(
                 "UM035", "RT5-350-M18", "\n<caption><en>" + std::string(1 << 20, 'x') + "</en></caption>")),
             "huge.xml"),
         6, "an element text of 1048576 bytes"},
    };
    for (const auto& c : cases) {
        try {
            checkDocumentLimits(c.path);
            ADD_FAILURE() << c.path << " not refused";
        } catch (const boost::property_tree::xml_parser_error& error) {
            EXPECT_EQ(error.filename(), c.path);
            EXPECT_EQ(error.line(), c.line);
            EXPECT_NE(std::string(error.message()).find(c.message), std::string::npos) << error.message();
        }
        EXPECT_TRUE(loadSensorCatalogue(c.path).empty());
    }
    EXPECT_NO_THROW(checkDocumentLimits(IOLINK_DESCRIPTION_DOCUMENT));
}
