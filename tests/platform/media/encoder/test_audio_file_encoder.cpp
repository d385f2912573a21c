// Converting recordings in process: every installed encoder, judged by ffprobe.
#include "platform/foundation/FileNames.h"
#include "platform/media/AudioFileDecoder.h"
#include "platform/media/AudioFileEncoder.h"
#include "platform/playlists/RecordingFiles.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<qint64> gReadBudget{0};

// A disk that fails once the budget is read.
ssize_t readThenFail(int fd, void* buffer, size_t size) {
    const qint64 left = gReadBudget.load();
    if (left <= 0) {
        errno = EIO;
        return -1;
    }
    const ssize_t got = ::read(fd, buffer, std::min<size_t>(size, size_t(left)));
    if (got > 0)
        gReadBudget -= got;
    return got;
}

QString scratch(const QString& name) {
    return TestEnvironment::root() + QStringLiteral("/") + name;
}

struct Expected {
    const char* title;
    const char* codec; // what ffprobe calls the stream's codec
    const char* extension;
    int rate; // 0: the source's
};
const Expected kExpected[] = {
    {"AAC", "aac", "m4a", 0},        {"MP3", "mp3", "mp3", 0},
    {"FLAC", "flac", "flac", 0},     {"Apple Lossless", "alac", "m4a", 0},
    {"Opus", "opus", "opus", 48000}, {"Ogg Vorbis", "vorbis", "ogg", 0},
    {"WAV", "pcm_s16le", "wav", 0},
};
} // namespace

TEST(AudioFileEncoder, EveryInstalledEncoderWritesItsCodecRateChannelsLengthAndTitle) {
    const double seconds = 2.5;
    struct Source {
        uint32_t rate;
        uint16_t channels;
    };
    const Source sources[] = {{44100, 2}, {48000, 1}};
    int checked = 0;
    for (const Source& source : sources) {
        const QString input = scratch(QStringLiteral("Recording %1.mov").arg(source.rate));
        ASSERT_TRUE(RecordingFiles::writeRecording(input, seconds, source.rate, source.channels));
        for (const Expected& expected : kExpected) {
            const auto encoder =
                AudioFileEncoder::encoderWithTitle(QString::fromLatin1(expected.title));
            if (!encoder)
                continue; // not installed here
            SCOPED_TRACE(std::string(expected.title) + " from " + std::to_string(source.rate));
            EXPECT_EQ(encoder->extension, QString::fromLatin1(expected.extension));
            const QString output = scratch(QStringLiteral("out-%1-%2.%3")
                                               .arg(checked)
                                               .arg(source.rate)
                                               .arg(encoder->extension));
            const AudioFileEncoder::Result result = AudioFileEncoder::encodeFile(
                input, output, *encoder, QStringLiteral("Réunion à 9 h"));
            ASSERT_TRUE(result.ok) << result.error.toStdString();
            EXPECT_NEAR(result.seconds, seconds, 0.001);
            const RecordingFiles::Probe probe = RecordingFiles::probe(output);
            ASSERT_TRUE(probe.ok);
            EXPECT_EQ(probe.codec, QString::fromLatin1(expected.codec));
            EXPECT_EQ(probe.sampleRate, expected.rate ? expected.rate : int(source.rate));
            EXPECT_EQ(probe.channels, source.channels);
            EXPECT_LT(std::abs(probe.duration - seconds), 0.050) << probe.duration;
            EXPECT_EQ(probe.title, QStringLiteral("Réunion à 9 h"));
            ++checked;
        }
    }
    EXPECT_GE(checked, 2) << "FFmpeg offers at least AAC and FLAC";
}

TEST(AudioFileEncoder, AFailedOrCancelledConversionLeavesNoFile) {
    const auto flac = AudioFileEncoder::encoderWithTitle(QStringLiteral("FLAC"));
    ASSERT_TRUE(flac);
    const QString notSound = scratch(QStringLiteral("not sound.mov"));
    {
        QFile file(notSound);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    const QString sound = scratch(QStringLiteral("sound.mov"));
    ASSERT_TRUE(RecordingFiles::writeRecording(sound, 4.0));
    const QString pipe = scratch(QStringLiteral("pipe.mov"));
    ASSERT_EQ(::mkfifo(FileNames::encodePath(pipe).constData(), 0644), 0);
    const std::atomic<bool> abortNow{true};
    // Half of the recording reads, then the disk fails.
    gReadBudget = QFileInfo(sound).size() / 2;

    struct Case {
        const char* what;
        QString input;
        const std::atomic<bool>* abort;
        bool aborted;
        AudioFileDecoder::ReadFunction read;
        const char* reason;
    };
    const Case cases[] = {
        {"not sound", notSound, nullptr, false, nullptr, ""},
        {"missing", scratch(QStringLiteral("missing.mov")), nullptr, false, nullptr, ""},
        {"cancelled", sound, &abortNow, true, nullptr, ""},
        {"a pipe in its place", pipe, nullptr, false, nullptr, "pipe"},
        {"a read error part-way", sound, nullptr, false, &readThenFail, "part-way"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString output = scratch(QStringLiteral("failed-%1.flac").arg(QLatin1String(c.what)));
        AudioFileDecoder::setReadFunctionForTesting(c.read);
        const AudioFileEncoder::Result result =
            AudioFileEncoder::encodeFile(c.input, output, *flac, QStringLiteral("t"), c.abort);
        AudioFileDecoder::setReadFunctionForTesting(nullptr);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.aborted, c.aborted);
        EXPECT_TRUE(result.error.contains(QLatin1String(c.reason))) << result.error.toStdString();
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_FALSE(QFile::exists(output));
    }
}
