#include "app/CommandLineClient.h"

#include "app/ScriptingService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace {
constexpr int kLaunchTimeoutMs = 20000;

struct Named {
    const char* option;
    CommandLineClient::Command command;
    const char* method;
};
const Named kCommands[] = {
    {"--start", CommandLineClient::Command::Start, "Start"},
    {"--stop", CommandLineClient::Command::Stop, "Stop"},
    {"--pause", CommandLineClient::Command::Pause, "Pause"},
    {"--snip", CommandLineClient::Command::Snip, "Snip"},
    {"--quit", CommandLineClient::Command::Quit, "Quit"},
    {"--status", CommandLineClient::Command::Status, nullptr},
};

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
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments))
        return false;
    deadline.start(kLaunchTimeoutMs);
    if (!isRunning(bus))
        loop.exec();
    return isRunning(bus);
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
                           FILE* err) {
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
        if (!launchInstance(bus, launchArguments))
            return fail(err, QStringLiteral("could not start Brevoir"));
    }

    QDBusInterface brevoir(ScriptingService::kServiceName, ScriptingService::kObjectPath,
                           ScriptingService::kInterface, bus);
    if (command == Command::Status) {
        const QVariant state = brevoir.property("State");
        if (!state.isValid())
            return fail(err, brevoir.lastError().message());
        std::fprintf(out, "%s\n", state.toString().toLocal8Bit().constData());
        return 0;
    }
    const char* method = nullptr;
    for (const Named& named : kCommands)
        if (named.command == command)
            method = named.method;
    const QDBusMessage reply = brevoir.call(QString::fromLatin1(method));
    if (reply.type() == QDBusMessage::ErrorMessage)
        return fail(err, reply.errorMessage());
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
