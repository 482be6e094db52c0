#include "WorkbenchOptions.h"

#include <monitor/MonitorMessages.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

namespace {

// The longest --log run: a month of live data.
constexpr int longestDurationSeconds = 30 * 24 * 60 * 60;

} // namespace

bool WorkbenchOptions::parse(const QStringList& arguments, QString* error)
{
    auto tr = [](const char* text) { return QCoreApplication::translate("WorkbenchOptions", text); };
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Configures, monitors and teaches IO-Link ultrasonic distance sensors.\n\n"
           "Batch commands (--read-settings, --write-settings, --compare, --factory-reset, --log, --report) "
           "need --port DEV and --open NAME, run without a display and answer every question themselves; "
           "--monitor names its ports and sensors itself. "
           "Exit status: 0 done (and equal, for --compare and --write-settings), 1 differences found, "
           "2 sensor or port problem, 3 file problem, 64 bad command line."));
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
    const QCommandLineOption readOption(
        "read-settings",
        tr("Batch: connect to the sensor on the --port, reading its settings, and save them to FILE."),
        "FILE");
    const QCommandLineOption writeOption(
        "write-settings",
        tr("Batch: write the settings in FILE to the sensor on the --port where they differ from what it "
           "holds, and read back what was written."),
        "FILE");
    const QCommandLineOption writeAllOption(
        "write-all", tr("With --write-settings: write every parameter of FILE, and read every one back."));
    const QCommandLineOption compareOption(
        "compare",
        tr("Batch: print one line (caption, file value, sensor value, unit; separated by tabs) for every "
           "parameter of the sensor on the --port whose value differs from FILE."),
        "FILE");
    const QCommandLineOption factoryOption(
        "factory-reset", tr("Batch: restore the factory settings of the sensor on the --port."));
    const QCommandLineOption logOption(
        "log",
        tr("Batch: write live distance and switching states to the CSV file FILE, one line per answer."),
        "FILE");
    const QCommandLineOption reportOption(
        "report",
        tr("Batch: connect to the sensor on the --port, reading its settings, and write its commissioning "
           "report (identity, every parameter, the distance chart) to the PDF file FILE."),
        "FILE");
    const QCommandLineOption durationOption(
        "duration",
        tr("How long --log or --monitor runs, in seconds: 1 to 2592000 (30 days); --monitor runs until "
           "stopped without it."),
        "SECONDS");
    const QCommandLineOption monitorOption(
        "monitor",
        tr("Batch: connect to the sensor NAME on the serial device PORT, read its settings and publish its "
           "live data and events to the --mqtt broker until stopped (SIGINT, SIGTERM); repeatable."),
        "PORT=NAME");
    const QCommandLineOption mqttOption(
        "mqtt", tr("The MQTT broker --monitor publishes to (port 1883 if none)."), "HOST[:PORT]");
    const QCommandLineOption originatorOption(
        "originator", tr("The first level of every topic --monitor publishes; by default the host name."),
        "ID");
    const QCommandLineOption userOption(
        "mqtt-user", tr("User name at the broker; the password is read from IOLINK_MQTT_PASSWORD."), "NAME");
    const QCommandLineOption caOption(
        "mqtt-cafile", tr("Connect to the broker over TLS, checking it against the CA in FILE."), "FILE");
    const QCommandLineOption verifyOption(
        "verify-every",
        tr("--monitor reads every sensor's settings every MIN minutes and reports what changed since the "
           "connect (default 10; 0 never)."),
        "MIN");
    const QCommandLineOption journalOption(
        "journal",
        tr("Append every sensor window's events to FILE, one JSON object a line (default: "
           "iolink-workbench/journal.jsonl in the user's state folder)."),
        "FILE");
    parser.addOptions({listOption,       openOption,   langOption,     presentationOption, screenshotOption,
                       quitOption,       pluginOption, simulateOption, portOption,         traceOption,
                       connectOption,    sizeOption,   readOption,     writeOption,        compareOption,
                       factoryOption,    logOption,    durationOption, monitorOption,      mqttOption,
                       originatorOption, userOption,   caOption,       verifyOption,       journalOption,
                       writeAllOption,   reportOption});

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
    // Only the ports and the simulated sensors add up; of any other value a
    // second one would silently win over the first.
    for (const QCommandLineOption* option :
         {&openOption,       &langOption,    &screenshotOption, &quitOption,     &pluginOption,
          &traceOption,      &connectOption, &sizeOption,       &readOption,     &writeOption,
          &compareOption,    &logOption,     &reportOption,     &durationOption, &mqttOption,
          &originatorOption, &userOption,    &caOption,         &verifyOption,   &journalOption}) {
        if (parser.values(*option).size() > 1) {
            *error = tr("--%1 is given more than once; give it once").arg(option->names().first());
            return false;
        }
    }

    listSensors = parser.isSet(listOption);
    openSensor = parser.value(openOption);
    language = parser.value(langOption);
    presentation = parser.isSet(presentationOption);
    screenshotFile = parser.value(screenshotOption);
    pluginDir = parser.value(pluginOption);
    simulate = parser.values(simulateOption);
    ports = parser.values(portOption);
    if (ports.contains(QString())) {
        *error = tr("--port needs the path of a serial device, as in /dev/ttyUSB0");
        return false;
    }
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
    const std::pair<const QCommandLineOption*, BatchCommand> commands[] = {
        {&readOption, BatchCommand::ReadSettings}, {&writeOption, BatchCommand::WriteSettings},
        {&compareOption, BatchCommand::Compare},   {&factoryOption, BatchCommand::FactoryReset},
        {&logOption, BatchCommand::Log},           {&reportOption, BatchCommand::Report},
        {&monitorOption, BatchCommand::Monitor}};
    for (const auto& [option, command] : commands) {
        if (!parser.isSet(*option))
            continue;
        if (batch != BatchCommand::None) {
            *error = tr("Give one batch command at a time");
            return false;
        }
        batch = command;
        batchFile = option->valueName().isEmpty() ? QString() : parser.value(*option);
    }
    journalFile = parser.value(journalOption);
    writeAll = parser.isSet(writeAllOption);
    if (writeAll && batch != BatchCommand::WriteSettings) {
        *error = tr("--write-all goes with --write-settings");
        return false;
    }
    if (batch == BatchCommand::Monitor) {
        if (!openSensor.isEmpty() || !ports.isEmpty() || !connectPort.isEmpty() || !simulate.isEmpty() ||
            !screenshotFile.isEmpty()) {
            *error = tr("--monitor names its ports and sensors itself: leave out --open, --port, --connect, "
                        "--simulate and --screenshot");
            return false;
        }
        monitors = parser.values(monitorOption);
        for (const QString& pair : qAsConst(monitors)) {
            const int equals = pair.indexOf('=');
            if (equals <= 0 || equals == pair.size() - 1) {
                *error =
                    tr("--monitor needs a serial device and a sensor name, as in /dev/ttyUSB0=RT5-350-M18, "
                       "not \"%1\"")
                        .arg(pair);
                return false;
            }
            ports.append(pair.left(equals));
        }
        QStringList aliases;
        for (const QString& pair : qAsConst(monitors)) {
            const int equals = pair.indexOf('=');
            const QString alias = Monitor::deviceAlias(pair.mid(equals + 1), pair.left(equals));
            if (aliases.contains(alias)) {
                *error = tr("Two --monitor sensors would publish as %1: give each its own port").arg(alias);
                return false;
            }
            aliases << alias;
        }
        if (!parser.isSet(mqttOption)) {
            *error = tr("--monitor needs the broker to publish to: give --mqtt HOST[:PORT]");
            return false;
        }
        const QString broker = parser.value(mqttOption);
        const int colon = broker.lastIndexOf(':');
        brokerHost = colon < 0 ? broker : broker.left(colon);
        bool ok = true;
        if (colon >= 0)
            brokerPort = broker.mid(colon + 1).toInt(&ok);
        if (brokerHost.isEmpty() || !ok || brokerPort < 1 || brokerPort > 65535) {
            *error = tr("--mqtt needs a host and an optional port from 1 to 65535, as in broker.local:1883, "
                        "not \"%1\"")
                         .arg(broker);
            return false;
        }
        originator = parser.value(originatorOption);
        if (originator.contains(QRegularExpression("[/+#]"))) {
            *error =
                tr("--originator is one topic level: no \"/\", \"+\" or \"#\" in \"%1\"").arg(originator);
            return false;
        }
        brokerUser = parser.value(userOption);
        brokerCaFile = parser.value(caOption);
        if (parser.isSet(verifyOption)) {
            verifyEveryMinutes = parser.value(verifyOption).toInt(&ok);
            if (!ok || verifyEveryMinutes < 0 || verifyEveryMinutes > 24 * 60) {
                *error = tr("--verify-every needs a whole number of minutes from 0 to 1440, not \"%1\"")
                             .arg(parser.value(verifyOption));
                return false;
            }
        }
    } else if (parser.isSet(mqttOption) || parser.isSet(originatorOption) || parser.isSet(userOption) ||
               parser.isSet(caOption) || parser.isSet(verifyOption)) {
        *error = tr("--mqtt, --originator, --mqtt-user, --mqtt-cafile and --verify-every go with --monitor");
        return false;
    }
    if (batch != BatchCommand::None && batch != BatchCommand::Monitor) {
        if (openSensor.isEmpty() || ports.size() != 1) {
            *error =
                tr("A batch command needs the sensor's name (--open NAME) and its port (one --port DEV)");
            return false;
        }
        if (!connectPort.isEmpty() || !simulate.isEmpty() || !screenshotFile.isEmpty()) {
            *error =
                tr("A batch command connects by itself: leave out --connect, --simulate and --screenshot");
            return false;
        }
    }
    if (parser.isSet(durationOption) && batch != BatchCommand::Log && batch != BatchCommand::Monitor) {
        *error = tr("--duration goes with --log or --monitor");
        return false;
    }
    if (batch == BatchCommand::Log && !parser.isSet(durationOption)) {
        *error = tr("--log and --duration go together");
        return false;
    }
    if (parser.isSet(durationOption)) {
        bool ok = false;
        durationSeconds = parser.value(durationOption).toInt(&ok);
        if (!ok || durationSeconds < 1 || durationSeconds > longestDurationSeconds) {
            *error = tr("--duration needs a whole number of seconds from 1 to %1 (30 days), not \"%2\"")
                         .arg(longestDurationSeconds)
                         .arg(parser.value(durationOption));
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

QString WorkbenchOptions::languageOf(const QStringList& arguments)
{
    const QString name = QStringLiteral("--lang");
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == name)
            return arguments.value(i + 1);
        if (arguments[i].startsWith(name + '='))
            return arguments[i].mid(name.size() + 1);
    }
    return QString();
}
