// Opening a large library: builds a "Recordings" folder of short recordings (copies of a few
// variants made with ffmpeg: QuickTime PCM and AAC movies, M4A and MP3), then times, on a warm
// cache, the full scan (durations included), the whole launch with the real interface, the
// launch's repair check (through the recording journal after a clean run, and in full as after a
// crash), and search keystrokes through the real search field and table. ffprobe over a sample of
// the same files gives the cost of a per-file probe for comparison.
#include "app/BVController.h"
#include "app/MainInterface.h"
#include "library/QBVTableView.h"
#include "library/QKArrayController.h"
#include "platform/media/MovieDuration.h"
#include "platform/movie/MovieRepair.h"
#include "platform/movie/RecordingJournal.h"
#include "recording/QKRecorder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <vector>

namespace {

struct Variant {
    const char* name;
    QStringList ffmpegArgs;
    int share; // in a hundred files
};

bool make(const QString& path, const QStringList& args) {
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-v", "error", "-y", "-f", "lavfi", "-i"} + args + QStringList{path});
    return ffmpeg.waitForFinished(120000) && ffmpeg.exitCode() == 0;
}

// The library: `count` files named like recordings, in the mix of the variants.
bool buildLibrary(const QString& library, int count, QStringList& files) {
    const Variant variants[] = {
        {"pcm8k.mov", {"sine=f=440:r=8000:d=1.2", "-ac", "1", "-c:a", "pcm_s16be"}, 40},
        {"pcm11k.mov", {"sine=f=330:r=11025:d=2.5", "-ac", "1", "-c:a", "pcm_s16be"}, 30},
        {"pcm22k.mov", {"sine=f=550:r=22050:d=0.8", "-ac", "2", "-c:a", "pcm_s16be"}, 10},
        {"aac.mov", {"sine=f=440:r=44100:d=3.1", "-ac", "1", "-c:a", "aac", "-b:a", "64k"}, 10},
        {"aac.m4a", {"sine=f=440:r=44100:d=2.2", "-ac", "2", "-c:a", "aac", "-b:a", "96k"}, 5},
        {"cbr.mp3",
         {"sine=f=440:r=44100:d=1.7", "-ac", "1", "-c:a", "libmp3lame", "-b:a", "64k"},
         3},
        {"vbr.mp3", {"sine=f=440:r=22050:d=2.9", "-ac", "1", "-c:a", "libmp3lame", "-q:a", "6"}, 2},
    };
    const QString recordings = library + QStringLiteral("/Recordings");
    QDir().mkpath(recordings);
    QDir().mkpath(library + QStringLiteral("/Notes"));
    std::vector<QString> made;
    std::vector<int> shares;
    for (const Variant& v : variants) {
        const QString path = library + QStringLiteral("/variant-") + QLatin1String(v.name);
        if (!make(path, v.ffmpegArgs)) {
            std::fprintf(stderr, "ffmpeg failed for %s\n", v.name);
            return false;
        }
        made.push_back(path);
        shares.push_back(v.share);
    }
    for (int i = 0; i < count; ++i) {
        // Spread the variants evenly through the folder.
        const int slot = i % 100;
        size_t which = 0;
        for (int sum = shares[0]; slot >= sum && which + 1 < made.size(); sum += shares[++which]) {
        }
        const QString extension = QFileInfo(made[which]).suffix();
        const QString name = QStringLiteral("%1/Recording %2.%3")
                                 .arg(recordings)
                                 .arg(1000000000 + i * 37)
                                 .arg(extension);
        if (!QFile::copy(made[which], name))
            return false;
        files << name;
    }
    return true;
}

double threadCpuMicroseconds() {
    timespec t = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

struct Stats {
    double min = 0, median = 0, max = 0;
};

Stats stats(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2], ms.back()};
}

double ffprobeSeconds(const QStringList& sample) {
    QElapsedTimer timer;
    timer.start();
    for (const QString& file : sample) {
        QProcess ffprobe;
        ffprobe.start(QStringLiteral("ffprobe"),
                      {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", file});
        ffprobe.waitForFinished(60000);
    }
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit()); // the user's settings stay untouched
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption countOption("count", "Recordings in the library.", "N", "10000");
    const QCommandLineOption runsOption("runs", "Timed runs of each step.", "N", "5");
    const QCommandLineOption probeOption("probe", "Files given to ffprobe.", "N", "200");
    const QCommandLineOption keepOption("library", "Build (or reuse) the library in DIR.", "DIR");
    parser.addOptions({countOption, runsOption, probeOption, keepOption});
    parser.process(app);
    const int count = parser.value(countOption).toInt();
    const int runs = std::max(1, parser.value(runsOption).toInt());
    const int probe = parser.value(probeOption).toInt();

    QTemporaryDir temporary(QDir::tempPath() + QStringLiteral("/brevoir-bench-library.XXXXXX"));
    const QString library = parser.isSet(keepOption) ? parser.value(keepOption)
                                                     : temporary.path() + QStringLiteral("/Lib");
    QStringList files;
    QElapsedTimer timer;
    timer.start();
    const QString recordings = library + QStringLiteral("/Recordings");
    if (QDir(recordings).exists()) {
        for (const QString& name : QDir(recordings).entryList(QDir::Files))
            files << recordings + QLatin1Char('/') + name;
    } else if (!buildLibrary(library, count, files)) {
        return 1;
    }
    std::printf("library: %lld recordings in %s (ready in %.1f s)\n",
                static_cast<long long>(files.size()), qPrintable(recordings),
                timer.nsecsElapsed() / 1e9);

    BVController::initialize();
    BVController::setRecorderFactory([] { return nullptr; });

    // The full scan, as launch runs it; the first pass warms the cache.
    {
        BVController controller;
        controller.setDataDirectory(library);
        controller.initializeFileListArray();
        std::vector<double> ms;
        for (int run = 0; run < runs; ++run) {
            timer.restart();
            controller.initializeFileListArray();
            ms.push_back(timer.nsecsElapsed() / 1e6);
        }
        const Stats s = stats(ms);
        std::printf("full scan, durations included: min %.1f ms, median %.1f ms, max %.1f ms "
                    "(%zu tracks)\n",
                    s.min, s.median, s.max, controller.fileList().size());
    }

    // The same durations one file after another on one thread: what each kind of file costs.
    {
        // Thread CPU time as well as wall time: the machine may be busy with other work.
        std::map<QString, std::pair<double, int>> byKind; // CPU microseconds, files
        double total = 0;
        timer.restart();
        const double cpuStart = threadCpuMicroseconds();
        for (const QString& file : files) {
            const double before = threadCpuMicroseconds();
            total += MovieDuration::durationOfFile(file);
            auto& [us, n] = byKind[QFileInfo(file).suffix()];
            us += threadCpuMicroseconds() - before;
            ++n;
        }
        const double cpu = threadCpuMicroseconds() - cpuStart;
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("durations on one thread: %.1f ms wall, %.1f ms CPU, %.1f us CPU per file "
                    "(sum %.0f s of sound)\n",
                    seconds * 1e3, cpu / 1e3, cpu / std::max<qsizetype>(1, files.size()), total);
        for (const auto& [kind, cost] : byKind) {
            std::printf("  .%s: %d files, %.1f us CPU per file\n", qPrintable(kind), cost.second,
                        cost.first / cost.second);
        }
    }

    // Launch with the real interface: folders, scan, list controller, table.
    std::vector<double> launchMs;
    std::vector<double> keyMs;
    std::vector<double> arrangeMs;
    std::vector<double> contentMs;
    // Runs end cleanly, as a quit ends them; the untimed first launch writes the journal.
    const QByteArray recordingsBytes = QFile::encodeName(recordings);
    const QByteArray journal =
        QFile::encodeName(library + QLatin1Char('/') + QLatin1String(RecordingJournal::kFileName));
    MovieRepair::repairAtLaunch(recordingsBytes, journal);
    RecordingJournal::endRun();
    std::vector<double> checkMs;
    std::vector<double> fullCheckMs;
    int opened = 0;
    for (int run = 0; run < runs; ++run) {
        RecordingJournal::endRun();
        BVController controller;
        MainInterface ui;
        ui.connect(controller);
        controller.setLibraryFolderOverride(library);
        ui.window()->show();
        timer.restart();
        controller.applicationDidFinishLaunching();
        ui.window()->repaint();
        launchMs.push_back(timer.nsecsElapsed() / 1e6);

        // Keystrokes in the search field: the table re-arranged and repainted after each.
        QKArrayController& list = *controller._fileListArrayController;
        const QString typed = QStringLiteral("Recording 100");
        QString text;
        auto key = [&](const QString& next) {
            timer.restart();
            controller.searchField->setText(next);
            controller.fileTableView->viewport()->repaint();
            keyMs.push_back(timer.nsecsElapsed() / 1e6);
        };
        for (const QChar c : typed)
            key(text += c);
        while (!text.isEmpty()) {
            text.chop(1);
            key(text);
        }
        timer.restart();
        list.setContent(&controller.fileList()); // as launch hands the list over
        contentMs.push_back(timer.nsecsElapsed() / 1e6);
        // The launch check alone: after a clean run (the journal), and in full (after a crash).
        RecordingJournal::endRun();
        timer.restart();
        opened += MovieRepair::repairAtLaunch(recordingsBytes, journal).filesOpened;
        checkMs.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        MovieRepair::repairFolder(recordingsBytes);
        fullCheckMs.push_back(timer.nsecsElapsed() / 1e6);
        list.setSearchString(QStringLiteral("rec"));
        timer.restart();
        const auto arranged = list.arrangeObjects(controller.fileList());
        arrangeMs.push_back(timer.nsecsElapsed() / 1e6);
        list.setSearchString(QString());
    }
    const Stats launch = stats(launchMs);
    std::printf("launch with interface (scan, arrange, first paint): min %.1f ms, median %.1f ms, "
                "max %.1f ms\n",
                launch.min, launch.median, launch.max);
    std::printf("  of which: handing the list to the table %.1f ms (median)\n",
                stats(contentMs).median);
    const Stats check = stats(checkMs);
    std::printf("launch repair check after a clean run (journal): min %.2f ms, median %.2f ms, max "
                "%.2f ms, %d recordings opened\n",
                check.min, check.median, check.max, opened);
    const Stats full = stats(fullCheckMs);
    std::printf("launch repair check after a crash (every recording): min %.1f ms, median %.1f ms, "
                "max %.1f ms\n",
                full.min, full.median, full.max);
    const Stats keys = stats(keyMs);
    std::printf("search keystroke through field and table (%zu keystrokes): min %.2f ms, median "
                "%.2f ms, max %.2f ms\n",
                keyMs.size(), keys.min, keys.median, keys.max);
    const Stats arrange = stats(arrangeMs);
    std::printf("filter and sort alone (\"rec\" over all tracks): median %.2f ms\n",
                arrange.median);

    if (probe > 0 && !files.isEmpty()) {
        QStringList sample;
        const qsizetype step = std::max<qsizetype>(1, files.size() / probe);
        for (qsizetype i = 0; i < files.size() && sample.size() < probe; i += step)
            sample << files[i];
        const double seconds = ffprobeSeconds(sample);
        std::printf("ffprobe: %lld files in %.2f s, %.1f ms per file, %.1f s for %lld files\n",
                    static_cast<long long>(sample.size()), seconds, seconds * 1e3 / sample.size(),
                    seconds / sample.size() * files.size(), static_cast<long long>(files.size()));
    }
    BVController::setRecorderFactory(nullptr);
    return 0;
}
