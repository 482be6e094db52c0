#pragma once

// A real MQTT broker (mosquitto) on a free local port with its own
// configuration and persistence, and mosquitto_sub as a subscriber that
// notes when each message came: what the monitor's tests and its bench
// publish to and listen with.

#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>

#include <WaitUntil.h>

#include <pwd.h>
#include <unistd.h>

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
            arguments += {"-c", "-i", persistentId};
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
