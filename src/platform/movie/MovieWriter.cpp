#include "platform/movie/MovieWriter.h"

#include "platform/movie/MovieFile.h"
#include "platform/movie/RecordingJournal.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

void MovieWriter::ignoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

std::unique_ptr<MovieWriter> MovieWriter::create(const QString& path, const SoundFormat& format,
                                                 int* errorCode, QString* error) {
    auto failWith = [&](int e, const QString& what) -> std::unique_ptr<MovieWriter> {
        if (errorCode)
            *errorCode = e;
        if (error)
            *error = what;
        return nullptr;
    };
    if (!format.valid())
        return failWith(EINVAL, QStringLiteral("unsupported sound format"));
    ignoreFileSizeSignal();
    const QByteArray native = QFile::encodeName(path);
    // Noted before the file exists, so that a crash from here on is repaired at the next launch.
    const bool journaled = RecordingJournal::noteBegun(native);
    auto forget = [&] {
        if (journaled)
            RecordingJournal::noteCompleted(native);
    };
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int e = errno;
        forget();
        return failWith(e, qt_error_string(e));
    }
    if (!MovieFile::tryLock(fd)) {
        ::close(fd);
        forget();
        return failWith(EBUSY, QStringLiteral("the file is being recorded by another process"));
    }
    MovieHeader::RecordingTag tag;
    tag.format = format;
    tag.createdUnix = uint64_t(QDateTime::currentSecsSinceEpoch());
    const QByteArray head = MovieHeader::fileHead(tag);
    int e = ::ftruncate(fd, 0) == 0 ? 0 : errno;
    if (e == 0)
        e = MovieFile::writeAll(fd, head.constData(), size_t(head.size()), 0);
    if (e == 0 && ::fdatasync(fd) != 0)
        e = errno;
    if (e != 0) {
        ::close(fd);
        forget();
        return failWith(e, qt_error_string(e));
    }
    auto writer = std::unique_ptr<MovieWriter>(new MovieWriter(fd, path, tag));
    writer->_journaled = journaled;
    return writer;
}

MovieWriter::MovieWriter(int fd, QString path, const MovieHeader::RecordingTag& tag)
    : _fd(fd), _path(std::move(path)), _tag(tag), _lastSync(std::chrono::steady_clock::now()) {
    if (tag.format.codec == SoundCodec::Ima4) {
        _ima.emplace(tag.format.channels);
        _imaPending.reserve(size_t(ImaEncoder::kFramesPerPacket) * tag.format.channels);
    }
}

MovieWriter::~MovieWriter() {
    const bool synced = !_dirty || ::fdatasync(_fd) == 0;
    ::close(_fd); // releases the lock
    // A file that is not complete and on the disk stays in the journal, to be checked.
    if (_journaled && _completedWhole && synced)
        RecordingJournal::noteCompleted(QFile::encodeName(_path));
}

uint64_t MovieWriter::framesWritten() const {
    return _dataBytes / _tag.format.bytesPerPacket() * _tag.format.framesPerPacket();
}

void MovieWriter::fail(int code, const QString& what) {
    if (_error)
        return;
    _error = code;
    _errorText = what;
}

bool MovieWriter::writeBytes(const uint8_t* bytes, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pwrite(_fd, bytes + done, size - done, off_t(MovieHeader::kDataOffset + _dataBytes));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int e = n < 0 ? errno : EIO;
            fail(e, qt_error_string(e));
            return false;
        }
        done += size_t(n);
        _dataBytes += uint64_t(n);
        _dirty = true;
    }
    return true;
}

void MovieWriter::encode(const int32_t* frames, size_t count) {
    const SoundFormat& f = _tag.format;
    const size_t samples = count * f.channels;
    _out.clear();
    switch (f.codec) {
    case SoundCodec::Sowt:
        _out.resize(samples * 2);
        for (size_t i = 0; i < samples; ++i) {
            const auto s = uint32_t(frames[i]) >> 16;
            _out[2 * i] = uint8_t(s);
            _out[2 * i + 1] = uint8_t(s >> 8);
        }
        break;
    case SoundCodec::In24:
        _out.resize(samples * 3);
        for (size_t i = 0; i < samples; ++i) {
            const auto s = uint32_t(frames[i]) >> 8;
            _out[3 * i] = uint8_t(s);
            _out[3 * i + 1] = uint8_t(s >> 8);
            _out[3 * i + 2] = uint8_t(s >> 16);
        }
        break;
    case SoundCodec::Ima4: {
        const size_t packetSamples = size_t(ImaEncoder::kFramesPerPacket) * f.channels;
        int16_t decoded[ImaEncoder::kFramesPerPacket * 2];
        for (size_t i = 0; i < samples; ++i) {
            _imaPending.push_back(int16_t(frames[i] >> 16));
            if (_imaPending.size() == packetSamples) {
                const size_t at = _out.size();
                _out.resize(at + f.bytesPerPacket());
                _ima->encodePacket(_imaPending.data(), _out.data() + at,
                                   _reconstruction ? decoded : nullptr);
                if (_reconstruction)
                    _reconstruction->insert(_reconstruction->end(), decoded,
                                            decoded + packetSamples);
                _imaPending.clear();
            }
        }
        break;
    }
    }
}

bool MovieWriter::append(const int32_t* frames, size_t count) {
    if (_error || _completed)
        return false;
    const uint64_t room = MovieHeader::kMaxFrames - framesWritten();
    bool full = false;
    if (count > room) {
        count = size_t(room);
        full = true;
    }
    encode(frames, count);
    if (!writeBytes(_out.data(), _out.size()))
        return false;
    if (full) {
        fail(EFBIG, QStringLiteral("the recording reached the longest length a movie holds"));
        return false;
    }
    syncIfDue();
    return _error == 0;
}

void MovieWriter::syncIfDue() {
    if (!_dirty || _completed)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - _lastSync < kSyncInterval)
        return;
    if (::fdatasync(_fd) != 0 && errno != EINVAL)
        fail(errno, qt_error_string(errno));
    _lastSync = now;
    _dirty = false;
}

int MovieWriter::complete(bool sync) {
    if (_completed)
        return 0;
    if (!_imaPending.empty() && !_error) {
        const SoundFormat& f = _tag.format;
        _imaPending.resize(size_t(ImaEncoder::kFramesPerPacket) * f.channels, 0);
        std::vector<uint8_t> packet(f.bytesPerPacket());
        int16_t decoded[ImaEncoder::kFramesPerPacket * 2];
        _ima->encodePacket(_imaPending.data(), packet.data(), decoded);
        if (_reconstruction)
            _reconstruction->insert(_reconstruction->end(), decoded, decoded + _imaPending.size());
        _imaPending.clear();
        writeBytes(packet.data(), packet.size());
    }
    QString why;
    const int e = MovieFile::complete(_fd, _tag, _dataBytes, &why, sync);
    _completed = true;
    _completedWhole = e == 0;
    _dirty = !sync;
    if (e != 0) {
        fail(e, why);
        return e;
    }
    return 0;
}
