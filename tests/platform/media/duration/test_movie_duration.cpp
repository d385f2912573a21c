#include "platform/foundation/FileNames.h"
#include "platform/media/MovieDuration.h"
#include "platform/media/duration/MediaFiles.h"
#include "platform/movie/MovieFile.h"
#include "platform/movie/MovieHeader.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using MovieDuration::HeaderReading;

namespace {

struct Tone {
    const char* name;
    int rate;
    int channels;
    double seconds;
    QStringList codec;
};

QByteArray be32(quint32 v) {
    QByteArray bytes(4, '\0');
    qToBigEndian(v, bytes.data());
    return bytes;
}

QByteArray be64(quint64 v) {
    QByteArray bytes(8, '\0');
    qToBigEndian(v, bytes.data());
    return bytes;
}

QByteArray atom(const char* type, const QByteArray& body) {
    return be32(quint32(8 + body.size())) + QByteArray(type, 4) + body;
}

QByteArray movieHeaderV0(quint32 timeScale, quint32 duration) {
    return atom("mvhd", QByteArray(4, '\0') + be32(0) + be32(0) + be32(timeScale) + be32(duration) +
                            QByteArray(80, '\0'));
}

QByteArray movieHeaderV1(quint32 timeScale, quint64 duration) {
    return atom("mvhd", QByteArray(1, '\1') + QByteArray(3, '\0') + be64(0) + be64(0) +
                            be32(timeScale) + be64(duration) + QByteArray(80, '\0'));
}

class MovieDurationTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return _dir.filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QString tone(const Tone& t) const {
        const QString file = path(QString::fromLatin1(t.name));
        EXPECT_TRUE(MediaFiles::makeTone(file, t.rate, t.channels, t.seconds, t.codec)) << t.name;
        return file;
    }

    QTemporaryDir _dir;
};

TEST_F(MovieDurationTest, QuickTimeAndMp4FilesMeasureAsFfprobeDoes) {
    const Tone tones[] = {
        {"pcm-8000-mono.mov", 8000, 1, 1.5, {"-c:a", "pcm_s16be"}},
        {"pcm-22050-stereo.mov", 22050, 2, 2.345, {"-c:a", "pcm_s16be"}},
        {"pcm-44100-stereo.mov", 44100, 2, 3.0, {"-c:a", "pcm_s16be"}},
        {"sowt-48000-mono.mov", 48000, 1, 0.75, {"-c:a", "pcm_s16le"}},
        {"aac-44100-stereo.mov", 44100, 2, 2.2, {"-c:a", "aac"}},
        {"aac-48000-mono.m4a", 48000, 1, 1.37, {"-c:a", "aac"}},
        {"aac-22050-stereo.m4a", 22050, 2, 4.1, {"-c:a", "aac"}},
        {"faststart-44100-mono.mov",
         44100,
         1,
         1.0,
         {"-c:a", "pcm_s16be", "-movflags", "+faststart"}},
    };
    for (const Tone& t : tones) {
        const QString file = tone(t);
        const double reference = MediaFiles::probeDuration(file);
        ASSERT_FALSE(std::isnan(reference)) << t.name;
        const float measured = MovieDuration::durationOfFile(file);
        EXPECT_NEAR(measured, reference, 0.001) << t.name;
        // The movie header alone gives the value the demuxer gives.
        const HeaderReading header = MovieDuration::readMovieHeader(file);
        ASSERT_EQ(header.kind, HeaderReading::Found) << t.name;
        EXPECT_EQ(measured, float(header.duration) / float(header.timeScale)) << t.name;
        EXPECT_NEAR(MovieDuration::durationThroughDemuxer(file), reference, 0.001) << t.name;
    }
}

TEST_F(MovieDurationTest, Mp3FilesMeasureWithinOneFrameOfFfprobe) {
    const Tone tones[] = {
        {"cbr-44100-stereo.mp3", 44100, 2, 2.5, {"-c:a", "libmp3lame", "-b:a", "128k"}},
        {"vbr-22050-mono.mp3", 22050, 1, 1.3, {"-c:a", "libmp3lame", "-q:a", "5"}},
        {"noxing-48000-stereo.mp3", 48000, 2, 1.9, {"-c:a", "libmp3lame", "-write_xing", "0"}},
        {"id3-32000-mono.mp3",
         32000,
         1,
         0.8,
         {"-c:a", "libmp3lame", "-metadata", "title=Interview", "-id3v2_version", "3"}},
    };
    for (const Tone& t : tones) {
        const QString file = tone(t);
        const double reference = MediaFiles::probeDuration(file);
        ASSERT_FALSE(std::isnan(reference)) << t.name;
        const double frame = (t.rate >= 32000 ? 1152.0 : 576.0) / t.rate;
        EXPECT_NEAR(MovieDuration::durationOfFile(file), reference, frame) << t.name;
        EXPECT_EQ(MovieDuration::readMovieHeader(file).kind, HeaderReading::NotQuickTime);
    }
}

TEST_F(MovieDurationTest, SoundIsRecognisedByContentNotByName) {
    // A tag larger than the first read, and an MP3 that carries a movie's extension.
    const QString tagged = tone({"tagged.mp3",
                                 44100,
                                 2,
                                 1.2,
                                 {"-c:a", "libmp3lame", "-metadata",
                                  QStringLiteral("comment=") + QString(100000, QLatin1Char('x'))}});
    const double reference = MediaFiles::probeDuration(tagged);
    ASSERT_FALSE(std::isnan(reference));
    EXPECT_NEAR(MovieDuration::durationOfFile(tagged), reference, 1152.0 / 44100);
    ASSERT_TRUE(QFile::copy(tagged, path("renamed.mov")));
    EXPECT_EQ(MovieDuration::durationOfFile(path("renamed.mov")),
              MovieDuration::durationOfFile(tagged));

    // A name that is not UTF-8 is measured under its own bytes.
    const QString latin1 = path(FileNames::decode("caf\xe9.mov"));
    ASSERT_EQ(
        ::rename(QFile::encodeName(tagged).constData(), FileNames::encodePath(latin1).constData()),
        0);
    EXPECT_NEAR(MovieDuration::durationOfFile(latin1), reference, 1152.0 / 44100);
}

TEST_F(MovieDurationTest, FragmentedMoviesAreLeftToTheDemuxer) {
    const QString file = tone({"fragmented.m4a",
                               44100,
                               2,
                               2.0,
                               {"-c:a", "aac", "-movflags", "frag_keyframe+empty_moov"}});
    EXPECT_EQ(MovieDuration::readMovieHeader(file).kind, HeaderReading::Unusual);
    const double reference = MediaFiles::probeDuration(file);
    ASSERT_FALSE(std::isnan(reference));
    EXPECT_NEAR(MovieDuration::durationOfFile(file), reference, 0.001);
}

TEST_F(MovieDurationTest, WhatIsNoMovieMeasuresZero) {
    EXPECT_EQ(MovieDuration::durationOfFile(write("x.mov", "just some text, not a movie\n")), 0);
    EXPECT_EQ(MovieDuration::durationOfFile(write("empty.mov", QByteArray())), 0);
    EXPECT_EQ(MovieDuration::durationOfFile(write("noise.m4a", QByteArray(5000, '\x5a'))), 0);
    ASSERT_TRUE(QDir(_dir.path()).mkdir(QStringLiteral("folder.mov")));
    EXPECT_EQ(MovieDuration::durationOfFile(path("folder.mov")), 0);
    EXPECT_EQ(MovieDuration::durationOfFile(path("missing.mov")), 0);
    EXPECT_EQ(MovieDuration::durationOfFile(QString()), 0);
}

TEST_F(MovieDurationTest, AMovieStillBeingWrittenMeasuresZero) {
    const QString file = tone({"whole.mov", 44100, 1, 1.0, {"-c:a", "pcm_s16be"}});
    QFile whole(file);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const qsizetype moov = bytes.indexOf("moov") - 4;
    ASSERT_GT(moov, 0);

    // Everything but the movie header, then only part of the sound data.
    for (const QString& partial :
         {write("no-header.mov", bytes.left(moov)), write("half-data.mov", bytes.left(moov / 2))}) {
        EXPECT_EQ(MovieDuration::readMovieHeader(partial).kind, HeaderReading::NoMovieYet);
        EXPECT_EQ(MovieDuration::durationOfFile(partial), 0);
    }
    // A sound data atom whose size is not written yet runs to the end of the file.
    const QString open = write("open.mov", atom("ftyp", "qt  \0\0\0\0qt  ") + be32(0) +
                                               QByteArray("mdat") + QByteArray(4096, '\1'));
    EXPECT_EQ(MovieDuration::readMovieHeader(open).kind, HeaderReading::NoMovieYet);
    EXPECT_EQ(MovieDuration::durationOfFile(open), 0);
}

TEST_F(MovieDurationTest, OurRecordingsMeasureZeroWhileWrittenAndTheirLengthOnceComplete) {
    // The recorder's own layout: its head, then sound running to the end of the file.
    MovieHeader::RecordingTag tag;
    tag.format = SoundFormat{SoundCodec::Sowt, 22050, 1};
    tag.createdUnix = 1700000000;
    const QString file = write("Recording 1700000000.mov",
                               MovieHeader::fileHead(tag) + QByteArray(22050 * 2 * 3 / 2, '\0'));
    EXPECT_EQ(MovieDuration::readMovieHeader(file).kind, HeaderReading::NoMovieYet);
    EXPECT_EQ(MovieDuration::durationOfFile(file), 0);

    const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    QString error;
    EXPECT_EQ(MovieFile::complete(fd, tag, 22050 * 2 * 3 / 2, &error), 0) << error.toStdString();
    ::close(fd);
    EXPECT_EQ(MovieDuration::readMovieHeader(file).kind, HeaderReading::Found);
    EXPECT_FLOAT_EQ(MovieDuration::durationOfFile(file), 1.5f);
    EXPECT_NEAR(MovieDuration::durationOfFile(file), MediaFiles::probeDuration(file), 0.001);
}

TEST_F(MovieDurationTest, MovieHeadersOfBothVersionsAndLargeAtoms) {
    // 64-bit atom sizes and a version 1 header: 01:02:05.50 at a time scale of 600.
    const QByteArray data(32000, '\0');
    const QByteArray largeData = be32(1) + QByteArray("mdat") + be64(16 + data.size()) + data;
    const QString v1 = write("v1.mov", atom("wide", {}) + largeData +
                                           atom("moov", movieHeaderV1(600, 3725.5 * 600)));
    HeaderReading header = MovieDuration::readMovieHeader(v1);
    ASSERT_EQ(header.kind, HeaderReading::Found);
    EXPECT_EQ(header.timeScale, 600u);
    EXPECT_EQ(header.duration, 2235300u);
    EXPECT_FLOAT_EQ(MovieDuration::durationOfFile(v1), 3725.5f);

    const QString v0 = write("v0.mov", atom("moov", movieHeaderV0(44100, 44100 * 10 + 22050)));
    EXPECT_FLOAT_EQ(MovieDuration::durationOfFile(v0), 10.5f);

    // An unknown length or fragments are not taken from the header.
    const QString unknown = write("unknown.mov", atom("moov", movieHeaderV0(1000, 0xFFFFFFFFu)));
    EXPECT_EQ(MovieDuration::readMovieHeader(unknown).kind, HeaderReading::Unusual);
    const QString fragments =
        write("fragments.mov", atom("moov", movieHeaderV0(1000, 5000) + atom("mvex", {})));
    EXPECT_EQ(MovieDuration::readMovieHeader(fragments).kind, HeaderReading::Unusual);
    const QString noScale = write("noscale.mov", atom("moov", movieHeaderV0(0, 5000)));
    EXPECT_EQ(MovieDuration::readMovieHeader(noScale).kind, HeaderReading::Unusual);
}

// A header may claim any length; one the file could not hold is unknown, for every reader of it.
TEST_F(MovieDurationTest, LengthsTheFileCannotHoldAreUnknown) {
    MovieHeader::RecordingTag tag;
    tag.format = SoundFormat{SoundCodec::Sowt, 8000, 1};
    const QString file =
        write("Recording 1.mov", MovieHeader::fileHead(tag) + QByteArray(16000, '\0'));
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    QString error;
    ASSERT_EQ(MovieFile::complete(fd, tag, 16000, &error), 0) << error.toStdString();
    ::close(fd);
    QFile recorded(file);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    const QByteArray finished = recorded.readAll();
    const qsizetype mvhd = finished.indexOf("mvhd");
    ASSERT_GT(mvhd, 0);
    auto withDuration = [&](quint32 duration) {
        QByteArray bytes = finished;
        qToBigEndian(duration, bytes.data() + mvhd + 20);
        return bytes;
    };
    const QByteArray data(1000, '\0');
    struct Case {
        const char* name;
        QByteArray bytes;
        float seconds;
    };
    const Case cases[] = {
        {"as-recorded.mov", finished, 1.0f},
        {"longest-32-bit.mov", withDuration(0xFFFFFFFEu), 0},
        {"2^63-units.mov",
         atom("ftyp", "qt  \0\0\0\0qt  ") + atom("mdat", data) +
             atom("moov", movieHeaderV1(1, quint64(1) << 63)),
         0},
        {"2^64-less-2-units.mov", atom("moov", movieHeaderV1(1000, ~quint64(1))) + data, 0},
        {"a-day-in-a-kilobyte.mov", atom("moov", movieHeaderV0(1, 86400)) + data, 0},
    };
    for (const Case& c : cases) {
        const QString path = write(QString::fromLatin1(c.name), c.bytes);
        EXPECT_EQ(MovieDuration::durationOfFile(path), c.seconds) << c.name;
    }
}

} // namespace
