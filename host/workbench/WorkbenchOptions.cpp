#include "WorkbenchOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

bool WorkbenchOptions::parse(const QStringList& arguments, QString* error)
{
    auto tr = [](const char* text) { return QCoreApplication::translate("WorkbenchOptions", text); };
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Configures, monitors and teaches IO-Link ultrasonic distance sensors."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption listOption("list-sensors",
                                        tr("Print the plug-in's identity and its sensors, then exit."));
    const QCommandLineOption openOption("open", tr("Open the sensor named NAME at start."), "NAME");
    const QCommandLineOption langOption(
        "lang",
        tr("User interface language (en, de) for this run; by default the one last chosen in the program."),
        "CODE");
    const QCommandLineOption presentationOption("presentation", tr("Start in presentation mode."));
    const QCommandLineOption screenshotOption("screenshot", tr("Save a picture of the main window to FILE."),
                                              "FILE");
    const QCommandLineOption quitOption("quit-after", tr("Quit after MS milliseconds."), "MS");
    const QCommandLineOption pluginOption("plugin-dir", tr("Folder that holds the sensor plug-in."), "DIR");
    const QCommandLineOption simulateOption(
        "simulate",
        tr("Offer a simulated sensor of model ID (and variant CODE) on a port of its own; repeatable."),
        "ID[/CODE]");
    const QCommandLineOption portOption("port", tr("Offer the serial device PATH as a port; repeatable."),
                                        "PATH");
    const QCommandLineOption traceOption(
        "trace", tr("Write every request and answer to FILE (default: the file named by IOLINK_TRACE)."),
        "FILE");
    const QCommandLineOption connectOption(
        "connect", tr("Connect the sensor opened with --open to PORT, reading its settings."), "PORT");
    const QCommandLineOption sizeOption(
        "size", tr("Size of the main window, as in 1280x800, instead of fitting it to the screen."), "WxH");
    parser.addOptions({listOption, openOption, langOption, presentationOption, screenshotOption, quitOption,
                       pluginOption, simulateOption, portOption, traceOption, connectOption, sizeOption});

    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return false;
    }
    if (parser.isSet("help"))
        parser.showHelp();
    if (parser.isSet("version"))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        *error = tr("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return false;
    }

    listSensors = parser.isSet(listOption);
    openSensor = parser.value(openOption);
    language = parser.value(langOption);
    presentation = parser.isSet(presentationOption);
    screenshotFile = parser.value(screenshotOption);
    pluginDir = parser.value(pluginOption);
    simulate = parser.values(simulateOption);
    ports = parser.values(portOption);
    traceFile = parser.value(traceOption);
    connectPort = parser.value(connectOption);
    if (!connectPort.isEmpty() && openSensor.isEmpty()) {
        *error = tr("--connect needs a sensor to connect: give --open NAME as well");
        return false;
    }
    if (parser.isSet(sizeOption)) {
        const QStringList parts = parser.value(sizeOption).split('x');
        bool widthOk = false;
        bool heightOk = false;
        if (parts.size() == 2)
            windowSize = QSize(parts[0].toInt(&widthOk), parts[1].toInt(&heightOk));
        if (!widthOk || !heightOk || windowSize.isEmpty()) {
            *error = tr("--size needs a width and a height in pixels, as in 1280x800, not \"%1\"")
                         .arg(parser.value(sizeOption));
            return false;
        }
    }
    if (parser.isSet(quitOption)) {
        bool ok = false;
        quitAfterMs = parser.value(quitOption).toInt(&ok);
        if (!ok || quitAfterMs < 0) {
            *error =
                tr("--quit-after needs a number of milliseconds, not \"%1\"").arg(parser.value(quitOption));
            return false;
        }
    }
    return true;
}
