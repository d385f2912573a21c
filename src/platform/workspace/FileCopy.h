#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QThread;
class QTimer;

// Copies files into a folder on a worker thread, in chunks, keeping their names, modes and
// modification times. A file already present in the folder is never replaced, and a copy that
// fails or is cancelled leaves nothing behind: each copy is written unnamed and gets its name
// only once complete. Progress is reported on the thread that owns the job.
class FileCopyJob : public QObject {
    Q_OBJECT

public:
    enum class Outcome { Copied, Exists, NotAFile, Failed, Cancelled };
    struct Result {
        QString source;
        QString destination; // the path the copy has, or would have had
        Outcome outcome = Outcome::Failed;
        QString error; // why it failed, for Failed
    };

    FileCopyJob(QStringList sources, QString destinationFolder, QObject* parent = nullptr);
    // Cancels a copy still running and waits for the worker to stop.
    ~FileCopyJob() override;

    // The names the copies get, one for each source in its order; unset, each keeps its own.
    void setDestinationNames(QStringList names);
    void start();
    // Safe from any thread; the file being copied is abandoned.
    void cancel();

    qint64 totalBytes() const;
    qint64 copiedBytes() const;
    bool isFinished() const { return _finished; }
    // In the order of the sources; complete once finished() was emitted.
    const std::vector<Result>& results() const;

    // Fault injection: called on the worker after each chunk with the bytes copied so far of
    // the current file; answering false makes that file's copy fail as a write error would.
    using ChunkHook = std::function<bool(qint64 copiedOfFile)>;
    void setChunkHookForTesting(ChunkHook hook, qint64 chunkSize);

    struct State; // shared with the worker thread

signals:
    void progressChanged(qint64 copied, qint64 total);
    void finished();

private:
    void report();

    std::shared_ptr<State> _state;
    QThread* _thread = nullptr;
    QTimer* _progressTimer = nullptr;
    bool _finished = false;
};
