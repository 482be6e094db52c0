#pragma once

#include "WorkbenchOptions.h"

#include <QCoreApplication>
#include <QTextStream>

class BatchAnswers;
class QWidget;
class WorkbenchWindow;

// Exit statuses of a batch command, as --help and the README list them.
namespace BatchExit {
constexpr int Done = 0;
constexpr int Differences = 1;
constexpr int SensorProblem = 2;
constexpr int FileProblem = 3;
constexpr int Usage = 64;
} // namespace BatchExit

// One batch command of the command line, run in the workbench's own sensor
// window exactly as a user's clicks would run it: the sequences with the
// sensor are the window's. Progress and every message the window shows go
// to stderr; differences found go to stdout.
class BatchRun
{
    Q_DECLARE_TR_FUNCTIONS(BatchRun)

public:
    BatchRun(WorkbenchWindow& workbench, const WorkbenchOptions& options);

    // Runs the command to its end and returns its exit status.
    int run();

private:
    void say(const QString& message);
    QString port() const;
    bool openSensor();
    bool portOffered();
    bool connectReading();
    bool connected() const;
    bool fileUsable();
    bool outputWritable();
    bool rowsWhole();
    void waitUntilSettled();
    int compareWithFile();
    int readSettings();
    int writeSettings();
    int compare();
    int factoryReset();
    int logLiveData();
    int writeReport();

    WorkbenchWindow& m_workbench;
    const WorkbenchOptions& m_options;
    QTextStream m_err;
    QTextStream m_out;
    QWidget* m_window = nullptr;
    // The window's scripting surface, beside its slots.
    QObject* m_scripting = nullptr;
    BatchAnswers* m_answers = nullptr;
    QString m_lastSaid;
};
