#include "platform/workspace/FileCopy.h"

#include "platform/foundation/FilePath.h"
#include "platform/foundation/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct FileCopyJob::State {
    QStringList sources;
    QStringList names; // of the copies; empty: the sources' own
    QString destinationFolder;
    std::atomic<bool> cancelled{false};
    std::atomic<qint64> total{0};
    std::atomic<qint64> copied{0};
    std::vector<Result> results; // written by the worker, read once it has finished
    ChunkHook chunkHook;
    qint64 chunkSize = 4 << 20;
};

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : _fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return _fd; }
    void reset(int fd = -1) {
        if (_fd >= 0)
            ::close(_fd);
        _fd = fd;
    }

private:
    int _fd;
};

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Where the copy is written before it gets its name: an unnamed file in the destination
// folder, or, where the file system has none, a hidden file next to that folder (so that
// nothing listing the folder sees a half-written copy).
struct Staging {
    Descriptor fd;
    QByteArray path; // empty for an unnamed file
    ~Staging() {
        if (!path.isEmpty())
            ::unlink(path.constData());
    }
};

bool openStaging(int folderFd, const QString& folder, Staging& staging, int& error) {
    staging.fd.reset(::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (staging.fd.get() >= 0)
        return true;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        error = errno;
        return false;
    }
    QByteArray pattern = QFile::encodeName(QFileInfo(folder).absolutePath()) + "/.copy-XXXXXX";
    staging.fd.reset(::mkostemp(pattern.data(), O_CLOEXEC));
    if (staging.fd.get() < 0) {
        error = errno;
        return false;
    }
    staging.path = pattern;
    return true;
}

// Names the finished copy; fails with EEXIST rather than replace a file.
bool publish(Staging& staging, int folderFd, const QByteArray& name, int& error) {
    int status;
    if (staging.path.isEmpty()) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(staging.fd.get());
        status =
            ::linkat(AT_FDCWD, self.constData(), folderFd, name.constData(), AT_SYMLINK_FOLLOW);
    } else {
        status = ::linkat(AT_FDCWD, staging.path.constData(), folderFd, name.constData(), 0);
    }
    if (status != 0) {
        error = errno;
        return false;
    }
    return true;
}

enum class Transfer { Done, Cancelled, Failed };

// Copies the file as long as it was when it was opened: one that another program keeps
// writing to is not followed for ever.
Transfer transfer(int in, int out, qint64 size, FileCopyJob::State& state, int& error) {
    bool kernelCopy = true;
    qint64 ofFile = 0;
    std::vector<char> buffer;
    for (;;) {
        if (state.cancelled.load())
            return Transfer::Cancelled;
        const qint64 chunk = std::min<qint64>(state.chunkSize, size - ofFile);
        if (chunk <= 0)
            return Transfer::Done;
        ssize_t n = -1;
        if (kernelCopy) {
            n = ::copy_file_range(in, nullptr, out, nullptr, size_t(chunk), 0);
            if (n < 0 && ofFile == 0 &&
                (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                kernelCopy = false; // across file systems or not offered: plain reads and writes
                continue;
            }
        } else {
            buffer.resize(size_t(std::min<qint64>(chunk, 1 << 20)));
            n = ::read(in, buffer.data(), buffer.size());
            for (ssize_t done = 0; n > 0 && done < n;) {
                const ssize_t w = ::write(out, buffer.data() + done, size_t(n - done));
                if (w < 0) {
                    if (errno == EINTR)
                        continue;
                    n = -1;
                    break;
                }
                done += w;
            }
        }
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return Transfer::Failed;
        }
        if (n == 0)
            return Transfer::Done;
        ofFile += n;
        state.copied += n;
        if (state.chunkHook && !state.chunkHook(ofFile)) {
            error = EIO;
            return Transfer::Failed;
        }
    }
}

FileCopyJob::Result copyOne(qsizetype index, FileCopyJob::State& state) {
    FileCopyJob::Result result;
    const QString& source = state.sources[index];
    result.source = source;
    const QString name =
        index < state.names.size() ? state.names[index] : QFileInfo(source).fileName();
    result.destination = state.destinationFolder + QLatin1Char('/') + name;
    auto fail = [&result](int error) {
        result.outcome = FileCopyJob::Outcome::Failed;
        result.error = systemError(error);
        return result;
    };
    if (state.cancelled.load()) {
        result.outcome = FileCopyJob::Outcome::Cancelled;
        return result;
    }

    // Without blocking: a FIFO dropped under a sound file's name would hold the copy for ever.
    SafeFile::Problem problem;
    struct stat st = {};
    const Descriptor in(SafeFile::openForReading(FilePath::fromString(source), &problem, &st));
    if (in.get() < 0 && problem.error == 0) {
        result.outcome = FileCopyJob::Outcome::NotAFile;
        return result;
    }
    if (in.get() < 0)
        return fail(problem.error);
    const Descriptor folder(::open(QFile::encodeName(state.destinationFolder).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0)
        return fail(errno);
    const QByteArray encodedName = QFile::encodeName(name);
    if (::faccessat(folder.get(), encodedName.constData(), F_OK, AT_SYMLINK_NOFOLLOW) == 0) {
        result.outcome = FileCopyJob::Outcome::Exists;
        return result;
    }

    Staging staging;
    int error = 0;
    if (!openStaging(folder.get(), state.destinationFolder, staging, error))
        return fail(error);
    switch (transfer(in.get(), staging.fd.get(), st.st_size, state, error)) {
    case Transfer::Cancelled:
        result.outcome = FileCopyJob::Outcome::Cancelled;
        return result;
    case Transfer::Failed:
        return fail(error);
    case Transfer::Done:
        break;
    }
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::fchmod(staging.fd.get(), st.st_mode & 07777);
    ::futimens(staging.fd.get(), times);
    if (::fdatasync(staging.fd.get()) != 0)
        return fail(errno);
    if (!publish(staging, folder.get(), encodedName, error)) {
        if (error == EEXIST) {
            result.outcome = FileCopyJob::Outcome::Exists;
            return result;
        }
        return fail(error);
    }
    result.outcome = FileCopyJob::Outcome::Copied;
    return result;
}

} // namespace

FileCopyJob::FileCopyJob(QStringList sources, QString destinationFolder, QObject* parent)
    : QObject(parent), _state(std::make_shared<State>()) {
    _state->sources = std::move(sources);
    _state->destinationFolder = std::move(destinationFolder);
}

FileCopyJob::~FileCopyJob() {
    if (_thread) {
        cancel();
        _thread->wait();
    }
}

void FileCopyJob::start() {
    if (_thread)
        return;
    std::shared_ptr<State> state = _state;
    _thread = QThread::create([state] {
        qint64 total = 0;
        for (const QString& source : state->sources) {
            struct stat st = {};
            if (::stat(QFile::encodeName(source).constData(), &st) == 0 && S_ISREG(st.st_mode))
                total += st.st_size;
        }
        state->total = total;
        for (qsizetype i = 0; i < state->sources.size(); ++i)
            state->results.push_back(copyOne(i, *state));
    });
    _thread->setParent(this);
    _progressTimer = new QTimer(this);
    _progressTimer->setInterval(100);
    connect(_progressTimer, &QTimer::timeout, this, &FileCopyJob::report);
    connect(_thread, &QThread::finished, this, [this] {
        _progressTimer->stop();
        _finished = true;
        report();
        emit finished();
    });
    _progressTimer->start();
    _thread->start();
}

void FileCopyJob::setDestinationNames(QStringList names) {
    _state->names = std::move(names);
}

void FileCopyJob::cancel() {
    _state->cancelled = true;
}

qint64 FileCopyJob::totalBytes() const {
    return _state->total.load();
}
qint64 FileCopyJob::copiedBytes() const {
    return _state->copied.load();
}

const std::vector<FileCopyJob::Result>& FileCopyJob::results() const {
    static const std::vector<Result> none;
    return _finished ? _state->results : none;
}

void FileCopyJob::setChunkHookForTesting(ChunkHook hook, qint64 chunkSize) {
    _state->chunkHook = std::move(hook);
    _state->chunkSize = chunkSize;
}

void FileCopyJob::report() {
    emit progressChanged(copiedBytes(), totalBytes());
}
