// Records from a capture device for a set time with the recorder and, in the same run, with
// arecord, and compares the CPU time each process spends per minute of audio. With --window
// the main window is shown and its meter and time display follow the recording.
#include "app/BVController.h"
#include "app/MainInterface.h"
#include "platform/foundation/NotificationCenter.h"
#include "recording/QKRecorder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {
double cpuSeconds(const rusage& usage) {
    return double(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6 +
           double(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec / 1e6;
}

double selfCpuSeconds(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    return cpuSeconds(usage);
}

// arecord on the same device for the same time: its CPU seconds, or a negative value.
double arecordCpuSeconds(const QString& device, int seconds, const QString& output) {
    const QByteArray dev = device.toLocal8Bit(), secs = QByteArray::number(seconds),
                     out = output.toLocal8Bit();
    const char* argv[] = {"arecord",
                          "-q",
                          "-D",
                          dev.constData(),
                          "-f",
                          "cd",
                          "-t",
                          "wav",
                          "-d",
                          secs.constData(),
                          out.constData(),
                          nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "arecord", nullptr, nullptr, const_cast<char* const*>(argv), environ) !=
        0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return cpuSeconds(usage);
}

double fileSeconds(const QString& path) {
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of",
                            "default=noprint_wrappers=1:nokey=1", path});
    if (!probe.waitForFinished(30000))
        return -1;
    bool ok = false;
    const double seconds = probe.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? seconds : -1;
}

// The platform's grabber, kept at hand so that the bench can point it at its device.
QKRecorder::GrabberFactory keepingGrabber(SequenceGrabber** grabber) {
    return [grabber]() -> std::unique_ptr<SequenceGrabber> {
        std::unique_ptr<SequenceGrabber> opened = OpenDefaultGrabber();
        *grabber = opened.get();
        return opened;
    };
}

bool selectDevice(SequenceGrabber* grabber, const QString& device, int monitorVolume) {
    ChannelSettings settings;
    if (!grabber || grabber->getChannelSettings(&settings) != GrabberErr::noErr)
        return false;
    settings.inputDevice = device;
    settings.sampleRate = 44100;
    settings.channels = 2;
    settings.sampleBits = 16;
    settings.compression = ChannelSettings::Compression::None;
    if (monitorVolume >= 0)
        settings.monitorVolume = monitorVolume;
    return grabber->setChannelSettings(settings) == GrabberErr::noErr;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Recorder CPU use per minute of audio, beside arecord.");
    parser.addHelpOption();
    parser.addOption({"seconds", "Length of each recording.", "seconds", "60"});
    parser.addOption({"window", "Show the main window with its meter while recording."});
    parser.addOption({"device", "Capture device (an ALSA PCM name).", "device",
                      qEnvironmentVariable("BREVOIR_TEST_CAPTURE_PCM", "brevoir_test_capture")});
    parser.addOption({"monitor-volume",
                      "Playthrough volume, 0-256 (default: the channel's own, 16).", "volume",
                      "-1"});
    parser.process(app);
    const int seconds = parser.value("seconds").toInt();
    const bool window = parser.isSet("window");
    const QString device = parser.value("device");
    if (seconds <= 0) {
        std::fprintf(stderr, "--seconds wants a positive number\n");
        return 2;
    }

    QTemporaryDir folder;
    std::printf("recording %d s from %s, %s\n", seconds, qPrintable(device),
                window ? "main window shown" : "no window");

    const double arecordCpu = arecordCpuSeconds(device, seconds, folder.filePath("arecord.wav"));
    if (arecordCpu < 0) {
        std::fprintf(stderr, "arecord failed\n");
        return 1;
    }

    std::unique_ptr<BVController> controller;
    std::unique_ptr<MainInterface> ui;
    std::unique_ptr<QKRecorder> ownRecorder;
    QKRecorder* recorder = nullptr;
    SequenceGrabber* grabber = nullptr;
    if (window) {
        BVController::initialize();
        BVController::setRecorderFactory(
            [&grabber] { return QKRecorder::create(keepingGrabber(&grabber)); });
        controller = std::make_unique<BVController>();
        ui = std::make_unique<MainInterface>();
        ui->connect(*controller);
        ui->window()->show();
        recorder = controller->recorder();
    } else {
        ownRecorder = QKRecorder::create(keepingGrabber(&grabber));
        recorder = ownRecorder.get();
    }
    if (!recorder) {
        std::fprintf(stderr, "no recorder: the sound input could not be set up\n");
        return 1;
    }
    if (!selectDevice(grabber, device, parser.value("monitor-volume").toInt())) {
        std::fprintf(stderr, "could not select the device %s\n", qPrintable(device));
        return 1;
    }

    QSet<int> levelsSeen;
    int problems = 0;
    int statuses = 0;
    int marker = 0;
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(&marker, QKRecorderRecordingStatusUpdate, [&](const Notification& n) {
        ++statuses;
        levelsSeen.insert(n.userInfo.value("left").toInt());
    });
    center.addObserver(&marker, QKRecorderCaptureProblem, [&](const Notification& n) {
        ++problems;
        std::fprintf(stderr, "capture problem: %s\n",
                     qPrintable(n.userInfo.value("message").toString()));
    });

    const QString movie = folder.filePath("brevoir.mov");
    recorder->setTempFile(movie);
    const double cpuBefore = selfCpuSeconds();
    const double mainBefore = selfCpuSeconds(RUSAGE_THREAD);
    QElapsedTimer clock;
    clock.start();
    if (!recorder->doRecord()) {
        std::fprintf(stderr, "the recording did not start\n");
        return 1;
    }
    QTimer::singleShot(seconds * 1000, &app, [&] { app.quit(); });
    app.exec();
    const uint64_t overruns = recorder->captureHealth().overruns;
    recorder->doStop();
    const double wall = clock.elapsed() / 1000.0;
    const double ownCpu = selfCpuSeconds() - cpuBefore;
    const double mainCpu = selfCpuSeconds(RUSAGE_THREAD) - mainBefore;
    center.removeObserver(&marker);

    const double ownPerMinute = ownCpu * 60.0 / wall;
    const double arecordPerMinute = arecordCpu * 60.0 / seconds;
    const double ratio = ownPerMinute / arecordPerMinute;
    const double target = window ? 5.0 : 2.0;
    const bool pass = ratio <= target && overruns == 0 && problems == 0;
    std::printf("  brevoir: %.3f CPU-s per minute of audio (%.2f CPU-s over %.1f s), "
                "%d polls, %d distinct levels, overruns %llu, file %.1f s\n",
                ownPerMinute, ownCpu, wall, statuses, int(levelsSeen.size()),
                static_cast<unsigned long long>(overruns), fileSeconds(movie));
    // The main thread runs the recorder's poll and the window; the capture layer's threads
    // (device callbacks, sound server client, file writer) the rest.
    std::printf("  of which main thread %.3f, capture threads %.3f CPU-s per minute\n",
                mainCpu * 60.0 / wall, (ownCpu - mainCpu) * 60.0 / wall);
    std::printf("  arecord: %.3f CPU-s per minute of audio (%.2f CPU-s over %d s)\n",
                arecordPerMinute, arecordCpu, seconds);
    std::printf("  ratio %.2f (target at most %.0fx, no overruns): %s\n", ratio, target,
                pass ? "PASS" : "FAIL");
    std::fflush(stdout);

    ui.reset();
    controller.reset();
    BVController::setRecorderFactory(nullptr);
    return pass ? 0 : 1;
}
