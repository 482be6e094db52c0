#include "BatchRun.h"
#include "DocumentCheck.h"
#include "HostTranslator.h"
#include "MonitorRun.h"
#include "PluginLibrary.h"
#include "SimulatedSensors.h"
#include "WorkbenchOptions.h"
#include "WorkbenchSettings.h"
#include "WorkbenchWindow.h"

#include <extensionsystem/Globals.h>
#include <extensionsystem/InstallLayout.h>
#include <monitor/EventJournal.h>
#include <utils/FileReplace.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPixmap>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <csignal>

namespace {

// Time the window gets to lay itself out and paint before a screenshot.
const int screenshotSettleMs = 800;
const int screenshotBeforeQuitMs = 200;

int listSensors(const PluginLibrary& plugin)
{
    QTextStream out(stdout);
    out << "plugin:        " << plugin.pluginName() << '\n'
        << "version:       " << plugin.version() << '\n'
        << "description:   " << plugin.description() << '\n'
        << "communication: " << plugin.communicationType() << '\n';
    const auto sensors = plugin.sensors();
    out << "sensors:       " << sensors.size() << '\n';
    // The plug-in only hands over an empty list; why is told beside it.
    if (sensors.empty()) {
        const QString problem =
            describeDocumentProblem(descriptionDocumentOf(plugin.pluginName()), plugin.pluginName());
        if (!problem.isEmpty())
            QTextStream(stderr) << "iolink-workbench: " << problem << '\n';
    }
    for (const auto& sensor : sensors)
        out << QString::fromStdString(sensor.id()) << '\t' << QString::fromStdString(sensor.name()) << '\n';
    return 0;
}

// Writes the picture beside file and renames it over file once complete, so
// a full disk or a size limit leaves a previous picture whole. Returns empty
// on success, otherwise the reason.
QString saveScreenshot(const QPixmap& picture, const QString& file)
{
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QFileInfo(file).suffix().toLatin1());
    if (!writer.write(picture.toImage()))
        return writer.errorString();
    return Utils::replaceFileContent(file, encoded);
}

// A batch run's stderr is its log: notes of the display-less platform about
// window features it lacks mean nothing there and are left out.
QtMessageHandler standardMessageHandler = nullptr;

void batchMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith("This plugin does not support") || message.startsWith("QStandardPaths: "))
        return;
    if (standardMessageHandler)
        standardMessageHandler(type, context, message);
}

// Whether the platform Qt is going to use has a display to draw on: without
// one it would abort the program with a message of its own.
bool displayAvailable()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform.startsWith("xcb"))
        return qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY");
    if (platform.startsWith("wayland"))
        return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    // offscreen, minimal, a frame buffer: nothing to connect to first.
    return true;
}

void nameApplication()
{
    // Names the user's settings file, too.
    QCoreApplication::setOrganizationName("iolink-workbench");
    QCoreApplication::setApplicationName("iolink-workbench");
    QCoreApplication::setApplicationVersion("1.0.0");
}

} // namespace

int main(int argc, char** argv)
{
    // A file size limit then makes a write fail with EFBIG, which the file's
    // writer reports, instead of ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    QTextStream err(stderr);
    WorkbenchOptions options;
    QString language;
    QString error;
    // The command line is read, and help, listing and every mistake in it
    // answered, before a window system is asked for: all of that works on a
    // machine without a display.
    {
        const QCoreApplication textApplication(argc, argv);
        nameApplication();
        const QStringList arguments = QCoreApplication::arguments();
        language = WorkbenchSettings::startLanguage(WorkbenchOptions::languageOf(arguments));
        const bool translated = installHostTranslations(language);
        if (!options.parse(arguments, &error)) {
            err << "iolink-workbench: " << error << "\n";
            return BatchExit::Usage;
        }
        if (!translated)
            err << "iolink-workbench: no translation for \"" << language << "\"; using English\n";
        if (options.listSensors) {
            const QString pluginDir =
                options.pluginDir.isEmpty() ? ExtensionSystem::pluginFolder() : options.pluginDir;
            PluginLibrary plugin;
            if (!plugin.load(PluginLibrary::pluginPath(pluginDir))) {
                err << "iolink-workbench: " << plugin.errorString() << "\n";
                return 1;
            }
            return listSensors(plugin);
        }
        if (options.needsDisplay() && !displayAvailable()) {
            err << "iolink-workbench: "
                << QCoreApplication::translate(
                       "main", "The workbench window needs a display, and none is set (DISPLAY). Batch "
                               "commands, --list-sensors and --help run without one; "
                               "QT_QPA_PLATFORM=offscreen draws the window without a screen.")
                << "\n";
            return BatchExit::Usage;
        }
    }

    // A batch command runs the same windows, drawn off screen, so that it
    // needs no display.
    const bool batch = options.batch != BatchCommand::None;
    if (batch) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        standardMessageHandler = qInstallMessageHandler(batchMessageHandler);
    }
    const QApplication app(argc, argv);
    nameApplication();
    installHostTranslations(language);
    ExtensionSystem::Globals::setLanguage(language.toStdString());
    ExtensionSystem::Globals::setPresentationMode(options.presentation);

    const QString pluginDir =
        options.pluginDir.isEmpty() ? ExtensionSystem::pluginFolder() : options.pluginDir;
    PluginLibrary plugin;
    if (!plugin.load(PluginLibrary::pluginPath(pluginDir)))
        err << "iolink-workbench: " << plugin.errorString() << "\n";
    installLibraryTranslations(language);
    err.flush();

    WorkbenchWindow window(plugin);
    // Without the plug-in no batch command can run; why was printed above.
    // Mostly a wrong --plugin-dir, hence the status of a bad command line.
    if (batch && !plugin.isLoaded())
        return BatchExit::Usage;
    // A batch run leaves the user's remembered layout alone.
    if (!batch)
        window.rememberBetweenRuns();
    if (options.windowSize.isValid()) {
        window.setWindowState(Qt::WindowNoState);
        window.resize(options.windowSize);
    }
    HostPorts& ports = window.hostPorts();
    const QString traceFile = options.traceFile.isEmpty()
                                  ? ExtensionSystem::ProtocolTrace::fileFromEnvironment()
                                  : options.traceFile;
    if (!traceFile.isEmpty() && !ports.setTraceFile(traceFile, &error)) {
        err << "iolink-workbench: "
            << QCoreApplication::translate("main", "cannot write the protocol trace %1: %2")
                   .arg(traceFile, error)
            << "\n";
        return BatchExit::Usage;
    }
    const QString document = ExtensionSystem::dataFile("IoLinkMzRT5family.xml");
    for (const QString& spec : qAsConst(options.simulate)) {
        if (addSimulatedSensor(ports, spec, document, &error).isEmpty())
            err << "iolink-workbench: cannot simulate \"" << spec << "\": " << error << "\n";
    }
    for (const QString& path : qAsConst(options.ports))
        ports.addPath(path);
    window.refreshPorts();
    window.show();
    window.setJournal(options.journalFile.isEmpty() ? Monitor::EventJournal::defaultFileName()
                                                    : options.journalFile);
    // A batch command runs once the event loop does; its status ends the program.
    const auto runBatch = [&window](auto& run) {
        int status = BatchExit::Usage;
        QTimer::singleShot(0, &window, [&run, &status] {
            status = run.run();
            QCoreApplication::quit();
        });
        QCoreApplication::exec();
        return status;
    };
    if (options.batch == BatchCommand::Monitor) {
        MonitorRun run(window, options);
        return runBatch(run);
    }
    if (batch) {
        BatchRun run(window, options);
        return runBatch(run);
    }
    window.setPresentationMode(options.presentation);
    if (!options.openSensor.isEmpty() && !window.openSensor(options.openSensor))
        err << "iolink-workbench: no sensor named \"" << options.openSensor << "\"\n";
    if (!options.connectPort.isEmpty()) {
        // Once the window is on screen: connecting runs for a while.
        QTimer::singleShot(0, &window,
                           [&window, port = options.connectPort] { window.connectActiveSensor(port); });
    }
    err.flush();

    bool screenshotFailed = false;
    if (!options.screenshotFile.isEmpty()) {
        // With a time to quit the picture shows the window just before it
        // goes, so it can show a sensor connected meanwhile.
        const int delay = options.quitAfterMs >= 0 ? std::max(0, options.quitAfterMs - screenshotBeforeQuitMs)
                                                   : screenshotSettleMs;
        QTimer::singleShot(delay, &window, [&window, &screenshotFailed, file = options.screenshotFile] {
            const QString reason = saveScreenshot(window.grab(), file);
            if (reason.isEmpty()) {
                QTextStream(stdout) << "screenshot: " << QDir::toNativeSeparators(file) << "\n";
            } else {
                screenshotFailed = true;
                QTextStream(stderr) << "iolink-workbench: cannot write the screenshot " << file << ": "
                                    << reason << "\n";
            }
        });
    }
    if (options.quitAfterMs >= 0) {
        QTimer::singleShot(options.quitAfterMs, &window, [&window] {
            window.close();
            QCoreApplication::quit();
        });
    }
    const int status = QCoreApplication::exec();
    // A caller that asked for a picture and got none learns it from the status.
    return status == 0 && screenshotFailed ? 1 : status;
}
