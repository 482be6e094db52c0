#include <parameters/ParameterModel.h>

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

using namespace NimbarSensorPlugin::Core;

namespace {

// One row, "A", with the default 300, driven through a sequence of events.
struct Case
{
    const char* name;
    std::function<void(ParameterModel&)> events;
    RowState state;
    int shown;
    int held;
    bool marked;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

class RowStates : public ::testing::TestWithParam<Case>
{
};

TEST_P(RowStates, ShowWhatTheSensorHoldsOrSayWhyNot)
{
    const Case& c = GetParam();
    ParameterModel model;
    model.reset({{"A", 300}, {"B", 7}});
    c.events(model);
    EXPECT_EQ(model.state("A"), c.state) << c.name;
    EXPECT_EQ(model.shown("A").toInt(), c.shown) << c.name;
    EXPECT_EQ(model.held("A").toInt(), c.held) << c.name;
    EXPECT_EQ(model.isMarked("A"), c.marked) << c.name;
    // A write of what differs sends every row not known to be in step.
    EXPECT_EQ(model.differs("A"), c.state != RowState::InStep) << c.name;
    // The other row is never touched by what happens to this one.
    EXPECT_EQ(model.shown("B").toInt(), 7) << c.name;
}

const Case cases[] = {
    {"never read: the default, unmarked", [](ParameterModel&) {}, RowState::NotRead, 300, 300, false},
    {"read", [](ParameterModel& m) { m.setRead("A", 222); }, RowState::InStep, 222, 222, false},
    {"edited after a read",
     [](ParameterModel& m) {
         m.setRead("A", 222);
         m.setEdit("A", 50);
     },
     RowState::Edited, 50, 222, true},
    {"edited back to the sensor's value is no edit",
     [](ParameterModel& m) {
         m.setRead("A", 222);
         m.setEdit("A", 50);
         m.setEdit("A", 222);
     },
     RowState::InStep, 222, 222, false},
    {"written",
     [](ParameterModel& m) {
         m.setRead("A", 222);
         m.setEdit("A", 50);
         m.setWriting("A");
         m.setWritten("A", 50);
     },
     RowState::InStep, 50, 50, false},
    {"being written stays marked",
     [](ParameterModel& m) {
         m.setEdit("A", 50);
         m.setWriting("A");
     },
     RowState::Writing, 50, 300, true},
    {"refused keeps the edit",
     [](ParameterModel& m) {
         m.setRead("A", 222);
         m.setEdit("A", 50);
         m.setRefused("A", "refused");
     },
     RowState::Refused, 50, 222, true},
    {"refused without an edit keeps what was sent", [](ParameterModel& m) { m.setRefused("A", "refused"); },
     RowState::Refused, 300, 300, true},
    {"a failed read keeps the value",
     [](ParameterModel& m) {
         m.setRead("A", 222);
         m.setReadFailed("A", "no answer");
     },
     RowState::ReadFailed, 222, 222, true},
    {"a read of all that stopped before the row",
     [](ParameterModel& m) {
         m.setRead("A", 222);
         m.setInDoubt({"A"}, "stopped");
     },
     RowState::NotRead, 222, 222, true},
    {"a read brings the row back in step",
     [](ParameterModel& m) {
         m.setInDoubt({"A"}, "stopped");
         m.setRead("A", 5);
     },
     RowState::InStep, 5, 5, false},
    {"a read replaces an edit",
     [](ParameterModel& m) {
         m.setEdit("A", 50);
         m.setRead("A", 5);
     },
     RowState::InStep, 5, 5, false},
    {"dropping the edit brings back the row as it was",
     [](ParameterModel& m) {
         m.setRead("A", 222);
         m.setReadFailed("A", "no answer");
         m.setEdit("A", 50);
         m.dropEdit("A");
     },
     RowState::ReadFailed, 222, 222, true},
    {"discarding all edits",
     [](ParameterModel& m) {
         m.setRead("A", 222);
         m.setEdit("A", 50);
         m.setEdit("B", 8);
         m.dropAllEdits();
         m.setEdit("B", 7);
     },
     RowState::InStep, 222, 222, false},
    {"a value the variant cannot show", [](ParameterModel& m) { m.setNotAllowed("A", "allowed 1 to 350"); },
     RowState::NotAllowed, 300, 300, true},
    {"an unknown id changes nothing", [](ParameterModel& m) { m.setRead("C", 1); }, RowState::NotRead, 300,
     300, false},
};

INSTANTIATE_TEST_SUITE_P(ParameterModel, RowStates, ::testing::ValuesIn(cases));

TEST(ParameterModel, ReportsOnlyRealChangesAndCountsEdits)
{
    ParameterModel model;
    model.reset({{"A", 1}, {"B", 2}, {"C", QString("tag")}});
    QSignalSpy changed(&model, &ParameterModel::rowChanged);
    model.setRead("A", 1);
    model.setRead("A", 1);
    EXPECT_EQ(changed.count(), 1);
    model.setEdit("B", 3);
    model.setEdit("C", QString("new"));
    EXPECT_EQ(model.editedIds(), (QStringList{"B", "C"}));
    EXPECT_EQ(model.count(RowState::Edited), 2);
    EXPECT_EQ(model.count(RowState::InStep), 1);
    EXPECT_EQ(model.shown("C").toString(), QString("new"));
    EXPECT_EQ(changed.count(), 3);
}

} // namespace
