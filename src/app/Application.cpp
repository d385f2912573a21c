#include "app/Application.h"

#include "app/BVController.h"
#include "app/InputDeviceOverride.h"
#include "app/MainInterface.h"
#include "app/ScriptingService.h"
#include "platform/audio/SequenceGrabber.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "recording/QKRecorder.h"

#include <QApplication>
#include <QMainWindow>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t written = ::write(gSignalPipe[0], &byte, 1);
}
} // namespace

void Application::installSignalHandlers() {
    if (gSignalPipe[0] != -1 || !QCoreApplication::instance())
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(gSignalPipe[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(gSignalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

Application::Application(Options options) : _options(std::move(options)) {}

Application::~Application() {
    terminate();
    _scripting.reset();
    _controller.reset();
    _interface.reset();
}

void Application::launch() {
    LocalizedStrings::install();
    BVController::initialize();
    if (!_options.inputDevice.isEmpty()) {
        const QString device = _options.inputDevice;
        BVController::setRecorderFactory([device] {
            return QKRecorder::create(
                [device] { return WithInputDevice(OpenDefaultGrabber(), device); });
        });
    }
    _controller = std::make_unique<BVController>();
    _interface = std::make_unique<MainInterface>();
    _interface->connect(*_controller);
    if (!_options.libraryFolder.isEmpty())
        _controller->setLibraryFolderOverride(_options.libraryFolder);

    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [this] { terminate(); });
    // Logging out ends the application through the same quit path.
    if (auto* gui = qobject_cast<QGuiApplication*>(qApp)) {
        QObject::connect(gui, &QGuiApplication::commitDataRequest, gui,
                         [] { QCoreApplication::quit(); });
    }

    if (_options.showWindow)
        _interface->window()->show();
    else
        _controller->setStatusDisplayHidden(true);
    _controller->applicationDidFinishLaunching();

    // Scripts reach the application once it has launched.
    _scripting = std::make_unique<ScriptingService>(*_controller);
    if (_scripting->registerOnSessionBus() == ScriptingService::Registration::AlreadyRunning)
        bvLog(QStringLiteral("scripting is unavailable: another Brevoir owns the bus name"));
}

int Application::printInputDevices(FILE* out, FILE* err) {
    const QStringList names = InputDeviceNames();
    if (names.isEmpty()) {
        std::fprintf(err, "brevoir: no input devices found\n");
        return 1;
    }
    for (const QString& name : names)
        std::fprintf(out, "%s\n", name.toLocal8Bit().constData());
    return 0;
}

int Application::exec() {
    return QCoreApplication::exec();
}

void Application::terminate() {
    if (_terminated || !_controller)
        return;
    _terminated = true;
    _controller->applicationWillTerminate();
    Defaults::standard().synchronize();
}
