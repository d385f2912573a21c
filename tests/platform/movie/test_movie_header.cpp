#include "platform/movie/AtomBuffer.h"
#include "platform/movie/MovieHeader.h"

#include <gtest/gtest.h>

#include <optional>

using namespace MovieHeader;

namespace {
uint32_t typeOf(const char* s) {
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
           (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

// The payload position and size of the atom at `path` below the top level of `bytes`.
struct Found {
    qsizetype payload = -1;
    qsizetype size = 0;
};
Found findAtom(const QByteArray& bytes, std::initializer_list<const char*> path) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    Found found;
    for (const char* name : path) {
        const uint32_t wanted = typeOf(name);
        found = {};
        for (qsizetype pos = begin; pos + 8 <= end;) {
            AtomReader r(bytes, pos);
            const uint32_t size = r.u32();
            const uint32_t type = r.u32();
            if (size < 8)
                return {};
            if (type == wanted) {
                found = {pos + 8, qsizetype(size) - 8};
                break;
            }
            pos += size;
        }
        if (found.payload < 0)
            return {};
        begin = found.payload;
        end = found.payload + found.size;
    }
    return found;
}

const char* kTables[] = {"moov", "trak", "mdia", "minf", "stbl"};

Found table(const QByteArray& movie, const char* name) {
    return findAtom(movie, {kTables[0], kTables[1], kTables[2], kTables[3], kTables[4], name});
}
} // namespace

TEST(MovieHeader, LeadingAtomRoundTripsAndRejectsWhatWeDidNotWrite) {
    RecordingTag tag;
    tag.format = {SoundCodec::Ima4, 22050, 1};
    tag.createdUnix = 1700000000;
    const QByteArray atom = encodeTag(tag);
    ASSERT_EQ(atom.size(), qsizetype(kTagBytes));
    EXPECT_EQ(decodeTag(atom), tag);

    for (qsizetype at : {qsizetype(5), qsizetype(9), qsizetype(13), qsizetype(20), qsizetype(44)}) {
        QByteArray bad = atom;
        bad[at] = char(bad[at] ^ 0x10); // type, magic, version, payload, checksum
        EXPECT_FALSE(decodeTag(bad)) << "byte " << at;
    }
    EXPECT_FALSE(decodeTag(atom.left(40)));

    const QByteArray head = fileHead(tag);
    ASSERT_EQ(head.size(), qsizetype(kDataOffset));
    EXPECT_EQ(readFileHead(head), tag);
    EXPECT_FALSE(readFileHead(QByteArray(head.size(), 'x')));
}

TEST(MovieHeader, SampleTablesDescribeChunksWithAShortLastOne) {
    const SoundFormat format{SoundCodec::Sowt, 44100, 2};
    ChunkLayout layout;
    layout.frames = 44100 * 3 + 100;
    layout.framesPerChunk = defaultFramesPerChunk(format);
    ASSERT_EQ(layout.framesPerChunk, 44100u);
    const QByteArray movie = buildMovie(format, layout, 0);

    const Found stsc = table(movie, "stsc");
    ASSERT_GE(stsc.payload, 0);
    AtomReader r(movie, stsc.payload + 4);
    ASSERT_EQ(r.u32(), 2u);
    EXPECT_EQ(r.u32(), 1u);
    EXPECT_EQ(r.u32(), 44100u);
    r.skip(4);
    EXPECT_EQ(r.u32(), 4u); // the fourth chunk holds the rest
    EXPECT_EQ(r.u32(), 100u);

    const Found stco = table(movie, "stco");
    ASSERT_GE(stco.payload, 0);
    AtomReader o(movie, stco.payload + 4);
    ASSERT_EQ(o.u32(), 4u);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(o.u32(), kDataOffset + i * 44100u * 4);

    // IMA chunks are whole packets.
    const SoundFormat ima{SoundCodec::Ima4, 44100, 2};
    EXPECT_EQ(defaultFramesPerChunk(ima) % 64, 0u);
}

TEST(MovieHeader, RecordingsPastFourGigabytesUse64BitOffsetsAndMdatSize) {
    const SoundFormat format{SoundCodec::Sowt, 48000, 2};
    ChunkLayout layout;
    layout.framesPerChunk = defaultFramesPerChunk(format);
    const uint64_t bytesPerChunk = uint64_t(layout.framesPerChunk) * 4;
    layout.frames = 1'500'000'000ull; // 6 GB of sound, about 8.7 hours
    const uint64_t chunks = layout.chunkCount();
    const QByteArray movie = buildMovie(format, layout, 0);

    EXPECT_LT(table(movie, "stco").payload, 0);
    const Found co64 = table(movie, "co64");
    ASSERT_GE(co64.payload, 0);
    AtomReader r(movie, co64.payload + 4);
    ASSERT_EQ(r.u32(), chunks);
    uint64_t previous = 0;
    for (uint64_t i = 0; i < chunks; ++i) {
        const uint64_t offset = r.u64();
        ASSERT_EQ(offset, kDataOffset + i * bytesPerChunk);
        ASSERT_TRUE(i == 0 || offset > previous);
        previous = offset;
    }
    EXPECT_GT(previous, 0xFFFFFFFFull);
    EXPECT_FALSE(r.failed());

    const Found stsz = table(movie, "stsz");
    AtomReader z(movie, stsz.payload + 4);
    EXPECT_EQ(z.u32(), 1u);
    EXPECT_EQ(z.u32(), uint32_t(layout.frames));
    const Found mdhd = findAtom(movie, {"moov", "trak", "mdia", "mdhd"});
    AtomReader d(movie, mdhd.payload + 12);
    EXPECT_EQ(d.u32(), 48000u);
    EXPECT_EQ(d.u32(), uint32_t(layout.frames));

    // The mdat header: 32-bit with a wide atom below 4 GiB, 64-bit at the same place above.
    const QByteArray small = mdatHeader(1000);
    ASSERT_EQ(small.size(), 16);
    AtomReader s(small);
    EXPECT_EQ(s.u32(), 8u);
    EXPECT_EQ(s.u32(), fourcc("wide"));
    EXPECT_EQ(s.u32(), 1008u);
    EXPECT_EQ(s.u32(), fourcc("mdat"));

    const uint64_t bytes = layout.frames * 4;
    const QByteArray big = mdatHeader(bytes);
    ASSERT_EQ(big.size(), 16);
    AtomReader b(big);
    EXPECT_EQ(b.u32(), 1u);
    EXPECT_EQ(b.u32(), fourcc("mdat"));
    EXPECT_EQ(b.u64(), bytes + 16);
    EXPECT_EQ(mdatHeader(0xFFFFFFFFull - 8).mid(0, 4), QByteArray("\0\0\0\x08", 4));
    EXPECT_EQ(mdatHeader(0xFFFFFFFFull - 7).mid(0, 4), QByteArray("\0\0\0\x01", 4));
}
