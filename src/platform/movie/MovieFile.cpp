#include "platform/movie/MovieFile.h"

#include "platform/movie/AtomWalker.h"

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace MovieHeader;
using AtomBytes::be32;
using AtomBytes::be64;

namespace MovieFile {
namespace {

// Our movie atoms hold about 8 bytes per second of sound; this is far beyond any of them.
constexpr uint64_t kMaxMovieBytes = 32ull * 1024 * 1024;
// The longest movie a recording has (kMaxFrames at 8 kHz) fits in this much of the file's end.
constexpr uint64_t kMaxTailScan = 8ull * 1024 * 1024;

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

AtomWalker::Read fileReader(int fd) {
    return [fd](uint64_t offset, void* buffer, size_t length) {
        size_t done = 0;
        while (done < length) {
            const ssize_t n =
                ::pread(fd, static_cast<char*>(buffer) + done, length - done, off_t(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += size_t(n);
        }
        return true;
    };
}

bool isContainer(uint32_t type) {
    switch (type) {
    case fourcc("moov"):
    case fourcc("trak"):
    case fourcc("mdia"):
    case fourcc("minf"):
    case fourcc("stbl"):
    case fourcc("dinf"):
        return true;
    default:
        return false;
    }
}

// Every nested atom fits its parent exactly; a crash while the movie atom was appended leaves
// it short.
bool consistent(AtomWalker walker, bool* sawSampleDescription, bool* sawChunkOffsets) {
    Atom atom;
    for (;;) {
        switch (walker.next(&atom)) {
        case AtomWalker::Step::End:
            return true;
        case AtomWalker::Step::RunsPast:
        case AtomWalker::Step::Broken:
            return false;
        case AtomWalker::Step::Atom:
            break;
        }
        *sawSampleDescription |= atom.type == fourcc("stsd");
        *sawChunkOffsets |= atom.type == fourcc("stco") || atom.type == fourcc("co64");
        if (isContainer(atom.type) &&
            !consistent(walker.children(atom), sawSampleDescription, sawChunkOffsets))
            return false;
    }
}

bool movieAtomValid(const QByteArray& bytes) {
    if (bytes.size() < 16 ||
        be32(reinterpret_cast<const uint8_t*>(bytes.data()) + 4) != fourcc("moov"))
        return false;
    AtomWalker::Budget budget;
    bool description = false;
    bool offsets = false;
    return consistent(AtomWalker(AtomWalker::over(bytes), 0, uint64_t(bytes.size()), &budget),
                      &description, &offsets) &&
           description && offsets;
}

bool movieAtomValid(int fd, uint64_t offset, uint64_t size) {
    if (size < 16 || size > kMaxMovieBytes)
        return false;
    const QByteArray bytes = readAt(fd, offset, size_t(size));
    return bytes.size() == qsizetype(size) && movieAtomValid(bytes);
}

// A whole movie atom that ends the file, found by its own header rather than by the mdat's
// size: where the mdat's size was damaged, the movie atom still says the file is complete.
std::optional<uint64_t> movieAtEnd(int fd, uint64_t fileSize) {
    const uint64_t span = std::min<uint64_t>(fileSize - kDataOffset, kMaxTailScan);
    const uint64_t start = fileSize - span;
    const QByteArray tail = readAt(fd, start, size_t(span));
    if (tail.size() != qsizetype(span))
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const uint8_t*>(tail.constData());
    // Each candidate whose size reaches the end is walked; a few are plenty for a real file,
    // and the bound keeps a file full of them from costing more.
    int candidates = 8;
    for (qsizetype at = tail.lastIndexOf("moov"); at >= 4 && candidates > 0;
         at = tail.lastIndexOf("moov", at - 1)) {
        const qsizetype begin = at - 4;
        if (be32(bytes + begin) != uint64_t(tail.size() - begin))
            continue;
        --candidates;
        if (movieAtomValid(QByteArray::fromRawData(tail.constData() + begin, tail.size() - begin)))
            return start + uint64_t(begin);
    }
    return std::nullopt;
}

QString reason(int error) {
    return qt_error_string(error);
}

// What the fixed head of a file says.
struct Head {
    bool ours = false;
    std::optional<RecordingTag> tag;
    QString problem;           // the sound format cannot be trusted
    bool mdatFound = false;    // the mdat header is where we write it
    uint64_t mdatOffset = 0;   // where the mdat atom begins
    uint32_t mdatHeader = 0;   // 8 or 16
    uint64_t mdatSize = 0;     // as its header says; 0: open-ended
    bool compactMovie = false; // the reserve holds a movie atom
    uint32_t compactSize = 0;
};

Head readHead(const QByteArray& bytes) {
    Head head;
    const auto* h = reinterpret_cast<const uint8_t*>(bytes.constData());
    if (be32(h) != kFtypBytes || be32(h + 4) != fourcc("ftyp") || be32(h + 8) != fourcc("qt  "))
        return head;
    const auto primary = decodeTag(bytes.mid(kFtypBytes, kTagBytes));
    const auto copy = decodeTag(bytes.mid(qsizetype(kTagCopyOffset), kTagBytes));
    const uint8_t* wide = h + kWideOffset;
    if (be32(wide) == 8 && be32(wide + 4) == fourcc("wide") && be32(wide + 12) == fourcc("mdat")) {
        head.mdatFound = true;
        head.mdatOffset = kWideOffset + 8;
        head.mdatHeader = 8;
        head.mdatSize = be32(wide + 8);
    } else if (be32(wide) == 1 && be32(wide + 4) == fourcc("mdat")) {
        head.mdatFound = true;
        head.mdatOffset = kWideOffset;
        head.mdatHeader = 16;
        head.mdatSize = be64(wide + 8);
    }
    const bool leadingAtom = be32(h + kFtypBytes + 4) == fourcc("bvrc") ||
                             be32(h + kTagCopyOffset + 4) == fourcc("bvrc");
    head.ours = primary || copy || (leadingAtom && head.mdatFound);
    if (!head.ours)
        return head;
    if (primary && copy && !(*primary == *copy))
        head.problem = QStringLiteral("its two records of the sound format disagree");
    else if (primary || copy)
        head.tag = primary ? primary : copy;
    else
        head.problem = QStringLiteral("its record of the sound format is damaged");
    const uint8_t* reserve = h + kReserveOffset;
    if (be32(reserve + 4) == fourcc("moov") && be32(reserve) >= 16 &&
        be32(reserve) <= kReserveBytes - 8) {
        head.compactMovie = true;
        head.compactSize = be32(reserve);
    }
    return head;
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
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return result;
    const auto fileSize = uint64_t(st.st_size);
    result.fileSize = fileSize;
    if (fileSize < kDataOffset)
        return result; // killed before its head was whole: no sound to save
    const QByteArray bytes = readAt(fd, 0, kDataOffset);
    if (bytes.size() != qsizetype(kDataOffset))
        return result;
    const Head head = readHead(bytes);
    if (!head.ours)
        return result;
    result.ours = true;
    result.tag = head.tag;

    if (head.compactMovie && movieAtomValid(fd, kReserveOffset, head.compactSize)) {
        result.complete = true;
        return result;
    }
    auto completeWithProblem = [&](const QString& problem) {
        result.complete = true;
        result.problem = problem;
        return result;
    };
    // Only an interrupted file needs its sound format; a complete one is never changed.
    auto interrupted = [&](uint64_t dataBytes, bool movieFollows) {
        result.dataBytes = dataBytes;
        result.movieFollows = movieFollows;
        result.problem = head.problem;
        return result;
    };
    if (!head.mdatFound) {
        result.complete = movieAtEnd(fd, fileSize).has_value();
        result.problem = QStringLiteral("the header of its sound data is damaged");
        return result;
    }

    const uint64_t dataOnDisk = fileSize - kDataOffset;
    const bool open = head.mdatSize == 0;
    const bool sizeFits = !open && head.mdatSize >= head.mdatHeader &&
                          head.mdatSize <= fileSize - head.mdatOffset &&
                          !(head.mdatHeader == 8 && head.mdatSize == 1);
    if (open || !sizeFits) {
        if (const auto movie = movieAtEnd(fd, fileSize)) {
            if (!open)
                return completeWithProblem(
                    QStringLiteral("the size of its sound data disagrees with its movie header"));
            // Killed after the movie atom reached the disk but before the mdat was closed.
            return interrupted(*movie - kDataOffset, true);
        }
        // Interrupted (or its mdat size damaged): every byte on the disk is kept as sound.
        return interrupted(dataOnDisk, false);
    }

    const uint64_t dataEnd = head.mdatOffset + head.mdatSize;
    AtomWalker::Budget budget;
    AtomWalker walker(fileReader(fd), dataEnd, fileSize, &budget);
    Atom atom;
    bool sawMovie = false;
    bool first = true;
    for (;;) {
        const AtomWalker::Step step = walker.next(&atom);
        if (step == AtomWalker::Step::End) {
            if (sawMovie) {
                result.complete = true;
                return result;
            }
            if (first) // killed after the mdat was closed, before the movie atom reached the disk
                return interrupted(dataEnd - kDataOffset, false);
            break;
        }
        const bool movieHere = atom.type == fourcc("moov");
        if (step == AtomWalker::Step::Atom && movieHere && !sawMovie &&
            movieAtomValid(fd, atom.offset, atom.size)) {
            sawMovie = true;
        } else if (first && movieHere && step != AtomWalker::Step::Broken) {
            // A movie atom torn while it was appended: the sound ends where it begins, and the
            // torn bytes stay behind it, inside the mdat.
            return interrupted(dataEnd - kDataOffset, false);
        } else if (step != AtomWalker::Step::Atom) {
            if (sawMovie)
                return completeWithProblem(
                    QStringLiteral("what follows its movie header cannot be read"));
            break;
        }
        first = false;
    }
    // The mdat's size leads neither to a movie atom nor to the end of the file.
    if (movieAtEnd(fd, fileSize))
        return completeWithProblem(
            QStringLiteral("the size of its sound data disagrees with its movie header"));
    return interrupted(dataOnDisk, false);
}

namespace {
// The reserve in front of the sound is a plain 'free' atom until a compact movie atom takes
// it. A damaged header there (a flipped bit in its size) would send every reader past the
// mdat, so that a completed file still would not play: it is ours, so it is put right.
int restoreReserveHeader(int fd) {
    const QByteArray plain = freeHeader(kReserveBytes);
    if (readAt(fd, kReserveOffset, 8) == plain)
        return 0;
    return writeAll(fd, plain.constData(), 8, kReserveOffset);
}
} // namespace

int complete(int fd, const RecordingTag& tag, uint64_t dataBytes, QString* error, bool sync) {
    auto fail = [&](int e, const char* what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(what), reason(e));
        return e;
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(errno, "couldn't read the recording's size");
    const auto fileSize = uint64_t(st.st_size);
    if (fileSize < kDataOffset || dataBytes > fileSize - kDataOffset)
        return fail(EINVAL, "the recording is shorter than its sound data");

    const SoundFormat& format = tag.format;
    const uint64_t packetBytes = format.bytesPerPacket();
    uint64_t packets = dataBytes / packetBytes;
    packets = std::min(packets, kMaxFrames / format.framesPerPacket());
    const uint64_t frames = packets * format.framesPerPacket();

    // Everything on the disk after the head stays inside the mdat; the movie describes the
    // whole packets of sound at its start.
    const QByteArray mdat = mdatHeader(fileSize - kDataOffset);
    if (int e = writeAll(fd, mdat.constData(), size_t(mdat.size()), kWideOffset))
        return fail(e, "couldn't close the sound data");

    ChunkLayout layout;
    layout.frames = frames;
    layout.framesPerChunk = defaultFramesPerChunk(format);
    const QByteArray movie = buildMovie(format, layout, tag.createdUnix);
    int appended = writeAll(fd, movie.constData(), size_t(movie.size()), fileSize);
    if (appended == 0) {
        if (int e = restoreReserveHeader(fd))
            return fail(e, "couldn't write the recording's header");
    } else {
        // No room after the data: take back the part of the movie atom that got out, and let
        // one chunk keep the movie atom small enough for the reserve.
        if (::ftruncate(fd, off_t(fileSize)) != 0)
            return fail(errno, "couldn't take back the partial movie header");
        layout.framesPerChunk = uint32_t(std::max<uint64_t>(frames, format.framesPerPacket()));
        const QByteArray compact = buildMovie(format, layout, tag.createdUnix);
        if (compact.size() > qsizetype(kCompactMovieBytes))
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

int closeData(int fd, uint64_t dataBytes, QString* error) {
    const QByteArray mdat = mdatHeader(dataBytes);
    int e = writeAll(fd, mdat.constData(), size_t(mdat.size()), kWideOffset);
    if (e == 0)
        e = restoreReserveHeader(fd);
    if (e == 0 && ::fdatasync(fd) != 0)
        e = errno;
    if (e != 0 && error)
        *error = QStringLiteral("couldn't close the sound data: %1").arg(reason(e));
    return e;
}

} // namespace MovieFile
