#include "SensorDescription.h"
#include "SimulatorTestSupport.h"

using namespace SimulatorTest;

namespace {

struct Loaded
{
    TestDocument document;
    QString error;

    std::optional<SensorDescription> operator()(const QString& path, const QString& variant = QString(),
                                                const QString& model = QStringLiteral("UM035"))
    {
        return loadSensorDescription(path, model, variant, &error);
    }
};

} // namespace

TEST(DescriptionLoading, FamilyDocumentModelsAreAllKnown)
{
    Loaded load;
    for (const char* model : {"UM035", "UM060", "UK130", "UK340", "UK600"}) {
        const auto description = load(QStringLiteral(IOLINK_DESCRIPTION_DOCUMENT), QString(), model);
        ASSERT_TRUE(description) << load.error.toStdString();
        EXPECT_FALSE(description->variant.code.isEmpty());
        EXPECT_GT(description->variant.maxRange, description->variant.minRange);
    }
}

TEST(DescriptionLoading, FirstVariantIsTheDefaultAChosenOneBringsItsRanges)
{
    Loaded load;
    const QString path = load.document.withParameters();
    const auto first = load(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->variant.code, QStringLiteral("107"));
    const auto chosen = load(path, "108");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->variant.minRange, 30);
    EXPECT_EQ(chosen->variant.maxRange, 340);
    EXPECT_TRUE(chosen->variant.singleSwitchingOutput);
    EXPECT_FALSE(chosen->variant.crashDetection);
}

// Addresses, sizes and defaults of the section are checked through the
// model's answers; here what only the loader decides.
TEST(DescriptionLoading, ParameterSectionNodesAreReadAndBuiltInsFillOnlyTheGaps)
{
    Loaded load;
    const auto description = load(load.document.withParameters());
    ASSERT_TRUE(description);
    EXPECT_TRUE(description->hasParameterSection);
    const ParameterSpec* threshold = description->find(QStringLiteral("SwitchingThresholdA1"));
    ASSERT_TRUE(threshold);
    EXPECT_FALSE(threshold->builtIn);
    EXPECT_EQ(threshold->type, QStringLiteral("double"));
    EXPECT_EQ(threshold->minimum, 20.0);
    EXPECT_EQ(threshold->maximum, 350.0);
    EXPECT_FALSE(description->find(QStringLiteral("Skipped")));
    EXPECT_FALSE(description->find(QStringLiteral("Output1Settings")));

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
    Loaded load;
    const auto description = load(load.document.withoutParameters());
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
    Loaded load;
    const QString good = load.document.withParameters();
    const auto section = [&](const char* node) {
        return load.document.write(TestDocument::family(std::string("<treeGui><default><node>") + node +
                                                        "</node></default></treeGui>"),
                                   QStringLiteral("section.xml"));
    };
    const struct
    {
        QString path;
        const char* variant;
        const char* model;
        QStringList expected;
    } cases[] = {
        {load.document.write("nothing", "missing-dir/none.xml"), "", "UM035", {"cannot open"}},
        {load.document.write("<document><documentId>", "broken.xml"), "", "UM035", {"not valid XML"}},
        {load.document.write("<document><documentId>Other</documentId></document>", "other.xml"),
         "",
         "UM035",
         {"not the"}},
        {good, "", "XX999", {"unknown model 'XX999'", "UK600"}},
        {good, "999", "UM035", {"no variant '999'", "108"}},
        {section("<type>int</type><id>Lost</id><index>5</index><size>6</size>"),
         "",
         "UM035",
         {"'Lost' has no subIndex"}},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(load(c.path, c.variant, c.model));
        for (const QString& part : c.expected)
            EXPECT_TRUE(load.error.contains(part)) << load.error.toStdString();
    }
    // The section file is rewritten, so this case runs on its own.
    EXPECT_FALSE(
        load(section("<type>int</type><id>Hex</id><index>0x18</index><subIndex>0</subIndex><size>6</size>")));
    EXPECT_TRUE(load.error.contains("'Hex' has index '0x18'")) << load.error.toStdString();
}
