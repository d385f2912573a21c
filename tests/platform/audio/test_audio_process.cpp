// A recording process that is killed, or that runs out of room, loses nothing that reached the
// disk. The recording runs in a separate process (brevoir_recording_probe) so that it can be
// killed and limited like a real one.
#include "platform/audio/CaptureTestTools.h"
#include "platform/foundation/Log.h"
#include "platform/movie/MovieFile.h"
#include "platform/movie/MovieRepair.h"
#include "platform/movie/MovieTestTools.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace CaptureTestTools;
using namespace MovieTestTools;

namespace {
// A running probe and what it has said.
class ProbeProcess {
public:
    explicit ProbeProcess(const QStringList& args) {
        _process.setProgram(QStringLiteral(BREVOIR_RECORDING_PROBE));
        _process.setArguments(args);
        _process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        _process.start();
    }
    ~ProbeProcess() {
        if (_process.state() != QProcess::NotRunning) {
            _process.kill();
            _process.waitForFinished(5000);
        }
    }
    // Reads what the probe wrote; answers the last "captured" count.
    uint64_t poll() {
        _output += _process.readAllStandardOutput();
        uint64_t captured = 0;
        for (const QByteArray& line : _output.split('\n')) {
            if (line.startsWith("captured "))
                captured = line.split(' ').value(1).toULongLong();
        }
        return captured;
    }
    bool said(const QByteArray& text) {
        poll();
        return _output.contains(text);
    }
    QByteArray output() {
        poll();
        return _output;
    }
    QProcess& process() { return _process; }

private:
    QProcess _process;
    QByteArray _output;
};

QStringList probeArgs(const QString& path, double seconds) {
    return {"--output",  path,
            "--device",  TestEnvironment::capturePcm(),
            "--seconds", QString::number(seconds)};
}

bool fileIsComplete(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool complete = MovieFile::inspect(fd).complete;
    ::close(fd);
    return complete;
}
} // namespace

TEST(RecordingProcess, KilledRecordingIsRepairedWithAllButAtMostASecond) {
    REQUIRE_AUDIO_RIG();
    const auto fed = feed(20, 44100, 2, 21);
    QTemporaryDir dir;
    const QString path = dir.filePath("Recording 0001.mov");
    ProbeProcess recorder(probeArgs(path, 60));
    uint64_t captured = 0;
    ASSERT_TRUE(waitUntil([&] { return (captured = recorder.poll()) >= 3 * 44100; }, 15000))
        << recorder.output().toStdString();
    ::kill(pid_t(recorder.process().processId()), SIGKILL);
    ASSERT_TRUE(recorder.process().waitForFinished(5000));
    EXPECT_FALSE(fileIsComplete(path));

    LogCapture log;
    EXPECT_EQ(RepairInterruptedMovies(dir.path()), 1);
    EXPECT_TRUE(log.contains("repaired interrupted recording: Recording 0001.mov"));
    QString error;
    const auto decoded = fromBytes(decode(path, "s16le", &error));
    ASSERT_FALSE(decoded.empty()) << error.toStdString();
    EXPECT_GE(findRun(fed, decoded, 2), 0);
    const uint64_t frames = decoded.size() / 2;
    EXPECT_GE(frames + 44100, captured); // at most a second lost
    EXPECT_LE(frames, captured + 44100 / 2);
}

TEST(RecordingProcess, RepairSkipsTheFileOfARunningRecording) {
    REQUIRE_AUDIO_RIG();
    const auto fed = feed(15, 44100, 2, 22);
    QTemporaryDir dir;
    const QString path = dir.filePath("live.mov");
    ProbeProcess recorder(probeArgs(path, 3));
    ASSERT_TRUE(waitUntil([&] { return recorder.poll() >= 44100; }, 15000));
    LogCapture log;
    EXPECT_EQ(RepairInterruptedMovies(dir.path()), 0);
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_FALSE(fileIsComplete(path)); // untouched: still being written

    ASSERT_TRUE(recorder.process().waitForFinished(15000));
    EXPECT_TRUE(recorder.said("stopped 0")) << recorder.output().toStdString();
    EXPECT_TRUE(fileIsComplete(path));
    const auto decoded = fromBytes(decode(path));
    EXPECT_GE(decoded.size(), size_t(2 * 44100 * 2));
    EXPECT_GE(findRun(fed, decoded, 2), 0);
}

TEST(RecordingProcess, AFileSizeLimitEndsTheRecordingCleanlyWithEverythingWritten) {
    REQUIRE_AUDIO_RIG();
    const auto fed = feed(15, 44100, 2, 23);
    QTemporaryDir dir;
    const QString path = dir.filePath("limited.mov");
    constexpr qint64 kLimit = 300000; // under two seconds of CD-quality stereo
    QStringList args = probeArgs(path, 10);
    args << "--file-size-limit" << QString::number(kLimit);
    ProbeProcess recorder(args);
    ASSERT_TRUE(recorder.process().waitForFinished(15000));
    EXPECT_EQ(recorder.process().exitCode(), 0);
    const QByteArray said = recorder.output();
    EXPECT_TRUE(said.contains("stopped 0")) << said.toStdString();
    EXPECT_TRUE(said.contains("error=-2006 text=File too large")) << said.toStdString();

    // The file is complete as it stands, and holds every whole frame that fitted.
    EXPECT_TRUE(fileIsComplete(path));
    EXPECT_EQ(QFileInfo(path).size(), kLimit);
    const auto decoded = fromBytes(decode(path));
    EXPECT_EQ(qint64(decoded.size() * 2), (kLimit - qint64(MovieHeader::kDataOffset)) / 4 * 4);
    EXPECT_GE(findRun(fed, decoded, 2), 0);
}
