#include "app/Application.h"
#include "app/CommandLineClient.h"
#include "library/LibraryListing.h"
#include "platform/foundation/FileNames.h"

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
    CommandLineClient::Arguments commandArguments;
};

// Every option, once. A tool option makes this process a short-lived tool rather than the
// application (the client commands, the listings, help and version).
struct OptionSpec {
    const char* name;
    const char* description;
    const char* valueName;
    bool tool;
};
constexpr OptionSpec kOptions[] = {
    {"library", "Use DIR as the library folder for this run.", "DIR", false},
    {"list", "Print the library's recordings and exit.", nullptr, true},
    {"headless", "Run without a window.", nullptr, false},
    {"input-device", "Record from the input NAME this run.", "NAME", false},
    {"list-input-devices",
     "Print the inputs, one a line: the name people read, the name --input-device also takes, "
     "and its kind (default, input, monitor or device); then exit.",
     nullptr, true},
    {"start", "Start a recording and print its file (the running one's if one runs).", nullptr,
     true},
    {"stop", "Stop the running recording and print its file once it is complete.", nullptr, true},
    {"toggle", "Start a recording, or stop the running one (the record button).", nullptr, true},
    {"pause", "Pause or resume the running recording.", nullptr, true},
    {"snip", "End the recording and start the next at once.", nullptr, true},
    {"quit", "Quit the running instance.", nullptr, true},
    {"status",
     "Print idle, previewing, recording or paused; while recording, also the elapsed time and "
     "the file.",
     nullptr, true},
    {"rename", "Rename the recording OLD to NEW (give NEW after it).", "OLD", true},
    {"delete", "Delete the recording NAME and its note.", "NAME", true},
    {"note", "Print the note of the recording NAME.", "NAME", true},
    {"format", "The note's format: plain, markdown, html or rtf.", "FORMAT", false},
    {"set-note", "Set the note of NAME from FILE (after it; - reads standard input).", "NAME",
     true},
    {"set-category", "File the recording NAME under CATEGORY (give CATEGORY after it).", "NAME",
     true},
    {"sync", "Copy the recordings the playlist lacks into it; exits when the sync has ended.",
     nullptr, true},
    {"export",
     "Convert the recording NAME to FILE (after it) in the format of FILE's extension: .opus, "
     ".flac, .mp3, .wav, .m4a or .ogg; never replaces FILE; exits when it is written.",
     "NAME", true},
    {"input-gain", "Set the input's gain on the sound server to PERCENT (0-150).", "PERCENT", true},
    {"start-at",
     "Record from TIME on: 14:00 (today or tomorrow), \"tomorrow 14:00\", \"2026-03-14 14:00\", "
     "+90s or @UNIXTIME.",
     "TIME", true},
    {"length", "With --start-at: stop after DURATION (90s, 2m, 1h30m, 1:30).", "DURATION", false},
    {"cancel-schedule", "Cancel the scheduled recording.", nullptr, true},
    {"voice", "Voice activation on or off: sound starts a recording, silence stops (or pauses) it.",
     "on|off", true},
    {"threshold", "With --voice: the level that counts as sound, in dBFS (-40).", "DB", false},
    {"silence", "With --voice: the silence that ends a recording, in seconds (3).", "SECONDS",
     false},
    {"after-silence", "With --voice: stop (the default) or pause after the silence.", "ACTION",
     false},
    {"pre-roll", "With --voice: seconds kept ahead of the sound (0.5).", "SECONDS", false},
    {"mark",
     "Add a line stamped with the running recording's time to its note; TEXT (the arguments "
     "that follow) goes after the stamp.",
     nullptr, true},
};

bool runsWithoutGui(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("-h") || argument == QLatin1String("-v") ||
            argument == QLatin1String("--help") || argument == QLatin1String("--help-all") ||
            argument == QLatin1String("--version"))
            return true;
        if (!argument.startsWith(QLatin1String("-")))
            continue;
        QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        name = name.left(name.indexOf(u'='));
        for (const OptionSpec& spec : kOptions) {
            if (spec.tool && name == QLatin1String(spec.name))
                return true;
        }
    }
    return false;
}

// What is not a recording's name must be text: a folder, a device, a category or a format that
// is not valid UTF-8 would reach the system as something the user did not give.
void requireText(const QString& value, const QString& what) {
    if (!FileNames::hasEscapedBytes(value))
        return;
    std::fprintf(stderr,
                 "brevoir: %s \"%s\" is not valid UTF-8; only the names of recordings may hold "
                 "such bytes\n",
                 qPrintable(what), FileNames::displayName(value).toUtf8().constData());
    std::exit(2);
}

CommandLine parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Brevoir sound recorder.\n\nWithout a command, starts Brevoir (or brings the running "
        "one to the front). The commands talk to the running instance over D-Bus "
        "(org.brevoir.Brevoir on the session bus); --start, --toggle and --snip start one "
        "first when none runs. A command that cannot do what it was asked exits non-zero "
        "with the reason."));
    parser.addHelpOption();
    parser.addVersionOption();
    for (const OptionSpec& spec : kOptions) {
        parser.addOption(QCommandLineOption(
            QString::fromLatin1(spec.name), QString::fromLatin1(spec.description),
            spec.valueName ? QString::fromLatin1(spec.valueName) : QString()));
    }
    parser.process(arguments);

    CommandLine line;
    for (const char* option : {"library", "input-device", "format", "start-at", "length", "voice",
                               "threshold", "silence", "after-silence", "pre-roll"})
        requireText(parser.value(QString::fromLatin1(option)),
                    QStringLiteral("--%1").arg(QLatin1String(option)));
    if (parser.isSet(QStringLiteral("library")))
        line.libraryFolder = QDir(parser.value(QStringLiteral("library"))).absolutePath();
    line.inputDevice = parser.value(QStringLiteral("input-device"));
    line.list = parser.isSet(QStringLiteral("list"));
    line.listInputDevices = parser.isSet(QStringLiteral("list-input-devices"));
    line.headless = parser.isSet(QStringLiteral("headless"));
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
    // The library commands: the recording named by the option, then what follows it.
    for (const char* option : {"rename", "delete", "note", "set-note", "set-category", "export"}) {
        if (parser.isSet(QString::fromLatin1(option)))
            line.commandArguments.names << parser.value(QString::fromLatin1(option));
    }
    const QStringList rest = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("set-category")))
        for (const QString& category : rest)
            requireText(category, QStringLiteral("the category"));
    if (parser.isSet(QStringLiteral("rename")) || parser.isSet(QStringLiteral("set-category")))
        line.commandArguments.names << rest;
    if (parser.isSet(QStringLiteral("set-note")))
        line.commandArguments.file = rest.value(0);
    if (parser.isSet(QStringLiteral("export"))) {
        line.commandArguments.file = rest.value(0);
        requireText(line.commandArguments.file, QStringLiteral("the FILE of --export"));
    }
    if (parser.isSet(QStringLiteral("mark"))) {
        line.commandArguments.markText = rest.join(u' ');
        requireText(line.commandArguments.markText, QStringLiteral("the text of --mark"));
    }
    line.commandArguments.format = parser.value(QStringLiteral("format"));
    line.commandArguments.percent = parser.value(QStringLiteral("input-gain"));
    line.commandArguments.startAt = parser.value(QStringLiteral("start-at"));
    line.commandArguments.length = parser.value(QStringLiteral("length"));
    const std::pair<const char*, const char*> voiceOptions[] = {{"voice", "enabled"},
                                                                {"threshold", "threshold"},
                                                                {"silence", "silence"},
                                                                {"after-silence", "afterSilence"},
                                                                {"pre-roll", "preRoll"}};
    for (const auto& [option, key] : voiceOptions)
        if (parser.isSet(QString::fromLatin1(option)))
            line.commandArguments.voice.insert(QString::fromLatin1(key),
                                               parser.value(QString::fromLatin1(option)));
    return line;
}

// Byte-exact: a recording's name that is not UTF-8 keeps its bytes (as the file names of the
// library do), instead of becoming a name the user did not type.
QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << FileNames::decode(QByteArray(argv[i]));
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
    return CommandLineClient::run(line.command, launchArgumentsOf(line), stdout, stderr,
                                  line.commandArguments);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Brevoir"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brevoir"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BREVOIR_VERSION));
    const QStringList arguments = argumentsOf(argc, argv);
    if (runsWithoutGui(arguments))
        return runTool(argc, argv, arguments);
    // From here on a signal quits the application, at any moment of its launch.
    Application::installSignalHandlers();

    // Without a window the widgets still exist, on the offscreen platform: no display needed.
    // Started by the session bus with no display to show a window on, it runs as --headless.
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (arguments.contains(QStringLiteral("--headless")) || noDisplay)
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The launcher's name: desktops match the window (Wayland's app id) and its icon to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.brevoir.Brevoir"));
    const CommandLine line = parse(arguments);
    if (CommandLineClient::activateRunningInstance()) {
        std::fprintf(stderr, "brevoir: already running; brought its window to the front\n");
        return 0;
    }
    Application application({line.libraryFolder, !line.headless && !noDisplay, line.inputDevice});
    switch (application.launch()) {
    case Application::Launch::Running:
        return application.exec();
    case Application::Launch::AnotherInstance:
        // Launched at the same moment as the instance that owns the bus: it takes over.
        CommandLineClient::activateRunningInstance();
        std::fprintf(stderr, "brevoir: already running; brought its window to the front\n");
        return 0;
    case Application::Launch::QuitRequested:
        return 0;
    case Application::Launch::Refused:
        return 2;
    }
    return 0;
}
