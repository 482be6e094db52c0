// --monitor as a plant runs it: a real broker on a free local port, iolink-sim
// on pseudo-terminals behind links that survive a restart, and subscribers
// that see what the plant's monitoring sees.
#include "BrokerProcess.h"
#include "SimulatorProcess.h"
#include "TraceAnalysis.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString sensorName = "RT5-350-M18";

QList<QJsonObject> journalEvents(const QString& fileName)
{
    QList<QJsonObject> events;
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (!line.isEmpty())
                events << QJsonDocument::fromJson(line).object();
        }
    }
    return events;
}

QString alias(const QString& link)
{
    return sensorName + '_' + QFileInfo(link).fileName();
}

QStringList modesOf(const QList<QJsonObject>& events, const QString& deviceAlias)
{
    QStringList modes;
    for (const QJsonObject& event : events) {
        if (event["origin"].toObject()["deviceAlias"].toString() == deviceAlias)
            modes << event["message"].toObject()["mode"].toString();
    }
    return modes;
}

} // namespace

class MonitorTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        QVERIFY(broker.start());
    }
    void cleanup()
    {
        monitor.kill();
        monitor.waitForFinished();
        broker.stop();
    }

    void twoSensorsArePublishedAndOneComesBack();
    void eventsWaitWhileTheBrokerIsAway();
    void aSettingChangedAtTheSensorIsReported();

private:
    bool startSimulator(SimulatorProcess& simulator, const QString& link, int seed,
                        const QStringList& more = {})
    {
        QString error;
        const QStringList arguments{"--model", "UM035", "--variant", "107", "--seed", QString::number(seed),
                                    "--link",  link};
        const bool started = simulator.start(IOLINK_SIM, arguments + more, &error);
        if (!started)
            qWarning() << error;
        return started;
    }
    void startMonitor(const QStringList& links, int verifyEvery = 0)
    {
        QStringList arguments;
        for (const QString& link : links)
            arguments << "--monitor" << link + '=' + sensorName;
        arguments << "--mqtt" << broker.address() << "--originator"
                  << "plant"
                  << "--verify-every" << QString::number(verifyEvery) << "--journal" << journal() << "--trace"
                  << m_folder.filePath("trace.txt");
        monitor.setProcessChannelMode(QProcess::ForwardedChannels);
        monitor.start(IOLINK_WORKBENCH, arguments);
        QVERIFY(monitor.waitForStarted());
    }
    // SIGTERM ends it cleanly; it never wrote to a sensor: only the connect,
    // identity, reads, fetches and the poll went out.
    void stopMonitorThatWroteNothing()
    {
        monitor.terminate();
        QVERIFY(monitor.waitForFinished(20000));
        QCOMPARE(monitor.exitStatus(), QProcess::NormalExit);
        QCOMPARE(monitor.exitCode(), 0);
        const QStringList requests = TraceLines::read(m_folder.filePath("trace.txt")).requests();
        QVERIFY(!requests.isEmpty());
        for (const QString& request : requests) {
            const QString command = request.section(' ', 2, 2);
            QVERIFY2(QStringList({"11", "12", "21", "22", "26", "27"}).contains(command),
                     qPrintable(request));
        }
    }
    QString journal() const { return m_folder.filePath("journal.jsonl"); }

    QTemporaryDir m_folder;
    Broker broker{m_folder.path()};
    QProcess monitor;
};

// Both sensors' identities and process data arrive; one simulator ends and
// starts again under its link: the loss and the return are published and
// journaled, and the other sensor's data never paused.
void MonitorTest::twoSensorsArePublishedAndOneComesBack()
{
    Subscriber subscriber;
    subscriber.start(broker.port(), "plant/#");
    const QString linkA = m_folder.filePath("sensorA");
    const QString linkB = m_folder.filePath("sensorB");
    SimulatorProcess simulatorA;
    SimulatorProcess simulatorB;
    QVERIFY(startSimulator(simulatorA, linkA, 3));
    QVERIFY(startSimulator(simulatorB, linkB, 4));
    startMonitor({linkA, linkB});

    const QString aliasA = alias(linkA);
    const QString aliasB = alias(linkB);
    const auto data = [&subscriber](const QString& deviceAlias) {
        return subscriber.on(deviceAlias + "/processdata/value");
    };
    QVERIFY(waitUntil([&] { return !data(aliasA).isEmpty() && !data(aliasB).isEmpty(); }, 90000));
    for (const QString& deviceAlias : {aliasA, aliasB}) {
        const QList<Message> identity = subscriber.on("/devices/" + deviceAlias + "/identification");
        QVERIFY(!identity.isEmpty());
        const QJsonObject fields = QJsonDocument::fromJson(identity.last().payload).object();
        QCOMPARE(QStringList({fields["productName"].toString(), fields["productId"].toString(),
                              fields["vendorName"].toString()}),
                 QStringList({sensorName, "UM035-107", "Nimbar Sensors"}));
    }

    simulatorA.kill();
    QVERIFY(waitUntil([&] { return modesOf(subscriber.events(), aliasA).contains("APPEARS"); }, 20000));
    QVERIFY(startSimulator(simulatorA, linkA, 5));
    QVERIFY(waitUntil([&] { return modesOf(subscriber.events(), aliasA).contains("DISAPPEARS"); }, 60000));
    const double back = subscriber.on(aliasA + "/events").last().time;
    QVERIFY(waitUntil([&] { return data(aliasA).last().time > back; }, 10000));

    stopMonitorThatWroteNothing();
    QVERIFY(waitUntil([&] { return subscriber.on("plant/gateway/status").size() >= 2; }, 5000));
    QCOMPARE(subscriber.on("plant/gateway/status").last().payload, QByteArray(R"({"online":false})"));
    QCOMPARE(modesOf(subscriber.events(), aliasA),
             QStringList({"SINGLESHOT", "APPEARS", "DISAPPEARS", "SINGLESHOT"}));
    QCOMPARE(modesOf(subscriber.events(), aliasB), QStringList({"SINGLESHOT", "SINGLESHOT"}));
    QCOMPARE(journalEvents(journal()), subscriber.events());

    // The poll's pace, and no pause of the other sensor's data meanwhile.
    const QList<Message> dataB = data(aliasB);
    double longestPause = 0;
    for (int k = 1; k < dataB.size(); ++k)
        longestPause = std::max(longestPause, dataB[k].time - dataB[k - 1].time);
    QVERIFY2(longestPause < 1.0, qPrintable(QString("a pause of %1 s").arg(longestPause)));
    const double rate = (dataB.size() - 1) / (dataB.last().time - dataB.first().time);
    QVERIFY2(rate > 5.0, qPrintable(QString("%1 answers/s").arg(rate)));
    const QJsonObject value = QJsonDocument::fromJson(dataB.last().payload).object()["ioLink"].toObject();
    QVERIFY(value.contains("valid") && value["value"].toObject().contains("switchingOutputA1"));
}

// The broker goes away (and comes back from its persistence) while a sensor
// is lost and comes back: those events wait in the monitor and reach a
// subscriber with a persistent session, all of them, in order.
void MonitorTest::eventsWaitWhileTheBrokerIsAway()
{
    Subscriber subscriber;
    const auto subscribe = [&subscriber, this] {
        subscriber.start(broker.port(), "plant/devices/+/events", "tst-monitor-events");
    };
    subscribe();
    const QString link = m_folder.filePath("sensorC");
    SimulatorProcess simulator;
    QVERIFY(startSimulator(simulator, link, 6));
    startMonitor({link});
    QVERIFY(waitUntil([&] { return !subscriber.events().isEmpty(); }, 60000));

    broker.stop();
    simulator.kill();
    const auto journaled = [&](const char* mode) {
        return modesOf(journalEvents(journal()), alias(link)).contains(mode);
    };
    QVERIFY(waitUntil([&] { return journaled("APPEARS"); }, 20000));
    QVERIFY(startSimulator(simulator, link, 7));
    QVERIFY(waitUntil([&] { return journaled("DISAPPEARS"); }, 60000));
    QVERIFY(broker.start());
    // The subscriber may have given up while the broker was away; its
    // session, kept by the broker, brings what came meanwhile.
    if (!subscriber.isRunning()) {
        const QList<Message> before = subscriber.messages;
        subscribe();
        subscriber.messages = before;
    }
    QVERIFY(waitUntil([&] { return subscriber.events().size() >= 3; }, 30000));
    stopMonitorThatWroteNothing();
    QVERIFY(waitUntil([&] { return subscriber.events().size() >= 4; }, 5000));
    QCOMPARE(subscriber.events(), journalEvents(journal()));
    QCOMPARE(modesOf(subscriber.events(), alias(link)),
             QStringList({"SINGLESHOT", "APPEARS", "DISAPPEARS", "SINGLESHOT"}));
}

// Someone teaches the sensor at its housing: the next check reads the
// settings again between polls and reports the switching point that moved,
// once. The other port holds a sensor of another model: its port says so.
void MonitorTest::aSettingChangedAtTheSensorIsReported()
{
    Subscriber subscriber;
    subscriber.start(broker.port(), "plant/devices/+/events");
    Subscriber ports;
    ports.start(broker.port(), "plant/masters/+/ports/1/status");
    const QString link = m_folder.filePath("sensorD");
    SimulatorProcess simulator;
    QVERIFY(startSimulator(simulator, link, 8, {"--housing-teach-after", "25"}));
    SimulatorProcess other;
    QString error;
    const QString otherLink = m_folder.filePath("sensorE");
    QVERIFY2(other.start(IOLINK_SIM, {"--model", "UK130", "--link", otherLink}, &error), qPrintable(error));
    startMonitor({link, otherLink}, 1);
    const auto changed = [&] {
        QList<QJsonObject> found;
        for (const QJsonObject& event : subscriber.events()) {
            if (event["message"].toObject()["code"].toInt() == 0xF005)
                found << event;
        }
        return found;
    };
    QVERIFY(waitUntil([&] { return !changed().isEmpty(); }, 120000));
    const QString text = changed().first()["message"].toObject()["text"].toString();
    QVERIFY2(text.startsWith("Switching point A1 changed on the sensor: "), qPrintable(text));
    QCOMPARE(changed().first()["severity"].toString(), QString("WARNING"));
    stopMonitorThatWroteNothing();
    QCOMPARE(changed().size(), 1);
    QCOMPARE(ports.on("/masters/2/ports/1/status").first().payload,
             QByteArray(R"({"statusInfo":"INCORRECT_DEVICE"})"));
}

QTEST_GUILESS_MAIN(MonitorTest)
#include "tst_monitor.moc"
