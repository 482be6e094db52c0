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
        result.push_back(sensor.name());
    return result;
}

} // namespace

TEST(Catalogue, RealDocumentListsTheFamilyInDocumentOrder)
{
    const auto sensors = loadSensorCatalogue(IOLINK_DESCRIPTION_DOCUMENT);
    ASSERT_GE(sensors.size(), 5u);
    EXPECT_EQ(sensors.front().name(), "RT5-350-M18");
    EXPECT_EQ(sensors.front().id(), "UM035");
    EXPECT_EQ(sensors.back().name(), "RT5-6000-M30");
}

TEST(Catalogue, DefaultLocationIsBesideTheApplication)
{
    // The build copies the real document beside every executable.
    const auto besideTheApplication = names(loadSensorCatalogue());
    ASSERT_FALSE(besideTheApplication.empty());
    EXPECT_EQ(besideTheApplication, names(loadSensorCatalogue(IOLINK_DESCRIPTION_DOCUMENT)));
}

TEST(Catalogue, ForeignOrBrokenDocumentsGiveAnEmptyList)
{
    TestDocument docs;
    const std::string entries = TestDocument::entry("A1", "Alpha");
    EXPECT_TRUE(loadSensorCatalogue(docs.write(TestDocument::family(entries, "OtherFamily"))).empty());
    EXPECT_TRUE(
        loadSensorCatalogue(docs.write(TestDocument::family(entries, "<![CDATA[IoLinkMzRT5family ]]>")))
            .empty());
    EXPECT_TRUE(loadSensorCatalogue(docs.write(TestDocument::family(entries, "iolinkmzrt5family"))).empty());
    EXPECT_TRUE(loadSensorCatalogue(docs.missingPath()).empty());
    EXPECT_TRUE(
        loadSensorCatalogue(docs.write("<document><documentId>IoLinkMzRT5family</documentId>")).empty());
    EXPECT_TRUE(
        loadSensorCatalogue(docs.write("<document><sensorList>" + entries + "</sensorList></document>"))
            .empty());
    EXPECT_TRUE(
        loadSensorCatalogue(docs.write("<document><documentId>IoLinkMzRT5family</documentId></document>"))
            .empty());
}

TEST(Catalogue, ElementTextIsTrimmedBeforeTheIdIsCompared)
{
    // Only a CDATA section keeps a blank through the reader (tested above);
    // blanks around element text are layout and go.
    TestDocument docs;
    const std::string entries = TestDocument::entry("A1", " Alpha ");
    const auto sensors =
        loadSensorCatalogue(docs.write(TestDocument::family(entries, "\n  IoLinkMzRT5family ")));
    ASSERT_EQ(sensors.size(), 1u);
    EXPECT_EQ(sensors.front().name(), "Alpha");
}

TEST(Catalogue, EntriesWithoutNameAreLeftOutAndLaterOnesStillAppear)
{
    TestDocument docs;
    const std::string path = docs.write(TestDocument::family(TestDocument::entry("A1", "Alpha") +
                                                             "    <sensor><id>B2</id></sensor>\n" +
                                                             TestDocument::entry("C3", "Gamma")));
    const auto sensors = loadSensorCatalogue(path);
    EXPECT_EQ(names(sensors), (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(sensors.back().id(), "C3");
}

TEST(Catalogue, ElementNamesOfEntriesAreNotExamined)
{
    TestDocument docs;
    const std::string path = docs.write(TestDocument::family(
        "    <sensor><name>Alpha</name></sensor>\n    <model><name>Beta</name></model>\n"));
    EXPECT_EQ(names(loadSensorCatalogue(path)), (std::vector<std::string>{"Alpha", "Beta"}));
}

TEST(Lookup, FindsTheFirstEntryOfThatName)
{
    TestDocument docs;
    const std::string path = docs.write(TestDocument::family(
        TestDocument::entry("A1", "Alpha", "<portsettings><linedelay>4</linedelay></portsettings>") +
        TestDocument::entry("A2", "Alpha", "<portsettings><linedelay>9</linedelay></portsettings>")));
    const Sensor sensor = findSensorDescription("Alpha", path);
    EXPECT_EQ(sensor.id(), "A1");
    EXPECT_EQ(sensor.lineDelay(), 4);
}

TEST(Lookup, NamesCompareExactly)
{
    const Sensor sensor = findSensorDescription("rt5-350-m18", IOLINK_DESCRIPTION_DOCUMENT);
    EXPECT_TRUE(sensor.name().empty());
    EXPECT_TRUE(sensor.tree.empty());
}

TEST(Lookup, FailuresGiveTheDefaultRecord)
{
    TestDocument docs;
    const std::string entries = TestDocument::entry("A1", "Alpha");
    for (const std::string& path :
         {docs.write(TestDocument::family(entries, "<![CDATA[IoLinkMzRT5family ]]>"), "foreign.xml"),
          docs.missingPath(),
          docs.write("<document><documentId>IoLinkMzRT5family</documentId><sensorList>", "broken.xml"),
          // An entry without a name before the match ends the walk.
          docs.write(TestDocument::family("    <sensor><id>X</id></sensor>\n" + entries), "nameless.xml")}) {
        const Sensor sensor = findSensorDescription("Alpha", path);
        EXPECT_TRUE(sensor.name().empty()) << path;
        EXPECT_TRUE(sensor.tree.empty()) << path;
        EXPECT_EQ(sensor.characterDelay(), 0);
        EXPECT_FALSE(sensor.thresholdsReadOnly());
    }
}

TEST(Lookup, RecordCarriesTheWholeEntry)
{
    const Sensor sensor = findSensorDescription("RT5-6000-M30", IOLINK_DESCRIPTION_DOCUMENT);
    EXPECT_EQ(sensor.id(), "UK600");
    EXPECT_EQ(sensor.characterDelay(), 1);
    EXPECT_EQ(sensor.lineDelay(), 10);
    Sensor copy = sensor;
    EXPECT_EQ(copy.sensorsNode().size(), 2u);
    EXPECT_EQ(copy.sensorsNode().front().second.get<std::string>("ID3"), "111");
}

TEST(FamilyDocument, VariantsAreCompleteAndCoverTheKnownCodes)
{
    std::set<std::string> codes;
    std::set<std::string> analog, resetAcc;
    for (const auto& listed : loadSensorCatalogue(IOLINK_DESCRIPTION_DOCUMENT)) {
        Sensor sensor = findSensorDescription(listed.name(), IOLINK_DESCRIPTION_DOCUMENT);
        ASSERT_EQ(sensor.id(), listed.id());
        ASSERT_GE(sensor.id().size(), 5u) << "identity check compares characters 0 and 2 to 4";
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
    for (const char* code : {"107", "108", "111", "113", "137"})
        EXPECT_TRUE(codes.count(code)) << code;
    EXPECT_GE(codes.size(), 6u);
    EXPECT_EQ(analog, (std::set<std::string>{"0", "1"}));
    EXPECT_EQ(resetAcc, (std::set<std::string>{"0", "1"}));
}

TEST(FamilyDocument, ModelsAreToldApartByTheComparedIdentityCharacters)
{
    std::set<std::string> keys;
    for (const auto& sensor : loadSensorCatalogue(IOLINK_DESCRIPTION_DOCUMENT))
        keys.insert(sensor.id().substr(0, 1) + sensor.id().substr(2, 3));
    EXPECT_EQ(keys.size(), loadSensorCatalogue(IOLINK_DESCRIPTION_DOCUMENT).size());
}

TEST(DocumentLimits, NestingAndTextsAreMeasuredPastCommentsCdataAndQuotes)
{
    EXPECT_EQ(documentShape("<a><b/><c><d>x</d></c></a>").depth, 3);
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
// recurses into it; the workbench lists nothing instead of crashing.
TEST(DocumentLimits, ADeeplyNestedDocumentIsRefusedWithFileAndLine)
{
    TestDocument docs;
    std::string nested;
    for (int k = 0; k < 50000; ++k)
        nested += "<property>";
    const std::string path = docs.write("<document><documentId>IoLinkMzRT5family</documentId>\n" + nested);
    try {
        checkDocumentLimits(path);
        FAIL() << "not refused";
    } catch (const boost::property_tree::xml_parser_error& error) {
        EXPECT_EQ(error.filename(), path);
        EXPECT_EQ(error.line(), 2u);
        EXPECT_NE(std::string(error.message()).find("nested more than 64 deep"), std::string::npos);
    }
    EXPECT_TRUE(loadSensorCatalogue(path).empty());
    EXPECT_NO_THROW(checkDocumentLimits(IOLINK_DESCRIPTION_DOCUMENT));
}

TEST(DocumentLimits, AHugeCaptionIsRefusedWithFileAndLine)
{
    TestDocument docs;
    const std::string path = docs.write(TestDocument::family(TestDocument::entry(
        "UM035", "RT5-350-M18", "\n<caption><en>" + std::string(1 << 20, 'x') + "</en></caption>")));
    try {
        checkDocumentLimits(path);
        FAIL() << "not refused";
    } catch (const boost::property_tree::xml_parser_error& error) {
        EXPECT_EQ(error.filename(), path);
        EXPECT_EQ(error.line(), 6u);
        EXPECT_NE(std::string(error.message()).find("an element text of 1048576 bytes"), std::string::npos)
            << error.message();
    }
}
