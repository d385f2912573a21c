#include "platform/playlists/BackgroundCall.h"

#include <QThread>

#include <sys/resource.h>
#include <unistd.h>

BackgroundCall::BackgroundCall(QObject* parent) : QObject(parent) {}

BackgroundCall::~BackgroundCall() {
    wait();
    delete _thread;
}

void BackgroundCall::start(std::function<void()> work) {
    if (_thread)
        return;
    _thread = QThread::create([work = std::move(work)] {
        // Converting yields to the window: the main thread keeps drawing on a busy machine.
        ::setpriority(PRIO_PROCESS, ::gettid(), 10);
        work();
    });
    _thread->setObjectName(QStringLiteral("bv-playlist"));
    connect(_thread, &QThread::finished, this, &BackgroundCall::finished, Qt::QueuedConnection);
    _thread->start();
}

void BackgroundCall::wait() {
    if (_thread)
        _thread->wait();
}

bool BackgroundCall::isRunning() const {
    return _thread && _thread->isRunning();
}
