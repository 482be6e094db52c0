#include <catalogue/Sensor.h>
#include <extensionsystem/Globals.h>

#include <boost/property_tree/exceptions.hpp>
#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

namespace {

Sensor recordFrom(const std::string& entryXml)
{
    std::stringstream text("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + entryXml);
    Sensor sensor;
    sensor.fromXMLStream(text);
    return sensor;
}

class LanguageGuard
{
public:
    explicit LanguageGuard(const std::string& code) : m_saved(ExtensionSystem::Globals::getLanguage())
    {
        ExtensionSystem::Globals::setLanguage(code);
    }
    ~LanguageGuard() { ExtensionSystem::Globals::setLanguage(m_saved); }

private:
    std::string m_saved;
};

} // namespace

TEST(SensorRecord, PortDelaysReadAsIntegersWithZeroForMissingOrText)
{
    const Sensor full = recordFrom("<name>A</name><portsettings><characterdelay>3</"
                                   "characterdelay><linedelay>12</linedelay></portsettings>");
    EXPECT_EQ(full.characterDelay(), 3);
    EXPECT_EQ(full.lineDelay(), 12);

    const Sensor partial = recordFrom("<name>A</name><portsettings><linedelay>7</linedelay></portsettings>");
    EXPECT_EQ(partial.characterDelay(), 0);
    EXPECT_EQ(partial.lineDelay(), 7);

    const Sensor text =
        recordFrom("<name>A</name><portsettings><characterdelay>fast</characterdelay></portsettings>");
    EXPECT_EQ(text.characterDelay(), 0);
}

TEST(SensorRecord, ThresholdsReadOnlyOnlyForNonZeroNumbers)
{
    auto readOnly = [](const std::string& value) {
        return recordFrom("<name>A</name><chartsettings><thresholdsreadonly>" + value +
                          "</thresholdsreadonly></chartsettings>")
            .thresholdsReadOnly();
    };
    EXPECT_TRUE(readOnly("1"));
    EXPECT_TRUE(readOnly("2"));
    EXPECT_FALSE(readOnly("0"));
    EXPECT_FALSE(readOnly("true"));
    EXPECT_FALSE(recordFrom("<name>A</name>").thresholdsReadOnly());
}

TEST(SensorRecord, VariantsAreFoundByTheirCode)
{
    Sensor sensor = recordFrom("<name>A</name>");
    EXPECT_THROW(sensor.sensorsNode(), boost::property_tree::ptree_bad_path);
    EXPECT_FALSE(sensor.variant("107"));
    Sensor withVariants = recordFrom(
        "<name>A</name><sensors><variant><ID3>107</ID3><maxRange>350</maxRange><analogOutput>1</analogOutput>"
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

TEST(SensorRecord, TakesTheHostLanguageAtConstruction)
{
    LanguageGuard german("de");
    Sensor sensor;
    ExtensionSystem::Globals::setLanguage("en");
    EXPECT_EQ(sensor.languageCode(), "de");
}

TEST(SensorRecord, CopiesAreIndependent)
{
    Sensor original = [] {
        LanguageGuard german("de");
        return recordFrom(
            "<id>A1</id><name>Alpha</name><portsettings><linedelay>5</linedelay></portsettings>");
    }();

    Sensor copy(original);
    EXPECT_EQ(copy.name(), "Alpha");
    EXPECT_EQ(copy.id(), "A1");
    EXPECT_EQ(copy.languageCode(), "de");
    copy.tree.put("portsettings.linedelay", 99);
    EXPECT_EQ(original.lineDelay(), 5);
    EXPECT_EQ(copy.lineDelay(), 99);

    Sensor assigned;
    assigned = original;
    original.tree.put("portsettings.linedelay", 42);
    EXPECT_EQ(assigned.lineDelay(), 5);
    EXPECT_EQ(assigned.languageCode(), "de");
    EXPECT_EQ(assigned.name(), "Alpha");
}

// A delay beyond any real master's would stall every exchange, a negative
// one would wrap the time-outs: both are kept to 0 to 10000 ms, and the
// report names the document's own number.
TEST(SensorRecord, PortDelaysStayWithinTenSeconds)
{
    auto record = [](const std::string& characterDelay, const std::string& lineDelay) {
        return recordFrom("<name>N</name><portsettings><characterdelay>" + characterDelay +
                          "</characterdelay><linedelay>" + lineDelay + "</linedelay></portsettings>");
    };
    const Sensor huge = record("-5000", "2147483647");
    EXPECT_EQ(huge.characterDelay(), 0);
    EXPECT_EQ(huge.lineDelay(), 10000);
    EXPECT_EQ(
        huge.delayProblems(),
        QStringList({"The port setting characterdelay of -5000 ms lies outside 0 to 10000 ms; 0 ms is used.",
                     "The port setting linedelay of 2147483647 ms lies outside 0 to 10000 ms; 10000 ms is "
                     "used."}));
    const Sensor text = record("2e9", "40");
    EXPECT_EQ(text.characterDelay(), 0);
    EXPECT_EQ(text.lineDelay(), 40);
    EXPECT_EQ(text.delayProblems(),
              QStringList{"The port setting characterdelay is no whole number of milliseconds; 0 is used."});
    EXPECT_TRUE(record("0", "10000").delayProblems().isEmpty());
}
