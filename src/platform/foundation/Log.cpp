#include "platform/foundation/Log.h"

#include <QMutex>
#include <QMutexLocker>

#include <atomic>
#include <cstdio>
#include <syslog.h>
#include <vector>

void deliverToCaptures(const QString& line);

namespace {

QMutex& logMutex() {
    static QMutex mutex;
    return mutex;
}

std::vector<LogCapture*>& captures() {
    static std::vector<LogCapture*> list;
    return list;
}

std::atomic<int> gCaptureCount{0};

bool debugToStderr() {
    static const bool enabled = !qEnvironmentVariableIsEmpty("BREVOIR_LOG_DEBUG");
    return enabled;
}

void openSystemLog() {
    static const bool opened = [] {
        openlog("brevoir", LOG_NDELAY, LOG_USER);
        return true;
    }();
    (void)opened;
}

void emitLine(const QString& line, bool debug) {
    const QByteArray bytes = line.toUtf8();
    QMutexLocker lock(&logMutex());
    deliverToCaptures(line);
    if (debug && !debugToStderr())
        return;
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
    openSystemLog();
    syslog(debug ? LOG_DEBUG : LOG_INFO, "%s", bytes.constData());
}

} // namespace

void deliverToCaptures(const QString& line) {
    for (LogCapture* capture : captures())
        capture->append(line);
}

void bvLog(const QString& line) {
    emitLine(line, false);
}
void bvLogDebug(const QString& line) {
    emitLine(line, true);
}

bool bvLogDebugWanted() {
    return debugToStderr() || gCaptureCount.load(std::memory_order_relaxed) > 0;
}

LogCapture::LogCapture() {
    QMutexLocker lock(&logMutex());
    captures().push_back(this);
    gCaptureCount.fetch_add(1, std::memory_order_relaxed);
}

LogCapture::~LogCapture() {
    QMutexLocker lock(&logMutex());
    std::erase(captures(), this);
    gCaptureCount.fetch_sub(1, std::memory_order_relaxed);
}

void LogCapture::append(const QString& line) {
    _lines.append(line);
}

QStringList LogCapture::lines() const {
    QMutexLocker lock(&logMutex());
    return _lines;
}

int LogCapture::count(const QString& line) const {
    QMutexLocker lock(&logMutex());
    return static_cast<int>(_lines.count(line));
}

void LogCapture::clear() {
    QMutexLocker lock(&logMutex());
    _lines.clear();
}
