#include <parameters/ParameterModel.h>

#include <QSignalSpy>

#include <functional>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

// Plays events given as "what:value" words on row A, or on the row named
// after a slash ("edit/B:8").
static void play(ParameterModel& model, const QString& events)
{
    for (const QString& word : events.split(' ', Qt::SkipEmptyParts)) {
        const QString what = word.section(':', 0, 0).section('/', 0, 0);
        const QString id = word.contains('/') ? word.section(':', 0, 0).section('/', 1) : QString("A");
        const int value = word.section(':', 1).toInt();
        const QMap<QString, std::function<void()>> actions{
            {"read", [&] { model.setRead(id, value); }},
            {"edit", [&] { model.setEdit(id, value); }},
            {"writing", [&] { model.setWriting(id); }},
            {"written", [&] { model.setWritten(id, value); }},
            {"refused", [&] { model.setRefused(id, "refused"); }},
            {"failed", [&] { model.setReadFailed(id, "no answer"); }},
            {"doubt", [&] { model.setInDoubt({id}, "stopped"); }},
            {"notAllowed", [&] { model.setNotAllowed(id, "allowed 1 to 350"); }},
            {"drop", [&] { model.dropEdit(id); }},
            {"dropAll", [&] { model.dropAllEdits(); }}};
        ASSERT_TRUE(actions.contains(what)) << word.toStdString();
        actions.value(what)();
    }
}

// Row A starts with the default 300; each case shows what it holds after the events.
TEST(ParameterModel, RowsShowWhatTheSensorHoldsOrSayWhyNot)
{
    const struct
    {
        const char* events;
        RowState state;
        int shown;
        int held;
        bool marked;
    } cases[] = {{"", RowState::NotRead, 300, 300, false},
                 {"read:222", RowState::InStep, 222, 222, false},
                 {"read:222 edit:50", RowState::Edited, 50, 222, true},
                 {"read:222 edit:50 edit:222", RowState::InStep, 222, 222, false},
                 {"read:222 edit:50 writing written:50", RowState::InStep, 50, 50, false},
                 {"edit:50 writing", RowState::Writing, 50, 300, true},
                 {"read:222 edit:50 refused", RowState::Refused, 50, 222, true},
                 {"refused", RowState::Refused, 300, 300, true},
                 {"read:222 failed", RowState::ReadFailed, 222, 222, true},
                 {"read:222 doubt", RowState::NotRead, 222, 222, true},
                 {"doubt read:5", RowState::InStep, 5, 5, false},
                 {"edit:50 read:5", RowState::InStep, 5, 5, false},
                 {"read:222 failed edit:50 drop", RowState::ReadFailed, 222, 222, true},
                 {"read:222 edit:50 edit/B:8 dropAll edit/B:7", RowState::InStep, 222, 222, false},
                 {"notAllowed", RowState::NotAllowed, 300, 300, true},
                 {"read/C:1", RowState::NotRead, 300, 300, false}};
    for (const auto& c : cases) {
        ParameterModel model;
        model.reset({{"A", 300}, {"B", 7}});
        play(model, c.events);
        // A write of what differs sends every row not known to be in step.
        EXPECT_EQ(std::make_tuple(model.state("A"), model.shown("A").toInt(), model.held("A").toInt(),
                                  model.isMarked("A"), model.differs("A"), model.shown("B").toInt()),
                  std::make_tuple(c.state, c.shown, c.held, c.marked, c.state != RowState::InStep, 7))
            << c.events;
    }
}

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
