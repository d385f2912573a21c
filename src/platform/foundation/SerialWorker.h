#pragma once

#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class QThread;

// One worker thread that runs jobs one after another in the order they were given, so that
// long file work (a big note read or written) keeps the window drawing while later jobs still
// see what earlier ones did. What a job hands back arrives on the thread that owns the worker.
class SerialWorker : public QObject {
    Q_OBJECT

public:
    explicit SerialWorker(const QString& threadName, QObject* parent = nullptr);
    // Runs every job already given, then stops the thread; `done` callbacks still pending are
    // dropped.
    ~SerialWorker() override;

    // Runs `job` on the worker after the jobs given before it, then `done` (when given) on
    // this object's thread through its event loop.
    void run(std::function<void()> job, std::function<void()> done = {});
    // Blocks until every job given so far has run (their `done` still come later).
    void waitForIdle();
    // The worker's thread: objects a job will own are moved onto it first.
    QThread* workerThread() const { return _thread; }

private:
    void loop();

    QThread* _thread = nullptr;
    std::mutex _mutex;
    std::condition_variable _changed;
    std::deque<std::function<void()>> _jobs;
    int _unfinished = 0; // given and not yet run to the end
    bool _stopping = false;
};
