#include "LineInput.h"
#include "PtyServer.h"
#include "SimulatorOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace IoLinkSimulator;

namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop picks the signal's
// number up.
void onSignal(int number)
{
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

bool installSignalHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0 &&
           ::sigaction(SIGUSR1, &action, nullptr) == 0;
}

// Lines on standard output after the path tell a test driving the
// simulator where its faults stand.
void announce(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

int fail(const QString& message)
{
    std::fprintf(stderr, "iolink-sim: %s\n", qPrintable(message));
    return 2;
}

// Replaces whatever link is at path; anything else there is left alone.
bool linkPort(const QString& served, const QString& path, QString* error)
{
    const QFileInfo existing(path);
    if (existing.isSymLink())
        QFile::remove(path);
    if (!QFile::link(served, path)) {
        *error = existing.exists() && !existing.isSymLink()
                     ? QStringLiteral("--link: %1 exists and is no symbolic link").arg(path)
                     : QStringLiteral("--link: cannot make the link %1").arg(path);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // A closed standard input reads as an empty one; otherwise the terminal
    // or a socket opened below would take descriptor 0 and be read as input.
    if (::fcntl(STDIN_FILENO, F_GETFD) == -1)
        ::open("/dev/null", O_RDONLY);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("iolink-sim"));

    SimulatorOptions options;
    QString error;
    const QString defaultDocument =
        QCoreApplication::applicationDirPath() + QStringLiteral("/IoLinkMzRT5family.xml");
    if (!parseSimulatorOptions(QCoreApplication::arguments(), defaultDocument, &options, &error))
        return fail(error + QStringLiteral("\n") + simulatorUsage());
    if (options.helpRequested) {
        std::fputs(qPrintable(simulatorUsage()), stdout);
        return 0;
    }

    std::unique_ptr<SensorModel> model =
        SensorModel::create(options.documentPath, options.modelId, options.variantCode, options.seed, &error);
    if (!model)
        return fail(error);
    const VariantInfo variant = model->description().variant;
    if (!options.objectAt.isEmpty()) {
        const std::optional<int> distance = parseObjectDistance(options.objectAt, variant, &error);
        if (!distance)
            return fail(QStringLiteral("--object-at ") + error);
        model->holdTarget(*distance);
    }
    const QString identity = model->description().identityText();

    PtyServer server(std::move(model));
    server.schedule().setBaudRate(options.baudRate);
    FaultPlan& faults = server.master().faults();
    applyFaultOptions(options, &faults);
    // Faults put at a point of a sequence say when that point has come.
    if (options.faultOnSignal || options.faultAfter > 0)
        faults.setBeginHandler([] { announce("faults begin"); });
    if (!server.open(&error))
        return fail(error);
    if (!installSignalHandlers())
        return fail(QStringLiteral("cannot install signal handlers"));
    // SIGUSR1 lets held faults go; any other signal ends the service.
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [&app, &faults] {
        char number = 0;
        if (::read(signalPipe[0], &number, 1) != 1)
            return;
        if (number != SIGUSR1) {
            app.quit();
            return;
        }
        faults.start();
        announce("faults armed");
    });

    if (options.housingTeachAfterSeconds > 0) {
        QTimer::singleShot(options.housingTeachAfterSeconds * 1000, &app, [&server] {
            server.master().model().teachAtHousing();
            announce("taught at the housing");
        });
    }
    // Commands on standard input place the object while serving. A job in
    // the background of a shell would be stopped by reading its terminal;
    // its read fails instead and only the commands end.
    std::signal(SIGTTIN, SIG_IGN);
    LineInput input(STDIN_FILENO);
    QObject::connect(&input, &LineInput::lineRead, &app, [&server, &variant](const QString& line) {
        if (line.trimmed().isEmpty())
            return;
        QString error;
        if (const std::optional<int> distance = parseObjectCommand(line, variant, &error))
            server.master().model().holdTarget(*distance);
        else
            std::fprintf(stderr, "iolink-sim: %s\n", qPrintable(error));
    });
    QObject::connect(&input, &LineInput::ended, &app, [](const QString& reason) {
        if (!reason.isEmpty())
            std::fprintf(stderr, "iolink-sim: standard input cannot be read (%s); object commands are off\n",
                         qPrintable(reason));
    });

    if (!options.linkPath.isEmpty() && !linkPort(server.path(), options.linkPath, &error))
        return fail(error);
    const QString clientPath = options.linkPath.isEmpty() ? server.path() : options.linkPath;
    std::printf("%s\n", qPrintable(clientPath));
    std::fflush(stdout);
    std::fprintf(stderr, "iolink-sim: %s at %d baud on %s\n", qPrintable(identity), options.baudRate,
                 qPrintable(clientPath));
    const int status = app.exec();
    // Gone with the simulator, as an unplugged adapter's name is; one that
    // a later simulator took over stays.
    if (!options.linkPath.isEmpty() && QFile::symLinkTarget(options.linkPath) == server.path())
        QFile::remove(options.linkPath);
    return status;
}
