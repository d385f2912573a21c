#include "platform/foundation/Log.h"
#include "platform/movie/MovieFile.h"
#include "platform/movie/MovieRepair.h"
#include "platform/movie/MovieTestTools.h"
#include "platform/movie/MovieWriter.h"

#include <QtEndian>

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace MovieTestTools;

namespace {
std::vector<int32_t> widen(const std::vector<int16_t>& samples) {
    std::vector<int32_t> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        out[i] = int32_t(uint32_t(uint16_t(samples[i])) << 16);
    return out;
}

bool appendBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::Append) && f.write(bytes) == bytes.size();
}

MovieFile::Inspection inspectPath(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const auto found = MovieFile::inspect(fd);
    ::close(fd);
    return found;
}
} // namespace

TEST(MovieRepair, CompletesAnInterruptedRecordingWithEveryWholeFrame) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Recording 1.mov");
    const auto source = noise16(44100 * 2 * 2 + 2 * 33, 3);
    {
        auto writer = MovieWriter::create(path, {SoundCodec::Sowt, 44100, 2});
        ASSERT_TRUE(writer);
        const auto samples = widen(source);
        ASSERT_TRUE(writer->append(samples.data(), samples.size() / 2));
        // Destroyed without completing: what a killed process leaves.
    }
    ASSERT_TRUE(appendBytes(path, QByteArray("\x01\x02\x03", 3))); // a torn last frame
    EXPECT_FALSE(probe(path).ok && decode(path).size() == qsizetype(source.size() * 2));
    const auto before = inspectPath(path);
    ASSERT_TRUE(before.tag);
    EXPECT_FALSE(before.complete);

    LogCapture log;
    EXPECT_EQ(RepairInterruptedMovies(dir.path()), 1);
    EXPECT_TRUE(log.contains("repaired interrupted recording: Recording 1.mov"));
    EXPECT_TRUE(decode(path) == toBytes(source));
    EXPECT_TRUE(inspectPath(path).complete);

    // A second pass finds nothing to do.
    const QByteArray repaired = readFile(path);
    EXPECT_EQ(RepairInterruptedMovies(dir.path()), 0);
    EXPECT_TRUE(readFile(path) == repaired);
}

TEST(MovieRepair, KeepsWholeImaPacketsAndDropsATornOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath("ima.mov");
    std::vector<int16_t> reconstruction;
    {
        auto writer = MovieWriter::create(path, {SoundCodec::Ima4, 22050, 2});
        ASSERT_TRUE(writer);
        writer->keepReconstruction(&reconstruction);
        const auto samples = widen(noise16(2 * (64 * 300 + 10), 5));
        ASSERT_TRUE(writer->append(samples.data(), samples.size() / 2));
    }
    ASSERT_TRUE(appendBytes(path, QByteArray(50, '\x11'))); // part of a packet
    EXPECT_EQ(RepairInterruptedMovies(dir.path()), 1);
    EXPECT_EQ(fromBytes(decode(path)), reconstruction);
    EXPECT_EQ(reconstruction.size(), size_t(2 * 64 * 300));
}

TEST(MovieRepair, RewritesAMovieAtomTornWhileItWasAppended) {
    QTemporaryDir dir;
    const QString path = dir.filePath("torn.mov");
    const auto source = noise16(8000 * 3, 9);
    {
        auto writer = MovieWriter::create(path, {SoundCodec::Sowt, 8000, 1});
        ASSERT_TRUE(writer);
        const auto samples = widen(source);
        ASSERT_TRUE(writer->append(samples.data(), samples.size()));
        ASSERT_EQ(writer->complete(), 0);
    }
    QByteArray bytes = readFile(path);
    bytes.chop(12);
    ASSERT_TRUE(writeFile(path, bytes));
    EXPECT_FALSE(inspectPath(path).complete);
    EXPECT_EQ(RepairInterruptedMovies(dir.path()), 1);
    EXPECT_TRUE(decode(path) == toBytes(source));
}

TEST(MovieRepair, LeavesForeignFilesCompleteMoviesAndLockedRecordingsAlone) {
    QTemporaryDir dir;
    // Not ours: arbitrary bytes, something that looks like a movie, and a near miss of ours.
    ASSERT_TRUE(writeFile(dir.filePath("notes.txt"), "just some text\n"));
    QByteArray foreignMovie("\0\0\0\x14"
                            "ftypqt  \0\0\0\0qt  \0\0\0\x08mdat",
                            28);
    foreignMovie.append(QByteArray(5000, '\x22'));
    ASSERT_TRUE(writeFile(dir.filePath("other.mov"), foreignMovie));
    const QString complete = dir.filePath("complete.mov");
    {
        auto writer = MovieWriter::create(complete, {SoundCodec::Sowt, 44100, 2});
        const auto samples = widen(noise16(44100, 1));
        ASSERT_TRUE(writer->append(samples.data(), samples.size() / 2));
        ASSERT_EQ(writer->complete(), 0);
    }
    QByteArray nearMiss = readFile(complete);
    nearMiss[9] = char(nearMiss[9] ^ 1); // our layout under another file type
    nearMiss.truncate(4000);
    ASSERT_TRUE(writeFile(dir.filePath("near miss.mov"), nearMiss));

    // A recording in progress, locked by its writer (a different open file in this process).
    const QString live = dir.filePath("live.mov");
    auto writer = MovieWriter::create(live, {SoundCodec::Sowt, 44100, 2});
    ASSERT_TRUE(writer);
    const auto samples = widen(noise16(44100, 2));
    ASSERT_TRUE(writer->append(samples.data(), samples.size() / 2));

    QMap<QString, QByteArray> before;
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
        before[name] = readFile(dir.filePath(name));
    LogCapture log;
    EXPECT_EQ(RepairInterruptedMovies(dir.path()), 0);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_TRUE(readFile(dir.filePath(it.key())) == it.value()) << it.key().toStdString();
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join('\n').toStdString();

    // Once the writer has gone without completing, the file is repaired.
    writer.reset();
    EXPECT_EQ(RepairInterruptedMovies(dir.path()), 1);
    EXPECT_TRUE(decode(live) ==
                toBytes(fromBytes(before["live.mov"].mid(int(MovieHeader::kDataOffset)))));
}

TEST(MovieRepair, AFileThatCannotGrowGetsACompactMovieAtomBeforeItsData) {
    QTemporaryDir dir;
    const QString path = dir.filePath("full.mov");
    const auto source = noise16(2 * 44100 * 3, 4);
    {
        auto writer = MovieWriter::create(path, {SoundCodec::Sowt, 44100, 2});
        ASSERT_TRUE(writer);
        const auto samples = widen(source);
        ASSERT_TRUE(writer->append(samples.data(), samples.size() / 2));
    }
    // The file size limit stands in for a full disk: the movie atom cannot be appended.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto size = rlim_t(QFileInfo(path).size());
    rlimit limited = saved;
    limited.rlim_cur = size;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int repaired = RepairInterruptedMovies(dir.path());
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);

    EXPECT_EQ(repaired, 1);
    EXPECT_EQ(QFileInfo(path).size(), qint64(size));
    EXPECT_TRUE(decode(path) == toBytes(source));
    EXPECT_NEAR(probe(path).duration, 3.0, 0.001);
}

namespace {
// The bytes of a one-second recording as our writer leaves it: interrupted or complete.
QByteArray recording(const std::vector<int16_t>& source, bool complete) {
    QTemporaryDir dir;
    const QString path = dir.filePath("r.mov");
    {
        auto writer = MovieWriter::create(path, {SoundCodec::Sowt, 8000, 1});
        const auto samples = widen(source);
        if (!writer || !writer->append(samples.data(), samples.size()))
            return {};
        if (complete && writer->complete() != 0)
            return {};
    }
    return readFile(path);
}

QByteArray flipped(QByteArray bytes, uint64_t at, uint8_t bits) {
    bytes[qsizetype(at)] = char(uint8_t(bytes[qsizetype(at)]) ^ bits);
    return bytes;
}

// By the file system's bytes: the name need not be UTF-8.
QByteArray readRaw(const QByteArray& path) {
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    char buffer[65536];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, n);
    if (fd >= 0)
        ::close(fd);
    return bytes;
}

QByteArray withMdatSize(QByteArray bytes, uint32_t size) {
    qToBigEndian(size, bytes.data() + MovieHeader::kWideOffset + 8);
    return bytes;
}
} // namespace

// Damaged and hostile files: the repair answers promptly, never shortens a file or writes inside
// its sound, recovers what it can tell for certain and names what it leaves alone.
TEST(MovieRepair, DamagedAndHostileFilesAreRecoveredOrNamedNeverCut) {
    const auto source = noise16(8000, 31);
    const QByteArray interrupted = recording(source, false);
    const QByteArray finished = recording(source, true);
    ASSERT_FALSE(interrupted.isEmpty());
    ASSERT_FALSE(finished.isEmpty());
    using MovieHeader::kDataOffset;
    using MovieHeader::kTagCopyOffset;
    using MovieHeader::kWideOffset;
    enum Outcome { Repaired, Named };
    struct Case {
        const char* what;
        QByteArray name;
        QByteArray bytes;
        Outcome outcome;
        mode_t mode = 0644;
    };
    const QByteArray wrapping = QByteArray("\0\0\0\1free", 8) + QByteArray(7, '\xff') + '\xf8';
    const Case cases[] = {
        {"a 64-bit size that wraps, appended to a finished recording", "wrap.mov",
         finished + wrapping, Named},
        {"one bit cleared in a finished recording's mdat size", "bit.mov",
         flipped(finished, kWideOffset + 10, 0x02), Named},
        {"an interrupted recording whose mdat size is damaged", "size.mov",
         withMdatSize(interrupted, 0x104), Repaired},
        {"an interrupted recording whose leading atom is damaged", "atom.mov",
         flipped(interrupted, 30, 0x01), Repaired},
        {"an interrupted recording whose leading atom's checksum is damaged", "crc.mov",
         flipped(interrupted, 66, 0x40), Repaired},
        {"an interrupted recording whose two format records are damaged", "both.mov",
         flipped(flipped(interrupted, 30, 0x01), kTagCopyOffset + 10, 0x01), Named},
        {"killed after its movie atom reached the disk, before its mdat was closed", "late.mov",
         withMdatSize(finished, 0), Repaired},
        {"a read-only interrupted recording", "read-only.mov", interrupted, Named, 0444},
        {"an interrupted recording whose name is not UTF-8", "Recording \xff\xfe.mov", interrupted,
         Repaired},
        {"an interrupted recording whose reserve's size has one flipped byte", "reserve.mov",
         flipped(interrupted, qsizetype(MovieHeader::kReserveOffset) + 2, 0x10), Repaired},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.path()) + '/' + c.name;
        {
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::write(fd, c.bytes.constData(), size_t(c.bytes.size())), c.bytes.size());
            ASSERT_EQ(::fchmod(fd, c.mode), 0);
            ::close(fd);
        }
        LogCapture log;
        const MovieRepair::Report report = MovieRepair::repairFolder(QFile::encodeName(dir.path()));
        const QByteArray after = readRaw(path);
        // ffmpeg is given a name it can take.
        const QString file = dir.filePath("decodable.mov");
        ASSERT_EQ(::link(path.constData(), QFile::encodeName(file).constData()), 0);
        const auto cleanUp = qScopeGuard([&] {
            ::unlink(path.constData());
            ::unlink(QFile::encodeName(file).constData());
        });
        ASSERT_GE(after.size(), c.bytes.size());
        EXPECT_TRUE(after.mid(qsizetype(kDataOffset), c.bytes.size() - qsizetype(kDataOffset)) ==
                    c.bytes.mid(qsizetype(kDataOffset)))
            << "the sound was written over";
        if (c.outcome == Repaired) {
            EXPECT_EQ(report.repaired, QList<QByteArray>{c.name});
            EXPECT_TRUE(
                log.contains("repaired interrupted recording: " + QFile::decodeName(c.name)));
            EXPECT_TRUE(decode(file) == toBytes(source));
            ::unlink(QFile::encodeName(file).constData());
            EXPECT_EQ(MovieRepair::repairFolder(QFile::encodeName(dir.path())).repaired.size(), 0);
        } else {
            EXPECT_TRUE(after == c.bytes) << "changed";
            ASSERT_EQ(report.leftAlone.size(), 1);
            EXPECT_EQ(report.leftAlone[0].name, c.name);
            EXPECT_FALSE(report.leftAlone[0].reason.isEmpty());
            EXPECT_TRUE(report.repaired.isEmpty());
            EXPECT_EQ(log.count(QStringLiteral("left recording as it is: %1 (%2)")
                                    .arg(QFile::decodeName(c.name), report.leftAlone[0].reason)),
                      1)
                << log.lines().join('\n').toStdString();
        }
    }
}
