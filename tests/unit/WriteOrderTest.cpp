#include <FileFaults.h>
#include <parameters/WriteOrder.h>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

// In the order of their ids, as a write of everything finds them.
const QStringList ids{"DetectionRangeFar", "FilterStrength",       "MesurementUnit", "OnDelay1",
                      "PinFunctionA1",     "SwitchingThresholdA1", "TeachInMode1"};

TEST(WriteOrder, AParameterGoesAfterWhatItDependsOn)
{
    EXPECT_EQ(writeOrder(ids),
              (QStringList{"FilterStrength", "MesurementUnit", "DetectionRangeFar", "PinFunctionA1",
                           "OnDelay1", "TeachInMode1", "SwitchingThresholdA1"}));
    // Without the parameters they depend on, the others keep their order.
    EXPECT_EQ(writeOrder({"OnDelay1", "SwitchingThresholdA1", "analog0V"}),
              (QStringList{"OnDelay1", "SwitchingThresholdA1", "analog0V"}));
}

TEST(WriteOrder, WhatDependsOnADifferingParameterGoesWithIt)
{
    const QStringList order = writeOrder(ids);
    // What differs, and what a write of it sends.
    const std::pair<QSet<QString>, QStringList> cases[] = {
        {{}, {}},
        {{"FilterStrength"}, {"FilterStrength"}},
        {{"SwitchingThresholdA1"}, {"SwitchingThresholdA1"}},
        {{"TeachInMode1"}, {"TeachInMode1", "SwitchingThresholdA1"}},
        {{"MesurementUnit"}, {"MesurementUnit", "DetectionRangeFar", "SwitchingThresholdA1"}},
        // Through the switching mode to the switching point.
        {{"PinFunctionA1"}, {"PinFunctionA1", "OnDelay1", "TeachInMode1", "SwitchingThresholdA1"}},
        {{"SwitchingThresholdA1", "FilterStrength", "OnDelay1"},
         {"FilterStrength", "OnDelay1", "SwitchingThresholdA1"}}};
    for (const auto& [differing, written] : cases)
        EXPECT_EQ(differingWrites(order, differing), written) << differing.values().join(',').toStdString();
}

// A rule naming a parameter the description document does not have would
// silently tie nothing.
TEST(WriteOrder, EveryRuleNamesParametersOfTheDocument)
{
    const QString text = QString::fromUtf8(contentOf(IOLINK_DESCRIPTION_DOCUMENT));
    for (const QString base :
         {"MesurementUnit", "PinFunctionA1", "PinFunctionA2", "TeachInMode1", "TeachInMode2", "AnalogMode"}) {
        ASSERT_FALSE(dependentsOf(base).isEmpty()) << base.toStdString();
        for (const QString& id : QStringList(base) + dependentsOf(base))
            EXPECT_TRUE(text.contains("<id>" + id + "</id>")) << id.toStdString();
    }
}
