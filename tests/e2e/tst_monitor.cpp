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
    void sensorsArePublishedThroughALossAChangeAndABrokerOutage();

private:
    bool startSimulator(SimulatorProcess& simulator, const QString& link, int seed,
                        const QStringList& more = {"--model", "UM035", "--variant", "107"})
    {
        QString error;
        const bool started = simulator.start(
            IOLINK_SIM, more + QStringList{"--seed", QString::number(seed), "--link", link}, &error);
        if (!started)
            qWarning() << error;
        return started;
    }
    QString journal() const { return m_folder.filePath("journal.jsonl"); }

    QTemporaryDir m_folder;
    Broker broker{m_folder.path()};
};

// Two sensors' identities and data arrive; a third port holds a sensor of
// another model, and its port says so. One simulator ends, and starts again
// while the broker is away: the loss is published at once, the return waits
// in the monitor for the broker and a persistent subscriber, and the other
// sensor's data never paused. The other sensor is taught at its housing: the
// next check reads its settings again and reports the moved switching point,
// once. Everything is journaled, and nothing but the connect, identity,
// reads, fetches and the poll went out.
void MonitorTest::sensorsArePublishedThroughALossAChangeAndABrokerOutage()
{
    QVERIFY(m_folder.isValid() && broker.start());
    Subscriber subscriber;
    const auto subscribe = [&subscriber, this] { subscriber.start(broker.port(), "plant/#", "tst-monitor"); };
    subscribe();
    const QString linkA = m_folder.filePath("sensorA");
    const QString linkB = m_folder.filePath("sensorB");
    const QString otherLink = m_folder.filePath("sensorC");
    SimulatorProcess simulatorA, simulatorB, other;
    QVERIFY(startSimulator(simulatorA, linkA, 3));
    QVERIFY(startSimulator(simulatorB, linkB, 4,
                           {"--model", "UM035", "--variant", "107", "--housing-teach-after", "25"}));
    QVERIFY(startSimulator(other, otherLink, 5, {"--model", "UK130"}));
    QProcess monitor;
    QStringList arguments;
    for (const QString& link : {linkA, linkB, otherLink})
        arguments << "--monitor" << link + '=' + sensorName;
    monitor.setProcessChannelMode(QProcess::ForwardedChannels);
    monitor.start(IOLINK_WORKBENCH,
                  arguments + QStringList{"--mqtt", broker.address(), "--originator", "plant",
                                          "--verify-every", "1", "--journal", journal(), "--trace",
                                          m_folder.filePath("trace.txt")});
    QVERIFY(monitor.waitForStarted());

    const QString aliasA = alias(linkA);
    const QString aliasB = alias(linkB);
    const auto data = [&subscriber](const QString& deviceAlias) {
        return subscriber.on(deviceAlias + "/processdata/value");
    };
    QVERIFY(waitUntil([&] { return !data(aliasA).isEmpty() && !data(aliasB).isEmpty(); }, 90000));
    for (const QString& deviceAlias : {aliasA, aliasB})
        QVERIFY(subscriber.on(deviceAlias + "/identification").value(0).payload.contains("UM035-107"));
    QVERIFY(waitUntil(
        [&] {
            return subscriber.on("/masters/3/ports/1/status").value(0).payload.contains("INCORRECT_DEVICE");
        },
        30000));

    simulatorA.kill();
    QVERIFY(waitUntil([&] { return modesOf(subscriber.events(), aliasA).contains("APPEARS"); }, 20000));
    // The monitor looks for the lost sensor meanwhile.
    QTest::qWait(5000);
    const double away = QDateTime::currentMSecsSinceEpoch() / 1000.0;
    broker.stop();
    QVERIFY(startSimulator(simulatorA, linkA, 6));
    QVERIFY(
        waitUntil([&] { return modesOf(journalEvents(journal()), aliasA).contains("DISAPPEARS"); }, 60000));
    QVERIFY(broker.start());
    // The subscriber may have given up while the broker was away; its
    // session, kept by the broker, brings what came meanwhile.
    if (!subscriber.isRunning()) {
        const QList<Message> before = subscriber.messages;
        subscribe();
        subscriber.messages = before;
    }
    QVERIFY(waitUntil([&] { return modesOf(subscriber.events(), aliasA).contains("DISAPPEARS"); }, 30000));
    const double back = subscriber.on(aliasA + "/events").last().time;
    QVERIFY(waitUntil([&] { return data(aliasA).last().time > back; }, 10000));

    const auto changed = [&] {
        QStringList found;
        for (const QJsonObject& event : subscriber.events()) {
            if (event["message"].toObject()["code"].toInt() == 0xF005)
                found << event["severity"].toString() + " " + event["message"].toObject()["text"].toString();
        }
        return found;
    };
    QVERIFY(waitUntil([&] { return !changed().isEmpty(); }, 120000));
    QVERIFY2(changed().first().startsWith("WARNING Switching point A1 changed on the sensor: "),
             qPrintable(changed().first()));

    // SIGTERM ends it cleanly.
    monitor.terminate();
    QVERIFY(monitor.waitForFinished(20000));
    QCOMPARE(monitor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(monitor.exitCode(), 0);
    const QStringList requests = TraceLines::read(m_folder.filePath("trace.txt")).requests();
    QVERIFY(!requests.isEmpty());
    VERIFY_NONE(requests.filter(QRegularExpression("^\\S+ \\S+ (?!11|12|21|22|26|27)")));
    const auto status = [&subscriber] {
        const QList<Message> all = subscriber.on("plant/gateway/status");
        return all.isEmpty() ? QByteArray() : all.last().payload;
    };
    QVERIFY(waitUntil([&] { return status() == R"({"online":false})"; }, 5000));
    QCOMPARE(changed().size(), 1);
    QCOMPARE(modesOf(subscriber.events(), aliasA),
             QStringList({"SINGLESHOT", "APPEARS", "DISAPPEARS", "SINGLESHOT"}));
    QCOMPARE(modesOf(subscriber.events(), aliasB), QStringList({"SINGLESHOT", "SINGLESHOT", "SINGLESHOT"}));
    QCOMPARE(journalEvents(journal()), subscriber.events());

    double longestPause = 0;
    const QList<Message> dataB = data(aliasB);
    for (int k = 1; k < dataB.size() && dataB[k].time < away; ++k)
        longestPause = std::max(longestPause, dataB[k].time - dataB[k - 1].time);
    QVERIFY2(longestPause < 1.0, qPrintable(QString("a pause of %1 s").arg(longestPause)));
}

QTEST_GUILESS_MAIN(MonitorTest)
#include "tst_monitor.moc"
