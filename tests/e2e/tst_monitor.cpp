// Monitoring a line as a plant runs it: a real broker on a free local port,
// iolink-sim on pseudo-terminals behind links that survive a restart, the
// workbench's --monitor without a display, and subscribers that see what the
// plant's monitoring sees. Checked: the topics and payloads, the pace of the
// process data, the journal against the events topic, the bytes on the wire,
// and that no event is lost while the broker is away.
#include "SimulatorProcess.h"
#include "TraceAnalysis.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString sensorName = "RT5-350-M18";

// Waits, serving the event loop, until done() holds; false after timeoutMs.
bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QTest::qWait(50);
    }
    return true;
}

// mosquitto with its own configuration, persistence and port.
class Broker
{
public:
    explicit Broker(const QString& folder) : m_folder(folder)
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        m_port = probe.serverPort();
    }
    ~Broker() { stop(); }

    bool start()
    {
        const QString config = m_folder + "/mosquitto.conf";
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        // Run as root, the broker would change to a user that cannot write here.
        file.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\npersistence true\n"
                                  "persistence_location %2/\nuser %3\n")
                       .arg(m_port)
                       .arg(m_folder, QString::fromLocal8Bit(getpwuid(getuid())->pw_name))
                       .toUtf8());
        file.close();
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start("mosquitto", {"-c", config});
        return waitUntil(
            [this] {
                QTcpSocket socket;
                socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
                return socket.waitForConnected(100);
            },
            5000);
    }
    void stop()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    int port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    QString m_folder;
    int m_port = 0;
    QProcess m_process;
};

struct Message
{
    double time = 0; // seconds since the epoch, as the subscriber received it
    QString topic;
    QByteArray payload;
};

// mosquitto_sub at QoS 1, printing when each message came.
class Subscriber
{
public:
    void start(int port, const QString& topic, const QString& persistentId = {})
    {
        QStringList arguments{"-h", "127.0.0.1", "-p",      QString::number(port), "-t", topic, "-q",
                              "1",  "-F",        "%U %t %p"};
        if (!persistentId.isEmpty())
            arguments << "-c"
                      << "-i" << persistentId;
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] { read(); });
        m_process.start("mosquitto_sub", arguments);
        m_process.waitForStarted();
    }
    void stop()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    ~Subscriber() { stop(); }

    QList<Message> messages;

    QList<Message> on(const QString& topicEnd) const
    {
        QList<Message> found;
        for (const Message& message : messages) {
            if (message.topic.endsWith(topicEnd))
                found << message;
        }
        return found;
    }
    // The events of every events topic, in the order they came.
    QList<QJsonObject> events() const
    {
        QList<QJsonObject> found;
        for (const Message& message : on("/events")) {
            for (const QJsonValue& event : QJsonDocument::fromJson(message.payload).array())
                found << event.toObject();
        }
        return found;
    }

private:
    void read()
    {
        while (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine().trimmed();
            const int first = line.indexOf(' ');
            const int second = line.indexOf(' ', first + 1);
            if (first > 0 && second > first)
                messages << Message{line.left(first).toDouble(),
                                    QString::fromUtf8(line.mid(first + 1, second - first - 1)),
                                    line.mid(second + 1)};
        }
    }
    QProcess m_process;
};

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

bool hasEvent(const QList<QJsonObject>& events, const QString& deviceAlias, const QString& mode)
{
    for (const QJsonObject& event : events) {
        if (event["origin"].toObject()["deviceAlias"].toString() == deviceAlias &&
            event["message"].toObject()["mode"].toString() == mode)
            return true;
    }
    return false;
}

// The modes of one device's events, in order.
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
    void init() { QVERIFY(m_folder.isValid()); }

    void twoSensorsArePublishedAndOneComesBack();
    void eventsWaitWhileTheBrokerIsAway();

private:
    bool startSimulator(SimulatorProcess& simulator, const QString& link, int seed)
    {
        QString error;
        const bool started = simulator.start(
            IOLINK_SIM,
            {"--model", "UM035", "--variant", "107", "--seed", QString::number(seed), "--link", link},
            &error);
        if (!started)
            qWarning() << error;
        return started;
    }
    void startMonitor(QProcess& monitor, const QStringList& links, const Broker& broker)
    {
        QStringList arguments;
        for (const QString& link : links)
            arguments << "--monitor" << link + '=' + sensorName;
        arguments << "--mqtt" << broker.address() << "--originator"
                  << "plant"
                  << "--verify-every"
                  << "0"
                  << "--journal" << m_folder.filePath("journal.jsonl") << "--trace"
                  << m_folder.filePath("trace.txt");
        monitor.setProcessChannelMode(QProcess::ForwardedChannels);
        monitor.start(IOLINK_WORKBENCH, arguments);
        QVERIFY(monitor.waitForStarted());
    }

    QTemporaryDir m_folder;
};

// Both sensors' identities and process data arrive; one simulator ends and
// starts again under its link: the loss and the return are published and
// journaled, the sensor's data come again, and the other sensor's data never
// paused. The monitor wrote nothing to either sensor and ends cleanly on
// SIGTERM.
void MonitorTest::twoSensorsArePublishedAndOneComesBack()
{
    Broker broker(m_folder.path());
    QVERIFY(broker.start());
    Subscriber subscriber;
    subscriber.start(broker.port(), "plant/#");
    const QString linkA = m_folder.filePath("sensorA");
    const QString linkB = m_folder.filePath("sensorB");
    SimulatorProcess simulatorA;
    SimulatorProcess simulatorB;
    QVERIFY(startSimulator(simulatorA, linkA, 3));
    QVERIFY(startSimulator(simulatorB, linkB, 4));
    QProcess monitor;
    startMonitor(monitor, {linkA, linkB}, broker);

    const QString aliasA = alias(linkA);
    const QString aliasB = alias(linkB);
    QVERIFY(waitUntil(
        [&] {
            return !subscriber.on(aliasA + "/processdata/value").isEmpty() &&
                   !subscriber.on(aliasB + "/processdata/value").isEmpty();
        },
        90000));
    for (const QString& deviceAlias : {aliasA, aliasB}) {
        const QList<Message> identity = subscriber.on("/devices/" + deviceAlias + "/identification");
        QVERIFY(!identity.isEmpty());
        const QJsonObject fields = QJsonDocument::fromJson(identity.last().payload).object();
        QCOMPARE(fields["productName"].toString(), sensorName);
        QCOMPARE(fields["productId"].toString(), QString("UM035-107"));
        QCOMPARE(fields["vendorName"].toString(), QString("Nimbar Sensors"));
    }

    simulatorA.kill();
    QVERIFY(waitUntil([&] { return hasEvent(subscriber.events(), aliasA, "APPEARS"); }, 20000));
    QVERIFY(startSimulator(simulatorA, linkA, 5));
    QVERIFY(waitUntil([&] { return hasEvent(subscriber.events(), aliasA, "DISAPPEARS"); }, 60000));
    const double back = subscriber.on(aliasA + "/events").last().time;
    QVERIFY(
        waitUntil([&] { return subscriber.on(aliasA + "/processdata/value").last().time > back; }, 10000));

    monitor.terminate();
    QVERIFY(monitor.waitForFinished(20000));
    QCOMPARE(monitor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(monitor.exitCode(), 0);
    QVERIFY(waitUntil([&] { return subscriber.on("plant/gateway/status").size() >= 2; }, 5000));
    QCOMPARE(subscriber.on("plant/gateway/status").last().payload, QByteArray(R"({"online":false})"));

    QCOMPARE(modesOf(subscriber.events(), aliasA),
             QStringList({"SINGLESHOT", "APPEARS", "DISAPPEARS", "SINGLESHOT"}));
    QCOMPARE(modesOf(subscriber.events(), aliasB), QStringList({"SINGLESHOT", "SINGLESHOT"}));
    QCOMPARE(journalEvents(m_folder.filePath("journal.jsonl")), subscriber.events());

    // The poll's pace, and no pause of the other sensor's data meanwhile.
    const QList<Message> dataB = subscriber.on(aliasB + "/processdata/value");
    double longestPause = 0;
    for (int k = 1; k < dataB.size(); ++k)
        longestPause = std::max(longestPause, dataB[k].time - dataB[k - 1].time);
    QVERIFY2(longestPause < 1.0, qPrintable(QString("a pause of %1 s").arg(longestPause)));
    const double rate = (dataB.size() - 1) / (dataB.last().time - dataB.first().time);
    QVERIFY2(rate > 5.0, qPrintable(QString("%1 answers/s").arg(rate)));
    const QJsonObject value = QJsonDocument::fromJson(dataB.last().payload).object()["ioLink"].toObject();
    QVERIFY(value.contains("valid"));
    QVERIFY(value["value"].toObject().contains("switchingOutputA1"));

    // Connect, identity, reads, fetches and the poll; never a write.
    const TraceLines trace = TraceLines::read(m_folder.filePath("trace.txt"));
    QVERIFY(!trace.lines.isEmpty());
    for (const QString& request : trace.requests()) {
        const QString command = request.section(' ', 2, 2);
        QVERIFY2(QStringList({"11", "12", "21", "22", "26", "27"}).contains(command), qPrintable(request));
    }
}

// The broker goes away (and comes back from its persistence) while a sensor
// is lost and comes back: those events wait in the monitor and reach a
// subscriber with a persistent session, all of them, in order.
void MonitorTest::eventsWaitWhileTheBrokerIsAway()
{
    Broker broker(m_folder.path());
    QVERIFY(broker.start());
    Subscriber subscriber;
    subscriber.start(broker.port(), "plant/devices/+/events", "tst-monitor-events");
    const QString link = m_folder.filePath("sensorC");
    SimulatorProcess simulator;
    QVERIFY(startSimulator(simulator, link, 6));
    QProcess monitor;
    startMonitor(monitor, {link}, broker);
    const QString journal = m_folder.filePath("journal.jsonl");
    QVERIFY(waitUntil([&] { return !subscriber.events().isEmpty(); }, 60000));

    broker.stop();
    simulator.kill();
    QVERIFY(waitUntil([&] { return hasEvent(journalEvents(journal), alias(link), "APPEARS"); }, 20000));
    QVERIFY(startSimulator(simulator, link, 7));
    QVERIFY(waitUntil([&] { return hasEvent(journalEvents(journal), alias(link), "DISAPPEARS"); }, 60000));
    QVERIFY(broker.start());
    // The subscriber may have given up while the broker was away; its
    // session, kept by the broker, brings what came meanwhile.
    if (!subscriber.isRunning()) {
        const QList<Message> before = subscriber.messages;
        subscriber.start(broker.port(), "plant/devices/+/events", "tst-monitor-events");
        subscriber.messages = before;
    }
    QVERIFY(waitUntil([&] { return subscriber.events().size() >= 3; }, 30000));
    monitor.terminate();
    QVERIFY(monitor.waitForFinished(20000));
    QCOMPARE(monitor.exitCode(), 0);
    QVERIFY(waitUntil([&] { return subscriber.events().size() >= 4; }, 5000));
    QCOMPARE(subscriber.events(), journalEvents(journal));
    QCOMPARE(modesOf(subscriber.events(), alias(link)),
             QStringList({"SINGLESHOT", "APPEARS", "DISAPPEARS", "SINGLESHOT"}));
}

QTEST_GUILESS_MAIN(MonitorTest)
#include "tst_monitor.moc"
