#include "SensorDescription.h"
#include "SimulatorTestSupport.h"

using namespace SimulatorTest;

namespace {

std::optional<SensorDescription> load(const QString& path, const QString& model, const QString& variant,
                                      QString* error)
{
    return loadSensorDescription(path, model, variant, error);
}

} // namespace

TEST(DescriptionLoading, FamilyDocumentModelsAreAllKnown)
{
    for (const char* model : {"UM035", "UM060", "UK130", "UK340", "UK600"}) {
        QString error;
        const auto description = load(QStringLiteral(IOLINK_DESCRIPTION_DOCUMENT), model, QString(), &error);
        ASSERT_TRUE(description) << error.toStdString();
        EXPECT_FALSE(description->variant.code.isEmpty());
        EXPECT_GT(description->variant.maxRange, description->variant.minRange);
    }
}

TEST(DescriptionLoading, FirstVariantIsTheDefault)
{
    TestDocument document;
    QString error;
    const auto description = load(document.withParameters(), "UM035", QString(), &error);
    ASSERT_TRUE(description);
    EXPECT_EQ(description->variant.code, QStringLiteral("107"));
    EXPECT_EQ(description->identityText(), QStringLiteral("UM035-107"));
}

TEST(DescriptionLoading, ChosenVariantBringsItsRanges)
{
    TestDocument document;
    QString error;
    const auto description = load(document.withParameters(), "UM035", "108", &error);
    ASSERT_TRUE(description);
    EXPECT_EQ(description->variant.minRange, 30);
    EXPECT_EQ(description->variant.maxRange, 340);
    EXPECT_TRUE(description->variant.singleSwitchingOutput);
    EXPECT_FALSE(description->variant.crashDetection);
}

TEST(DescriptionLoading, ParameterSectionNodesAreRead)
{
    TestDocument document;
    QString error;
    const auto description = load(document.withParameters(), "UM035", QString(), &error);
    ASSERT_TRUE(description);
    EXPECT_TRUE(description->hasParameterSection);
    const ParameterSpec* threshold = description->find(QStringLiteral("SwitchingThresholdA1"));
    ASSERT_TRUE(threshold);
    EXPECT_FALSE(threshold->builtIn);
    EXPECT_EQ(threshold->type, QStringLiteral("double"));
    EXPECT_EQ(threshold->address, (ParameterAddress{100, 1}));
    EXPECT_EQ(threshold->size, 7);
    EXPECT_EQ(threshold->defaultNumber, 200);
    EXPECT_EQ(threshold->minimum, 20.0);
    EXPECT_EQ(threshold->maximum, 350.0);
    EXPECT_FALSE(threshold->readOnly);

    const ParameterSpec* delay = description->find(QStringLiteral("OnDelay1"));
    ASSERT_TRUE(delay);
    EXPECT_EQ(delay->address, (ParameterAddress{4660, 5}));
    EXPECT_EQ(delay->size, 9);
    // int and string nodes without a readonly key are read-only
    EXPECT_TRUE(description->find(QStringLiteral("SerialCounter"))->readOnly);
    EXPECT_TRUE(description->find(QStringLiteral("FirmwareRevisionReadOnly"))->isText());
    EXPECT_FALSE(description->find(QStringLiteral("OperatingHoursSelfReadOnly"))->isText());
    EXPECT_FALSE(description->find(QStringLiteral("Skipped")));
    EXPECT_FALSE(description->find(QStringLiteral("Output1Settings")));
}

TEST(DescriptionLoading, BuiltInsFillOnlyWhatTheDocumentLacks)
{
    TestDocument document;
    QString error;
    const auto description = load(document.withParameters(), "UM035", QString(), &error);
    ASSERT_TRUE(description);
    // The document's FunctionTag stays; the other two tags are built in.
    EXPECT_FALSE(description->find(QStringLiteral("FunctionTag"))->builtIn);
    EXPECT_TRUE(description->find(QStringLiteral("AppSpecificTag"))->builtIn);
    EXPECT_TRUE(description->find(QStringLiteral("SwitchingThresholdA2"))->builtIn);
    EXPECT_FALSE(description->find(QStringLiteral("TEACHBUTTON1"))->builtIn);
    for (const ParameterAddress address :
         {ParameterAddress{0x12, 0}, {0x1211, 0}, {0x1323, 0}, {0x18, 0}, {0x1A, 0}, {2, 0}, {0, 1}})
        EXPECT_TRUE(description->find(address)) << address.index;
}

TEST(DescriptionLoading, WithoutParameterSectionTheBuiltInsServe)
{
    TestDocument document;
    QString error;
    const auto description = load(document.withoutParameters(), "UM035", QString(), &error);
    ASSERT_TRUE(description);
    EXPECT_FALSE(description->hasParameterSection);
    for (const char* id : {"SwitchingThresholdA1", "HysteresisA2", "TeachInMode1", "DetectionRangeFar",
                           "TEACHBUTTON1", "TEACHBUTTON23", "RESETBUTTON", "FunctionTag", "CrashCounter"})
        EXPECT_TRUE(description->find(QLatin1String(id))) << id;
    const ParameterSpec* threshold = description->find(QStringLiteral("SwitchingThresholdA1"));
    EXPECT_GE(threshold->defaultNumber, description->variant.minRange);
    EXPECT_LE(threshold->defaultNumber, description->variant.maxRange);
}

TEST(DescriptionLoading, FailuresSayWhatIsWrong)
{
    TestDocument document;
    const QString good = document.withParameters();
    QString error;
    EXPECT_FALSE(load(document.write("nothing", "missing-dir/none.xml"), "UM035", QString(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("cannot open"))) << error.toStdString();
    EXPECT_FALSE(load(document.write("<document><documentId>", "broken.xml"), "UM035", QString(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("not valid XML"))) << error.toStdString();
    EXPECT_FALSE(load(document.write("<document><documentId>Other</documentId></document>", "other.xml"),
                      "UM035", QString(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("not the"))) << error.toStdString();
    EXPECT_FALSE(load(good, "XX999", QString(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("unknown model 'XX999'")) &&
                error.contains(QStringLiteral("UK600")))
        << error.toStdString();
    EXPECT_FALSE(load(good, "UM035", "999", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("no variant '999'")) && error.contains(QStringLiteral("108")))
        << error.toStdString();
}

TEST(DescriptionLoading, ParameterWithoutAddressIsReported)
{
    TestDocument document;
    const std::string section = "<treeGui><default><node><type>int</type><id>Lost</id><index>5</index>"
                                "<size>6</size></node></default></treeGui>";
    QString error;
    EXPECT_FALSE(load(document.write(TestDocument::family(section)), "UM035", QString(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("'Lost' has no subIndex"))) << error.toStdString();
}

TEST(DescriptionLoading, NonDecimalIndexIsReported)
{
    TestDocument document;
    const std::string section = "<treeGui><default><node><type>int</type><id>Hex</id><index>0x18</index>"
                                "<subIndex>0</subIndex><size>6</size></node></default></treeGui>";
    QString error;
    EXPECT_FALSE(load(document.write(TestDocument::family(section)), "UM035", QString(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("'Hex' has index '0x18'"))) << error.toStdString();
}
