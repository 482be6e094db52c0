#include <catalogue/Sensor.h>
#include <extensionsystem/Globals.h>

#include <boost/property_tree/exceptions.hpp>
#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

static Sensor recordFrom(const std::string& entryXml)
{
    std::stringstream text("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<name>A</name>" + entryXml);
    Sensor sensor;
    sensor.fromXMLStream(text);
    return sensor;
}

// A delay beyond any real master's would stall every exchange, a negative
// one would wrap the time-outs: both are kept to 0 to 10000 ms, and the
// report names the document's own number. Missing or text delays are 0.
TEST(SensorRecord, PortDelaysAreWholeMillisecondsWithinTenSeconds)
{
    const QString notWhole =
        "\nThe port setting characterdelay is no whole number of milliseconds; 0 is used.";
    const std::pair<const char*, QString> cases[] = {
        {"<characterdelay>3</characterdelay><linedelay>12</linedelay>", "3 12"},
        {"<linedelay>7</linedelay>", "0 7"},
        {"<characterdelay>0</characterdelay><linedelay>10000</linedelay>", "0 10000"},
        {"<characterdelay>-5000</characterdelay><linedelay>2147483647</linedelay>",
         "0 10000\nThe port setting characterdelay of -5000 ms lies outside 0 to 10000 ms; 0 ms is used.\n"
         "The port setting linedelay of 2147483647 ms lies outside 0 to 10000 ms; 10000 ms is used."},
        {"<characterdelay>2e9</characterdelay><linedelay>40</linedelay>", "0 40" + notWhole},
        {"<characterdelay>fast</characterdelay>", "0 0" + notWhole}};
    for (const auto& [settings, outcome] : cases) {
        const Sensor sensor = recordFrom(std::string("<portsettings>") + settings + "</portsettings>");
        const QStringList read =
            QStringList(QString("%1 %2").arg(sensor.characterDelay()).arg(sensor.lineDelay()));
        EXPECT_EQ((read + sensor.delayProblems()).join('\n'), outcome) << settings;
    }
}

TEST(SensorRecord, ThresholdsReadOnlyOnlyForNonZeroNumbers)
{
    for (const auto& [value, readOnly] :
         std::map<std::string, bool>{{"2", true}, {"0", false}, {"true", false}})
        EXPECT_EQ(recordFrom("<chartsettings><thresholdsreadonly>" + value +
                             "</thresholdsreadonly></chartsettings>")
                      .thresholdsReadOnly(),
                  readOnly)
            << value;
    EXPECT_FALSE(recordFrom("").thresholdsReadOnly());
}

// A variant's missing flags take the common case: analog output, acceleration sensor, two outputs.
TEST(SensorRecord, VariantsAreFoundByTheirCode)
{
    EXPECT_THROW(recordFrom("").sensorsNode(), boost::property_tree::ptree_bad_path);
    EXPECT_FALSE(recordFrom("").variant("107"));
    const Sensor sensor = recordFrom(
        "<sensors><variant><ID3>107</ID3><maxRange>350</maxRange><analogOutput>1</analogOutput>"
        "</variant><variant><ID3>111</ID3><A2PinFct>1</A2PinFct><resetAcc>0</resetAcc></variant></sensors>");
    const std::optional<SensorVariant> analog = sensor.variant("107"), single = sensor.variant("111");
    ASSERT_TRUE(analog && single);
    EXPECT_TRUE(analog->maxRange == 350 && analog->objMaxRange == 0);
    EXPECT_TRUE(analog->analogOutput && analog->accelerationSensor && !analog->singleSwitchingOutput);
    EXPECT_TRUE(!single->analogOutput && !single->accelerationSensor && single->singleSwitchingOutput);
    EXPECT_FALSE(sensor.variant("113"));
}

// The host decides whether a record without a name is taken; malformed text keeps the tree read before.
TEST(SensorRecord, HostDecidesAcceptanceAndMalformedTextKeepsTheTree)
{
    std::stringstream nameless("<id>X</id>"), broken("<name>B</name><portsettings>");
    Sensor sensor;
    EXPECT_FALSE(sensor.fromXMLStream(nameless));
    EXPECT_FALSE(sensor.fromXMLStream(broken));
    EXPECT_EQ(sensor.tree.get<std::string>("id") + "|" + sensor.name(), "X|");
}

// A record keeps the host language of its construction; copies and assignments take it with the tree and
// are independent of the original.
TEST(SensorRecord, LanguageAndCopies)
{
    const std::string saved = ExtensionSystem::Globals::getLanguage();
    ExtensionSystem::Globals::setLanguage("de");
    Sensor original = recordFrom("<id>A1</id><portsettings><linedelay>5</linedelay></portsettings>");
    ExtensionSystem::Globals::setLanguage("en");
    Sensor copy(original), assigned;
    assigned = original;
    ExtensionSystem::Globals::setLanguage(saved);
    copy.tree.put("portsettings.linedelay", 99);
    original.tree.put("portsettings.linedelay", 42);
    for (const Sensor* sensor : {&original, &copy, &assigned})
        EXPECT_EQ(sensor->name() + sensor->id() + sensor->languageCode(), "AA1de");
    EXPECT_EQ(copy.lineDelay() + assigned.lineDelay(), 99 + 5);
}
