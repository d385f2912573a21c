#include "app/CommandLineClient.h"

#include "app/ScriptingService.h"
#include "library/NoteFormats.h"
#include "platform/foundation/FileNames.h"
#include "recording/RecordingSchedule.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {
constexpr int kLaunchTimeoutMs = 20000;
// A sync answers when it has ended: converting a large library takes a while.
constexpr int kSyncTimeoutMs = 24 * 3600 * 1000;

struct Named {
    const char* option;
    CommandLineClient::Command command;
    const char* method;
};
const Named kCommands[] = {
    {"--start", CommandLineClient::Command::Start, "StartRecording"},
    {"--stop", CommandLineClient::Command::Stop, "StopRecording"},
    {"--toggle", CommandLineClient::Command::Toggle, "Start"},
    {"--pause", CommandLineClient::Command::Pause, "Pause"},
    {"--snip", CommandLineClient::Command::Snip, "Snip"},
    {"--quit", CommandLineClient::Command::Quit, "Quit"},
    {"--status", CommandLineClient::Command::Status, nullptr},
    {"--rename", CommandLineClient::Command::Rename, "RenameRecording"},
    {"--delete", CommandLineClient::Command::Delete, "DeleteRecording"},
    {"--note", CommandLineClient::Command::Note, "GetNote"},
    {"--set-note", CommandLineClient::Command::SetNote, "SetNote"},
    {"--set-category", CommandLineClient::Command::SetCategory, "SetCategory"},
    {"--sync", CommandLineClient::Command::Sync, "Sync"},
    {"--input-gain", CommandLineClient::Command::InputGain, nullptr},
    {"--start-at", CommandLineClient::Command::StartAt, "ScheduleRecording"},
    {"--cancel-schedule", CommandLineClient::Command::CancelSchedule, "CancelSchedule"},
    {"--voice", CommandLineClient::Command::Voice, "SetVoiceActivation"},
    {"--mark", CommandLineClient::Command::Mark, "MarkRecording"},
    {"--export", CommandLineClient::Command::Export, "ExportRecording"},
};

bool worksOnLibrary(CommandLineClient::Command command) {
    using C = CommandLineClient::Command;
    return command == C::Rename || command == C::Delete || command == C::Note ||
           command == C::SetNote || command == C::SetCategory || command == C::Export;
}

// Commands that would only fail against a fresh instance, so none is started for them.
bool needsRunningInstance(CommandLineClient::Command command) {
    using C = CommandLineClient::Command;
    return command == C::Stop || command == C::Pause || command == C::Quit ||
           command == C::InputGain || command == C::CancelSchedule || command == C::Mark ||
           worksOnLibrary(command);
}

// "00:01:05.25", as the window's clock shows it.
QString clockText(double seconds) {
    const qint64 hundredths = qint64(seconds * 100 + 0.5);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(hundredths / 360000, 2, 10, QLatin1Char('0'))
        .arg(hundredths / 6000 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

// Whether the process is gone: ended, or ended and not yet reaped.
bool processGone(qint64 pid) {
    if (::kill(pid_t(pid), 0) != 0)
        return true;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype afterName = line.lastIndexOf(')');
    return afterName >= 0 && line.mid(afterName + 2, 1) == "Z";
}

int fail(FILE* err, const QString& reason, int status = 1) {
    std::fprintf(err, "brevoir: %s\n", reason.toLocal8Bit().constData());
    return status;
}

bool isRunning(QDBusConnection& bus) {
    return bus.interface() && bus.interface()->isServiceRegistered(ScriptingService::kServiceName);
}

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Starts an instance in the background and waits until it answers on the bus.
bool launchInstance(QDBusConnection& bus, const QStringList& launchArguments) {
    QDBusServiceWatcher watcher(ScriptingService::kServiceName, bus,
                                QDBusServiceWatcher::WatchForRegistration);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);

    QStringList arguments = launchArguments;
    if (!hasDisplay() && !arguments.contains(QStringLiteral("--headless")))
        arguments.prepend(QStringLiteral("--headless"));
    qint64 pid = 0;
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments, {}, &pid))
        return false;
    // An instance that refuses to start (it says why on the same terminal) ends the wait.
    QTimer exited;
    QObject::connect(&exited, &QTimer::timeout, &loop, [&] {
        if (processGone(pid))
            loop.quit();
    });
    exited.start(100);
    deadline.start(kLaunchTimeoutMs);
    if (!isRunning(bus))
        loop.exec();
    return isRunning(bus);
}

bool anyEscaped(const CommandLineClient::Arguments& given) {
    return std::any_of(given.names.begin(), given.names.end(), &FileNames::hasEscapedBytes);
}

// The D-Bus arguments of a library command; false (with the reason on err) when they are
// wrong or the note's file cannot be read.
bool libraryCallArguments(CommandLineClient::Command command,
                          const CommandLineClient::Arguments& given, QVariantList* call,
                          FILE* err) {
    using C = CommandLineClient::Command;
    const bool twoNames = command == C::Rename || command == C::SetCategory;
    const qsizetype wanted = twoNames ? 2 : worksOnLibrary(command) ? 1 : 0;
    if (given.names.size() != wanted) {
        fail(err, command == C::Rename        ? QStringLiteral("--rename needs OLD and NEW names")
                  : command == C::SetCategory ? QStringLiteral("--set-category needs a NAME and a "
                                                               "CATEGORY")
                                              : QStringLiteral("name one recording"));
        return false;
    }
    for (const QString& name : given.names)
        *call << name;
    // A name that is not UTF-8 cannot travel as a D-Bus string: the ...Bytes call takes it.
    if (anyEscaped(given)) {
        // A category is text, checked before it came here.
        const qsizetype names = command == C::SetCategory ? 1 : given.names.size();
        for (qsizetype i = 0; i < names; ++i)
            (*call)[i] = FileNames::encode(given.names.at(i));
    }
    if (command == C::Note)
        *call << (given.format.isEmpty() ? QStringLiteral("plain") : given.format);
    if (command == C::Export) {
        if (given.file.isEmpty()) {
            fail(err, QStringLiteral("--export needs a FILE to write (after NAME)"));
            return false;
        }
        // The instance runs elsewhere: the file is named from here.
        *call << QDir::current().absoluteFilePath(given.file);
        return true;
    }
    if (command != C::SetNote)
        return true;
    if (given.file.isEmpty()) {
        fail(err, QStringLiteral("--set-note needs a FILE (or - for standard input)"));
        return false;
    }
    QFile file;
    const bool fromInput = given.file == QLatin1String("-");
    // By its bytes; a pipe is welcome here (`--set-note NAME <(...)`).
    const int fd =
        fromInput ? -1 : ::open(FileNames::encode(given.file).constData(), O_RDONLY | O_CLOEXEC);
    const bool opened =
        fromInput ? file.open(stdin, QIODevice::ReadOnly)
                  : fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (!opened) {
        fail(err, QStringLiteral("%1: %2").arg(FileNames::displayName(given.file),
                                               fd < 0 ? QString::fromLocal8Bit(std::strerror(errno))
                                                      : file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    QString format = given.format;
    if (format.isEmpty())
        format = fromInput ? QStringLiteral("plain")
                           : NoteFormats::scriptName(NoteFormats::formatOfFileName(given.file));
    // RTF is bytes: each travels as one character and is read back as it was.
    *call << (format == QLatin1String("rtf") ? QString::fromLatin1(bytes)
                                             : QString::fromUtf8(bytes))
          << format;
    return true;
}
// The arguments of --start-at and --voice; false (with the reason on err) when they are wrong.
bool termsCallArguments(CommandLineClient::Command command,
                        const CommandLineClient::Arguments& given, QVariantList* call, FILE* err) {
    using C = CommandLineClient::Command;
    if (command == C::StartAt) {
        const auto start = ScheduleText::parseStart(given.startAt, QDateTime::currentDateTime());
        if (!start) {
            fail(err, QStringLiteral("--start-at takes 14:00, 14:00:30, \"tomorrow 14:00\", "
                                     "\"2026-03-14 14:00\", +90s or @UNIXTIME, not \"%1\"")
                          .arg(given.startAt));
            return false;
        }
        const auto length = given.length.isEmpty() ? std::optional<double>(0)
                                                   : ScheduleText::parseDuration(given.length);
        if (!length) {
            fail(err, QStringLiteral("--length takes 90, 90s, 2m, 1h30m or 1:30, not \"%1\"")
                          .arg(given.length));
            return false;
        }
        *call << QVariant::fromValue(qlonglong(start->toSecsSinceEpoch())) << *length;
        return true;
    }
    if (command == C::Mark) {
        *call << given.markText;
        return true;
    }
    if (command != C::Voice)
        return true;
    QVariantMap settings;
    for (auto it = given.voice.begin(); it != given.voice.end(); ++it) {
        const QString& key = it.key();
        const QString value = it.value().trimmed().toLower();
        if (key == QLatin1String("enabled")) {
            if (value != QLatin1String("on") && value != QLatin1String("off")) {
                fail(err, QStringLiteral("--voice takes on or off, not \"%1\"").arg(it.value()));
                return false;
            }
            settings.insert(key, value == QLatin1String("on"));
        } else if (key == QLatin1String("afterSilence")) {
            settings.insert(key, value);
        } else {
            bool ok = false;
            const double number = value.endsWith(QLatin1String("s"))
                                      ? value.chopped(1).toDouble(&ok)
                                      : value.toDouble(&ok);
            if (!ok) {
                fail(err, QStringLiteral("%1 takes a number, not \"%2\"")
                              .arg(key == QLatin1String("threshold") ? "--threshold"
                                   : key == QLatin1String("silence") ? "--silence"
                                                                     : "--pre-roll",
                                   it.value()));
                return false;
            }
            settings.insert(key, number);
        }
    }
    *call << settings;
    return true;
}

// The lines --status adds for a schedule and for voice activation.
void printTerms(QDBusInterface& brevoir, FILE* out) {
    const qlonglong start = brevoir.property("ScheduledStart").toLongLong();
    if (start > 0) {
        const double length = brevoir.property("ScheduledLength").toDouble();
        std::fprintf(out, "scheduled: %s%s\n",
                     qPrintable(QDateTime::fromSecsSinceEpoch(start).toString(Qt::ISODate)),
                     length > 0 ? qPrintable(QStringLiteral(" for %1").arg(clockText(length)))
                                : "");
    }
    const QVariantMap voice = qdbus_cast<QVariantMap>(brevoir.property("VoiceActivation"));
    if (voice.value(QStringLiteral("enabled")).toBool()) {
        std::fprintf(out, "voice activation: %s dBFS, %s after %s s of silence, %s s before\n",
                     qPrintable(voice.value(QStringLiteral("threshold")).toString()),
                     qPrintable(voice.value(QStringLiteral("afterSilence")).toString()),
                     qPrintable(voice.value(QStringLiteral("silence")).toString()),
                     qPrintable(voice.value(QStringLiteral("preRoll")).toString()));
    }
}

// Sets the input gain to PERCENT / 100; the instance's refusal is the reason printed.
int setInputGain(QDBusInterface& brevoir, const QString& percentText, FILE* err) {
    bool number = false;
    const double percent = percentText.trimmed().remove(u'%').toDouble(&number);
    if (!number)
        return fail(err, QStringLiteral("--input-gain takes a percentage, such as 80"), 2);
    const QDBusMessage reply = brevoir.call(QStringLiteral("SetInputGain"), percent / 100);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return fail(err, reply.errorMessage());
    return 0;
}
} // namespace

bool CommandLineClient::commandForOption(const QString& option, Command* command) {
    for (const Named& named : kCommands) {
        if (option == QLatin1String(named.option)) {
            *command = named.command;
            return true;
        }
    }
    return false;
}

int CommandLineClient::run(Command command, const QStringList& launchArguments, FILE* out,
                           FILE* err, const Arguments& arguments) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return fail(err, QStringLiteral("scripting is unavailable: no D-Bus session bus"), 2);

    if (!isRunning(bus)) {
        if (command == Command::Status) {
            std::fprintf(out, "not running\n");
            return 1;
        }
        if (command == Command::Quit)
            return fail(err, QStringLiteral("no instance is running"));
        if (command == Command::Stop || command == Command::Pause)
            return fail(err, QStringLiteral("Brevoir is not running, so nothing is recording"));
        if (needsRunningInstance(command))
            return fail(err, QStringLiteral("Brevoir is not running; start it first"));
        if (!launchInstance(bus, launchArguments))
            return fail(err, QStringLiteral("could not start Brevoir"));
    }

    QDBusInterface brevoir(ScriptingService::kServiceName, ScriptingService::kObjectPath,
                           ScriptingService::kInterface, bus);
    if (command == Command::Status || command == Command::Pause) {
        const QVariant state = brevoir.property("State");
        if (!state.isValid())
            return fail(err, brevoir.lastError().message());
        const bool recording = state.toString() == QLatin1String("recording") ||
                               state.toString() == QLatin1String("paused");
        if (command == Command::Pause && !recording)
            return fail(err, QStringLiteral("no recording is running"));
        if (command == Command::Status) {
            // The state alone on the first line, for scripts that compare it.
            std::fprintf(out, "%s\n", state.toString().toLocal8Bit().constData());
            if (recording) {
                std::fprintf(
                    out, "elapsed: %s\nfile: %s\n",
                    qPrintable(clockText(brevoir.property("ElapsedTime").toDouble())),
                    brevoir.property("RecordingFile").toString().toLocal8Bit().constData());
            }
            // A sync runs beside a recording, too.
            if (const QString sync = brevoir.property("SyncProgress").toString(); !sync.isEmpty())
                std::fprintf(out, "sync: %s\n", sync.toLocal8Bit().constData());
            printTerms(brevoir, out);
            return 0;
        }
    }
    if (command == Command::InputGain)
        return setInputGain(brevoir, arguments.percent, err);
    QString method;
    for (const Named& named : kCommands)
        if (named.command == command)
            method = QString::fromLatin1(named.method);
    if (worksOnLibrary(command) && anyEscaped(arguments))
        method += QLatin1String("Bytes");
    QVariantList callArguments;
    if (!libraryCallArguments(command, arguments, &callArguments, err) ||
        !termsCallArguments(command, arguments, &callArguments, err))
        return 2;
    if (command == Command::Sync || command == Command::Export)
        brevoir.setTimeout(kSyncTimeoutMs);
    const QDBusMessage reply = brevoir.callWithArgumentList(QDBus::Block, method, callArguments);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return fail(err, reply.errorMessage());
    if (command == Command::Start || command == Command::Stop || command == Command::Mark)
        std::fprintf(out, "%s\n", reply.arguments().value(0).toString().toLocal8Bit().constData());
    if (command == Command::StartAt)
        printTerms(brevoir, out);
    if (command == Command::Note) {
        const QByteArray note = reply.arguments().value(0).toString().toUtf8();
        std::fwrite(note.constData(), 1, size_t(note.size()), out);
        if (!note.isEmpty() && !note.endsWith('\n'))
            std::fputc('\n', out);
    }
    return 0;
}

bool CommandLineClient::activateRunningInstance() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !isRunning(bus))
        return false;
    QDBusInterface brevoir(ScriptingService::kServiceName, ScriptingService::kObjectPath,
                           ScriptingService::kInterface, bus);
    return brevoir.call(QStringLiteral("Activate")).type() != QDBusMessage::ErrorMessage;
}
