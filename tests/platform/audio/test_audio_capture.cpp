// Recording through the real PortAudio path of the audio rig: the rig's capture device plays a
// file of known samples, and the movie files are judged by ffmpeg.
#include "platform/audio/CaptureTestTools.h"
#include "platform/movie/ImaAdpcm.h"
#include "platform/movie/MovieTestTools.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace CaptureTestTools;
using namespace MovieTestTools;

namespace {
ChannelSettings pcm(int rate, int channels) {
    ChannelSettings s;
    s.sampleRate = rate;
    s.channels = channels;
    return s;
}

// A file begins and ends at the frames captured when it was started and stopped, not at the
// edges of the device's blocks (about 50 ms here): its length is the time between the two.
constexpr double kBoundaryTolerance = 0.02;

// Records about `seconds` into `path`; answers the wall-clock time from start to stop.
double recordFor(SequenceGrabber& grabber, const QString& path, double seconds, int rate,
                 int16_t* levelsSeen = nullptr) {
    EXPECT_EQ(startRecording(grabber, path), GrabberErr::noErr);
    QElapsedTimer clock;
    clock.start();
    int16_t maxLevels[2] = {-1, -1};
    const auto frames = uint64_t(seconds * rate);
    EXPECT_TRUE(idleUntil(
        grabber,
        [&] {
            int16_t levels[2] = {-1, -1};
            grabber.getActiveLevels(levels);
            maxLevels[0] = std::max(maxLevels[0], levels[0]);
            maxLevels[1] = std::max(maxLevels[1], levels[1]);
            return grabber.health().framesCaptured >= frames;
        },
        int(seconds * 1000) + 5000));
    const double wall = double(clock.nsecsElapsed()) / 1e9;
    EXPECT_EQ(grabber.stop(), GrabberErr::noErr);
    if (levelsSeen) {
        levelsSeen[0] = maxLevels[0];
        levelsSeen[1] = maxLevels[1];
    }
    return wall;
}

// The decoded samples of `path`, checked to be one contiguous run of `fed`; answers where the
// run starts (in samples), or -1.
qsizetype checkContiguous(const QString& path, const std::vector<int16_t>& fed, int channels,
                          std::vector<int16_t>* decodedOut = nullptr) {
    QString error;
    const auto decoded = fromBytes(decode(path, "s16le", &error));
    EXPECT_FALSE(decoded.empty()) << error.toStdString();
    if (decodedOut)
        *decodedOut = decoded;
    return findRun(fed, decoded, channels);
}
} // namespace

TEST(CaptureRig, RecordsStereoPcmBitExact) {
    REQUIRE_AUDIO_RIG();
    const auto fed = feed(15, 44100, 2, 11);
    auto grabber = rigGrabber(pcm(44100, 2));
    ASSERT_TRUE(grabber);
    QTemporaryDir dir;
    const QString path = dir.filePath("stereo.mov");
    int16_t levels[2];
    const double wall = recordFor(*grabber, path, 3.0, 44100, levels);

    const CaptureHealth health = grabber->health();
    EXPECT_EQ(health.overruns, 0u);
    EXPECT_EQ(health.writeError, 0);
    EXPECT_EQ(health.framesWritten, health.framesCaptured);
    // Full-scale noise reads near the top of the meter on both channels.
    EXPECT_GE(levels[0], 95);
    EXPECT_GE(levels[1], 95);

    std::vector<int16_t> decoded;
    EXPECT_GE(checkContiguous(path, fed, 2, &decoded), 0);
    EXPECT_EQ(decoded.size(), health.framesCaptured * 2);
    const Probe p = probe(path);
    EXPECT_EQ(p.codec, "pcm_s16le");
    EXPECT_EQ(p.sampleRate, 44100);
    EXPECT_EQ(p.channels, 2);
    EXPECT_NEAR(p.duration, wall, kBoundaryTolerance);
}

TEST(CaptureRig, RecordsMonoAtAnAdditionalRate) {
    REQUIRE_AUDIO_RIG();
    const auto fed = feed(12, 22050, 1, 12);
    auto grabber = rigGrabber(pcm(22050, 1));
    ASSERT_TRUE(grabber);
    QTemporaryDir dir;
    const QString path = dir.filePath("mono.mov");
    int16_t levels[2];
    const double wall = recordFor(*grabber, path, 2.5, 22050, levels);
    EXPECT_GE(levels[0], 95);
    EXPECT_EQ(levels[1], -1); // a one-channel input leaves the second level alone

    EXPECT_GE(checkContiguous(path, fed, 1), 0);
    const Probe p = probe(path);
    EXPECT_EQ(p.codec, "pcm_s16le");
    EXPECT_EQ(p.sampleRate, 22050);
    EXPECT_EQ(p.channels, 1);
    EXPECT_NEAR(p.duration, wall, kBoundaryTolerance);
}

TEST(CaptureRig, RecordsImaThatFfmpegDecodesAsOurEncoderReconstructs) {
    REQUIRE_AUDIO_RIG();
    const auto fed = feed(12, 44100, 2, 13);
    ChannelSettings s = pcm(44100, 2);
    s.compression = ChannelSettings::Compression::Ima4;
    auto grabber = rigGrabber(s);
    ASSERT_TRUE(grabber);
    QTemporaryDir dir;
    const QString path = dir.filePath("ima.mov");
    const double wall = recordFor(*grabber, path, 2.5, 44100);

    const auto decoded = fromBytes(decode(path));
    ASSERT_GE(decoded.size(), size_t(2 * 64 * 100));
    ASSERT_EQ(decoded.size() % (2 * 64), 0u);
    // Find where the recording began: the encoder's first packet from there must match.
    qsizetype start = -1;
    for (size_t at = 0; at + decoded.size() <= fed.size() && start < 0; at += 2) {
        ImaEncoder encoder(2);
        uint8_t packet[68];
        int16_t reconstruction[128];
        encoder.encodePacket(fed.data() + at, packet, reconstruction);
        if (std::equal(reconstruction, reconstruction + 128, decoded.begin()))
            start = qsizetype(at);
    }
    ASSERT_GE(start, 0);
    ImaEncoder encoder(2);
    std::vector<int16_t> expected(decoded.size());
    std::vector<uint8_t> packet(68);
    for (size_t p = 0; p < decoded.size(); p += 128)
        encoder.encodePacket(fed.data() + size_t(start) + p, packet.data(), expected.data() + p);
    EXPECT_EQ(decoded, expected);
    const Probe p = probe(path);
    EXPECT_EQ(p.codec, "adpcm_ima_qt");
    EXPECT_NEAR(p.duration, wall, kBoundaryTolerance);
}

TEST(CaptureRig, RecordsTwentyFourBitSamples) {
    REQUIRE_AUDIO_RIG();
    // The 24-bit path captures 32-bit samples; the rig's device passes the file through in that
    // format, so this feed is 32-bit.
    const auto words = noise16(size_t(12) * 48000 * 2 * 2, 14);
    const QString fedPath = TestEnvironment::root() + "/fed32.raw";
    ASSERT_TRUE(writeFile(fedPath, toBytes(words)));
    qputenv("BREVOIR_TEST_CAPTURE_FILE", fedPath.toLocal8Bit());
    ChannelSettings s = pcm(48000, 2);
    s.sampleBits = 24;
    auto grabber = rigGrabber(s);
    ASSERT_TRUE(grabber);
    QTemporaryDir dir;
    const QString path = dir.filePath("24.mov");
    recordFor(*grabber, path, 2.0, 48000);

    EXPECT_EQ(probe(path).codec, "pcm_s24le");
    const QByteArray decoded = decode(path, "s24le");
    ASSERT_GE(decoded.size(), 48000 * 2 * 3);
    // Each 32-bit sample of the feed is recorded as its upper 24 bits.
    QByteArray expected;
    const QByteArray raw = toBytes(words);
    for (qsizetype at = 0; at + 4 <= raw.size(); at += 4)
        expected.append(raw.mid(at + 1, 3));
    const qsizetype found = expected.indexOf(decoded.left(6 * 64));
    ASSERT_GE(found, 0);
    EXPECT_EQ(found % 6, 0);
    EXPECT_TRUE(expected.mid(found, decoded.size()) == decoded);
}

TEST(CaptureRig, ARecordingStartedRightAfterAStopContinuesWithTheNextSample) {
    REQUIRE_AUDIO_RIG();
    const auto fed = feed(15, 44100, 2, 15);
    auto grabber = rigGrabber(pcm(44100, 2));
    ASSERT_TRUE(grabber);
    QTemporaryDir dir;
    const QString first = dir.filePath("first.mov");
    const QString second = dir.filePath("second.mov");
    recordFor(*grabber, first, 2.0, 44100);
    recordFor(*grabber, second, 1.5, 44100);

    std::vector<int16_t> a;
    std::vector<int16_t> b;
    const qsizetype startA = checkContiguous(first, fed, 2, &a);
    const qsizetype startB = checkContiguous(second, fed, 2, &b);
    ASSERT_GE(startA, 0);
    EXPECT_EQ(startB, startA + qsizetype(a.size()));
    std::vector<int16_t> joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    EXPECT_EQ(findRun(fed, joined, 2), startA);
}

TEST(CaptureRig, RecordingAgainIntoTheSameFileReplacesIt) {
    REQUIRE_AUDIO_RIG();
    const auto fed = feed(12, 44100, 2, 18);
    auto grabber = rigGrabber(pcm(44100, 2));
    ASSERT_TRUE(grabber);
    QTemporaryDir dir;
    const QString path = dir.filePath("soundz.mov");
    recordFor(*grabber, path, 1.5, 44100);
    std::vector<int16_t> first;
    const qsizetype startA = checkContiguous(path, fed, 2, &first);
    // At once, as the recorder does it: delete, create, record.
    EXPECT_EQ(grabber->deleteMovieFile(path), GrabberErr::noErr);
    recordFor(*grabber, path, 1.0, 44100);
    std::vector<int16_t> second;
    EXPECT_EQ(checkContiguous(path, fed, 2, &second), startA + qsizetype(first.size()));
    EXPECT_NEAR(double(second.size()) / 2 / 44100, 1.0, 0.1);
}

// A stop that comes before the first block after the start has arrived: the file still
// begins where the start was asked for and is as long as the time between the two.
TEST(CaptureRig, AStopRightAfterTheStartKeepsWhatWasSaidInBetween) {
    REQUIRE_AUDIO_RIG();
    const auto fed = feed(12, 44100, 2, 19);
    auto grabber = rigGrabber(pcm(44100, 2));
    ASSERT_TRUE(grabber);
    QTemporaryDir dir;
    const QString path = dir.filePath("short.mov");
    ASSERT_EQ(startRecording(*grabber, path), GrabberErr::noErr);
    QElapsedTimer clock;
    clock.start();
    // The user presses Stop 15 ms after Record: on a freshly opened input, sooner than the
    // first block (about 46 ms) comes.
    idleUntil(
        *grabber, [&] { return clock.elapsed() >= 15; }, 1000);
    const double wall = double(clock.nsecsElapsed()) / 1e9;
    ASSERT_EQ(grabber->stop(), GrabberErr::noErr);
    std::vector<int16_t> decoded;
    EXPECT_GE(checkContiguous(path, fed, 2, &decoded), 0);
    EXPECT_GT(decoded.size(), 0u);
    EXPECT_EQ(decoded.size(), grabber->health().framesCaptured * 2);
    EXPECT_NEAR(double(decoded.size()) / 2 / 44100, wall, kBoundaryTolerance);
}

TEST(CaptureRig, PauseDropsThePausedSoundAndLeavesNoGapInTheFile) {
    REQUIRE_AUDIO_RIG();
    const auto fed = feed(15, 44100, 2, 16);
    auto grabber = rigGrabber(pcm(44100, 2));
    ASSERT_TRUE(grabber);
    QTemporaryDir dir;
    const QString path = dir.filePath("paused.mov");
    ASSERT_EQ(startRecording(*grabber, path), GrabberErr::noErr);
    ASSERT_TRUE(idleUntil(
        *grabber, [&] { return grabber->health().framesCaptured >= 44100; }, 6000));
    ASSERT_EQ(grabber->pause(true), GrabberErr::noErr);
    QElapsedTimer paused;
    paused.start();
    ASSERT_TRUE(idleUntil(
        *grabber, [&] { return paused.elapsed() >= 500; }, 3000));
    const uint64_t atPause = grabber->health().framesCaptured; // nothing comes in while paused
    ASSERT_TRUE(idleUntil(
        *grabber, [&] { return paused.elapsed() >= 1000; }, 3000));
    EXPECT_EQ(grabber->health().framesCaptured, atPause);
    ASSERT_EQ(grabber->pause(false), GrabberErr::noErr);
    ASSERT_TRUE(idleUntil(
        *grabber, [&] { return grabber->health().framesCaptured >= atPause + 44100; }, 6000));
    ASSERT_EQ(grabber->stop(), GrabberErr::noErr);

    const auto decoded = fromBytes(decode(path));
    ASSERT_GE(decoded.size(), size_t(4 * 44100));
    // Two runs of the feed, back to back in the file, about a second apart in the feed.
    const std::vector<int16_t> head(decoded.begin(), decoded.begin() + 2 * 1000);
    const qsizetype runA = findRun(fed, head, 2);
    ASSERT_GE(runA, 0);
    size_t split = 0;
    while (split < decoded.size() && decoded[split] == fed[size_t(runA) + split])
        ++split;
    split -= split % 2;
    EXPECT_EQ(split, size_t(atPause * 2));
    const std::vector<int16_t> tail(decoded.begin() + qsizetype(split), decoded.end());
    const qsizetype runB = findRun(fed, tail, 2);
    ASSERT_GE(runB, 0);
    const double gap = double(runB - runA - qsizetype(split)) / 2 / 44100;
    EXPECT_NEAR(gap, 1.0, 0.25);
}

TEST(CaptureRig, PreviewMetersTheInputAndWritesNothing) {
    REQUIRE_AUDIO_RIG();
    feed(10, 44100, 2, 17);
    auto grabber = rigGrabber(pcm(44100, 2));
    ASSERT_TRUE(grabber);
    ASSERT_EQ(grabber->startPreview(), GrabberErr::noErr);
    int16_t levels[2] = {0, 0};
    EXPECT_TRUE(idleUntil(
        *grabber,
        [&] {
            grabber->getActiveLevels(levels);
            return levels[0] >= 95 && levels[1] >= 95;
        },
        5000));
    EXPECT_EQ(grabber->startRecord(), GrabberErr::wrongState);
    EXPECT_EQ(grabber->stop(), GrabberErr::noErr);
    EXPECT_EQ(grabber->health().framesCaptured, 0u);
}

TEST(CaptureRig, TheSoundServersInputIsRecordedThroughItsOwnClient) {
    REQUIRE_AUDIO_RIG();
    // Known samples played into a sink of this test's own (tests running beside it play into
    // the rig's sink); its monitor source is what we record, as a microphone would be.
    const auto fed = feed(20, 44100, 2, 31);
    const QString sink =
        QStringLiteral("brevoir_capture_test_%1").arg(QCoreApplication::applicationPid());
    QProcess load;
    load.start("pactl", {"load-module", "module-null-sink", "sink_name=" + sink, "rate=44100",
                         "channels=2", "format=s16le"});
    ASSERT_TRUE(load.waitForFinished());
    const QString module = QString::fromUtf8(load.readAllStandardOutput()).trimmed();
    ASSERT_FALSE(module.isEmpty());
    struct Unload {
        QString module;
        ~Unload() { QProcess::execute("pactl", {"unload-module", module}); }
    } unload{module};
    for (const QString& latency : {QStringLiteral("50"), QStringLiteral("2000")}) {
        SCOPED_TRACE("player latency " + latency.toStdString() + " ms");
        QProcess player;
        player.start("pacat", {"--latency-msec=" + latency, "--playback", "--device=" + sink,
                               "--format=s16le", "--rate=44100", "--channels=2", "--raw",
                               qEnvironmentVariable("BREVOIR_TEST_CAPTURE_FILE")});
        ASSERT_TRUE(player.waitForStarted());
        qputenv("PULSE_SOURCE", (sink + ".monitor").toLocal8Bit());
        auto grabber = rigGrabber(pcm(44100, 2), "pulse");
        ASSERT_TRUE(grabber);
        QTemporaryDir dir;
        const QString path = dir.filePath("server.mov");
        QElapsedTimer wall;
        wall.start();
        ASSERT_EQ(startRecording(*grabber, path), GrabberErr::noErr);
        // Our own stream on the server, not the ALSA plugin's.
        QProcess pactl;
        pactl.start("pactl", {"list", "source-outputs"});
        ASSERT_TRUE(pactl.waitForFinished());
        EXPECT_TRUE(pactl.readAllStandardOutput().contains("media.name = \"Recording\""));
        EXPECT_TRUE(idleUntil(
            *grabber, [&] { return grabber->health().framesCaptured >= 3 * 44100; }, 10000));
        EXPECT_EQ(grabber->stop(), GrabberErr::noErr);
        const double seconds = wall.elapsed() / 1000.0;
        qunsetenv("PULSE_SOURCE");
        player.kill();
        player.waitForFinished();

        EXPECT_EQ(grabber->health().overruns, 0u);
        // Behind a player's long buffer the monitor hands over its first sound most of a second
        // late; the file still lasts as long as the recording did.
        EXPECT_NEAR(probe(path).duration, seconds, 0.1);
        QString error;
        const auto decoded = fromBytes(decode(path, "s16le", &error));
        ASSERT_GT(decoded.size(), size_t(3 * 44100 * 2)) << error.toStdString();
        // The server mixes (and may touch the level of) what it plays, so the recording is judged
        // by where its first frames sit in what was played and how closely the rest follows it.
        const auto firstSound = std::find_if(decoded.begin(), decoded.end(),
                                             [](int16_t sample) { return sample != 0; });
        const auto frameStart = decoded.begin() + ((firstSound - decoded.begin()) & ~1);
        const std::vector<int16_t> sounding(frameStart, decoded.end());
        ASSERT_GT(sounding.size(), size_t(2 * 44100 * 2));
        const qsizetype at =
            findRun(fed, std::vector<int16_t>(sounding.begin(), sounding.begin() + 512), 2);
        ASSERT_GE(at, 0);
        double dot = 0, a2 = 0, b2 = 0;
        for (size_t i = 0; i < sounding.size() && size_t(at) + i < fed.size(); ++i) {
            dot += double(sounding[i]) * fed[size_t(at) + i];
            a2 += double(sounding[i]) * sounding[i];
            b2 += double(fed[size_t(at) + i]) * fed[size_t(at) + i];
        }
        EXPECT_GT(dot / std::sqrt(a2 * b2), 0.9);
    }
}
