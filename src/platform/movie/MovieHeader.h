#pragma once

#include "platform/movie/SoundFormat.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

// The bytes of our QuickTime movie files, built without any I/O so that every layout, including
// those of files past 4 GiB, can be checked in memory.
//
// A recording file is laid out as
//   ftyp 'qt  '            file type
//   bvrc                   our leading atom: the sound format, checksummed (repair reads it)
//   free (kReserveBytes)   room for a compact movie header should the disk fill up; its last
//                          kTagBytes hold a copy of the leading atom
//   wide                   turns into the 64-bit size of the mdat when the data passes 4 GiB
//   mdat                   the sound, size 0 ("to the end of the file") until it is completed
//   moov                   appended when the recording is completed
namespace MovieHeader {

constexpr uint32_t fourcc(const char (&s)[5]) {
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
           (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

uint32_t codecFourcc(SoundCodec codec);

// What our leading atom records about a file.
struct RecordingTag {
    SoundFormat format;
    uint64_t createdUnix = 0; // seconds since 1970

    bool operator==(const RecordingTag&) const = default;
};

constexpr uint32_t kFtypBytes = 20;
constexpr uint32_t kTagBytes = 48;
constexpr uint32_t kReserveBytes = 1024;
constexpr uint64_t kReserveOffset = kFtypBytes + kTagBytes;
// Where the wide atom starts; the mdat header follows it.
constexpr uint64_t kWideOffset = kReserveOffset + kReserveBytes;
constexpr uint64_t kDataOffset = kWideOffset + 16;
// The copy of the leading atom, so that one damaged sector does not cost the recording its format.
constexpr uint64_t kTagCopyOffset = kReserveOffset + kReserveBytes - kTagBytes;
// The largest movie atom that fits the reserve without touching the copy.
constexpr uint32_t kCompactMovieBytes = kReserveBytes - kTagBytes - 8;

QByteArray encodeTag(const RecordingTag& tag); // the whole leading atom, kTagBytes long
std::optional<RecordingTag> decodeTag(const QByteArray& atom);

// Everything before the sound data (kDataOffset bytes), the mdat open-ended.
QByteArray fileHead(const RecordingTag& tag);
// The kDataOffset first bytes of a file are ours: our file type and a valid leading atom (or,
// when that is damaged, a valid copy of it and nothing that contradicts it).
std::optional<RecordingTag> readFileHead(const QByteArray& head);

// The sound data as the sample tables describe it: `frames` frames (a whole number of packets)
// from `dataOffset`, in chunks of `framesPerChunk` frames (a whole number of packets; the last
// chunk may be shorter).
struct ChunkLayout {
    uint64_t dataOffset = kDataOffset;
    uint64_t frames = 0;
    uint32_t framesPerChunk = 0;

    uint64_t chunkCount() const;
};

// About one second per chunk, rounded down to whole packets.
uint32_t defaultFramesPerChunk(const SoundFormat& format);
// The most frames one movie holds (the sample tables count in 32 bits).
constexpr uint64_t kMaxFrames = 0xFFFFFFC0ull;

// The whole moov atom; chunk offsets go 64-bit (co64) once one of them passes 4 GiB.
QByteArray buildMovie(const SoundFormat& format, const ChunkLayout& layout, uint64_t createdUnix);

// The bytes that close the mdat for `dataBytes` of sound at kDataOffset: written at
// kWideOffset, a wide atom and a 32-bit mdat header, or one 64-bit mdat header past 4 GiB.
QByteArray mdatHeader(uint64_t dataBytes);
// A 'free' atom header of the given total size (at least 8).
QByteArray freeHeader(uint32_t size);

} // namespace MovieHeader
