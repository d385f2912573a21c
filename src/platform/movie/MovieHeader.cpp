#include "platform/movie/MovieHeader.h"

#include "platform/movie/AtomBuffer.h"
#include "platform/movie/Crc32.h"

#include <algorithm>

namespace MovieHeader {
namespace {
constexpr uint32_t kTagMagic = fourcc("BRVR");
constexpr uint16_t kTagVersion = 1;
// QuickTime counts seconds from 1904, Unix from 1970.
constexpr uint64_t kMacEpochOffset = 2082844800;

uint32_t macTime(uint64_t unixSeconds) {
    return uint32_t(unixSeconds + kMacEpochOffset);
}

void matrix(AtomBuffer& b) {
    const uint32_t identity[9] = {0x00010000, 0, 0, 0, 0x00010000, 0, 0, 0, 0x40000000};
    for (uint32_t v : identity)
        b.u32(v);
}

void soundDescription(AtomBuffer& b, const SoundFormat& format) {
    const bool v1 = format.codec != SoundCodec::Sowt;
    const auto entry = b.open(codecFourcc(format.codec));
    b.zeros(6);
    b.u16(1); // data reference index
    b.u16(v1 ? 1 : 0);
    b.u16(0); // revision
    b.u32(0); // vendor
    b.u16(format.channels);
    b.u16(format.bitsPerSample());
    b.u16(format.codec == SoundCodec::Ima4 ? 0xFFFE : 0); // compression ID -2: fixed-size packets
    b.u16(0);                                             // packet size
    b.u32(format.sampleRate << 16);
    if (v1) {
        b.u32(format.framesPerPacket());
        b.u32(format.bytesPerChannelPacket());
        b.u32(format.bytesPerPacket());
        b.u32(format.codec == SoundCodec::Ima4 ? 2 : 3); // bytes per (decoded) sample
    }
    if (format.codec == SoundCodec::In24) {
        // 'in24' is big-endian unless an 'enda' atom says otherwise.
        const auto wave = b.open(fourcc("wave"));
        const auto frma = b.open(fourcc("frma"));
        b.u32(fourcc("in24"));
        b.close(frma);
        const auto enda = b.open(fourcc("enda"));
        b.u16(1);
        b.close(enda);
        b.u32(8); // terminator atom
        b.u32(0);
        b.close(wave);
    }
    b.close(entry);
}

void sampleTables(AtomBuffer& b, const SoundFormat& format, const ChunkLayout& layout) {
    const auto stbl = b.open(fourcc("stbl"));

    const auto stsd = b.openFull(fourcc("stsd"));
    b.u32(1);
    soundDescription(b, format);
    b.close(stsd);

    // One time unit per frame.
    const auto stts = b.openFull(fourcc("stts"));
    b.u32(layout.frames ? 1 : 0);
    if (layout.frames) {
        b.u32(uint32_t(layout.frames));
        b.u32(1);
    }
    b.close(stts);

    const uint64_t chunks = layout.chunkCount();
    const uint64_t lastFrames =
        chunks ? layout.frames - (chunks - 1) * uint64_t(layout.framesPerChunk) : 0;
    const auto stsc = b.openFull(fourcc("stsc"));
    const bool shortLast = chunks > 1 && lastFrames != layout.framesPerChunk;
    b.u32(chunks == 0 ? 0 : shortLast ? 2 : 1);
    if (chunks) {
        b.u32(1);
        b.u32(chunks == 1 ? uint32_t(lastFrames) : layout.framesPerChunk);
        b.u32(1);
    }
    if (shortLast) {
        b.u32(uint32_t(chunks));
        b.u32(uint32_t(lastFrames));
        b.u32(1);
    }
    b.close(stsc);

    // Sound samples are counted in frames of size 1; the description gives the real sizes.
    const auto stsz = b.openFull(fourcc("stsz"));
    b.u32(1);
    b.u32(uint32_t(layout.frames));
    b.close(stsz);

    const uint64_t chunkBytes =
        uint64_t(layout.framesPerChunk) / format.framesPerPacket() * format.bytesPerPacket();
    const uint64_t lastOffset = chunks ? layout.dataOffset + (chunks - 1) * chunkBytes : 0;
    const bool wide = lastOffset > 0xFFFFFFFFull;
    const auto stco = b.openFull(fourcc(wide ? "co64" : "stco"));
    b.u32(uint32_t(chunks));
    for (uint64_t i = 0; i < chunks; ++i) {
        const uint64_t offset = layout.dataOffset + i * chunkBytes;
        if (wide)
            b.u64(offset);
        else
            b.u32(uint32_t(offset));
    }
    b.close(stco);

    b.close(stbl);
}
} // namespace

uint32_t codecFourcc(SoundCodec codec) {
    switch (codec) {
    case SoundCodec::Sowt:
        return fourcc("sowt");
    case SoundCodec::In24:
        return fourcc("in24");
    case SoundCodec::Ima4:
        return fourcc("ima4");
    }
    return 0;
}

QByteArray encodeTag(const RecordingTag& tag) {
    AtomBuffer b;
    const auto atom = b.open(fourcc("bvrc"));
    b.u32(kTagMagic);
    b.u16(kTagVersion);
    b.u32(codecFourcc(tag.format.codec));
    b.u32(tag.format.sampleRate);
    b.u16(tag.format.channels);
    b.u16(tag.format.bitsPerSample());
    b.u32(tag.format.framesPerPacket());
    b.u32(tag.format.bytesPerPacket());
    b.u64(tag.createdUnix);
    b.u16(0); // reserved
    b.u32(Crc32::compute(b.data().constData() + 8, size_t(b.size() - 8)));
    b.close(atom);
    return b.data();
}

std::optional<RecordingTag> decodeTag(const QByteArray& atom) {
    if (atom.size() < qsizetype(kTagBytes))
        return std::nullopt;
    AtomReader r(atom);
    if (r.u32() != kTagBytes || r.u32() != fourcc("bvrc") || r.u32() != kTagMagic ||
        r.u16() != kTagVersion)
        return std::nullopt;
    const uint32_t codecTag = r.u32();
    RecordingTag tag;
    tag.format.sampleRate = r.u32();
    tag.format.channels = r.u16();
    const uint16_t bits = r.u16();
    const uint32_t framesPerPacket = r.u32();
    const uint32_t bytesPerPacket = r.u32();
    tag.createdUnix = r.u64();
    r.skip(2);
    const qsizetype crcPos = r.pos();
    const uint32_t crc = r.u32();
    if (r.failed() || crc != Crc32::compute(atom.constData() + 8, size_t(crcPos - 8)))
        return std::nullopt;
    bool known = false;
    for (SoundCodec c : {SoundCodec::Sowt, SoundCodec::In24, SoundCodec::Ima4}) {
        if (codecFourcc(c) == codecTag) {
            tag.format.codec = c;
            known = true;
        }
    }
    // The derived fields must agree with the codec: a file we cannot describe is not repaired.
    if (!known || !tag.format.valid() || bits != tag.format.bitsPerSample() ||
        framesPerPacket != tag.format.framesPerPacket() ||
        bytesPerPacket != tag.format.bytesPerPacket())
        return std::nullopt;
    return tag;
}

QByteArray fileHead(const RecordingTag& tag) {
    AtomBuffer b;
    const auto ftyp = b.open(fourcc("ftyp"));
    b.u32(fourcc("qt  "));
    b.u32(0x20050300);
    b.u32(fourcc("qt  "));
    b.close(ftyp);
    const QByteArray tagAtom = encodeTag(tag);
    b.bytes(tagAtom);
    b.bytes(freeHeader(kReserveBytes));
    b.zeros(int(kReserveBytes - 8 - kTagBytes));
    b.bytes(tagAtom);
    b.u32(8);
    b.u32(fourcc("wide"));
    b.u32(0); // size 0: the mdat runs to the end of the file until it is completed
    b.u32(fourcc("mdat"));
    return b.data();
}

std::optional<RecordingTag> readFileHead(const QByteArray& head) {
    if (head.size() < qsizetype(kDataOffset))
        return std::nullopt;
    AtomReader r(head);
    if (r.u32() != kFtypBytes || r.u32() != fourcc("ftyp") || r.u32() != fourcc("qt  "))
        return std::nullopt;
    const auto primary = decodeTag(head.mid(kFtypBytes, kTagBytes));
    const auto copy = decodeTag(head.mid(qsizetype(kTagCopyOffset), kTagBytes));
    if (primary && copy && !(*primary == *copy))
        return std::nullopt; // two valid records that disagree: no way to tell which is right
    return primary ? primary : copy;
}

uint64_t ChunkLayout::chunkCount() const {
    if (frames == 0 || framesPerChunk == 0)
        return 0;
    return (frames + framesPerChunk - 1) / framesPerChunk;
}

uint32_t defaultFramesPerChunk(const SoundFormat& format) {
    const uint32_t perPacket = format.framesPerPacket();
    return std::max(perPacket, format.sampleRate / perPacket * perPacket);
}

QByteArray buildMovie(const SoundFormat& format, const ChunkLayout& layout, uint64_t createdUnix) {
    const uint32_t created = macTime(createdUnix);
    const auto duration = uint32_t(layout.frames);
    AtomBuffer b;
    const auto moov = b.open(fourcc("moov"));

    const auto mvhd = b.openFull(fourcc("mvhd"));
    b.u32(created);
    b.u32(created);
    b.u32(format.sampleRate); // time scale: one unit per frame
    b.u32(duration);
    b.u32(0x00010000); // preferred rate 1.0
    b.u16(0x0100);     // preferred volume 1.0
    b.zeros(10);
    matrix(b);
    b.zeros(24); // preview, poster, selection and current times
    b.u32(2);    // next track ID
    b.close(mvhd);

    const auto trak = b.open(fourcc("trak"));
    const auto tkhd = b.openFull(fourcc("tkhd"), 0, 0x7); // enabled, in movie, in preview
    b.u32(created);
    b.u32(created);
    b.u32(1); // track ID
    b.u32(0);
    b.u32(duration);
    b.zeros(8);
    b.u16(0);      // layer
    b.u16(0);      // alternate group
    b.u16(0x0100); // volume
    b.u16(0);
    matrix(b);
    b.u32(0); // width
    b.u32(0); // height
    b.close(tkhd);

    const auto mdia = b.open(fourcc("mdia"));
    const auto mdhd = b.openFull(fourcc("mdhd"));
    b.u32(created);
    b.u32(created);
    b.u32(format.sampleRate);
    b.u32(duration);
    b.u16(0); // language
    b.u16(0); // quality
    b.close(mdhd);

    const auto hdlr = b.openFull(fourcc("hdlr"));
    b.u32(fourcc("mhlr"));
    b.u32(fourcc("soun"));
    b.zeros(12);
    b.bytes(QByteArray("\x0cSoundHandler"));
    b.close(hdlr);

    const auto minf = b.open(fourcc("minf"));
    const auto smhd = b.openFull(fourcc("smhd"));
    b.u16(0); // balance
    b.u16(0);
    b.close(smhd);
    const auto dhlr = b.openFull(fourcc("hdlr"));
    b.u32(fourcc("dhlr"));
    b.u32(fourcc("alis"));
    b.zeros(12);
    b.bytes(QByteArray("\x0b"
                       "DataHandler"));
    b.close(dhlr);
    const auto dinf = b.open(fourcc("dinf"));
    const auto dref = b.openFull(fourcc("dref"));
    b.u32(1);
    const auto alis = b.openFull(fourcc("alis"), 0, 1); // the data is in this file
    b.close(alis);
    b.close(dref);
    b.close(dinf);
    sampleTables(b, format, layout);
    b.close(minf);
    b.close(mdia);
    b.close(trak);
    b.close(moov);
    return b.data();
}

QByteArray mdatHeader(uint64_t dataBytes) {
    AtomBuffer b;
    const uint64_t size32 = dataBytes + 8;
    if (size32 <= 0xFFFFFFFFull) {
        b.u32(8);
        b.u32(fourcc("wide"));
        b.u32(uint32_t(size32));
        b.u32(fourcc("mdat"));
    } else {
        b.u32(1); // the size follows as 64 bits
        b.u32(fourcc("mdat"));
        b.u64(dataBytes + 16);
    }
    return b.data();
}

QByteArray freeHeader(uint32_t size) {
    AtomBuffer b;
    b.u32(size);
    b.u32(fourcc("free"));
    return b.data();
}

} // namespace MovieHeader
