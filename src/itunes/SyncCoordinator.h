#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class BackgroundCall;
class QKTunesController;

// What a sync may do, and one sync running. The rules: a recording goes to the playlist when
// the playlist lacks its title, never while it is being recorded or a writer still holds its
// file; the playlist component never writes into the library or a folder around it. The run:
// one step after another on the event loop, each call to the playlist component on a worker,
// with its progress and its cancel. Nothing here waits for time to pass or spins the event
// loop, so nothing (a bus call, a quit) can run inside a step.
class SyncCoordinator : public QObject {
    Q_OBJECT

public:
    struct Request {
        QString libraryFolder; // nothing is copied into it or into a folder holding it
        QString recordingsFolder;
        QStringList names; // the listed recordings, in list order
        QString playlist;
        QString encoder; // an encoder's title; empty: the files are copied as they are
    };

    // `bridge` may be null: then every sync is refused. `fileBeingRecorded` answers the path of
    // the recording being written, or empty.
    SyncCoordinator(QKTunesController* bridge, std::function<QString()> fileBeingRecorded);
    // Stops a running sync at once, waiting for its worker.
    ~SyncCoordinator() override;

    // Starts a sync: why it cannot start (logged), or empty once it runs; finished follows.
    QString start(const Request& request);
    bool isRunning() const { return _run != nullptr; }
    // Stops the sync after the file in hand, or at once: then the file being written is
    // removed and finished has been emitted when this returns.
    void cancel(bool immediately);
    // For scripts, in English: "preparing", "copying 3 of 12: NAME", "converting ..."; empty
    // when no sync runs.
    QString progressDescription() const;

    struct Selection {
        QStringList imported; // names, in list order
        QStringList leftOut;  // being written now: for the next sync
    };
    // A playlist's titles (none: it holds no tracks), with the set to look them up in, made on
    // the worker that reads them: a long playlist's are many.
    struct Titles {
        explicit Titles(std::optional<QStringList> titles = std::nullopt);
        std::optional<QStringList> list;
        QSet<QString> present;
    };
    // Which of `names` (files of `recordingsFolder`) go to a playlist holding `titles`: those
    // whose title it lacks, but not `beingRecorded` or a file a writer holds locked. Logs each
    // decision.
    static Selection select(const QStringList& names, const Titles& titles,
                            const QString& recordingsFolder, const QString& beingRecorded);
    // The playlist's titles; none when it holds none (the answer "no tracks found").
    static std::optional<QStringList> tracksOfPlaylist(QKTunesController& bridge,
                                                       const QString& name);
    // Texts of a list for the log: quoted, and only the first few of a long one.
    static QString describe(const std::optional<QStringList>& texts);
    // A recording's path as the playlist component takes it (absolute); empty for none.
    static QString pathForComponent(const QString& path);

signals:
    void started();
    // The status panel comes to the front (without taking the focus).
    void panelWanted();
    void statusChanged(const QString& text);
    // File `index` of `count` is being copied or converted.
    void progressChanged(int index, int count, const QString& title, bool converting);
    // Recordings left out while they are being written: a line for the user.
    void leftOut(const QString& note);
    // Empty, or what went wrong, or that it was cancelled.
    void finished(const QString& problem);

private:
    struct Run;
    // Runs `next` after a short pause, in which drawing and timers are served.
    void afterPause(void (SyncCoordinator::*next)());
    // Runs `work` on a worker; `then` follows here once it has returned.
    void onWorker(std::function<void()> work, void (SyncCoordinator::*then)());
    // The steps, in order.
    void showPanel();
    void makePlaylist();
    void playlistMade();
    void readTitles();
    void titlesRead();
    void importSelection();
    void imported();
    // Stops when the sync was cancelled or the component failed; answers whether it did.
    bool stoppedEarly();
    void finish(const QString& problem);

    QKTunesController* _bridge;
    std::function<QString()> _fileBeingRecorded;
    std::unique_ptr<Run> _run;
    BackgroundCall* _worker = nullptr;
    int _generation = 0; // a step of an ended sync finds another number and does nothing
};
