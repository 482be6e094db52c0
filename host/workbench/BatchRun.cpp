#include "BatchRun.h"

#include "BatchAnswers.h"
#include "WorkbenchWindow.h"

#include <extensionsystem/FileChecks.h>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMainWindow>
#include <QMetaObject>
#include <QStatusBar>
#include <QTimer>

namespace {

// How often a running log looks whether the sensor is still there.
const int logCheckMs = 100;

} // namespace

BatchRun::BatchRun(WorkbenchWindow& workbench, const WorkbenchOptions& options)
    : m_workbench(workbench), m_options(options), m_err(stderr), m_out(stdout)
{
}

int BatchRun::run()
{
    BatchAnswers answers(m_err);
    m_answers = &answers;
    // Only what the command says is done without asking: writing the file
    // over the sensor's settings, restoring the factory settings.
    answers.setConfirming(m_options.batch == BatchCommand::WriteSettings ||
                          m_options.batch == BatchCommand::FactoryReset);
    answers.setChoices({"sensorToPc"});
    int status = BatchExit::Usage;
    QElapsedTimer clock;
    clock.start();
    if (openSensor()) {
        switch (m_options.batch) {
        case BatchCommand::ReadSettings:
            status = readSettings();
            break;
        case BatchCommand::WriteSettings:
            status = writeSettings();
            break;
        case BatchCommand::Compare:
            status = compare();
            break;
        case BatchCommand::FactoryReset:
            status = factoryReset();
            break;
        case BatchCommand::Log:
            status = logLiveData();
            break;
        case BatchCommand::Report:
            status = writeReport();
            break;
        case BatchCommand::None:
        case BatchCommand::Monitor:
            break;
        }
    }
    if (m_scripting) {
        qint64 pausedMs = 0;
        QMetaObject::invokeMethod(m_scripting, "pausedMilliseconds", Qt::DirectConnection,
                                  Q_RETURN_ARG(qint64, pausedMs));
        say(tr("Finished after %1 s, of which %2 s were pauses the sensor needs between exchanges.")
                .arg(clock.elapsed() / 1000.0, 0, 'f', 1)
                .arg(pausedMs / 1000.0, 0, 'f', 1));
    }
    m_answers = nullptr;
    return status;
}

void BatchRun::say(const QString& message)
{
    if (message.isEmpty() || message == m_lastSaid)
        return;
    m_lastSaid = message;
    m_err << "iolink-workbench: " << message << Qt::endl;
}

bool BatchRun::openSensor()
{
    if (!m_workbench.openSensor(m_options.openSensor)) {
        say(tr("No sensor named \"%1\"; --list-sensors lists them.").arg(m_options.openSensor));
        return false;
    }
    m_window = m_workbench.activeSensorWindow();
    m_scripting = m_window ? m_window->findChild<QObject*>("scripting") : nullptr;
    // From here on: the hint how to connect by hand, shown as the window
    // opens, would mislead in a log.
    QObject::connect(m_workbench.statusBar(), &QStatusBar::messageChanged, m_answers,
                     [this](const QString& message) { say(message); });
    if (auto* window = qobject_cast<QMainWindow*>(m_window)) {
        QObject::connect(window->statusBar(), &QStatusBar::messageChanged, m_answers,
                         [this](const QString& message) { say(message); });
    }
    return m_scripting != nullptr;
}

bool BatchRun::connected() const
{
    bool connected = false;
    QMetaObject::invokeMethod(m_scripting, "isConnected", Qt::DirectConnection,
                              Q_RETURN_ARG(bool, connected));
    return connected;
}

// The port must be among those the window offers; otherwise the window
// would connect whatever its selector shows.
bool BatchRun::portOffered()
{
    auto* selector = m_window->findChild<QComboBox*>("portSelector");
    if (selector && selector->findText(port()) > 0)
        return true;
    say(tr("The port %1 is not available.").arg(port()));
    return false;
}

QString BatchRun::port() const
{
    return m_options.ports.value(0);
}

// As the workbench's --connect: the sensor's settings win and are read.
bool BatchRun::connectReading()
{
    if (!portOffered())
        return false;
    say(tr("Connecting to %1, reading the sensor's settings").arg(port()));
    m_workbench.connectActiveSensor(port());
    if (connected())
        return true;
    say(tr("Not connected to a %1 on %2.").arg(m_options.openSensor, port()));
    return false;
}

// Why the settings file cannot be used, said before anything is sent.
bool BatchRun::fileUsable()
{
    QString problem;
    QMetaObject::invokeMethod(m_scripting, "settingsFileProblem", Qt::DirectConnection,
                              Q_RETURN_ARG(QString, problem), Q_ARG(QString, m_options.batchFile));
    if (problem.isEmpty())
        return true;
    say(problem);
    return false;
}

// Rows the window could not read show its own values, not the sensor's,
// which a script must learn. Values the window cannot hold are marked in
// the tree too, but they were read, and a compare shows them.
bool BatchRun::rowsWhole()
{
    QStringList rows;
    QMetaObject::invokeMethod(m_scripting, "unreadRows", Qt::DirectConnection,
                              Q_RETURN_ARG(QStringList, rows));
    for (const QString& row : qAsConst(rows))
        say(row);
    return rows.isEmpty();
}

int BatchRun::compareWithFile()
{
    QStringList differences;
    QMetaObject::invokeMethod(m_scripting, "settingsDifferences", Qt::DirectConnection,
                              Q_RETURN_ARG(QStringList, differences), Q_ARG(QString, m_options.batchFile));
    for (const QString& line : qAsConst(differences))
        m_out << line << '\n';
    m_out.flush();
    say(differences.isEmpty()
            ? tr("The sensor holds the settings of %1.").arg(m_options.batchFile)
            : tr("%n parameter(s) differ from %1.", nullptr, differences.size()).arg(m_options.batchFile));
    if (!rowsWhole())
        return BatchExit::SensorProblem;
    return differences.isEmpty() ? BatchExit::Done : BatchExit::Differences;
}

// A file that cannot be written is found before the sensor is read, not
// after the read has run for its many seconds.
bool BatchRun::outputWritable()
{
    const QString problem = ExtensionSystem::outputProblem(m_options.batchFile);
    if (problem.isEmpty())
        return true;
    say(tr("%1 cannot be written: %2").arg(m_options.batchFile, problem));
    return false;
}

int BatchRun::readSettings()
{
    if (!outputWritable())
        return BatchExit::FileProblem;
    if (!connectReading())
        return BatchExit::SensorProblem;
    QString problem;
    QMetaObject::invokeMethod(m_scripting, "saveSettingsTo", Qt::DirectConnection,
                              Q_RETURN_ARG(QString, problem), Q_ARG(QString, m_options.batchFile));
    if (!problem.isEmpty()) {
        say(tr("The settings could not be saved to %1: %2").arg(m_options.batchFile, problem));
        return BatchExit::FileProblem;
    }
    say(tr("Settings saved to %1").arg(m_options.batchFile));
    // The file is kept either way: it holds all that could be read.
    return rowsWhole() ? BatchExit::Done : BatchExit::SensorProblem;
}

// The sensor is read first, so that every parameter the file does not name
// keeps the sensor's value and only what differs is written; the file is
// then checked against the connected variant, before anything is sent, and
// opened in the window, which writes it and reads back what it wrote. What
// the window now knows of the sensor is compared with the file.
int BatchRun::writeSettings()
{
    if (!fileUsable())
        return BatchExit::FileProblem;
    if (!connectReading())
        return BatchExit::SensorProblem;
    if (!fileUsable())
        return BatchExit::FileProblem;
    // The window writes nothing while the sensor settles after connecting.
    waitUntilSettled();
    QMetaObject::invokeMethod(m_scripting, "setWritingLoadedEverything", Qt::DirectConnection,
                              Q_ARG(bool, m_options.writeAll));
    bool loaded = false;
    QMetaObject::invokeMethod(m_window, "bOpenSettings", Qt::DirectConnection, Q_RETURN_ARG(bool, loaded),
                              Q_ARG(QString, m_options.batchFile));
    if (!connected())
        return BatchExit::SensorProblem;
    QStringList problems;
    QMetaObject::invokeMethod(m_scripting, "writeProblems", Qt::DirectConnection,
                              Q_RETURN_ARG(QStringList, problems));
    if (problems.isEmpty())
        return compareWithFile();
    // The rows concerned show what was written, not what the sensor holds:
    // a compare of the window with the file would pass over them.
    for (const QString& problem : qAsConst(problems))
        say(problem);
    return rowsWhole() ? BatchExit::Differences : BatchExit::SensorProblem;
}

void BatchRun::waitUntilSettled()
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [this, &loop] {
        bool settling = false;
        QMetaObject::invokeMethod(m_scripting, "isSettling", Qt::DirectConnection,
                                  Q_RETURN_ARG(bool, settling));
        if (!settling || !connected())
            loop.quit();
    });
    check.start(logCheckMs);
    loop.exec();
}

int BatchRun::writeReport()
{
    if (!outputWritable())
        return BatchExit::FileProblem;
    if (!connectReading())
        return BatchExit::SensorProblem;
    QString problem;
    QMetaObject::invokeMethod(m_scripting, "writeReport", Qt::DirectConnection,
                              Q_RETURN_ARG(QString, problem), Q_ARG(QString, m_options.batchFile));
    if (!problem.isEmpty()) {
        say(problem);
        return BatchExit::FileProblem;
    }
    say(tr("Report written to %1").arg(m_options.batchFile));
    // The report marks the rows that could not be read; a script learns of them too.
    return rowsWhole() ? BatchExit::Done : BatchExit::SensorProblem;
}

int BatchRun::compare()
{
    if (!fileUsable())
        return BatchExit::FileProblem;
    if (!connectReading())
        return BatchExit::SensorProblem;
    // Values the connected sensor could not take are no settings to compare.
    if (!fileUsable())
        return BatchExit::FileProblem;
    return compareWithFile();
}

int BatchRun::factoryReset()
{
    if (!connectReading())
        return BatchExit::SensorProblem;
    QMetaObject::invokeMethod(m_window, "vRestoreFactorySettings", Qt::DirectConnection);
    if (!connected() || !rowsWhole())
        return BatchExit::SensorProblem;
    say(tr("The factory settings are restored."));
    return BatchExit::Done;
}

int BatchRun::logLiveData()
{
    if (!outputWritable())
        return BatchExit::FileProblem;
    if (!connectReading())
        return BatchExit::SensorProblem;
    QString problem;
    QMetaObject::invokeMethod(m_scripting, "startLiveLog", Qt::DirectConnection,
                              Q_RETURN_ARG(QString, problem), Q_ARG(QString, m_options.batchFile));
    if (!problem.isEmpty()) {
        say(tr("The live-data log %1 could not be started: %2").arg(m_options.batchFile, problem));
        return BatchExit::FileProblem;
    }
    say(tr("Logging live data to %1 for %n second(s)", nullptr, m_options.durationSeconds)
            .arg(m_options.batchFile));
    // Ends early when the sensor is lost or the log cannot be written on;
    // the window has said so then. The end is a deadline, not a timer: a
    // timer's milliseconds do not reach the longest run.
    const QDeadlineTimer deadline(qint64(m_options.durationSeconds) * 1000);
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [this, &loop, &deadline] {
        QString problem;
        QMetaObject::invokeMethod(m_scripting, "liveLogProblem", Qt::DirectConnection,
                                  Q_RETURN_ARG(QString, problem));
        if (deadline.hasExpired() || !connected() || !problem.isEmpty())
            loop.quit();
    });
    check.start(logCheckMs);
    loop.exec();
    const bool stillConnected = connected();
    QMetaObject::invokeMethod(m_scripting, "stopLiveLog", Qt::DirectConnection,
                              Q_RETURN_ARG(QString, problem));
    if (!problem.isEmpty()) {
        say(problem);
        return BatchExit::FileProblem;
    }
    return stillConnected ? BatchExit::Done : BatchExit::SensorProblem;
}
