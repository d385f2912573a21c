#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <functional>

// One atom header as found in a file: where it starts and how long it claims to be.
struct Atom {
    uint64_t offset = 0;
    uint64_t size = 0; // whole atom, header included
    uint32_t type = 0;
    uint32_t headerSize = 8;

    uint64_t end() const { return offset + size; }
    uint64_t bodyOffset() const { return offset + headerSize; }
};

// Walks the atoms between two offsets without trusting a single size: the arithmetic is checked
// (a 64-bit size near 2^64 cannot wrap), every step moves strictly forward and stays inside the
// parent, and the nesting depth and the number of atoms of one walk are bounded. A walk that
// meets anything else stops with Broken or RunsPast rather than guess.
class AtomWalker {
public:
    // Reads exactly `length` bytes at `offset`; false when they are not all there.
    using Read = std::function<bool(uint64_t offset, void* buffer, size_t length)>;

    static constexpr int kMaxDepth = 16;
    static constexpr uint32_t kMaxAtoms = 100000;

    // Shared by a walk and the walks of its children.
    struct Budget {
        uint32_t atomsLeft = kMaxAtoms;
    };

    enum class Step {
        Atom,     // the next atom; it lies wholly inside the parent
        End,      // the parent ends exactly here
        RunsPast, // the next atom (or its header) runs past the parent's end; *atom holds the
                  // header when it could be read (a file still being written looks like this)
        Broken,   // a size smaller than its header, or past the depth or atom limits
    };

    AtomWalker(Read read, uint64_t begin, uint64_t end, Budget* budget, int depth = 0);

    Step next(Atom* atom);
    // A walk over the atom's body, one level deeper; Broken at once past kMaxDepth.
    AtomWalker children(const Atom& atom) const;
    uint64_t position() const { return _pos; }

    // A Read over bytes in memory, offset 0 being their first byte. The bytes must outlive it.
    static Read over(const QByteArray& bytes);

private:
    Read _read;
    uint64_t _pos;
    uint64_t _end;
    Budget* _budget;
    int _depth;
};

namespace AtomBytes {
inline uint32_t be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
inline uint64_t be64(const uint8_t* p) {
    return (uint64_t(be32(p)) << 32) | be32(p + 4);
}
} // namespace AtomBytes
