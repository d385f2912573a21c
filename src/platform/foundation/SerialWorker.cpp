#include "platform/foundation/SerialWorker.h"

#include <QCoreApplication>
#include <QThread>

SerialWorker::SerialWorker(const QString& threadName, QObject* parent) : QObject(parent) {
    _thread = QThread::create([this] { loop(); });
    _thread->setObjectName(threadName);
    _thread->start();
}

SerialWorker::~SerialWorker() {
    {
        std::lock_guard lock(_mutex);
        _stopping = true;
    }
    _changed.notify_all();
    _thread->wait();
    delete _thread;
}

void SerialWorker::run(std::function<void()> job, std::function<void()> done) {
    auto task = [this, job = std::move(job), done = std::move(done)] {
        job();
        if (done)
            QMetaObject::invokeMethod(this, done, Qt::QueuedConnection);
    };
    {
        std::lock_guard lock(_mutex);
        _jobs.push_back(std::move(task));
        ++_unfinished;
    }
    _changed.notify_all();
}

void SerialWorker::waitForIdle() {
    std::unique_lock lock(_mutex);
    _changed.wait(lock, [this] { return _unfinished == 0; });
}

void SerialWorker::loop() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(_mutex);
            _changed.wait(lock, [this] { return !_jobs.empty() || _stopping; });
            if (_jobs.empty())
                return; // stopping, and nothing is left to do
            job = std::move(_jobs.front());
            _jobs.pop_front();
        }
        // Objects moved here (to be worked on or freed) get their moves done first, timers and
        // all, so that they can be deleted here cleanly.
        QCoreApplication::sendPostedEvents();
        job();
        {
            std::lock_guard lock(_mutex);
            --_unfinished;
        }
        _changed.notify_all();
    }
}
