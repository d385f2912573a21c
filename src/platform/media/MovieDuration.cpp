#include "platform/media/MovieDuration.h"

#include "platform/foundation/FileNames.h"
#include "platform/movie/AtomWalker.h"

#include <QScopeGuard>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

#include <array>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uint32_t fourcc(const char (&s)[5]) {
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
           (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

using AtomBytes::be32;
using AtomBytes::be64;

// Atoms a QuickTime or MP4 file may begin with; anything else is left to the demuxer.
bool isLeadingAtom(uint32_t type) {
    switch (type) {
    case fourcc("ftyp"):
    case fourcc("moov"):
    case fourcc("mdat"):
    case fourcc("wide"):
    case fourcc("free"):
    case fourcc("skip"):
    case fourcc("pnot"):
    case fourcc("uuid"):
    case fourcc("junk"):
    case fourcc("pdin"):
    case fourcc("styp"):
        return true;
    default:
        return false;
    }
}

bool isPlausibleType(uint32_t type) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        const uint8_t c = uint8_t(type >> shift);
        if ((c < 0x20 || c > 0x7e) && c != 0xa9)
            return false;
    }
    return true;
}

// A file opened once for every look at it; small reads are served from one window of it,
// so that walking the atoms of a movie costs a read or two.
class File {
public:
    explicit File(const QString& path)
        : _fd(::open(FileNames::encodePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
        struct stat st = {};
        _regular = _fd >= 0 && ::fstat(_fd, &st) == 0 && S_ISREG(st.st_mode);
        _size = _regular ? uint64_t(st.st_size) : 0;
    }
    ~File() {
        if (_fd >= 0)
            ::close(_fd);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Only regular files are read: a FIFO or a device could block or never end.
    bool isRegular() const { return _regular; }
    // The name under which the demuxer opens this very file, even if the one it was opened by
    // now stands for something else.
    QByteArray descriptorPath() const { return "/proc/self/fd/" + QByteArray::number(_fd); }
    uint64_t size() const { return _size; }

    bool read(uint64_t offset, void* buffer, size_t length) {
        if (!_regular || length > kWindow || offset > _size || length > _size - offset)
            return false;
        if (offset < _windowStart || offset + length > _windowStart + _windowLength) {
            const ssize_t got = ::pread(_fd, _window.data(), kWindow, off_t(offset));
            if (got < ssize_t(length))
                return false;
            _windowStart = offset;
            _windowLength = uint64_t(got);
        }
        std::memcpy(buffer, _window.data() + (offset - _windowStart), length);
        return true;
    }

private:
    static constexpr size_t kWindow = 8192;
    int _fd;
    bool _regular = false;
    uint64_t _size = 0;
    std::array<uint8_t, kWindow> _window = {};
    uint64_t _windowStart = 0;
    uint64_t _windowLength = 0;
};

AtomWalker::Read readerOf(File& file) {
    return [&file](uint64_t offset, void* buffer, size_t length) {
        return file.read(offset, buffer, length);
    };
}

MovieDuration::HeaderReading readMovieAtom(const AtomWalker& parent, File& file, const Atom& moov) {
    using Reading = MovieDuration::HeaderReading;
    Reading reading;
    reading.kind = Reading::Unusual;
    bool haveHeader = false;
    AtomWalker walker = parent.children(moov);
    for (Atom child;;) {
        const AtomWalker::Step step = walker.next(&child);
        if (step == AtomWalker::Step::End)
            break;
        if (step != AtomWalker::Step::Atom || !isPlausibleType(child.type))
            return Reading{Reading::Unusual, 0, 0};
        if (child.type == fourcc("mvex") || child.type == fourcc("cmov"))
            return Reading{Reading::Unusual, 0, 0}; // fragments or a compressed header
        if (child.type != fourcc("mvhd") || haveHeader)
            continue;
        // version(1) flags(3), then times, time scale and duration: 32-bit or 64-bit.
        std::array<uint8_t, 32> body = {};
        const uint64_t available = child.size - child.headerSize;
        const uint64_t at = child.bodyOffset();
        if (available < 20 || !file.read(at, body.data(), 1))
            return Reading{Reading::Unusual, 0, 0};
        if (body[0] == 1) {
            if (available < 32 || !file.read(at, body.data(), 32))
                return Reading{Reading::Unusual, 0, 0};
            reading.timeScale = be32(body.data() + 20);
            reading.duration = be64(body.data() + 24);
            if (reading.duration == UINT64_MAX)
                return Reading{Reading::Unusual, 0, 0};
        } else if (body[0] == 0) {
            if (!file.read(at, body.data(), 20))
                return Reading{Reading::Unusual, 0, 0};
            reading.timeScale = be32(body.data() + 12);
            reading.duration = be32(body.data() + 16);
            if (reading.duration == UINT32_MAX)
                return Reading{Reading::Unusual, 0, 0};
        } else {
            return Reading{Reading::Unusual, 0, 0};
        }
        if (reading.timeScale == 0)
            return Reading{Reading::Unusual, 0, 0};
        haveHeader = true;
    }
    if (haveHeader)
        reading.kind = Reading::Found;
    return reading;
}

const AVStream* firstSoundStream(const AVFormatContext* context) {
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        if (stream->codecpar && stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            return stream;
    }
    return nullptr;
}

// Where the sound starts: past any ID3v2 tags.
uint64_t pastId3Tags(File& file) {
    uint64_t offset = 0;
    for (uint8_t tag[10]; file.read(offset, tag, 10) && std::memcmp(tag, "ID3", 3) == 0 &&
                          tag[3] != 0xff && tag[4] != 0xff;) {
        const uint64_t length = (uint64_t(tag[6] & 0x7f) << 21) | (uint64_t(tag[7] & 0x7f) << 14) |
                                (uint64_t(tag[8] & 0x7f) << 7) | uint64_t(tag[9] & 0x7f);
        offset += 10 + length + ((tag[5] & 0x10) ? 10 : 0); // the footer, when flagged
    }
    return offset;
}

// The length in bytes of the MPEG audio frame whose header is at p, 0 for no valid header.
// *signature receives what stays the same from frame to frame (version, layer, rate).
uint32_t mpegAudioFrameLength(const uint8_t* p, uint32_t* signature) {
    if (p[0] != 0xff || (p[1] & 0xe0) != 0xe0)
        return 0;
    const int version = (p[1] >> 3) & 3; // 0: 2.5, 2: 2, 3: 1
    const int layer = (p[1] >> 1) & 3;   // 1: III, 2: II, 3: I
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (version == 1 || layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return 0;
    static const uint16_t kbps[2][3][15] = {
        {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
         {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
         {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
        {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
         {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
    static const uint32_t rates[3] = {44100, 48000, 32000};
    const int lsf = version == 3 ? 0 : 1;
    const uint32_t rate = rates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    const uint32_t bitrate = kbps[lsf][3 - layer][bitrateIndex] * 1000u;
    const uint32_t padding = (p[2] >> 1) & 1;
    *signature = (uint32_t(p[1]) << 8) | (p[2] & 0x0c);
    if (layer == 3)
        return (12 * bitrate / rate + padding) * 4;
    if (layer == 1 && lsf)
        return 72 * bitrate / rate + padding;
    return 144 * bitrate / rate + padding;
}

// Two MPEG audio frames in a row at the offset: enough to hand the file to the MP3 reader
// without asking every demuxer about it.
bool startsWithMpegAudio(File& file, uint64_t offset) {
    uint8_t header[4];
    uint32_t first = 0;
    uint32_t second = 0;
    if (!file.read(offset, header, 4))
        return false;
    const uint32_t length = mpegAudioFrameLength(header, &first);
    return length > 0 && file.read(offset + length, header, 4) &&
           mpegAudioFrameLength(header, &second) > 0 && first == second;
}

// The format the file's content is in, if a demuxer is sure of it.
const AVInputFormat* formatByContent(File& file) {
    const uint64_t start = pastId3Tags(file);
    if (startsWithMpegAudio(file, start))
        return av_find_input_format("mp3");
    constexpr size_t kProbeSize = 64 * 1024;
    std::vector<uint8_t> buffer(kProbeSize + AVPROBE_PADDING_SIZE, 0);
    size_t got = 0;
    while (got < kProbeSize && start + got < file.size()) {
        const size_t piece = size_t(std::min<uint64_t>(1024, file.size() - start - got));
        if (!file.read(start + got, buffer.data() + got, piece))
            break;
        got += piece;
    }
    if (got == 0)
        return nullptr;
    AVProbeData probe = {};
    probe.filename = "";
    probe.buf = buffer.data();
    probe.buf_size = int(got);
    int score = 0;
    const AVInputFormat* format = av_probe_input_format3(&probe, 1, &score);
    return score > AVPROBE_SCORE_RETRY ? format : nullptr;
}

float seconds(int64_t microseconds) {
    if (microseconds == AV_NOPTS_VALUE || microseconds <= 0)
        return 0;
    return float(microseconds) / float(AV_TIME_BASE);
}

MovieDuration::HeaderReading readMovieHeader(File& file) {
    using Reading = MovieDuration::HeaderReading;
    AtomWalker::Budget budget;
    AtomWalker walker(readerOf(file), 0, file.size(), &budget);
    bool first = true;
    for (Atom atom;;) {
        const AtomWalker::Step step = walker.next(&atom);
        // Atoms that run past the end: the file is still being written. Sizes that cannot be:
        // no movie this reader takes.
        if (step == AtomWalker::Step::End || step == AtomWalker::Step::RunsPast ||
            (step == AtomWalker::Step::Atom && !isPlausibleType(atom.type)))
            return first ? Reading{} : Reading{Reading::NoMovieYet, 0, 0};
        if (step == AtomWalker::Step::Broken)
            return first ? Reading{} : Reading{Reading::Unusual, 0, 0};
        if (first && !isLeadingAtom(atom.type))
            return {};
        first = false;
        if (atom.type == fourcc("moov"))
            return readMovieAtom(walker, file, atom);
    }
}

// A length the file could hold: positive, finite, and no more seconds than its bytes would last
// at a data rate below any real codec's. Anything else (a header claiming 2^63 units) is unknown.
float plausible(double seconds, uint64_t fileSize) {
    constexpr double kLowestBytesPerSecond = 8; // 64 bit/s
    if (!std::isfinite(seconds) || seconds <= 0 ||
        seconds * kLowestBytesPerSecond > double(fileSize))
        return 0;
    return float(seconds);
}

float durationThroughDemuxer(File& file) {
    // Judged by content alone: a file that merely carries a movie's extension is no movie,
    // and is not worth the demuxer's complaints.
    const AVInputFormat* format = formatByContent(file);
    if (!format)
        return 0;
    AVFormatContext* context = nullptr;
    const QByteArray name = file.descriptorPath();
    if (avformat_open_input(&context, name.constData(), format, nullptr) < 0)
        return 0; // the context is freed on failure
    const auto close = qScopeGuard([&context] { avformat_close_input(&context); });

    // Most formats know their length from the header alone; MP3 tells it only per stream.
    if (const AVStream* sound = firstSoundStream(context)) {
        if (context->duration != AV_NOPTS_VALUE)
            return seconds(context->duration);
        if (sound->duration != AV_NOPTS_VALUE && sound->duration > 0)
            return seconds(av_rescale_q(sound->duration, sound->time_base, AV_TIME_BASE_Q));
    }
    if (avformat_find_stream_info(context, nullptr) < 0 || !firstSoundStream(context))
        return 0;
    return seconds(context->duration);
}

} // namespace

namespace MovieDuration {

HeaderReading readMovieHeader(const QString& path) {
    File file(path);
    return file.isRegular() ? readMovieHeader(file) : HeaderReading{};
}

float durationThroughDemuxer(const QString& path) {
    File file(path);
    return file.isRegular() ? plausible(durationThroughDemuxer(file), file.size()) : 0;
}

float durationOfFile(const QString& path) {
    File file(path);
    if (!file.isRegular())
        return 0;
    const HeaderReading header = readMovieHeader(file);
    switch (header.kind) {
    case HeaderReading::Found:
        return plausible(float(header.duration) / float(header.timeScale), file.size());
    case HeaderReading::NoMovieYet:
        return 0;
    case HeaderReading::NotQuickTime:
    case HeaderReading::Unusual:
        break;
    }
    return plausible(durationThroughDemuxer(file), file.size());
}

} // namespace MovieDuration
