#include <catalogue/Sensor.h>
#include <extensionsystem/Globals.h>

#include <boost/property_tree/exceptions.hpp>
#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

namespace {

Sensor recordFrom(const std::string& entryXml)
{
    std::stringstream text("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<name>A</name>" + entryXml);
    Sensor sensor;
    sensor.fromXMLStream(text);
    return sensor;
}

} // namespace

// A delay beyond any real master's would stall every exchange, a negative
// one would wrap the time-outs: both are kept to 0 to 10000 ms, and the
// report names the document's own number. Missing or text delays are 0.
TEST(SensorRecord, PortDelaysAreWholeMillisecondsWithinTenSeconds)
{
    const struct
    {
        const char* settings;
        int characterDelay;
        int lineDelay;
        QStringList problems;
    } cases[] = {
        {"<characterdelay>3</characterdelay><linedelay>12</linedelay>", 3, 12, {}},
        {"<linedelay>7</linedelay>", 0, 7, {}},
        {"<characterdelay>0</characterdelay><linedelay>10000</linedelay>", 0, 10000, {}},
        {"<characterdelay>-5000</characterdelay><linedelay>2147483647</linedelay>",
         0,
         10000,
         {"The port setting characterdelay of -5000 ms lies outside 0 to 10000 ms; 0 ms is used.",
          "The port setting linedelay of 2147483647 ms lies outside 0 to 10000 ms; 10000 ms is used."}},
        {"<characterdelay>2e9</characterdelay><linedelay>40</linedelay>",
         0,
         40,
         {"The port setting characterdelay is no whole number of milliseconds; 0 is used."}},
        {"<characterdelay>fast</characterdelay>",
         0,
         0,
         {"The port setting characterdelay is no whole number of milliseconds; 0 is used."}},
    };
    for (const auto& c : cases) {
        const Sensor sensor = recordFrom(std::string("<portsettings>") + c.settings + "</portsettings>");
        EXPECT_EQ(sensor.characterDelay(), c.characterDelay) << c.settings;
        EXPECT_EQ(sensor.lineDelay(), c.lineDelay) << c.settings;
        EXPECT_EQ(sensor.delayProblems(), c.problems) << c.settings;
    }
}

TEST(SensorRecord, ThresholdsReadOnlyOnlyForNonZeroNumbers)
{
    for (const auto& [value, readOnly] :
         std::map<std::string, bool>{{"1", true}, {"2", true}, {"0", false}, {"true", false}})
        EXPECT_EQ(recordFrom("<chartsettings><thresholdsreadonly>" + value +
                             "</thresholdsreadonly></chartsettings>")
                      .thresholdsReadOnly(),
                  readOnly)
            << value;
    EXPECT_FALSE(recordFrom("").thresholdsReadOnly());
}

TEST(SensorRecord, VariantsAreFoundByTheirCode)
{
    Sensor sensor = recordFrom("");
    EXPECT_THROW(sensor.sensorsNode(), boost::property_tree::ptree_bad_path);
    EXPECT_FALSE(sensor.variant("107"));
    Sensor withVariants = recordFrom(
        "<sensors><variant><ID3>107</ID3><maxRange>350</maxRange><analogOutput>1</analogOutput>"
        "</variant><variant><ID3>111</ID3><A2PinFct>1</A2PinFct><resetAcc>0</resetAcc></variant></sensors>");
    const std::optional<SensorVariant> analog = withVariants.variant("107");
    ASSERT_TRUE(analog);
    EXPECT_EQ(analog->maxRange, 350);
    EXPECT_EQ(analog->objMaxRange, 0);
    EXPECT_TRUE(analog->analogOutput && analog->accelerationSensor && !analog->singleSwitchingOutput);
    const std::optional<SensorVariant> single = withVariants.variant("111");
    ASSERT_TRUE(single);
    EXPECT_TRUE(!single->analogOutput && !single->accelerationSensor && single->singleSwitchingOutput);
    EXPECT_FALSE(withVariants.variant("113"));
}

TEST(SensorRecord, HostDecidesAcceptanceAndMalformedTextKeepsTheTree)
{
    std::stringstream nameless("<id>X</id>");
    Sensor sensor;
    EXPECT_FALSE(sensor.fromXMLStream(nameless));
    EXPECT_EQ(sensor.tree.get<std::string>("id"), "X");

    std::stringstream broken("<name>B</name><portsettings>");
    EXPECT_FALSE(sensor.fromXMLStream(broken));
    EXPECT_EQ(sensor.tree.get<std::string>("id"), "X");
    EXPECT_TRUE(sensor.name().empty());
}

// A record keeps the host language of its construction; copies and
// assignments take it with the tree and are independent of the original.
TEST(SensorRecord, LanguageAndCopies)
{
    const std::string saved = ExtensionSystem::Globals::getLanguage();
    ExtensionSystem::Globals::setLanguage("de");
    Sensor original = recordFrom("<id>A1</id><portsettings><linedelay>5</linedelay></portsettings>");
    ExtensionSystem::Globals::setLanguage("en");
    Sensor copy(original);
    Sensor assigned;
    assigned = original;
    ExtensionSystem::Globals::setLanguage(saved);
    copy.tree.put("portsettings.linedelay", 99);
    original.tree.put("portsettings.linedelay", 42);
    for (const Sensor* sensor : {&original, &copy, &assigned}) {
        EXPECT_EQ(sensor->name(), "A");
        EXPECT_EQ(sensor->id(), "A1");
        EXPECT_EQ(sensor->languageCode(), "de");
    }
    EXPECT_EQ(copy.lineDelay(), 99);
    EXPECT_EQ(assigned.lineDelay(), 5);
}
