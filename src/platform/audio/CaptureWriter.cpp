#include "platform/audio/CaptureWriter.h"

#include "platform/audio/VoiceTrigger.h"

#include "platform/foundation/Log.h"
#include "platform/movie/MovieWriter.h"

#include <QFileInfo>

#include <deque>
#include <limits>
#include <pthread.h>

namespace {
constexpr auto kWakeInterval = std::chrono::milliseconds(250);
// While a stop waits for its last frames, which are at most a block or two away.
constexpr auto kStoppingWakeInterval = std::chrono::milliseconds(5);
constexpr uint64_t kOpenEnded = std::numeric_limits<uint64_t>::max();
// Appends of at most this many frames keep the encoder's buffer small.
constexpr size_t kMaxFramesPerAppend = 16384;
} // namespace

struct CaptureWriter::Job {
    std::unique_ptr<MovieWriter> file;
    std::shared_ptr<SampleRing> ring;
    uint64_t channels = 2;
    uint64_t framesPerPacket = 1;
    uint64_t maxFrames = 0;
    Start start; // as asked for; resolved into startElement
    bool startKnown = false;
    std::optional<Stop> stop;
    uint64_t startElement = 0;
    uint64_t stopElement = kOpenEnded;
    uint64_t capElement = kOpenEnded;
    uint64_t leadIn = 0;     // frames of silence before the start frame
    uint64_t leadInLeft = 0; // of which not yet written
    // A stop by length: the file ends once it holds this many frames (holds left out).
    uint64_t fileStopFrames = kOpenEnded;
    uint64_t serial = 0;
    std::deque<uint64_t> bounds; // ring frames: a hold, the resume after it, the next hold ...
    uint64_t skipToElement = 0;  // frames before this are left out (a resume's start)
    uint64_t keepElements = 0;   // what a hold keeps of the recent past
    std::shared_ptr<const VoiceTrigger> silenceTrigger; // see limitToSilence
    uint64_t silenceFrames = 0;
    bool failed = false;
    int completion = 0;
    QString completionText;
    uint64_t overrunsSeen = 0;
    std::chrono::steady_clock::time_point lastOverrunLog{};
};

CaptureWriter::CaptureWriter()
    : _thread([this] {
          pthread_setname_np(pthread_self(), "bv-writer"); // for top and profilers
          run();
      }) {}

CaptureWriter::~CaptureWriter() {
    {
        std::lock_guard lock(_mutex);
        _quit = true;
        ++_commands;
    }
    _wake.notify_one();
    _thread.join();
}

void CaptureWriter::begin(std::unique_ptr<MovieWriter> file, std::shared_ptr<SampleRing> ring,
                          int channels, uint64_t framesPerPacket, Start start, uint64_t maxFrames) {
    auto job = std::make_unique<Job>();
    std::unique_lock serialLock(_mutex);
    job->serial = ++_serial;
    _bounds.clear();
    _boundsGiven = 0;
    serialLock.unlock();
    job->file = std::move(file);
    job->channels = uint64_t(channels);
    job->framesPerPacket = std::max<uint64_t>(1, framesPerPacket);
    job->maxFrames = maxFrames;
    job->start = std::move(start);
    resolveStart(*job);
    job->overrunsSeen = ring->overruns();
    job->ring = std::move(ring);
    const QString path = job->file->path();
    {
        std::lock_guard lock(_mutex);
        _pending = std::move(job);
        _active = true;
        _openFiles.append(path);
        _stop.reset();
        _finishNow = false;
        _done = false;
        _error = 0;
        _errorText.clear();
        _failed.store(false, std::memory_order_release);
        ++_commands;
    }
    _framesWritten.store(0, std::memory_order_relaxed);
    _wake.notify_one();
}

CaptureWriter::Result CaptureWriter::finish(Stop stop, std::chrono::milliseconds wait) {
    std::unique_lock lock(_mutex);
    if (!_active)
        return {};
    _stop = stop;
    ++_commands;
    _wake.notify_one();
    if (!_finished.wait_for(lock, wait, [this] { return _done; })) {
        // The device stopped delivering: end the file with what arrived.
        _finishNow = true;
        ++_commands;
        _wake.notify_one();
        _finished.wait_for(lock, std::chrono::seconds(5), [this] { return _done; });
    }
    _active = false;
    if (!_done)
        return {ETIMEDOUT, QStringLiteral("the recording's writer did not respond"), 0, 0};
    return _result;
}

void CaptureWriter::hold(uint64_t frame) {
    std::lock_guard lock(_mutex);
    // Strictly a hold, then a resume: a second hold in a row changes nothing.
    if (!_active || _boundsGiven % 2 == 1)
        return;
    ++_boundsGiven;
    _bounds.push_back(frame);
    ++_commands;
    _wake.notify_one();
}

void CaptureWriter::resume(uint64_t frame) {
    std::lock_guard lock(_mutex);
    if (!_active || _boundsGiven % 2 == 0)
        return;
    ++_boundsGiven;
    _bounds.push_back(frame);
    ++_commands;
    _wake.notify_one();
}

void CaptureWriter::keepRecent(std::shared_ptr<SampleRing> ring, int channels, uint64_t frames) {
    std::lock_guard lock(_mutex);
    _keepElements = ring ? frames * uint64_t(std::max(channels, 1)) : 0;
    _keepRing = std::move(ring);
    ++_commands;
    _wake.notify_one();
}

void CaptureWriter::limitToSilence(std::shared_ptr<const VoiceTrigger> trigger,
                                   uint64_t silenceFrames) {
    std::lock_guard lock(_mutex);
    _silenceTrigger = std::move(trigger);
    _silenceFrames = silenceFrames;
    ++_commands;
    _wake.notify_one();
}

void CaptureWriter::trim(SampleRing& ring, uint64_t keepElements, uint64_t notBefore) {
    const uint64_t written = ring.writePosition();
    if (written > keepElements && written - keepElements > notBefore)
        ring.discardTo(written - keepElements);
}

bool CaptureWriter::passHold(Job& job, uint64_t keepElements) {
    SampleRing& ring = *job.ring;
    while (!job.bounds.empty()) {
        const uint64_t holdElement = job.bounds.front() * job.channels;
        if (ring.readPosition() < holdElement)
            return true;
        if (job.bounds.size() < 2) {
            // Waiting: only the recent past is kept, for the sound that ends the wait.
            if (keepElements > 0)
                trim(ring, keepElements, holdElement);
            return false;
        }
        job.skipToElement = std::max(job.bounds[1] * job.channels, holdElement);
        job.bounds.pop_front();
        job.bounds.pop_front();
        ring.discardTo(job.skipToElement);
    }
    return true;
}

void CaptureWriter::waitUntilClosed(const QString& path) {
    std::unique_lock lock(_mutex);
    _finished.wait_for(lock, std::chrono::seconds(5), [&] { return !_openFiles.contains(path); });
}

bool CaptureWriter::isOpen(const QString& path) const {
    std::lock_guard lock(_mutex);
    return _openFiles.contains(path);
}

CaptureWriter::Status CaptureWriter::status() const {
    Status s;
    if (_failed.load(std::memory_order_acquire)) {
        std::lock_guard lock(_mutex);
        s.error = _error;
        s.errorText = _errorText;
    }
    s.framesWritten = _framesWritten.load(std::memory_order_relaxed);
    return s;
}

void CaptureWriter::fail(Job& job) {
    // Complete the file for what is on the disk (or leave it repairable), and report.
    job.failed = true;
    job.completion = job.file->complete();
    job.completionText = job.file->errorText();
    const QString reason = job.file->errorText();
    bvLog(QStringLiteral("couldn't write the recording %1: %2")
              .arg(QFileInfo(job.file->path()).fileName(), reason));
    std::lock_guard lock(_mutex);
    _error = job.file->error();
    _errorText = reason;
    _failed.store(_error != 0, std::memory_order_release);
}

bool CaptureWriter::resolveStart(Job& job) {
    if (job.startKnown)
        return true;
    uint64_t frame = StartMark::kPending;
    if (job.start.frame)
        frame = *job.start.frame;
    else if (job.start.mark)
        frame = job.start.mark->frame.load(std::memory_order_acquire);
    if (frame == StartMark::kPending)
        return false;
    if (!job.start.frame && job.start.mark) {
        // Whole packets, so that the sound after it stays on the packet grid.
        const uint64_t leadIn = job.start.mark->leadIn.load(std::memory_order_relaxed);
        job.leadIn = std::min(leadIn / job.framesPerPacket * job.framesPerPacket,
                              job.maxFrames ? job.maxFrames : leadIn);
        job.leadInLeft = job.leadIn;
    }
    job.startElement = frame * job.channels;
    job.startKnown = true;
    if (job.maxFrames)
        job.capElement = job.startElement + (job.maxFrames - job.leadIn) * job.channels;
    return true;
}

bool CaptureWriter::writeLeadIn(Job& job) {
    const std::vector<int32_t> silence(
        size_t(std::min<uint64_t>(job.leadInLeft, kMaxFramesPerAppend) * job.channels), 0);
    while (job.leadInLeft > 0) {
        const size_t frames = size_t(std::min<uint64_t>(job.leadInLeft, kMaxFramesPerAppend));
        if (!job.file->append(silence.data(), frames))
            return false;
        job.leadInLeft -= frames;
    }
    _framesWritten.store(job.file->framesWritten(), std::memory_order_relaxed);
    return true;
}

void CaptureWriter::resolveStop(Job& job) {
    if (!job.stop || !job.startKnown || job.stopElement != kOpenEnded ||
        job.fileStopFrames != kOpenEnded)
        return;
    const uint64_t packet = job.framesPerPacket;
    if (!job.stop->frame) {
        // Counted in the file's frames, lead-in included, so that holds do not lengthen it.
        const uint64_t packets = (job.stop->framesAfterStart + packet - 1) / packet;
        job.fileStopFrames = std::max(packets * packet, job.leadIn);
        return;
    }
    const uint64_t start = job.startElement / job.channels;
    const uint64_t end = std::max(*job.stop->frame, start);
    const uint64_t packets = (end - start + packet - 1) / packet;
    job.stopElement = (start + packets * packet) * job.channels;
}

uint64_t CaptureWriter::silenceLimit(const Job& job) {
    if (!job.silenceTrigger)
        return kOpenEnded;
    const uint64_t sound = std::max(job.silenceTrigger->lastLoudEnd(),
                                    std::max(job.startElement, job.skipToElement) / job.channels);
    return (sound + job.silenceFrames) * job.channels;
}

void CaptureWriter::drain(Job& job) {
    SampleRing& ring = *job.ring;
    if (!resolveStart(job))
        return; // the first block after the start has not come yet
    if (job.leadInLeft > 0 && !job.failed && !writeLeadIn(job)) {
        fail(job);
        return;
    }
    resolveStop(job);
    if (ring.readPosition() < job.startElement) {
        ring.discardTo(job.startElement);
        if (ring.readPosition() < job.startElement)
            return; // the start has not arrived yet
    }
    const uint64_t keep = job.keepElements;
    for (;;) {
        if (job.fileStopFrames != kOpenEnded && job.file->framesWritten() >= job.fileStopFrames) {
            job.stopElement = ring.readPosition();
            break;
        }
        if (!passHold(job, keep))
            break;
        const uint64_t holdElement =
            job.bounds.empty() ? kOpenEnded : job.bounds.front() * job.channels;
        const uint64_t end = std::min({job.stopElement, job.capElement, holdElement});
        const uint64_t position = ring.readPosition();
        auto [data, count] = ring.readable();
        if (count == 0)
            break;
        if (position < job.skipToElement) {
            ring.consume(size_t(std::min<uint64_t>(count, job.skipToElement - position)));
            continue;
        }
        if (position >= holdElement)
            continue; // passHold decides
        // Not past where a silence would end the file: that much waits for the next sound.
        const uint64_t silenceEnd = silenceLimit(job);
        if (!job.stop && position >= silenceEnd)
            break;
        if (!job.stop)
            count = size_t(std::min<uint64_t>(count, silenceEnd - position));
        if (position >= end || job.failed) {
            // Past the cap, or the file failed: drop what comes, up to the end of the file.
            const uint64_t limit =
                job.stopElement == kOpenEnded ? position + count : job.stopElement;
            if (position >= limit)
                break;
            ring.consume(size_t(std::min<uint64_t>(count, limit - position)));
            continue;
        }
        size_t take = size_t(std::min<uint64_t>(count, end - position));
        take = std::min(take, kMaxFramesPerAppend * size_t(job.channels));
        if (job.fileStopFrames != kOpenEnded)
            take = std::min<size_t>(take, size_t(job.fileStopFrames - job.file->framesWritten()) *
                                              job.channels);
        const bool ok = job.file->append(data, take / job.channels);
        ring.consume(take);
        _framesWritten.store(job.file->framesWritten(), std::memory_order_relaxed);
        if (!ok) {
            fail(job);
            break;
        }
    }
    const uint64_t overruns = ring.overruns();
    const auto now = std::chrono::steady_clock::now();
    if (overruns != job.overrunsSeen && now - job.lastOverrunLog >= std::chrono::seconds(1)) {
        bvLog(QStringLiteral("capture overrun: %1 blocks of sound lost while writing %2")
                  .arg(overruns - job.overrunsSeen)
                  .arg(QFileInfo(job.file->path()).fileName()));
        job.overrunsSeen = overruns;
        job.lastOverrunLog = now;
    }
}

void CaptureWriter::run() {
    std::unique_ptr<Job> job;
    uint64_t seen = 0;
    for (;;) {
        bool finishNow = false;
        bool quit = false;
        std::shared_ptr<SampleRing> keepRing;
        uint64_t keepElements = 0;
        {
            std::unique_lock lock(_mutex);
            // Without a file there is nothing to poll for but a ring to keep short: sleep until
            // told, or until it is time to trim it.
            if (job)
                _wake.wait_for(lock, job->stop ? kStoppingWakeInterval : kWakeInterval,
                               [&] { return _commands != seen; });
            else if (_keepRing)
                _wake.wait_for(lock, kWakeInterval, [&] { return _commands != seen; });
            else
                _wake.wait(lock, [&] { return _commands != seen; });
            seen = _commands;
            if (_pending && !job)
                job = std::move(_pending);
            if (job && _stop && !job->stop)
                job->stop = _stop;
            if (job && job->serial == _serial) {
                for (uint64_t bound : _bounds)
                    job->bounds.push_back(bound);
                _bounds.clear();
                job->keepElements = job->ring == _keepRing ? _keepElements : 0;
                job->silenceTrigger = job->ring == _keepRing ? _silenceTrigger : nullptr;
                job->silenceFrames = _silenceFrames;
            }
            finishNow = _finishNow;
            quit = _quit;
            keepRing = _keepRing;
            keepElements = _keepElements;
        }
        if (!job && keepRing)
            trim(*keepRing, keepElements, 0);
        if (job) {
            drain(*job);
            const bool ended =
                job->stopElement != kOpenEnded && job->ring->readPosition() >= job->stopElement;
            if (ended || (job->stop && finishNow) || quit) {
                Result result{job->completion, job->completionText, 0, 0};
                if (!job->failed) {
                    // Synced below, after the stop has been answered, to keep it quick.
                    result.error = job->file->complete(false);
                    result.errorText = job->file->errorText();
                }
                const uint64_t written = job->file->framesWritten();
                _framesWritten.store(written, std::memory_order_relaxed);
                // A start never marked (the device delivered nothing) leaves an empty file.
                result.startFrame = job->startKnown ? job->startElement / job->channels : 0;
                result.leadInFrames = job->leadIn - job->leadInLeft;
                result.endFrame = job->stopElement != kOpenEnded
                                      ? job->stopElement / job->channels
                                      : result.startFrame + written - result.leadInFrames;
                {
                    std::lock_guard lock(_mutex);
                    _done = true;
                    _result = result;
                    _finished.notify_all();
                }
                const QString path = job->file->path();
                job.reset(); // syncs, closes the file and releases its lock
                std::lock_guard lock(_mutex);
                _openFiles.removeOne(path);
                _finished.notify_all();
            } else if (!job->failed) {
                job->file->syncIfDue();
            }
        }
        if (quit && !job) {
            std::lock_guard lock(_mutex);
            _pending.reset();
            return;
        }
    }
}
