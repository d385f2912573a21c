// The window during a long sync: converts a few minutes of recordings through the real
// controller (Sync as the toolbar runs it) while a 5 ms timer stands for the window's drawing,
// and reports the longest time the event loop left it waiting, with the conversion's speed.
// With --playlist-mb, the same for a sync into a long playlist of another player's: how long
// until the sync starts importing, and what adding an entry costs against rewriting the file.
#include "SpeechLikeRecording.h"
#include "app/BVController.h"
#include "app/MainInterface.h"
#include "itunes/SyncCoordinator.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/SafeFile.h"
#include "platform/media/AudioFileEncoder.h"
#include "platform/playlists/M3uPlaylistFile.h"
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
// The real controller and interface over `library`, launched without a sound input.
void launch(BVController& controller, MainInterface& ui, const QString& library) {
    ui.connect(controller);
    controller.setLibraryFolderOverride(library);
    controller.applicationDidFinishLaunching();
}

// How late each tick of a 5 ms timer comes: the window's stand-in.
class Ticker {
public:
    Ticker() {
        _timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&_timer, &QTimer::timeout, [this] {
            const qint64 now = _clock.nsecsElapsed();
            _longest = std::max(_longest, now - _last);
            _last = now;
        });
        _clock.start();
        _timer.start(5);
    }
    double longestMs() const { return _longest / 1e6; }

private:
    QTimer _timer;
    QElapsedTimer _clock;
    qint64 _last = 0;
    qint64 _longest = 0;
};

// A playlist of about `megabytes` MB with 99,000 entries, as another player writes it.
QByteArray foreignPlaylist(double megabytes) {
    const int entries = 99000;
    const qsizetype perEntry = qsizetype(megabytes * 1e6 / entries);
    QByteArray bytes = "#EXTM3U\r\n#PLAYLIST:Everything\r\n";
    bytes.reserve(qsizetype(megabytes * 1e6) + 4096);
    for (int i = 0; i < entries; ++i) {
        const QByteArray head = "#EXTINF:215,Artist " + QByteArray::number(i % 997) + " - Track " +
                                QByteArray::number(i) + "\r\n/srv/music/";
        const QByteArray tail = "/Track " + QByteArray::number(i) + ".flac\r\n";
        bytes += head +
                 QByteArray(std::max<qsizetype>(1, perEntry - head.size() - tail.size()), 'a') +
                 tail;
    }
    return bytes;
}

// A sync of one new recording into a long playlist: the time to the import, and the cost of
// the entry appended against a rewrite of the whole file.
int benchPlaylist(const QString& library, double megabytes) {
    const QString playlistPath = QDir::homePath() + "/Music/Playlists/Brevoir.m3u";
    QDir().mkpath(QDir::homePath() + "/Music/Playlists");
    const QByteArray playlist = foreignPlaylist(megabytes);
    const FilePath path = FilePath::fromString(playlistPath);
    SafeFile::Problem problem;
    if (!SafeFile::replace(path, playlist, &problem))
        return 1;
    if (!writeSpeechLikeRecording(library + "/Recordings/Recording 1765000001.mov", 2.0))
        return 1;

    BVController controller;
    MainInterface ui;
    launch(controller, ui, library);

    QElapsedTimer clock;
    qint64 importing = -1;
    QObject::connect(&controller.syncCoordinator(), &SyncCoordinator::statusChanged,
                     [&](const QString& status) {
                         if (importing < 0 && status.startsWith("Syncing"))
                             importing = clock.nsecsElapsed();
                     });
    QString outcome;
    QEventLoop loop;
    QObject::connect(&controller, &BVController::syncFinished, [&](const QString& p) {
        outcome = p;
        loop.quit();
    });
    Ticker ticker;
    clock.start();
    controller.handleSync(nullptr);
    loop.exec();
    const double total = clock.nsecsElapsed() / 1e6;
    std::printf("playlist of %.1f MB (%lld bytes, 99,000 entries): %s\n", megabytes,
                qlonglong(playlist.size()),
                outcome.isEmpty() ? "synced" : qPrintable("refused: " + outcome));
    if (importing >= 0)
        std::printf("sync: import began after %.0f ms, ", importing / 1e6);
    else
        std::printf("sync: stopped before importing, ");
    std::printf("ended after %.0f ms; the event loop's longest wait %.1f ms\n", total,
                ticker.longestMs());
    controller.applicationWillTerminate();
    if (!outcome.isEmpty())
        return 0;

    // What each file's entry costs, appended or the whole file rewritten.
    clock.restart();
    M3uPlaylistFile file = M3uPlaylistFile::read(path);
    const double read = clock.nsecsElapsed() / 1e6;
    clock.restart();
    QString why;
    file.append({{"/music/Playlists/Brevoir/x.mov", "x", 1}}, &why);
    const double append = clock.nsecsElapsed() / 1e6;
    const QByteArray whole = SafeFile::read(path, M3uPlaylist::kMaxBytes).bytes;
    clock.restart();
    SafeFile::replace(path, whole + "#EXTINF:1,y\r\n/music/Playlists/Brevoir/y.mov\r\n", &problem);
    const double rewrite = clock.nsecsElapsed() / 1e6;
    std::printf("reading it whole: %.0f ms; per file synced: appending its entry %.2f ms, "
                "rewriting the file %.0f ms\n",
                read, append, rewrite);
    return 0;
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
    parser.addOption({"playlist-mb",
                      "Sync into another player's playlist of this many MB "
                      "instead of converting.",
                      "MB"});
    parser.process(app);
    BVController::initialize();
    BVController::setRecorderFactory([] { return nullptr; });
    if (parser.isSet("playlist-mb")) {
        QDir().mkpath(root.path() + "/Library/Recordings");
        return benchPlaylist(root.path() + "/Library", parser.value("playlist-mb").toDouble());
    }
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
        if (!writeSpeechLikeRecording(
                QStringLiteral("%1/Recordings/Recording %2.mov").arg(library).arg(i),
                minutes * 60 / files))
            return 1;

    BVController controller;
    MainInterface ui;
    launch(controller, ui, library);
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
