// Plays a recording through the player (the real window, library list and movie view) and,
// on the same file and output, through ffplay, and compares the CPU time each process spends.
// Also measures what the player costs once playback has ended.
#include "app/BVController.h"
#include "app/MainInterface.h"
#include "library/QKArrayController.h"
#include "platform/audio/PortAudioLibrary.h"
#include "platform/media/BVMovieView.h"
#include "recording/QKRecorder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {
struct Cost {
    double cpu = -1;  // seconds of user + system time
    double wall = -1; // seconds
};

double cpuSeconds(const rusage& usage) {
    return double(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6 +
           double(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec / 1e6;
}

double selfCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return cpuSeconds(usage);
}

// Runs the event loop until the condition holds or the deadline passes.
bool runUntil(const std::function<bool()>& condition, int timeoutMs) {
    QEventLoop loop;
    QDeadlineTimer deadline(timeoutMs);
    bool held = condition();
    QTimer check;
    check.setInterval(20);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        held = condition();
        if (held || deadline.hasExpired())
            loop.quit();
    });
    if (!held) {
        check.start();
        loop.exec();
    }
    return held;
}

bool makeRecording(const QString& path, int seconds) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                            QStringLiteral("sine=frequency=440:duration=%1").arg(seconds), "-ar",
                            "44100", "-ac", "2", "-c:a", "pcm_s16le", path});
    return ffmpeg.waitForFinished(120000) && ffmpeg.exitCode() == 0;
}

// A fresh sound server holds back its first stream for a moment; let that pass before
// anything is measured.
void settleOutput() {
    PortAudioLibrary::Session session;
    PaStreamParameters output{Pa_GetDefaultOutputDevice(), 2, paFloat32, 0.1, nullptr};
    if (!session.ok() || output.device < 0)
        return;
    std::atomic<long> played{0};
    PaStream* stream = nullptr;
    auto silence = [](const void*, void* out, unsigned long frames, const PaStreamCallbackTimeInfo*,
                      PaStreamCallbackFlags, void* counter) {
        std::fill_n(static_cast<float*>(out), frames * 2, 0.0f);
        static_cast<std::atomic<long>*>(counter)->fetch_add(long(frames));
        return int(paContinue);
    };
    if (Pa_OpenStream(&stream, nullptr, &output, 44100, paFramesPerBufferUnspecified, paNoFlag,
                      silence, &played) != paNoError)
        return;
    if (Pa_StartStream(stream) == paNoError)
        runUntil([&] { return played.load() >= 44100 / 2; }, 10000);
    Pa_AbortStream(stream);
    Pa_CloseStream(stream);
}

// ffplay on the same file, with extra environment settings: its CPU as wait4 reports it.
Cost ffplayCost(const QString& file, const QStringList& environment) {
    const QByteArray path = file.toLocal8Bit();
    const char* argv[] = {"ffplay", "-nodisp",        "-autoexit", "-loglevel",
                          "quiet",  path.constData(), nullptr};
    QList<QByteArray> variables;
    for (char** e = environ; *e; ++e)
        variables << QByteArray(*e);
    for (const QString& setting : environment)
        variables << setting.toLocal8Bit();
    std::vector<char*> envp;
    for (QByteArray& v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);

    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "ffplay", nullptr, nullptr, const_cast<char* const*>(argv),
                     envp.data()) != 0)
        return {};
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return {cpuSeconds(usage), clock.elapsed() / 1000.0};
}

void print(const char* what, const Cost& cost) {
    if (cost.cpu < 0) {
        std::printf("%-34s failed\n", what);
        return;
    }
    std::printf("%-34s %7.3f s CPU over %6.2f s (%5.2f %% of a core)\n", what, cost.cpu, cost.wall,
                100.0 * cost.cpu / cost.wall);
}
// Plays the selected recording from its start to the end the poll finds; its CPU and time.
Cost playToEnd(BVController& controller, int seconds) {
    QElapsedTimer clock;
    clock.start();
    const double before = selfCpuSeconds();
    controller.soundPlayPause(nullptr);
    if (!controller.qtPlayer()->isPlaying()) {
        std::fprintf(stderr, "the player did not start: %s\n",
                     qPrintable(controller.qtPlayer()->message()));
        return {};
    }
    // The poll empties the movie view when it finds the end.
    if (!runUntil([&] { return !controller.qtPlayer()->hasMovie(); }, (seconds + 30) * 1000)) {
        std::fprintf(stderr, "the player did not reach the end\n");
        return {};
    }
    return {selfCpuSeconds() - before, clock.elapsed() / 1000.0};
}

// The process at rest for a few seconds.
Cost idleCost() {
    QElapsedTimer clock;
    clock.start();
    const double before = selfCpuSeconds();
    runUntil([] { return false; }, 5000);
    return {selfCpuSeconds() - before, clock.elapsed() / 1000.0};
}

void printRatio(const char* what, const Cost& player, const Cost& reference) {
    if (player.cpu >= 0 && reference.cpu > 0)
        std::printf("%-34s %7.2f\n", what, player.cpu / reference.cpu);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("CPU of the player beside ffplay on the same recording.");
    parser.addHelpOption();
    parser.addOption({"seconds", "Length of the generated recording.", "seconds", "60"});
    parser.addOption({"file", "Play this file instead of a generated recording.", "path"});
    parser.addOption({"no-ffplay", "Measure the player only."});
    parser.process(app);
    const int seconds = std::max(1, parser.value("seconds").toInt());

    QTemporaryDir work;
    const QString library = work.filePath("Library");
    QDir().mkpath(library + "/Recordings");
    QString file = library + "/Recordings/Recording bench.mov";
    if (parser.isSet("file")) {
        file = library + "/Recordings/" + QFileInfo(parser.value("file")).fileName();
        if (!QFile::copy(parser.value("file"), file)) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(parser.value("file")));
            return 1;
        }
    } else if (!makeRecording(file, seconds)) {
        std::fprintf(stderr, "ffmpeg could not make the recording\n");
        return 1;
    }

    BVController::initialize();
    BVController::setRecorderFactory([] { return std::unique_ptr<QKRecorder>(); });
    auto controller = std::make_unique<BVController>();
    auto interface = std::make_unique<MainInterface>();
    interface->connect(*controller);
    controller->setLibraryFolderOverride(library);
    controller->applicationDidFinishLaunching();
    if (!controller->_fileListArrayController->setSelectionIndexes({0})) {
        std::fprintf(stderr, "the recording is not listed\n");
        return 1;
    }
    settleOutput();

    // With the window shown, the poll's time display and the transport are drawn as they
    // change; hidden, only the sound and the poll remain, as in ffplay -nodisp.
    interface->window()->show();
    runUntil([] { return false; }, 500); // the window settles
    const Cost shown = playToEnd(*controller, seconds);
    const Cost shownIdle = idleCost();
    interface->window()->hide();
    runUntil([] { return false; }, 500);
    const Cost hidden = playToEnd(*controller, seconds);
    const Cost hiddenIdle = idleCost();
    controller.reset();
    interface.reset();

    std::printf("file: %s\n", qPrintable(QFileInfo(file).fileName()));
    print("player, window shown", shown);
    print("  idle afterwards", shownIdle);
    print("player, window hidden", hidden);
    print("  idle afterwards", hiddenIdle);
    if (shown.cpu < 0 || hidden.cpu < 0)
        return 1;
    if (parser.isSet("no-ffplay"))
        return 0;
    const Cost ffplay = ffplayCost(file, {});
    const Cost ffplayAlsa = ffplayCost(file, {"SDL_AUDIODRIVER=alsa", "AUDIODEV=pulse"});
    print("ffplay -nodisp (SDL's own output)", ffplay);
    print("ffplay -nodisp (ALSA \"pulse\")", ffplayAlsa);
    printRatio("ratio shown / ffplay", shown, ffplay);
    printRatio("ratio shown / ffplay (ALSA)", shown, ffplayAlsa);
    printRatio("ratio hidden / ffplay", hidden, ffplay);
    printRatio("ratio hidden / ffplay (ALSA)", hidden, ffplayAlsa);
    return 0;
}
