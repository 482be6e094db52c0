#include <FileFaults.h>
#include <WaitUntil.h>
#include <WorkbenchOptions.h>
#include <link/ReconnectWatch.h>
#include <monitor/EventJournal.h>
#include <monitor/MonitorMessages.h>
#include <parameters/SensorEvents.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace NimbarSensorPlugin::Core;

namespace {

QJsonObject parsed(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

TEST(MonitorMessages, AliasesTopicsAndIdentification)
{
    const std::pair<QString, QString> cases[] = {
        {"/dev/ttyUSB0", "RT5-350-M18_ttyUSB0"},
        {"/dev/serial/by-id/usb-FTDI_1a:2.0", "RT5-350-M18_usb-FTDI_1a_2_0"},
        {"/tmp/line 3/port+#", "RT5-350-M18_port__"},
    };
    for (const auto& [path, alias] : cases)
        EXPECT_EQ(Monitor::deviceAlias("RT5-350-M18", path), alias) << path.toStdString();
    EXPECT_EQ(Monitor::deviceAlias("RT5 / 6000", "/dev/ttyS1"), "RT5___6000_ttyS1");
    EXPECT_EQ(Monitor::deviceAlias("AZaz09@[`{/:", "/dev/x"), "AZaz09_______x");
    EXPECT_EQ(Monitor::processDataTopic("plant", "A_b"), "plant/devices/A_b/processdata/value");
    EXPECT_EQ(Monitor::portStatusTopic("plant", 2), "plant/masters/2/ports/1/status");
    EXPECT_EQ(Monitor::gatewayStatusTopic("plant"), "plant/gateway/status");
    // The identification leaves out what nothing gave.
    EXPECT_EQ(parsed(Monitor::identificationPayload({{"vendorName", "Nimbar Sensors"},
                                                     {"serialNumber", "0042"},
                                                     {"locationTag", ""},
                                                     {"unknown", "x"}})),
              QJsonObject({{"vendorName", "Nimbar Sensors"}, {"serialNumber", "0042"}}));
}

TEST(MonitorMessages, ProcessDataNeverGiveAStateAsADistance)
{
    // 250 mm, both outputs and the error bit on.
    const QVariantMap measured = decodedProcessData(QByteArray::fromHex("08702200"
                                                                        "00fa000b"),
                                                    0);
    const QJsonObject valid = parsed(Monitor::processDataPayload(measured))["ioLink"].toObject();
    EXPECT_TRUE(valid["valid"].toBool());
    const QJsonObject values = valid["value"].toObject();
    EXPECT_EQ(values["distance"].toObject(), QJsonObject({{"value", 250}, {"unit", "mm"}}));
    EXPECT_TRUE(values["switchingOutputA1"].toBool());
    EXPECT_TRUE(values["switchingOutputA2"].toBool());
    EXPECT_FALSE(values["warning"].toBool());
    EXPECT_TRUE(values["error"].toBool());

    const QVariantMap inches = decodedProcessData(QByteArray::fromHex("08702200"
                                                                      "04d20000"),
                                                  1);
    EXPECT_DOUBLE_EQ(inches["distance"].toDouble(), 123.4);
    EXPECT_EQ(inches["unit"].toString(), "in");

    const std::pair<const char*, const char*> states[] = {
        {"087022007ffc0000", "no data"}, {"087022007ff80000", "too far"}, {"0870220000000003", "too close"}};
    for (const auto& [answer, state] : states) {
        const QJsonObject ioLink =
            parsed(Monitor::processDataPayload(decodedProcessData(QByteArray::fromHex(answer), 0)))["ioLink"]
                .toObject();
        EXPECT_FALSE(ioLink["valid"].toBool()) << state;
        EXPECT_EQ(ioLink["value"].toObject()["distance"].toObject(), QJsonObject({{"state", state}}));
    }
}

TEST(MonitorMessages, EventsAreStampedAndPlaced)
{
    const QDateTime time(QDate(2026, 12, 7), QTime(9, 30, 5, 42), Qt::UTC);
    const QJsonObject lost =
        Monitor::eventObject({{"kind", "lost"}, {"text", "gone"}}, time.toOffsetFromUtc(3600), 2, "A_b");
    EXPECT_EQ(lost["time"].toString(), "2026-12-07T09:30:05.042Z");
    EXPECT_EQ(lost["severity"].toString(), "WARNING");
    EXPECT_EQ(lost["origin"].toObject(), QJsonObject({{"master", 2}, {"port", 1}, {"deviceAlias", "A_b"}}));
    const QJsonObject message = lost["message"].toObject();
    EXPECT_EQ(message["mode"].toString(), "APPEARS");
    EXPECT_EQ(message["text"].toString(), "gone");

    const QJsonObject back = Monitor::eventObject({{"kind", "back"}}, time, 2, "A_b");
    EXPECT_EQ(back["message"].toObject()["code"], message["code"]);
    EXPECT_EQ(back["message"].toObject()["mode"].toString(), "DISAPPEARS");
    EXPECT_EQ(Monitor::eventObject({{"kind", "failure"}}, time, 1, "x")["severity"].toString(), "ERROR");
    EXPECT_EQ(Monitor::eventObject({{"kind", "new"}}, time, 1, "x")["severity"].toString(), "NOTICE");
    EXPECT_EQ(QJsonDocument::fromJson(Monitor::eventsPayload(back)).array().first().toObject(), back);
}

TEST(EventJournal, AppendsLinesAndKeepsOneOlderFile)
{
    QTemporaryDir folder;
    const QString name = folder.filePath("state/journal.jsonl");
    // Two lines of 22 bytes fill the limit exactly.
    Monitor::EventJournal journal(name, 44);
    const QJsonObject event{{"text", "0123456789"}};
    EXPECT_EQ(journal.append(event), QString());
    EXPECT_EQ(journal.append(event), QString());
    EXPECT_FALSE(QFile::exists(name + ".1"));
    // A third line would pass the limit: the two go to the older file.
    EXPECT_EQ(journal.append(event), QString());
    const auto lines = [](const QString& file) { return contentOf(file).count('\n'); };
    EXPECT_EQ(lines(name), 1);
    EXPECT_EQ(lines(name + ".1"), 2);
    journal.append(event);
    journal.append(event);
    EXPECT_EQ(lines(name), 1);
    EXPECT_EQ(lines(name + ".1"), 2);

    // A line longer than the limit still goes into an empty journal.
    Monitor::EventJournal small(folder.filePath("small.jsonl"), 10);
    EXPECT_EQ(small.append(event), QString());
    EXPECT_EQ(lines(folder.filePath("small.jsonl")), 1);
    EXPECT_FALSE(QFile::exists(folder.filePath("small.jsonl.1")));

    Monitor::EventJournal blocked(folder.filePath("state/journal.jsonl/inside"));
    EXPECT_NE(blocked.append(event), QString());
}

TEST(ReconnectWatch, APortComesBackWhenItWasGoneOrLeadsElsewhere)
{
    QTemporaryDir folder;
    const QString port = folder.filePath("port");
    const QString first = folder.filePath("first");
    const QString second = folder.filePath("second");
    QFile(first).open(QIODevice::WriteOnly);
    QFile(second).open(QIODevice::WriteOnly);
    QFile::link(first, port);

    ReconnectWatch watch;
    QStringList returns;
    QObject::connect(&watch, &ReconnectWatch::cameBack, [&returns](const QString& path) { returns << path; });
    // Still there, leading where it did: no return.
    watch.watch(port);
    EXPECT_FALSE(waitUntil([&] { return !returns.isEmpty(); }, 2000));
    // Gone, then there again.
    QFile::remove(port);
    QThread::msleep(700);
    QCoreApplication::processEvents();
    QFile::link(first, port);
    EXPECT_TRUE(waitUntil([&] { return returns == QStringList{port}; }, 2000));
    EXPECT_FALSE(watch.isWatching());
    // Replugged faster than a look: the link leads to another device.
    watch.watch(port);
    QFile::remove(port);
    QFile::link(second, port);
    EXPECT_TRUE(waitUntil([&] { return returns.size() == 2; }, 2000));
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
    EXPECT_EQ(options.brokerHost, "broker.local");
    EXPECT_EQ(options.brokerPort, 8883);
    EXPECT_EQ(options.verifyEveryMinutes, 0);
    EXPECT_EQ(options.durationSeconds, 0);

    const QStringList refused[] = {
        {"--monitor", "/dev/ttyUSB0"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18", "--mqtt", "host:0"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18", "--mqtt", "host", "--originator", "a/b"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18", "--monitor", "/tmp/ttyUSB0=RT5-350-M18", "--mqtt", "host"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18", "--mqtt", "host", "--port", "/dev/ttyUSB1"},
        {"--monitor", "/dev/ttyUSB0=RT5-350-M18", "--mqtt", "host", "--verify-every", "-1"},
        {"--read-settings", "f", "--open", "RT5-350-M18", "--port", "/dev/ttyUSB0", "--mqtt", "host"},
    };
    for (const QStringList& arguments : refused) {
        WorkbenchOptions refusing;
        EXPECT_FALSE(refusing.parse(QStringList{"w"} + arguments, &error))
            << arguments.join(' ').toStdString();
    }
}

} // namespace
