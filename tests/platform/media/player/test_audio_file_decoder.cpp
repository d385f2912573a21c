#include "platform/media/AudioFileDecoder.h"

#include "platform/media/player/PlaybackTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using PlaybackTestSupport::makeSound;

namespace {
class AudioFileDecoderTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return _dir.filePath(name); }

    static std::vector<float> decodeAll(AudioFileDecoder& decoder) {
        std::vector<float> samples;
        while (decoder.decodeMore(samples)) {
        }
        return samples;
    }

    QTemporaryDir _dir;
};
} // namespace

TEST_F(AudioFileDecoderTest, ReadsARecordingWholeAtItsOwnFormat) {
    ASSERT_TRUE(makeSound(path("r.mov"), 1.0));
    AudioFileDecoder decoder;
    QString error;
    ASSERT_TRUE(decoder.open(path("r.mov"), &error)) << error.toStdString();
    EXPECT_EQ(decoder.sampleRate(), 44100);
    EXPECT_EQ(decoder.channels(), 2);
    ASSERT_TRUE(decoder.setOutputFormat(2, 44100, &error));
    EXPECT_EQ(decoder.durationFrames(), 44100);

    const std::vector<float> samples = decodeAll(decoder);
    EXPECT_EQ(samples.size(), 2u * 44100u) << "every frame, nothing doubled or lost";
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    EXPECT_GT(peak, 0.05f);
    EXPECT_LE(peak, 1.0f);
    std::vector<float> more;
    EXPECT_FALSE(decoder.decodeMore(more)) << "the end stays the end";
}

TEST_F(AudioFileDecoderTest, SeekingLandsOnTheExactFrameEvenAfterTheEnd) {
    ASSERT_TRUE(
        makeSound(path("r.mov"), 1.0, {"-ar", "44100", "-ac", "2", "-c:a", "pcm_s16le"}, 997));
    AudioFileDecoder decoder;
    ASSERT_TRUE(decoder.open(path("r.mov"), nullptr));
    ASSERT_TRUE(decoder.setOutputFormat(2, 44100, nullptr));
    const std::vector<float> whole = decodeAll(decoder);
    ASSERT_EQ(whole.size(), 2u * 44100u);

    for (int64_t frame : {int64_t(12345), int64_t(0), int64_t(44099)}) {
        ASSERT_TRUE(decoder.seek(frame));
        const std::vector<float> rest = decodeAll(decoder);
        ASSERT_EQ(rest.size(), whole.size() - size_t(frame) * 2) << "from frame " << frame;
        EXPECT_TRUE(std::equal(rest.begin(), rest.end(), whole.begin() + frame * 2))
            << "from frame " << frame;
    }
}

TEST_F(AudioFileDecoderTest, ConvertsRateAndChannelsToWhatTheOutputTakes) {
    ASSERT_TRUE(
        makeSound(path("mono.mov"), 1.0, {"-ar", "22050", "-ac", "1", "-c:a", "pcm_s16le"}));
    AudioFileDecoder decoder;
    ASSERT_TRUE(decoder.open(path("mono.mov"), nullptr));
    EXPECT_EQ(decoder.sampleRate(), 22050);
    EXPECT_EQ(decoder.channels(), 1);
    ASSERT_TRUE(decoder.setOutputFormat(2, 48000, nullptr));
    EXPECT_EQ(decoder.durationFrames(), 48000);
    const std::vector<float> samples = decodeAll(decoder);
    EXPECT_NEAR(double(samples.size()) / 2, 48000, 48) << "the whole second at the new rate";
    bool sameOnBothSides = true;
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
        sameOnBothSides = sameOnBothSides && samples[i] == samples[i + 1];
    EXPECT_TRUE(sameOnBothSides) << "a mono recording sounds the same in both channels";
}

TEST_F(AudioFileDecoderTest, CompressedSoundDecodesToItsLength) {
    ASSERT_TRUE(makeSound(path("s.mp3"), 1.0, {"-ar", "44100", "-ac", "2", "-c:a", "libmp3lame"}));
    ASSERT_TRUE(makeSound(path("s.m4a"), 1.0, {"-ar", "44100", "-ac", "2", "-c:a", "aac"}));
    // A QuickTime recording compressed with IMA 4:1.
    ASSERT_TRUE(
        makeSound(path("ima4.mov"), 1.0, {"-ar", "44100", "-ac", "2", "-c:a", "adpcm_ima_qt"}));
    for (const char* name : {"s.mp3", "s.m4a", "ima4.mov"}) {
        AudioFileDecoder decoder;
        QString error;
        ASSERT_TRUE(decoder.open(path(name), &error)) << name << ": " << error.toStdString();
        ASSERT_TRUE(decoder.setOutputFormat(2, 44100, nullptr));
        EXPECT_NEAR(double(decoder.durationFrames()), 44100, 44100 * 0.05) << name;
        const std::vector<float> samples = decodeAll(decoder);
        EXPECT_NEAR(double(samples.size()) / 2, 44100, 44100 * 0.05) << name;
    }
}

TEST_F(AudioFileDecoderTest, RefusesWhatIsNotPlayableSoundWithAReason) {
    QFile(path("empty.mov")).open(QIODevice::WriteOnly);
    {
        QFile noise(path("noise.mov"));
        ASSERT_TRUE(noise.open(QIODevice::WriteOnly));
        std::minstd_rand random(7);
        QByteArray bytes(64 * 1024, Qt::Uninitialized);
        for (char& b : bytes)
            b = char(random() & 0xff);
        noise.write(bytes);
    }
    {
        QFile text(path("notes.mov"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("These are not the sounds you are looking for.\n");
    }
    // A recording cut short before its index was written.
    ASSERT_TRUE(makeSound(path("whole.mov"), 1.0));
    {
        QFile whole(path("whole.mov"));
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        QFile cut(path("cut.mov"));
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        cut.write(whole.read(whole.size() / 2));
    }
    // Pictures without sound.
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                  "testsrc=size=64x48:rate=10:duration=0.5", "-c:v", "mpeg4", path("video.mov")});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0);

    // The reasons are plain words a user can act on, not the sound library's own.
    const QString damaged = "the file is damaged or is not a sound file";
    const struct {
        const char* name;
        QString reason;
    } files[] = {
        {"missing.mov", "the file is no longer there"},
        {"empty.mov", damaged},
        {"noise.mov", damaged},
        {"notes.mov", damaged},
        {"cut.mov", damaged},
        {"video.mov", "it holds no sound"},
    };
    for (const auto& file : files) {
        AudioFileDecoder decoder;
        QString error;
        EXPECT_FALSE(decoder.open(path(file.name), &error)) << file.name;
        EXPECT_EQ(error, file.reason) << file.name;
        std::vector<float> samples;
        EXPECT_FALSE(decoder.decodeMore(samples)) << file.name;
    }
}
