#include "platform/movie/MovieFile.h"

#include "platform/movie/AtomBuffer.h"

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace MovieHeader;

namespace MovieFile {
namespace {

QByteArray readAt(int fd, uint64_t offset, size_t size) {
    QByteArray bytes(qsizetype(size), '\0');
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size - done, off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += size_t(n);
    }
    bytes.truncate(qsizetype(done));
    return bytes;
}

struct AtomHeader {
    uint32_t type = 0;
    uint64_t size = 0;       // whole atom; 0: to the end of the file
    uint32_t headerSize = 8; // 8, or 16 with a 64-bit size
};

std::optional<AtomHeader> readAtomHeader(int fd, uint64_t offset, uint64_t fileSize) {
    if (offset + 8 > fileSize)
        return std::nullopt;
    const QByteArray raw = readAt(fd, offset, 16);
    AtomReader r(raw);
    AtomHeader h;
    const uint32_t size32 = r.u32();
    h.type = r.u32();
    h.size = size32;
    if (size32 == 1) {
        h.size = r.u64();
        h.headerSize = 16;
        if (r.failed() || h.size < 16)
            return std::nullopt;
    } else if (size32 != 0 && size32 < 8) {
        return std::nullopt;
    }
    return h;
}

// A movie atom is whole when every nested atom fits its parent exactly; a crash while it was
// appended leaves it short.
bool atomsConsistent(const QByteArray& bytes, qsizetype begin, qsizetype end, int depth) {
    static const uint32_t containers[] = {fourcc("moov"), fourcc("trak"), fourcc("mdia"),
                                          fourcc("minf"), fourcc("stbl"), fourcc("dinf")};
    qsizetype pos = begin;
    while (pos < end) {
        if (end - pos < 8)
            return false;
        AtomReader r(bytes, pos);
        const uint32_t size = r.u32();
        const uint32_t type = r.u32();
        if (size < 8 || pos + qsizetype(size) > end)
            return false;
        if (depth < 6 &&
            std::find(std::begin(containers), std::end(containers), type) != std::end(containers)) {
            if (!atomsConsistent(bytes, pos + 8, pos + size, depth + 1))
                return false;
        }
        pos += size;
    }
    return pos == end;
}

bool movieAtomValid(int fd, uint64_t offset, uint64_t size) {
    if (size < 16 || size > 64ull * 1024 * 1024)
        return false;
    const QByteArray bytes = readAt(fd, offset, size_t(size));
    if (bytes.size() != qsizetype(size))
        return false;
    return atomsConsistent(bytes, 0, bytes.size(), 0) &&
           bytes.contains(QByteArray::fromRawData("stsd", 4)) &&
           (bytes.contains(QByteArray::fromRawData("stco", 4)) ||
            bytes.contains(QByteArray::fromRawData("co64", 4)));
}

QString reason(int error) {
    return qt_error_string(error);
}

} // namespace

int writeAll(int fd, const char* bytes, size_t size, uint64_t offset) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, bytes + done, size - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        done += size_t(n);
    }
    return 0;
}

bool tryLock(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

Inspection inspect(int fd) {
    Inspection result;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return result;
    const auto fileSize = uint64_t(st.st_size);
    result.tag = readFileHead(readAt(fd, 0, kDataOffset));
    if (!result.tag)
        return result;

    uint64_t offset = 0;
    bool sawData = false;
    while (offset < fileSize) {
        const auto h = readAtomHeader(fd, offset, fileSize);
        if (!h)
            break;
        const uint64_t end = h->size == 0 ? fileSize : offset + h->size;
        if (h->type == fourcc("mdat")) {
            if (offset + h->headerSize != kDataOffset)
                break; // not where we put it: leave the file alone
            sawData = true;
            result.dataBytes = std::min(end, fileSize) - kDataOffset;
        } else if (h->type == fourcc("moov")) {
            if (end <= fileSize && movieAtomValid(fd, offset, h->size))
                result.complete = true;
        }
        if (h->size == 0 || end > fileSize)
            break;
        offset = end;
    }
    if (!sawData)
        result.tag.reset(); // our head but no sound where we write it: not ours to change
    return result;
}

int complete(int fd, const RecordingTag& tag, uint64_t dataBytes, QString* error, bool sync) {
    const SoundFormat& format = tag.format;
    const uint64_t packetBytes = format.bytesPerPacket();
    uint64_t packets = dataBytes / packetBytes;
    packets = std::min(packets, kMaxFrames / format.framesPerPacket());
    const uint64_t bytes = packets * packetBytes;
    const uint64_t frames = packets * format.framesPerPacket();
    const uint64_t end = kDataOffset + bytes;

    auto fail = [&](int e, const char* what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(what), reason(e));
        return e;
    };

    if (::ftruncate(fd, off_t(end)) != 0)
        return fail(errno, "couldn't trim the sound data");
    const QByteArray mdat = mdatHeader(bytes);
    if (int e = writeAll(fd, mdat.constData(), size_t(mdat.size()), kWideOffset))
        return fail(e, "couldn't close the sound data");

    ChunkLayout layout;
    layout.frames = frames;
    layout.framesPerChunk = defaultFramesPerChunk(format);
    const QByteArray movie = buildMovie(format, layout, tag.createdUnix);
    int appended = writeAll(fd, movie.constData(), size_t(movie.size()), end);
    if (appended != 0) {
        // No room after the data: one chunk keeps the movie atom small enough for the reserve.
        if (::ftruncate(fd, off_t(end)) != 0)
            return fail(errno, "couldn't trim the movie header");
        layout.framesPerChunk = uint32_t(std::max<uint64_t>(frames, format.framesPerPacket()));
        const QByteArray compact = buildMovie(format, layout, tag.createdUnix);
        if (compact.size() + 8 > qsizetype(kReserveBytes))
            return fail(appended, "couldn't write the movie header");
        // Body first, the header that turns the reserve into a movie atom last.
        const QByteArray rest = freeHeader(kReserveBytes - uint32_t(compact.size()));
        if (int e = writeAll(fd, compact.constData() + 8, size_t(compact.size() - 8),
                             kReserveOffset + 8))
            return fail(e, "couldn't write the movie header");
        if (int e = writeAll(fd, rest.constData(), 8, kReserveOffset + uint64_t(compact.size())))
            return fail(e, "couldn't write the movie header");
        if (::fdatasync(fd) != 0)
            return fail(errno, "couldn't sync the recording");
        if (int e = writeAll(fd, compact.constData(), 8, kReserveOffset))
            return fail(e, "couldn't write the movie header");
    }
    if (sync && ::fdatasync(fd) != 0)
        return fail(errno, "couldn't sync the recording");
    return 0;
}

} // namespace MovieFile
