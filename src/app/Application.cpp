#include "app/Application.h"

#include "app/BVController.h"
#include "app/DesktopActivation.h"
#include "app/InputDeviceOverride.h"
#include "app/MainInterface.h"
#include "app/ScriptingService.h"
#include "platform/audio/AudioDevices.h"
#include "platform/audio/PortAudioLibrary.h"
#include "platform/audio/SequenceGrabber.h"
#include "platform/audio/SoundSources.h"
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
std::atomic<bool> gQuitRequested{false};
std::atomic<bool> gLaunching{true};
static_assert(std::atomic<bool>::is_always_lock_free, "touched from a signal handler");

// How long a launch may take to reach its next check after a quit was asked. A launch stuck
// in a call that never returns (a hung read) ends when this runs out.
constexpr unsigned kLaunchQuitGraceSeconds = 3;

void onSignal(int) {
    // Only async-signal-safe work here; the launch checks the flag, the event loop the pipe.
    gQuitRequested.store(true);
    if (gLaunching.load())
        ::alarm(kLaunchQuitGraceSeconds);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalPipe[0], &byte, 1);
}

void onLaunchQuitGraceOver(int) {
    // Nothing the user made exists yet while launching: there is nothing to save.
    ::_exit(0);
}

void watchSignalPipe() {
    static bool watching = false;
    if (watching || gSignalPipe[1] == -1 || !QCoreApplication::instance())
        return;
    watching = true;
    auto* notifier = new QSocketNotifier(gSignalPipe[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(gSignalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });
}
} // namespace

void Application::installSignalHandlers() {
    if (gSignalPipe[0] != -1)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    struct sigaction grace = {};
    grace.sa_handler = onLaunchQuitGraceOver;
    sigemptyset(&grace.sa_mask);
    sigaction(SIGALRM, &grace, nullptr);
    watchSignalPipe();
}

const std::atomic<bool>* Application::quitRequest() {
    return &gQuitRequested;
}

Application::Application(Options options) : _options(std::move(options)) {}

Application::~Application() {
    terminate();
    _scripting.reset();
    _controller.reset();
    _interface.reset();
}

Application::Launch Application::launch() {
    if (gQuitRequested.load())
        return Launch::QuitRequested;
    LocalizedStrings::install();
    BVController::initialize();
    if (!_options.inputDevice.isEmpty()) {
        // By its description or its stable name. Recording from the default input instead would
        // record the wrong thing silently.
        PortAudioLibrary::Session session;
        QString why;
        const QString device = AudioDevices::resolve(_options.inputDevice, &why);
        if (device.isEmpty()) {
            std::fprintf(stderr, "brevoir: %s; the inputs are:\n", why.toLocal8Bit().constData());
            printInputs(stderr, "  ");
            return Launch::Refused;
        }
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

    // One instance per session: the bus grants the name to exactly one of two launches made at
    // the same moment, so it is claimed before the long work. Calls that arrive meanwhile wait
    // for the event loop, which runs once the launch is done.
    _scripting = std::make_unique<ScriptingService>(*_controller);
    new DesktopActivation(_scripting.get()); // the launcher's way in; the service owns it
    if (_scripting->registerOnSessionBus() == ScriptingService::Registration::AlreadyRunning)
        return Launch::AnotherInstance;

    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [this] { terminate(); });
    // Logging out ends the application through the same quit path.
    if (auto* gui = qobject_cast<QGuiApplication*>(qApp)) {
        QObject::connect(gui, &QGuiApplication::commitDataRequest, gui,
                         [] { QCoreApplication::quit(); });
    }
    watchSignalPipe();

    if (_options.showWindow)
        _interface->window()->show();
    else
        _controller->setStatusDisplayHidden(true);
    _controller->applicationDidFinishLaunching();
    if (gQuitRequested.load())
        return Launch::QuitRequested;
    _launched = true;
    gLaunching.store(false);
    return Launch::Running;
}

int Application::printInputDevices(FILE* out, FILE* err) {
    PortAudioLibrary::Session session;
    if (const QString why = SoundSources::shared().unavailableReason(); !why.isEmpty())
        std::fprintf(err, "brevoir: no sound server's sources: %s\n",
                     why.toLocal8Bit().constData());
    if (!printInputs(out, "")) {
        std::fprintf(err, "brevoir: no input devices found\n");
        return 1;
    }
    return 0;
}

bool Application::printInputs(FILE* out, const char* indent) {
    // What people read, then the name the settings and --input-device take, then what it is.
    using Kind = AudioDevices::Input::Kind;
    const QList<AudioDevices::Input> inputs = AudioDevices::inputs();
    for (const AudioDevices::Input& input : inputs) {
        const char* kind = input.kind == Kind::Monitor  ? "monitor"
                           : input.kind == Kind::Device ? "device"
                           : input.isDefault            ? "default"
                                                        : "input";
        // In English, as all our command-line output.
        const QString label = input.kind == Kind::Monitor
                                  ? QStringLiteral("Monitor of %1").arg(input.monitorOf)
                                  : input.label;
        std::fprintf(out, "%s%s\t%s\t%s\n", indent, label.toLocal8Bit().constData(),
                     input.name.toLocal8Bit().constData(), kind);
    }
    return !inputs.isEmpty();
}

int Application::exec() {
    return QCoreApplication::exec();
}

void Application::terminate() {
    // A launch that did not finish restored nothing the user could have changed, and saving
    // its half-loaded state would overwrite the library's categories.
    if (_terminated || !_controller || !_launched)
        return;
    _terminated = true;
    _controller->applicationWillTerminate();
    Defaults::standard().synchronize();
}
