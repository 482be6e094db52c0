#include <parameters/ChoiceTrims.h>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

namespace {

// The 17 error sources by their sensor codes, as the lists are ordered.
QStringList errorSources()
{
    QStringList names;
    for (int code : {0, 1, 2, 3, 4, 5, 6, 8, 17, 18, 19, 20, 21, 28, 29, 30, 31})
        names << QString::number(code);
    return names;
}

TEST(ChoiceTrims, EachVariantLosesItsOwnErrorSources)
{
    QStringList names = errorSources();
    trimErrorWarningNames(names, "107");
    EXPECT_EQ(names.mid(12), (QStringList{"21", "28", "29", "31"}));

    names = errorSources();
    trimErrorWarningNames(names, "113");
    EXPECT_EQ(names.mid(12), (QStringList{"28", "29", "30", "31"}));

    names = errorSources();
    trimErrorWarningNames(names, "120");
    EXPECT_EQ(names.mid(12), (QStringList{"28", "29", "31"}));

    names = errorSources();
    trimErrorWarningNames(names, "");
    EXPECT_EQ(names, errorSources());
}

TEST(ChoiceTrims, ShortListsAreTrimmedWhereTheyCanBe)
{
    QStringList names = errorSources().mid(0, 14);
    trimErrorWarningNames(names, "137");
    EXPECT_EQ(names.size(), 13);
    names = errorSources().mid(0, 10);
    trimErrorWarningNames(names, "108");
    EXPECT_EQ(names.size(), 10);
}

TEST(ChoiceTrims, PinFunctionsLoseCrashDetectionOnlyWithoutTheSensor)
{
    QStringList names{"switching", "crash"};
    trimPinFunctionNames(names, true);
    EXPECT_EQ(names.size(), 2);
    trimPinFunctionNames(names, false);
    EXPECT_EQ(names, QStringList{"switching"});
}

} // namespace
