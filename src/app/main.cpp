#include "app/Application.h"
#include "app/CommandLineClient.h"
#include "library/LibraryListing.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

namespace {
struct CommandLine {
    QString libraryFolder;
    QString inputDevice;
    bool list = false;
    bool listInputDevices = false;
    bool headless = false;
    bool hasCommand = false;
    CommandLineClient::Command command = CommandLineClient::Command::Status;
};

// Options that make this process a short-lived tool rather than the application.
bool runsWithoutGui(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        CommandLineClient::Command command;
        if (CommandLineClient::commandForOption(argument, &command) ||
            argument == QLatin1String("--list") ||
            argument == QLatin1String("--list-input-devices") ||
            argument == QLatin1String("--help") || argument == QLatin1String("-h") ||
            argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            return true;
    }
    return false;
}

CommandLine parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Brevoir sound recorder.\n\nWithout a command, starts Brevoir (or brings the running "
        "one to the front). The commands talk to the running instance over D-Bus; --start, "
        "--stop, --pause and --snip start one first when none runs."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption library(QStringLiteral("library"),
                                     QStringLiteral("Use DIR as the library folder for this run."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption list(QStringLiteral("list"),
                                  QStringLiteral("Print the library's recordings and exit."));
    const QCommandLineOption headless(QStringLiteral("headless"),
                                      QStringLiteral("Run without a window."));
    const QCommandLineOption inputDevice(QStringLiteral("input-device"),
                                         QStringLiteral("Record from the input NAME this run."),
                                         QStringLiteral("NAME"));
    const QCommandLineOption listInputs(QStringLiteral("list-input-devices"),
                                        QStringLiteral("Print the names of the inputs and exit."));
    const QCommandLineOption start(QStringLiteral("start"),
                                   QStringLiteral("Start a recording, or stop the running one."));
    const QCommandLineOption stop(QStringLiteral("stop"),
                                  QStringLiteral("Stop the running recording (or start one)."));
    const QCommandLineOption pause(QStringLiteral("pause"),
                                   QStringLiteral("Pause or resume the running recording."));
    const QCommandLineOption snip(QStringLiteral("snip"),
                                  QStringLiteral("End the recording and start the next at once."));
    const QCommandLineOption quit(QStringLiteral("quit"),
                                  QStringLiteral("Quit the running instance."));
    const QCommandLineOption status(QStringLiteral("status"),
                                    QStringLiteral("Print idle, previewing, recording or paused."));
    parser.addOptions(
        {library, list, headless, inputDevice, listInputs, start, stop, pause, snip, quit, status});
    parser.process(arguments);

    CommandLine line;
    if (parser.isSet(library))
        line.libraryFolder = QDir(parser.value(library)).absolutePath();
    line.inputDevice = parser.value(inputDevice);
    line.list = parser.isSet(list);
    line.listInputDevices = parser.isSet(listInputs);
    line.headless = parser.isSet(headless);
    int commands = 0;
    for (const QString& name : parser.optionNames()) {
        CommandLineClient::Command command;
        if (CommandLineClient::commandForOption(QStringLiteral("--") + name, &command)) {
            line.command = command;
            ++commands;
        }
    }
    if (commands > 1) {
        std::fprintf(stderr, "brevoir: give one command at a time\n");
        std::exit(2);
    }
    line.hasCommand = commands == 1;
    return line;
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// What an instance started by a client command is given: the options for that run.
QStringList launchArgumentsOf(const CommandLine& line) {
    QStringList arguments;
    if (!line.libraryFolder.isEmpty())
        arguments << QStringLiteral("--library") << line.libraryFolder;
    if (!line.inputDevice.isEmpty())
        arguments << QStringLiteral("--input-device") << line.inputDevice;
    if (line.headless)
        arguments << QStringLiteral("--headless");
    return arguments;
}

int runTool(int argc, char** argv, const QStringList& arguments) {
    QCoreApplication app(argc, argv);
    const CommandLine line = parse(arguments);
    if (line.list)
        return runLibraryListing(line.libraryFolder, stdout);
    if (line.listInputDevices)
        return Application::printInputDevices(stdout, stderr);
    return CommandLineClient::run(line.command, launchArgumentsOf(line), stdout, stderr);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Brevoir"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brevoir"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BREVOIR_VERSION));
    const QStringList arguments = argumentsOf(argc, argv);
    if (runsWithoutGui(arguments))
        return runTool(argc, argv, arguments);

    // Without a window the widgets still exist, on the offscreen platform: no display needed.
    if (arguments.contains(QStringLiteral("--headless")) &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("brevoir"));
    const CommandLine line = parse(arguments);
    if (CommandLineClient::activateRunningInstance()) {
        std::fprintf(stderr, "brevoir: already running; brought its window to the front\n");
        return 0;
    }
    Application::installSignalHandlers();
    Application application({line.libraryFolder, !line.headless, line.inputDevice});
    application.launch();
    return application.exec();
}
