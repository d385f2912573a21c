// The window during a long sync: converts a few minutes of recordings through the real
// controller (Sync as the toolbar runs it) while a 5 ms timer stands for the window's drawing,
// and reports the longest time the event loop left it waiting, with the conversion's speed.
#include "app/BVController.h"
#include "app/MainInterface.h"
#include "platform/foundation/Defaults.h"
#include "platform/media/AudioFileEncoder.h"
#include "platform/movie/MovieWriter.h"
#include "recording/QKRecorder.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
bool writeRecording(const QString& path, double seconds) {
    SoundFormat format; // 16-bit stereo 44.1 kHz, as recorded by default
    auto writer = MovieWriter::create(path, format);
    if (!writer)
        return false;
    const size_t frames = size_t(seconds * format.sampleRate);
    std::vector<int32_t> block;
    uint32_t noise = 2463534242u;
    for (size_t done = 0; done < frames;) {
        const size_t count = std::min<size_t>(frames - done, 8192);
        block.resize(count * 2);
        for (size_t i = 0; i < count; ++i) {
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            const double tone = std::sin(2 * M_PI * 440 * double(done + i) / format.sampleRate);
            const auto sample =
                int32_t((tone * 0.3 + (int32_t(noise) / 2147483648.0) * 0.05) * 2147483647.0);
            block[2 * i] = block[2 * i + 1] = sample;
        }
        if (!writer->append(block.data(), count))
            return false;
        done += count;
    }
    return writer->complete() == 0;
}
} // namespace

int main(int argc, char** argv) {
    // Everything happens in a folder of its own: HOME, the music folder and the library.
    QTemporaryDir root;
    qputenv("HOME", root.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (root.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (root.path() + "/data").toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"minutes", "Minutes of recordings to convert (default 3).", "N", "3"});
    parser.addOption({"files", "Number of recordings (default 3).", "N", "3"});
    parser.addOption({"encoder", "Encoder title (default AAC).", "TITLE", "AAC"});
    parser.process(app);
    const double minutes = parser.value("minutes").toDouble();
    const int files = std::max(1, parser.value("files").toInt());
    const QString encoder = parser.value("encoder");
    if (!AudioFileEncoder::encoderWithTitle(encoder)) {
        std::fprintf(stderr, "no encoder %s here\n", qPrintable(encoder));
        return 2;
    }

    const QString library = root.path() + "/Library";
    QDir().mkpath(library + "/Recordings");
    for (int i = 0; i < files; ++i)
        if (!writeRecording(QStringLiteral("%1/Recordings/Recording %2.mov").arg(library).arg(i),
                            minutes * 60 / files))
            return 1;

    BVController::initialize();
    BVController::setRecorderFactory([] { return nullptr; });
    BVController controller;
    MainInterface ui;
    ui.connect(controller);
    controller.setLibraryFolderOverride(library);
    controller.applicationDidFinishLaunching();
    controller._encodingSelectionMenu->setCurrentIndex(
        controller._encodingSelectionMenu->findText(encoder));

    // The window's stand-in: how late each 5 ms tick comes.
    QElapsedTimer clock;
    qint64 last = 0;
    std::vector<qint64> gaps;
    qint64 longestAt = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (gaps.empty() || now - last > *std::max_element(gaps.begin(), gaps.end()))
            longestAt = now;
        gaps.push_back(now - last);
        last = now;
    });
    // First the same timer with nothing else running: what the machine's load alone costs.
    QEventLoop idle;
    QTimer::singleShot(3000, &idle, &QEventLoop::quit);
    clock.start();
    ticker.start(5);
    idle.exec();
    const qint64 idleLongest = *std::max_element(gaps.begin(), gaps.end());
    const size_t idleTicks = gaps.size();
    gaps.clear();

    QEventLoop loop;
    QObject::connect(&controller, &BVController::syncFinished, &loop, &QEventLoop::quit);
    clock.restart();
    last = 0;
    controller.handleSync(nullptr);
    if (controller.isSyncing())
        loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    ticker.stop();

    std::sort(gaps.begin(), gaps.end());
    const auto ms = [](qint64 ns) { return ns / 1e6; };
    std::printf("converted %.1f min of audio in %d files to %s in %.2f s (%.0fx real time)\n",
                minutes, files, qPrintable(encoder), seconds, minutes * 60 / seconds);
    std::printf("event loop: %zu ticks of 5 ms; gap median %.1f ms, 99th %.1f ms, longest %.1f ms "
                "(goal: under 50 ms)\n",
                gaps.size(), ms(gaps[gaps.size() / 2]), ms(gaps[gaps.size() * 99 / 100]),
                ms(gaps.back()));
    std::printf("the longest ended %.2f s after Sync began; without a sync, the longest of %zu "
                "ticks was %.1f ms\n",
                longestAt / 1e9, idleTicks, ms(idleLongest));
    controller.applicationWillTerminate();
    return gaps.back() < 50'000'000 ? 0 : 1;
}
