#pragma once

// iolink-sim as a separate process serving its master on a pseudo-terminal:
// started with fault options, told when its held faults may begin, and
// killed or stopped as a master that dies or hangs.

#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <csignal>
#include <functional>
#include <sys/types.h>

class SimulatorProcess
{
public:
    SimulatorProcess()
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process, [this] { readLines(); });
    }

    ~SimulatorProcess() { kill(); }

    // Starts the simulator and waits for the path it serves; false with the
    // reason in *error.
    bool start(const QString& program, const QStringList& arguments, QString* error)
    {
        // A path of an earlier run must never be taken for this one's: its
        // link is gone, or leads to a terminal someone else has now.
        m_path.clear();
        m_armed = false;
        m_begun = false;
        m_process.start(program, arguments);
        for (QDeadlineTimer deadline(10000);
             m_path.isEmpty() && !deadline.hasExpired() && m_process.state() != QProcess::NotRunning;)
            m_process.waitForReadyRead(100);
        if (m_path.startsWith('/'))
            return true;
        *error = "iolink-sim gave no port path: " + QString::fromLocal8Bit(m_process.readAllStandardError());
        return false;
    }

    QString path() const { return m_path; }
    bool isRunning() const { return m_process.state() == QProcess::Running; }

    // Lets the held faults go and waits until the simulator has taken them
    // on, so that no answer of what follows comes before them.
    bool arm()
    {
        if (!signal(SIGUSR1))
            return false;
        for (QDeadlineTimer deadline(5000); !m_armed && !deadline.hasExpired() && isRunning();)
            m_process.waitForReadyRead(50);
        return m_armed;
    }

    // Called from the event loop when the first answer meets the faults.
    void whenFaultsBegin(std::function<void()> action) { m_onBegin = std::move(action); }
    bool faultsBegun() const { return m_begun; }

    // Ends it as a user does, so that it removes the link it served; one
    // that does not end is killed.
    void kill()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        // A stopped one takes the signal once it goes on.
        resume();
        if (m_process.waitForFinished(3000))
            return;
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    // Kills at once, from anywhere, even from the handler of its own output.
    bool killNow() { return signal(SIGKILL); }
    bool stop() { return signal(SIGSTOP); }
    bool resume() { return signal(SIGCONT); }
    // Continues a stopped simulator from the event loop after ms, unless it
    // is gone by then.
    void resumeAfter(int ms)
    {
        QTimer::singleShot(ms, &m_process, [this] { resume(); });
    }

private:
    bool signal(int number)
    {
        const qint64 pid = m_process.processId();
        return pid > 0 && ::kill(pid_t(pid), number) == 0;
    }

    void readLines()
    {
        while (m_process.canReadLine()) {
            const QString line = QString::fromLocal8Bit(m_process.readLine()).trimmed();
            if (m_path.isEmpty()) {
                m_path = line;
            } else if (line == "faults armed") {
                m_armed = true;
            } else if (line == "faults begin" && !m_begun) {
                m_begun = true;
                if (m_onBegin)
                    m_onBegin();
            }
        }
    }

    QProcess m_process;
    QString m_path;
    bool m_armed = false;
    bool m_begun = false;
    std::function<void()> m_onBegin;
};
