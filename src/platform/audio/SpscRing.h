#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

// A lock-free ring of elements for exactly one producer thread and one consumer thread (the
// capture callback and the file writer, the playback decoder and the output callback). Neither
// side locks, allocates or waits. push() takes a block whole or drops it and counts an
// overrun; pushSome() takes what fits. Positions count elements since the ring was made or
// reset (64-bit, they never wrap in practice), so both sides can name an exact place.
template <typename T> class SpscRing {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    // The capacity is rounded up to a power of two.
    explicit SpscRing(size_t minCapacity = 1) { allocate(minCapacity); }
    SpscRing(const SpscRing&) = delete;
    SpscRing& operator=(const SpscRing&) = delete;

    // Not thread-safe: only while neither side runs. Empties the ring.
    void allocate(size_t minCapacity) {
        size_t capacity = 1;
        while (capacity < minCapacity)
            capacity <<= 1;
        _buffer = std::make_unique<T[]>(capacity);
        _mask = capacity - 1;
        reset();
    }
    // Not thread-safe: only while the consumer is stopped and the producer holds off.
    void reset() {
        _read.store(0, std::memory_order_relaxed);
        _write.store(0, std::memory_order_release);
    }

    size_t capacity() const { return _mask + 1; }

    // Producer: appends all `count` elements, or none (counted) when they do not fit.
    bool push(const T* data, size_t count) {
        const uint64_t write = _write.load(std::memory_order_relaxed);
        const uint64_t read = _read.load(std::memory_order_acquire);
        if (count > capacity() - size_t(write - read)) {
            _overruns.fetch_add(1, std::memory_order_relaxed);
            _lost.fetch_add(count, std::memory_order_relaxed);
            return false;
        }
        const size_t at = size_t(write) & _mask;
        const size_t first = std::min(count, capacity() - at);
        std::memcpy(_buffer.get() + at, data, first * sizeof(T));
        std::memcpy(_buffer.get(), data + first, (count - first) * sizeof(T));
        _write.store(write + count, std::memory_order_release);
        return true;
    }

    // Producer: appends as many of `count` elements as fit; answers how many.
    size_t pushSome(const T* data, size_t count) {
        const size_t n = std::min(count, writableCount());
        if (n > 0)
            push(data, n);
        return n;
    }
    size_t writableCount() const { return capacity() - readableCount(); }

    // Consumer: the readable elements that lie contiguously at the read position.
    std::pair<const T*, size_t> readable() const {
        const uint64_t read = _read.load(std::memory_order_relaxed);
        const uint64_t write = _write.load(std::memory_order_acquire);
        const size_t at = size_t(read) & _mask;
        return {_buffer.get() + at, std::min(size_t(write - read), capacity() - at)};
    }
    size_t readableCount() const {
        return size_t(_write.load(std::memory_order_acquire) -
                      _read.load(std::memory_order_acquire));
    }
    // Consumer: releases `count` elements (at most what is readable).
    void consume(size_t count) {
        const uint64_t read = _read.load(std::memory_order_relaxed);
        const uint64_t write = _write.load(std::memory_order_acquire);
        _read.store(read + std::min<uint64_t>(count, write - read), std::memory_order_release);
    }
    // Consumer: copies out and releases up to `max` elements.
    size_t pop(T* out, size_t max) {
        size_t done = 0;
        while (done < max) {
            const auto [data, count] = readable();
            const size_t n = std::min(count, max - done);
            if (n == 0)
                break;
            std::memcpy(out + done, data, n * sizeof(T));
            consume(n);
            done += n;
        }
        return done;
    }
    // Consumer: skips to `position`, or to what has been written if that is less.
    void discardTo(uint64_t position) {
        const uint64_t read = _read.load(std::memory_order_relaxed);
        if (position > read)
            consume(size_t(position - read));
    }

    // Either side.
    uint64_t writePosition() const { return _write.load(std::memory_order_acquire); }
    uint64_t readPosition() const { return _read.load(std::memory_order_acquire); }
    uint64_t overruns() const { return _overruns.load(std::memory_order_relaxed); }
    uint64_t lostElements() const { return _lost.load(std::memory_order_relaxed); }

private:
    std::unique_ptr<T[]> _buffer;
    size_t _mask = 0;
    alignas(64) std::atomic<uint64_t> _write{0};
    alignas(64) std::atomic<uint64_t> _read{0};
    alignas(64) std::atomic<uint64_t> _overruns{0};
    std::atomic<uint64_t> _lost{0};
};
