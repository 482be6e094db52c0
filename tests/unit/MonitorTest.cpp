#include <FileFaults.h>
#include <WaitUntil.h>
#include <WorkbenchOptions.h>
#include <link/ReconnectWatch.h>
#include <monitor/EventJournal.h>
#include <monitor/MonitorMessages.h>
#include <parameters/SensorEvents.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

static QJsonObject parsed(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

TEST(MonitorMessages, AliasesAndIdentification)
{
    const std::pair<QString, QString> cases[] = {
        {"/dev/ttyUSB0", "RT5-350-M18_ttyUSB0"},
        {"/dev/serial/by-id/usb-FTDI_1a:2.0", "RT5-350-M18_usb-FTDI_1a_2_0"},
        {"/tmp/line 3/port+#", "RT5-350-M18_port__"}};
    for (const auto& [path, alias] : cases)
        EXPECT_EQ(Monitor::deviceAlias("RT5-350-M18", path), alias) << path.toStdString();
    EXPECT_EQ(Monitor::deviceAlias("AZaz09@[`{/:", "/dev/x"), "AZaz09_______x");
    // The identification leaves out what nothing gave.
    EXPECT_EQ(parsed(Monitor::identificationPayload({{"vendorName", "Nimbar Sensors"},
                                                     {"serialNumber", "0042"},
                                                     {"locationTag", ""},
                                                     {"unknown", "x"}})),
              QJsonObject({{"vendorName", "Nimbar Sensors"}, {"serialNumber", "0042"}}));
}

TEST(MonitorMessages, ProcessDataNeverGiveAStateAsADistance)
{
    // Answer, unit, and the payload's validity and values; 0x0b: both outputs and the error bit on.
    const std::tuple<const char*, int, bool, QJsonObject> cases[] = {
        {"0870220000fa000b", 0, true,
         QJsonObject{{"distance", QJsonObject{{"value", 250}, {"unit", "mm"}}},
                     {"switchingOutputA1", true},
                     {"switchingOutputA2", true},
                     {"warning", false},
                     {"error", true}}},
        {"0870220004d20000", 1, true,
         QJsonObject{{"distance", QJsonObject{{"value", 123.4}, {"unit", "in"}}}}},
        {"087022007ffc0000", 0, false, QJsonObject{{"distance", QJsonObject{{"state", "no data"}}}}},
        {"087022007ff80000", 0, false, QJsonObject{{"distance", QJsonObject{{"state", "too far"}}}}},
        {"0870220000000003", 0, false, QJsonObject{{"distance", QJsonObject{{"state", "too close"}}}}}};
    for (const auto& [answer, unit, valid, values] : cases) {
        const QJsonObject ioLink = parsed(Monitor::processDataPayload(
            decodedProcessData(QByteArray::fromHex(answer), unit)))["ioLink"]
                                       .toObject();
        EXPECT_EQ(ioLink["valid"].toBool(), valid) << answer;
        for (const QString& key : values.keys())
            EXPECT_EQ(ioLink["value"][key], values[key]) << answer << " " << key.toStdString();
    }
}

TEST(MonitorMessages, EventsAreStampedAndPlaced)
{
    const QDateTime time(QDate(2026, 12, 7), QTime(9, 30, 5, 42), Qt::UTC);
    const QJsonObject lost =
        Monitor::eventObject({{"kind", "lost"}, {"text", "gone"}}, time.toOffsetFromUtc(3600), 2, "A_b");
    const QJsonValue code = lost["message"]["code"];
    EXPECT_EQ(lost,
              QJsonObject({{"time", "2026-12-07T09:30:05.042Z"},
                           {"severity", "WARNING"},
                           {"origin", QJsonObject{{"master", 2}, {"port", 1}, {"deviceAlias", "A_b"}}},
                           {"message", QJsonObject{{"code", code}, {"mode", "APPEARS"}, {"text", "gone"}}}}));
    const QJsonObject back = Monitor::eventObject({{"kind", "back"}}, time, 2, "A_b");
    EXPECT_EQ(back["message"]["code"], code);
    EXPECT_EQ(back["message"]["mode"].toString(), "DISAPPEARS");
    EXPECT_EQ(Monitor::eventObject({{"kind", "failure"}}, time, 1, "x")["severity"].toString(), "ERROR");
    EXPECT_EQ(Monitor::eventObject({{"kind", "new"}}, time, 1, "x")["severity"].toString(), "NOTICE");
    EXPECT_EQ(QJsonDocument::fromJson(Monitor::eventsPayload(back)).array(), QJsonArray{back});
}

TEST(EventJournal, AppendsLinesAndKeepsOneOlderFile)
{
    QTemporaryDir folder;
    const QString name = folder.filePath("state/journal.jsonl");
    const auto lines = [&](const QString& file) { return contentOf(folder.filePath(file)).count('\n'); };
    // Two lines of 22 bytes fill the limit exactly; each third goes to a new file, the two to the older.
    Monitor::EventJournal journal(name, 44);
    const QJsonObject event{{"text", "0123456789"}};
    QList<int> counts;
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(journal.append(event), QString());
        counts << lines("state/journal.jsonl") << lines("state/journal.jsonl.1");
    }
    EXPECT_EQ(counts, (QList<int>{1, 0, 2, 0, 1, 2, 2, 2, 1, 2}));
    // A line longer than the limit still goes into an empty journal.
    Monitor::EventJournal small(folder.filePath("small.jsonl"), 10);
    EXPECT_EQ(small.append(event), QString());
    EXPECT_TRUE(lines("small.jsonl") == 1 && !QFile::exists(folder.filePath("small.jsonl.1")));
    EXPECT_NE(Monitor::EventJournal(name + "/inside").append(event), QString());
}

// A port whose link is replugged faster than a look leads to another device: it came back too.
TEST(ReconnectWatch, APortComesBackWhenItLeadsElsewhere)
{
    QTemporaryDir folder;
    const QString port = folder.filePath("port");
    for (const char* device : {"first", "second"})
        QFile(folder.filePath(device)).open(QIODevice::WriteOnly);
    QFile::link(folder.filePath("first"), port);
    ReconnectWatch watch;
    QStringList returns;
    QObject::connect(&watch, &ReconnectWatch::cameBack, [&returns](const QString& path) { returns << path; });
    watch.watch(port);
    EXPECT_FALSE(waitUntil([&] { return !returns.isEmpty(); }, 2000));
    QFile::remove(port);
    QFile::link(folder.filePath("second"), port);
    EXPECT_TRUE(waitUntil([&] { return returns == QStringList{port}; }, 2000));
    EXPECT_FALSE(watch.isWatching());
}

TEST(MonitorOptions, PairsBrokerAndOriginator)
{
    WorkbenchOptions options;
    QString error;
    ASSERT_TRUE(
        options.parse({"w", "--monitor", "/dev/ttyUSB0=RT5-350-M18", "--monitor", "/dev/ttyUSB1=RT5-350-M18",
                       "--mqtt", "broker.local:8883", "--verify-every", "0"},
                      &error))
        << error.toStdString();
    EXPECT_EQ(options.batch, BatchCommand::Monitor);
    EXPECT_EQ(options.ports, QStringList({"/dev/ttyUSB0", "/dev/ttyUSB1"}));
    EXPECT_EQ(options.brokerHost + ":" + QString::number(options.brokerPort), "broker.local:8883");
    EXPECT_EQ(options.verifyEveryMinutes, 0);
    const QStringList refused[] = {
        {"--monitor", "/dev/ttyUSB0"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18", "--mqtt", "host:0"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18", "--mqtt", "host", "--originator", "a/b"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18", "--monitor", "/tmp/ttyUSB0=RT5-350-M18", "--mqtt", "host"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18", "--mqtt", "host", "--port", "/dev/ttyUSB1"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18", "--mqtt", "host", "--verify-every", "-1"},
        {"--read-settings", "f", "--open", "RT5-350-M18", "--port", "/dev/ttyUSB0", "--mqtt", "host"}};
    for (const QStringList& arguments : refused)
        EXPECT_FALSE(WorkbenchOptions().parse(QStringList{"w"} + arguments, &error))
            << arguments.join(' ').toStdString();
}
