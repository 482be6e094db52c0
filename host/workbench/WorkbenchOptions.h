#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// A command that runs without a person and ends with an exit status.
enum class BatchCommand
{
    None,
    ReadSettings,  // connect reading the sensor, save its settings to the file
    WriteSettings, // connect reading the sensor, write what differs from the file, read it back
    Compare,       // connect reading the sensor, list what differs from the file
    FactoryReset,  // connect, restore the factory settings
    Log,           // connect, log live data to the file for a while
    Report,        // connect reading the sensor, write the commissioning report to the PDF file
    Monitor,       // connect to every --monitor sensor and publish to a broker until stopped
};

// What the workbench was asked to do on its command line.
struct WorkbenchOptions
{
    bool listSensors = false;
    QString openSensor; // sensor name to open at start
    QString language;   // empty: the remembered one, else English
    bool presentation = false;
    QString screenshotFile; // picture of the main window once it has settled
    int quitAfterMs = -1;   // -1: run until the user quits
    QString pluginDir;      // empty: "plugins" beside the executable
    QStringList simulate;   // "MODEL" or "MODEL/VARIANT": one simulated port each
    QStringList ports;      // device paths to offer besides the system's ports
    QString traceFile;      // protocol trace; empty: IOLINK_TRACE, if set
    QString connectPort;    // port the opened sensor connects to at start
    QSize windowSize;       // invalid: fitted to the screen, or as remembered
    BatchCommand batch = BatchCommand::None;
    QString batchFile;       // the settings file, the log or the report of the batch command
    bool writeAll = false;   // --write-settings writes every parameter, not only what differs
    int durationSeconds = 0; // how long --log runs; for --monitor 0 is until stopped
    // --monitor: "PORT=NAME" pairs, the broker, and who publishes.
    QStringList monitors;
    QString brokerHost;
    int brokerPort = 1883;
    QString originator; // empty: the host name
    QString brokerUser;
    QString brokerCaFile;
    int verifyEveryMinutes = 10;
    QString journalFile; // empty: the journal in the user's state folder

    // Parses the arguments (program name first). On a usage error returns
    // false with the message in *error; --help and --version are handled by
    // Qt and exit the program. Needs an application object, no display.
    bool parse(const QStringList& arguments, QString* error);

    // Whether the options ask for the workbench's window, which needs a
    // display; listing and batch commands do not.
    bool needsDisplay() const { return !listSensors && batch == BatchCommand::None; }

    // The value of --lang, looked up before parsing: the help and the
    // messages of parsing are already in that language.
    static QString languageOf(const QStringList& arguments);
};
