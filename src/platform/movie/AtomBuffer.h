#pragma once

#include <QByteArray>

#include <cstdint>

// Appends big-endian fields and nested atoms to a byte array; an atom's size is filled in when
// it is closed.
class AtomBuffer {
public:
    void u8(uint8_t v) { _bytes.append(char(v)); }
    void u16(uint16_t v) {
        u8(uint8_t(v >> 8));
        u8(uint8_t(v));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v >> 16));
        u16(uint16_t(v));
    }
    void u64(uint64_t v) {
        u32(uint32_t(v >> 32));
        u32(uint32_t(v));
    }
    void zeros(int count) { _bytes.append(count, '\0'); }
    void bytes(const QByteArray& b) { _bytes.append(b); }

    // Opens an atom of the given type; answers the token that close() takes.
    qsizetype open(uint32_t type) {
        const qsizetype start = _bytes.size();
        u32(0);
        u32(type);
        return start;
    }
    void close(qsizetype start) {
        const auto size = uint32_t(_bytes.size() - start);
        for (int i = 0; i < 4; ++i)
            _bytes[start + i] = char(uint8_t(size >> (24 - 8 * i)));
    }
    // A full atom: version and flags follow the header.
    qsizetype openFull(uint32_t type, uint8_t version = 0, uint32_t flags = 0) {
        const qsizetype start = open(type);
        u32((uint32_t(version) << 24) | (flags & 0xFFFFFF));
        return start;
    }

    const QByteArray& data() const { return _bytes; }
    qsizetype size() const { return _bytes.size(); }

private:
    QByteArray _bytes;
};

// Reads big-endian fields from a byte array; reading past the end answers zeros and marks the
// reader failed.
class AtomReader {
public:
    explicit AtomReader(const QByteArray& bytes, qsizetype pos = 0) : _bytes(bytes), _pos(pos) {}

    uint8_t u8() {
        if (_pos >= _bytes.size()) {
            _failed = true;
            return 0;
        }
        return uint8_t(_bytes[_pos++]);
    }
    uint16_t u16() {
        const uint16_t hi = u8();
        return uint16_t((hi << 8) | u8());
    }
    uint32_t u32() {
        const uint32_t hi = u16();
        return (hi << 16) | u16();
    }
    uint64_t u64() {
        const uint64_t hi = u32();
        return (hi << 32) | u32();
    }
    void skip(qsizetype count) {
        if (count < 0 || _pos + count > _bytes.size()) {
            _failed = true;
            _pos = _bytes.size();
            return;
        }
        _pos += count;
    }
    qsizetype pos() const { return _pos; }
    bool failed() const { return _failed; }

private:
    const QByteArray& _bytes;
    qsizetype _pos;
    bool _failed = false;
};
