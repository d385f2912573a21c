#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

// A lock-free ring of elements for exactly one producer thread and one consumer thread. The
// producer never blocks and never allocates: a push that does not fit is dropped whole and
// counted as an overrun. Positions count elements since the ring was made (64-bit, they never
// wrap in practice), so both sides can name an exact place in the stream.
template <typename T> class SpscRing {
public:
    // The capacity is rounded up to a power of two.
    explicit SpscRing(size_t minCapacity) {
        size_t capacity = 1;
        while (capacity < minCapacity)
            capacity <<= 1;
        _buffer = std::make_unique<T[]>(capacity);
        _mask = capacity - 1;
    }
    SpscRing(const SpscRing&) = delete;
    SpscRing& operator=(const SpscRing&) = delete;

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

    // Consumer: the readable elements that lie contiguously at the read position.
    std::pair<const T*, size_t> readable() const {
        const uint64_t read = _read.load(std::memory_order_relaxed);
        const uint64_t write = _write.load(std::memory_order_acquire);
        const size_t at = size_t(read) & _mask;
        return {_buffer.get() + at, std::min(size_t(write - read), capacity() - at)};
    }
    size_t readableCount() const {
        return size_t(_write.load(std::memory_order_acquire) -
                      _read.load(std::memory_order_relaxed));
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
