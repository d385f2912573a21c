// A large library's categories: launches on a library of N recordings (copies of one short
// QuickTime movie), each with a mapping in "Database.plist", and times the launch until the
// window is drawn and the database written; then renames the category that every track
// carries through the editor's table. Counts the database writes with inotify.
#include "app/BVController.h"
#include "app/MainInterface.h"
#include "categories/CategoryDatabase.h"
#include "library/QBVTrack.h"
#include "platform/foundation/PropertyList.h"
#include "recording/QKRecorder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Counts the times "Database.plist" was replaced in `folder` (an atomic write renames into it).
class WriteCounter {
public:
    explicit WriteCounter(const QString& folder) : _fd(inotify_init1(IN_NONBLOCK)) {
        inotify_add_watch(_fd, QFile::encodeName(folder).constData(), IN_MOVED_TO);
    }
    ~WriteCounter() { ::close(_fd); }
    int take() {
        int writes = 0;
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t got = ::read(_fd, buffer, sizeof buffer);
            if (got <= 0)
                return writes;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len && QByteArray(event->name) == CategoryDatabase::kFileName)
                    ++writes;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int _fd;
};

double median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
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
    parser.addOptions({countOption, runsOption});
    parser.process(app);
    const int count = parser.value(countOption).toInt();
    const int runs = std::max(1, parser.value(runsOption).toInt());

    QTemporaryDir temporary(QDir::tempPath() + QStringLiteral("/brevoir-bench-categories.XXXXXX"));
    const QString library = temporary.path() + QStringLiteral("/Lib");
    const QString recordings = library + QStringLiteral("/Recordings");
    QDir().mkpath(recordings);
    const QString tone = temporary.path() + QStringLiteral("/tone.mov");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-f", "lavfi", "-i",
                                            "sine=f=440:r=8000:d=1", "-c:a", "pcm_s16be", tone});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg failed\n");
        return 1;
    }
    const QStringList categories{"Personal", "Business", "Project1", "Project2"};
    QVariantMap mappings;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("Recording %1.mov").arg(1000000000 + i * 37);
        QFile::copy(tone, recordings + QLatin1Char('/') + name);
        mappings.insert(name, QStringLiteral("Business"));
    }
    const QString database =
        library + QLatin1Char('/') + QLatin1String(CategoryDatabase::kFileName);
    const QByteArray stored =
        PropertyList::xmlFromDictionary(CategoryDatabase::dictionaryOf(categories, mappings));

    BVController::initialize();
    BVController::setRecorderFactory([] { return nullptr; });
    WriteCounter writes(library);
    std::vector<double> launchMs, loadMs, renameMs, saveMs;
    int launchWrites = 0, renameWrites = 0;
    QElapsedTimer timer;
    for (int run = 0; run <= runs; ++run) {
        QFile file(database);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(stored);
        file.close();
        writes.take();
        BVController controller;
        MainInterface ui;
        ui.connect(controller);
        controller.setLibraryFolderOverride(library);
        ui.window()->show();
        timer.start();
        controller.applicationDidFinishLaunching();
        QCoreApplication::processEvents(); // the deferred write, and the window drawn
        ui.window()->repaint();
        const double launched = timer.nsecsElapsed() / 1e6;
        const int launchWritten = writes.take();

        // The categories part alone: read, apply, write.
        timer.restart();
        controller.loadCategories();
        controller.saveCategories();
        const double loaded = timer.nsecsElapsed() / 1e6;
        writes.take();

        timer.restart();
        controller.saveCategories();
        const double saved = timer.nsecsElapsed() / 1e6;
        writes.take();

        // Renaming the category every track carries, as the editor's table does.
        QTableView* table = controller._categoriesTable;
        timer.restart();
        table->model()->setData(table->model()->index(1, 0), QStringLiteral("Work"), Qt::EditRole);
        QCoreApplication::processEvents();
        const double renamed = timer.nsecsElapsed() / 1e6;
        const int renameWritten = writes.take();
        controller.applicationWillTerminate();
        if (run == 0)
            continue; // warms the cache
        launchMs.push_back(launched);
        loadMs.push_back(loaded);
        saveMs.push_back(saved);
        renameMs.push_back(renamed);
        launchWrites = std::max(launchWrites, launchWritten);
        renameWrites = std::max(renameWrites, renameWritten);
        if (controller.fileList().front()->category() != QLatin1String("Work")) {
            std::fprintf(stderr, "rename did not relabel the tracks\n");
            return 1;
        }
    }
    std::printf("library: %d recordings, each with a mapping (database %lld bytes)\n", count,
                static_cast<long long>(stored.size()));
    std::printf("launch until the window is drawn and the database written: median %.1f ms "
                "(target < 1000 ms), database writes %d (target 1)\n",
                median(launchMs), launchWrites);
    std::printf("  of which reading, applying and writing the categories: median %.1f ms; "
                "one write alone %.1f ms\n",
                median(loadMs), median(saveMs));
    std::printf("renaming the category of every track: median %.1f ms (target < 200 ms), "
                "database writes %d (target 1)\n",
                median(renameMs), renameWrites);
    return launchWrites == 1 && renameWrites == 1 ? 0 : 1;
}
