#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>

// A lock-free ring of samples between exactly one writer thread and one reader thread (the
// decoder and the audio callback). Neither side locks, allocates or waits; each index is only
// ever advanced by its own side. The capacity is rounded up to a power of two.
template <typename T> class SpscRingBuffer {
    static_assert(std::is_trivially_copyable_v<T>);
    static_assert(std::atomic<size_t>::is_always_lock_free);

public:
    explicit SpscRingBuffer(size_t minimumCapacity = 0) { allocate(minimumCapacity); }

    SpscRingBuffer(const SpscRingBuffer&) = delete;
    SpscRingBuffer& operator=(const SpscRingBuffer&) = delete;

    // Not thread-safe: only while neither side runs.
    void allocate(size_t minimumCapacity) {
        size_t capacity = 1;
        while (capacity < minimumCapacity)
            capacity <<= 1;
        _data = std::make_unique<T[]>(capacity);
        _capacity = capacity;
        reset();
    }

    // Not thread-safe: only while the reader is stopped and the writer holds off.
    void reset() {
        _readIndex.store(0, std::memory_order_relaxed);
        _writeIndex.store(0, std::memory_order_release);
    }

    size_t capacity() const { return _capacity; }

    // Either side may ask; the answer can only grow for the side that asks about its own work.
    size_t readAvailable() const {
        return _writeIndex.load(std::memory_order_acquire) -
               _readIndex.load(std::memory_order_acquire);
    }
    size_t writeAvailable() const { return _capacity - readAvailable(); }

    // Writer side: copies as many of count items as fit; answers how many were written.
    size_t write(const T* items, size_t count) {
        const size_t write = _writeIndex.load(std::memory_order_relaxed);
        const size_t read = _readIndex.load(std::memory_order_acquire);
        const size_t n = std::min(count, _capacity - (write - read));
        copyIn(write, items, n);
        _writeIndex.store(write + n, std::memory_order_release);
        return n;
    }

    // Reader side: copies up to count items out; answers how many were read.
    size_t read(T* items, size_t count) {
        const size_t read = _readIndex.load(std::memory_order_relaxed);
        const size_t write = _writeIndex.load(std::memory_order_acquire);
        const size_t n = std::min(count, write - read);
        copyOut(read, items, n);
        _readIndex.store(read + n, std::memory_order_release);
        return n;
    }

private:
    void copyIn(size_t index, const T* items, size_t n) {
        const size_t start = index & (_capacity - 1);
        const size_t first = std::min(n, _capacity - start);
        std::memcpy(_data.get() + start, items, first * sizeof(T));
        std::memcpy(_data.get(), items + first, (n - first) * sizeof(T));
    }
    void copyOut(size_t index, T* items, size_t n) const {
        const size_t start = index & (_capacity - 1);
        const size_t first = std::min(n, _capacity - start);
        std::memcpy(items, _data.get() + start, first * sizeof(T));
        std::memcpy(items + first, _data.get(), (n - first) * sizeof(T));
    }

    std::unique_ptr<T[]> _data;
    size_t _capacity = 0;
    // Free-running indices (wrapping is harmless with a power-of-two capacity); kept on
    // separate cache lines so that the two threads do not fight over one.
    alignas(64) std::atomic<size_t> _writeIndex{0};
    alignas(64) std::atomic<size_t> _readIndex{0};
};
