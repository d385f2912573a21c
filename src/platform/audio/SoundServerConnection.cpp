#include "platform/audio/SoundServerConnection.h"

#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

#include <atomic>

namespace {
std::atomic<int64_t> gDeadlineMs{0};

struct Deadline {
    pa_threaded_mainloop* loop;
    bool passed = false;
};

void onDeadline(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* userdata) {
    auto* deadline = static_cast<Deadline*>(userdata);
    deadline->passed = true;
    pa_threaded_mainloop_signal(deadline->loop, 0);
}
} // namespace

void SoundServerConnection::setDeadlineForTesting(std::chrono::milliseconds deadline) {
    gDeadlineMs.store(deadline.count());
}

std::chrono::milliseconds SoundServerConnection::deadline() {
    const int64_t ms = gDeadlineMs.load();
    return ms > 0 ? std::chrono::milliseconds(ms) : kDeadline;
}

std::unique_ptr<SoundServerConnection>
SoundServerConnection::open(const char* clientName, const char* threadName, Failure* failure) {
    std::unique_ptr<SoundServerConnection> connection(new SoundServerConnection);
    Failure why;
    if (!connection->connect(clientName, threadName, &why)) {
        if (failure)
            *failure = why;
        return nullptr;
    }
    return connection;
}

void SoundServerConnection::signal(void* connection) {
    pa_threaded_mainloop_signal(static_cast<SoundServerConnection*>(connection)->_loop, 0);
}

bool SoundServerConnection::connect(const char* clientName, const char* threadName,
                                    Failure* failure) {
    _loop = pa_threaded_mainloop_new();
    if (_loop)
        _context = pa_context_new(pa_threaded_mainloop_get_api(_loop), clientName);
    if (!_context) {
        failure->reason = QStringLiteral("the sound server's client could not be set up");
        return false;
    }
    pa_threaded_mainloop_set_name(_loop, threadName);
    pa_context_set_state_callback(
        _context, [](pa_context*, void* self) { signal(self); }, this);
    if (pa_context_connect(_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        failure->reason = lastError();
        failure->noServer = true;
        return false;
    }
    if (pa_threaded_mainloop_start(_loop) < 0) {
        failure->reason = QStringLiteral("the sound server's client could not be started");
        return false;
    }
    _running = true;
    Lock lock(*this);
    const bool answered = waitLocked([this] {
        const pa_context_state_t state = pa_context_get_state(_context);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    });
    if (!answered) {
        failure->timedOut = true;
        failure->reason = QStringLiteral("the sound server did not answer within %1 s")
                              .arg(double(deadline().count()) / 1000.0);
        return false;
    }
    if (pa_context_get_state(_context) != PA_CONTEXT_READY) {
        failure->reason = lastError();
        failure->noServer = pa_context_errno(_context) == PA_ERR_CONNECTIONREFUSED;
        return false;
    }
    return true;
}

SoundServerConnection::~SoundServerConnection() {
    if (_context) {
        if (_running)
            pa_threaded_mainloop_lock(_loop);
        pa_context_set_state_callback(_context, nullptr, nullptr);
        pa_context_set_subscribe_callback(_context, nullptr, nullptr);
        pa_context_disconnect(_context);
        pa_context_unref(_context);
        if (_running)
            pa_threaded_mainloop_unlock(_loop);
    }
    if (_loop) {
        if (_running)
            pa_threaded_mainloop_stop(_loop);
        pa_threaded_mainloop_free(_loop);
    }
}

bool SoundServerConnection::isReady() const {
    return _context && pa_context_get_state(_context) == PA_CONTEXT_READY;
}

bool SoundServerConnection::waitLocked(const std::function<bool()>& done) {
    if (done())
        return true;
    Deadline deadline{_loop};
    const auto us = pa_usec_t(SoundServerConnection::deadline().count()) * 1000;
    pa_time_event* event =
        pa_context_rttime_new(_context, pa_rtclock_now() + us, &onDeadline, &deadline);
    if (!event)
        return false;
    bool finished = false;
    while (!(finished = done()) && !deadline.passed)
        pa_threaded_mainloop_wait(_loop);
    pa_threaded_mainloop_get_api(_loop)->time_free(event);
    return finished;
}

bool SoundServerConnection::finishLocked(pa_operation* operation) {
    if (!operation)
        return false;
    const bool ended = waitLocked(
        [operation] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; });
    if (!ended)
        pa_operation_cancel(operation);
    pa_operation_unref(operation);
    return ended;
}

QString SoundServerConnection::lastError() const {
    return QString::fromUtf8(pa_strerror(_context ? pa_context_errno(_context) : PA_ERR_UNKNOWN));
}

SoundServerConnection::Lock::Lock(const SoundServerConnection& connection)
    : _loop(connection._loop) {
    pa_threaded_mainloop_lock(_loop);
}

SoundServerConnection::Lock::~Lock() {
    pa_threaded_mainloop_unlock(_loop);
}
