// Records from a capture device for a set time with the recorder and, in the same run, with
// arecord, and compares the CPU time each process spends per minute of audio. With --window
// the main window is shown and its meter and time display follow the recording.
#include "app/BVController.h"
#include "app/MainInterface.h"
#include "platform/foundation/NotificationCenter.h"
#include "recording/QKRecorder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// CPU seconds of each of this process's threads, by thread name.
QMap<QString, double> threadCpuSeconds() {
    QMap<QString, double> byName;
    const double tick = double(sysconf(_SC_CLK_TCK));
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& id : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(id + "/comm")), stat(tasks.filePath(id + "/stat"));
        if (!comm.open(QIODevice::ReadOnly) || !stat.open(QIODevice::ReadOnly))
            continue;
        const QString name = QString::fromUtf8(comm.readAll().trimmed());
        // Fields after the parenthesised name: state is the 3rd field, utime the 14th.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            byName[name + "/" + id] += (fields[11].toDouble() + fields[12].toDouble()) / tick;
    }
    return byName;
}

// What the event loop alone costs for a repeating timer at the recorder's poll interval and
// nothing else: the floor under the recorder's poll on this machine.
double emptyTimerCpuPerMinute(QCoreApplication& app, int seconds) {
    QTimer timer;
    timer.setInterval(QKRecorder::kIdleIntervalMs);
    QObject::connect(&timer, &QTimer::timeout, [] {});
    const double before = selfCpuSeconds(RUSAGE_THREAD);
    QElapsedTimer clock;
    clock.start();
    timer.start();
    QTimer::singleShot(seconds * 1000, &app, [&] { app.quit(); });
    app.exec();
    return (selfCpuSeconds(RUSAGE_THREAD) - before) * 60.0 / (clock.elapsed() / 1000.0);
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

    // Set up as the application does: without a window, as --headless runs it.
    SequenceGrabber* grabber = nullptr;
    BVController::initialize();
    BVController::setRecorderFactory(
        [&grabber] { return QKRecorder::create(keepingGrabber(&grabber)); });
    auto controller = std::make_unique<BVController>();
    auto ui = std::make_unique<MainInterface>();
    ui->connect(*controller);
    if (window)
        ui->window()->show();
    else
        controller->setStatusDisplayHidden(true);
    QKRecorder* recorder = controller->recorder();
    if (!recorder) {
        std::fprintf(stderr, "no recorder: the sound input could not be set up\n");
        return 1;
    }
    if (!selectDevice(grabber, device, parser.value("monitor-volume").toInt())) {
        std::fprintf(stderr, "could not select the device %s\n", qPrintable(device));
        return 1;
    }

    // Kept cheap: this observer runs on every poll, inside the time measured.
    std::array<bool, 99> levelsSeen{};
    int problems = 0;
    int statuses = 0;
    int marker = 0;
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(&marker, QKRecorderRecordingStatusUpdate, [&](const Notification& n) {
        ++statuses;
        levelsSeen[size_t(std::clamp(n.userInfo.value(QStringLiteral("left")).toInt(), 0, 98))] =
            true;
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
    const double startCpu = selfCpuSeconds(RUSAGE_THREAD) - mainBefore;
    const QMap<QString, double> threadsBefore = threadCpuSeconds();
    QTimer::singleShot(seconds * 1000, &app, [&] { app.quit(); });
    app.exec();
    const uint64_t overruns = recorder->captureHealth().overruns;
    const QMap<QString, double> threads = threadCpuSeconds();
    recorder->doStop();
    const double wall = clock.elapsed() / 1000.0;
    const double ownCpu = selfCpuSeconds() - cpuBefore;
    const double mainCpu = selfCpuSeconds(RUSAGE_THREAD) - mainBefore;
    center.removeObserver(&marker);
    const double floorPerMinute = emptyTimerCpuPerMinute(app, std::min(seconds, 20));

    const double ownPerMinute = ownCpu * 60.0 / wall;
    const double arecordPerMinute = arecordCpu * 60.0 / seconds;
    const double ratio = ownPerMinute / arecordPerMinute;
    const double target = window ? 3.0 : 1.5;
    const bool pass = ratio <= target && overruns == 0 && problems == 0;
    std::printf("  brevoir: %.3f CPU-s per minute of audio (%.2f CPU-s over %.1f s), "
                "%d polls, %d distinct levels, overruns %llu, file %.1f s\n",
                ownPerMinute, ownCpu, wall, statuses,
                int(std::count(levelsSeen.begin(), levelsSeen.end(), true)),
                static_cast<unsigned long long>(overruns), fileSeconds(movie));
    // The main thread runs the recorder's poll and the window; the capture layer's threads
    // (device callbacks, sound server client, file writer) the rest.
    std::printf("  of which main thread %.3f, capture threads %.3f CPU-s per minute\n",
                mainCpu * 60.0 / wall, (ownCpu - mainCpu) * 60.0 / wall);
    std::printf("  starting the recording took %.3f CPU-s on the main thread\n", startCpu);
    for (auto it = threads.begin(); it != threads.end(); ++it)
        std::printf("    thread %-24s %.3f CPU-s per minute\n", qPrintable(it.key()),
                    (it.value() - threadsBefore.value(it.key())) * 60.0 / wall);
    std::printf("  arecord: %.3f CPU-s per minute of audio (%.2f CPU-s over %d s)\n",
                arecordPerMinute, arecordCpu, seconds);
    std::printf("  ratio %.2f (target at most %.1fx, no overruns): %s\n", ratio, target,
                pass ? "PASS" : "FAIL");
    // The poll must wake the main thread every kIdleIntervalMs; what that alone costs depends
    // on the machine (wake-ups are dear on virtual machines), not on the recorder.
    std::printf("  an empty %d ms timer on this event loop costs %.3f CPU-s per minute "
                "(%.2fx arecord); the recording beyond it: ratio %.2f\n",
                QKRecorder::kIdleIntervalMs, floorPerMinute, floorPerMinute / arecordPerMinute,
                (ownPerMinute - floorPerMinute) / arecordPerMinute);
    std::fflush(stdout);

    ui.reset();
    controller.reset();
    BVController::setRecorderFactory(nullptr);
    return pass ? 0 : 1;
}
