#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

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

    // Parses the arguments (program name first). On a usage error returns
    // false with the message in *error; --help and --version are handled by
    // Qt and exit the program.
    bool parse(const QStringList& arguments, QString* error);
};
