#include "platform/media/BVMovieView.h"

#include "platform/audio/PortAudioLibrary.h"
#include "platform/media/player/PlaybackTestSupport.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <portaudio.h>

#include <atomic>
#include <cstring>

using PlaybackTestSupport::makeSound;
using PlaybackTestSupport::waitUntil;

namespace {
constexpr qint64 kRate = 44100;

struct Sample {
    qint64 elapsedMs;
    qint64 position;
    bool playing;
};

class MovieViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { PlaybackTestSupport::settleAudioOutput(); }

    QString path(const QString& name) const { return _dir.filePath(name); }

    // Plays until the end (or the deadline), sampling the position every few milliseconds.
    std::vector<Sample> playToEnd(int timeoutMs) {
        std::vector<Sample> samples;
        QElapsedTimer clock;
        clock.start();
        _view.start();
        waitUntil(
            [&] {
                const bool playing = _view.isPlaying();
                samples.push_back({clock.elapsed(), _view.currentTime(), playing});
                return !playing;
            },
            timeoutMs, 2);
        return samples;
    }

    static bool monotonic(const std::vector<Sample>& samples) {
        for (size_t i = 1; i < samples.size(); ++i)
            if (samples[i].position < samples[i - 1].position)
                return false;
        return true;
    }

    QTemporaryDir _dir;
    BVMovieView _view;
};
} // namespace

TEST_F(MovieViewTest, RecordingPlaysInRealTimeReportingWhatHasBeenHeard) {
    REQUIRE_AUDIO_RIG();
    ASSERT_TRUE(makeSound(path("Recording 1.mov"), 2.0));
    ASSERT_TRUE(_view.setMovie(path("Recording 1.mov"))) << _view.message().toStdString();
    EXPECT_EQ(_view.timeScale(), kRate);
    EXPECT_EQ(_view.duration(), 2 * kRate);
    EXPECT_EQ(_view.currentTime(), 0);
    EXPECT_EQ(_view.findChild<QLabel*>("fileNameLabel")->text(), "Recording 1.mov");
    EXPECT_EQ(_view.findChild<QLabel*>("totalLabel")->text(), "0:02");
    QSignalSpy finished(&_view, &BVMovieView::finished);

    const std::vector<Sample> samples = playToEnd(5000);
    ASSERT_FALSE(_view.isPlaying()) << "the end of the sound ends playing";
    const double seconds = samples.back().elapsedMs / 1000.0;
    EXPECT_NEAR(seconds, 2.0, 0.2) << "2 s of sound takes 2 s to play";
    EXPECT_TRUE(monotonic(samples));
    for (const Sample& s : samples) {
        if (!s.playing)
            continue; // the end: everything has been played
        // Never ahead of the clock (sound still queued is not counted), and never far behind.
        EXPECT_LE(s.position, (s.elapsedMs + 30) * kRate / 1000) << "at " << s.elapsedMs << " ms";
        if (s.elapsedMs > 500 && s.position < 2 * kRate) {
            EXPECT_GE(s.position, (s.elapsedMs - 400) * kRate / 1000) << "at " << s.elapsedMs;
        }
    }
    EXPECT_EQ(_view.currentTime(), 2 * kRate) << "everything was heard";
    EXPECT_TRUE(_view.hasMovie());
    EXPECT_TRUE(waitUntil([&] { return finished.count() == 1; }, 1000));
    EXPECT_EQ(_view.findChild<QLabel*>("elapsedLabel")->text(), "0:02");

    // Playing again after the end starts over.
    _view.start();
    EXPECT_TRUE(_view.isPlaying());
    EXPECT_LT(_view.currentTime(), kRate / 2);
    _view.stop();
}

TEST_F(MovieViewTest, StopPausesWhereTheSoundWasAndStartResumesThere) {
    REQUIRE_AUDIO_RIG();
    ASSERT_TRUE(makeSound(path("r.mov"), 2.0));
    ASSERT_TRUE(_view.setMovie(path("r.mov")));
    _view.start();
    ASSERT_TRUE(waitUntil([&] { return _view.currentTime() >= kRate / 2; }, 3000));
    _view.stop();
    EXPECT_FALSE(_view.isPlaying());
    const qint64 paused = _view.currentTime();
    EXPECT_GE(paused, kRate / 2);
    EXPECT_LT(paused, kRate);
    // Paused, the position holds still.
    QElapsedTimer clock;
    clock.start();
    waitUntil([&] { return clock.elapsed() >= 200; }, 1000);
    EXPECT_EQ(_view.currentTime(), paused);

    const std::vector<Sample> samples = playToEnd(5000);
    ASSERT_GE(samples.size(), 3u);
    EXPECT_GE(samples.front().position, paused) << "resumes, does not start over";
    EXPECT_LE(samples[1].position, paused + kRate / 10);
    EXPECT_TRUE(monotonic(samples));
    const double rest = double(2 * kRate - paused) / kRate;
    EXPECT_NEAR(samples.back().elapsedMs / 1000.0, rest, 0.2) << "only the rest is played";
}

TEST_F(MovieViewTest, SeeksWhilePausedWhilePlayingAndByDraggingThePosition) {
    REQUIRE_AUDIO_RIG();
    ASSERT_TRUE(makeSound(path("r.mov"), 2.0));
    ASSERT_TRUE(_view.setMovie(path("r.mov")));

    _view.seek(kRate); // paused
    EXPECT_EQ(_view.currentTime(), kRate);
    EXPECT_FALSE(_view.isPlaying());
    std::vector<Sample> samples = playToEnd(4000);
    EXPECT_GE(samples.front().position, kRate);
    EXPECT_NEAR(samples.back().elapsedMs / 1000.0, 1.0, 0.15);

    _view.start(); // from the start again, then jump ahead while playing
    ASSERT_TRUE(waitUntil([&] { return _view.currentTime() >= kRate / 4; }, 2000));
    _view.seek(3 * kRate / 2);
    EXPECT_TRUE(_view.isPlaying()) << "seeking does not pause";
    EXPECT_GE(_view.currentTime(), 3 * kRate / 2);
    samples = playToEnd(3000);
    EXPECT_NEAR(samples.back().elapsedMs / 1000.0, 0.5, 0.15);
    EXPECT_TRUE(monotonic(samples));

    // Dragging the slider: the sound stays put until the thumb is let go.
    auto* slider = _view.findChild<QSlider*>("positionSlider");
    ASSERT_TRUE(slider && slider->isEnabled());
    EXPECT_EQ(slider->maximum(), 2000);
    _view.seek(0);
    slider->setSliderDown(true);
    slider->setSliderPosition(500);
    slider->setSliderPosition(1500);
    EXPECT_EQ(_view.currentTime(), 0);
    EXPECT_EQ(_view.findChild<QLabel*>("elapsedLabel")->text(), "0:01");
    slider->setSliderDown(false);
    EXPECT_EQ(_view.currentTime(), 3 * kRate / 2);
}

TEST_F(MovieViewTest, Mp3AndM4aPlayToTheirEnd) {
    REQUIRE_AUDIO_RIG();
    ASSERT_TRUE(makeSound(path("s.mp3"), 1.0, {"-ar", "44100", "-ac", "2", "-c:a", "libmp3lame"}));
    ASSERT_TRUE(makeSound(path("s.m4a"), 1.0, {"-ar", "48000", "-ac", "1", "-c:a", "aac"}));
    for (const char* name : {"s.mp3", "s.m4a"}) {
        ASSERT_TRUE(_view.setMovie(path(name))) << name << ": " << _view.message().toStdString();
        const std::vector<Sample> samples = playToEnd(4000);
        EXPECT_FALSE(_view.isPlaying()) << name;
        EXPECT_NEAR(samples.back().elapsedMs / 1000.0, 1.0, 0.15) << name;
        EXPECT_NEAR(double(_view.currentTime()) / _view.timeScale(), 1.0, 0.05) << name;
        EXPECT_TRUE(monotonic(samples)) << name;
    }
    EXPECT_EQ(_view.timeScale(), 48000) << "the time scale is the sound's own rate";
}

TEST_F(MovieViewTest, AFileThatCannotBeDecodedIsRefusedWithAMessage) {
    {
        QFile bad(path("Recording bad.mov"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(4096, 'x'));
    }
    EXPECT_FALSE(_view.setMovie(path("Recording bad.mov")));
    EXPECT_FALSE(_view.hasMovie());
    EXPECT_TRUE(_view.message().contains("Recording bad.mov")) << _view.message().toStdString();
    EXPECT_TRUE(_view.findChild<QLabel*>("messageLabel")->isVisibleTo(&_view));
    _view.start(); // nothing to play: nothing happens
    EXPECT_FALSE(_view.isPlaying());
    EXPECT_EQ(_view.currentTime(), 0);
    EXPECT_EQ(_view.timeScale(), 0);
}

TEST_F(MovieViewTest, ARefusedFileLeavesTheCurrentMoviePlaying) {
    REQUIRE_AUDIO_RIG();
    ASSERT_TRUE(makeSound(path("good.mov"), 2.0));
    {
        QFile bad(path("bad.mov"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("not a movie");
    }
    ASSERT_TRUE(_view.setMovie(path("good.mov")));
    _view.start();
    ASSERT_TRUE(waitUntil([&] { return _view.currentTime() > kRate / 10; }, 2000));
    EXPECT_FALSE(_view.setMovie(path("bad.mov")));
    EXPECT_TRUE(_view.isPlaying());
    EXPECT_EQ(_view.moviePath(), path("good.mov"));
    const qint64 before = _view.currentTime();
    EXPECT_TRUE(waitUntil([&] { return _view.currentTime() > before + kRate / 10; }, 2000));
    EXPECT_FALSE(_view.message().isEmpty());

    // Loading a good file clears the message; unloading empties the view.
    ASSERT_TRUE(_view.setMovie(path("good.mov")));
    EXPECT_TRUE(_view.message().isEmpty());
    _view.clearMovie();
    EXPECT_FALSE(_view.hasMovie());
    EXPECT_FALSE(_view.isPlaying());
    EXPECT_EQ(_view.currentTime(), 0);
    EXPECT_TRUE(_view.findChild<QLabel*>("fileNameLabel")->text().isEmpty());
}

// Capture and playback have streams of their own; running both changes neither's pace.
TEST_F(MovieViewTest, PlaysAtItsPaceWhileACaptureStreamRuns) {
    REQUIRE_AUDIO_RIG();
    PortAudioLibrary::Session session;
    ASSERT_TRUE(session.ok());
    int device = -1;
    const QByteArray captureName = TestEnvironment::capturePcm().toUtf8();
    for (int i = 0; i < Pa_GetDeviceCount(); ++i)
        if (std::strcmp(Pa_GetDeviceInfo(i)->name, captureName.constData()) == 0)
            device = i;
    ASSERT_GE(device, 0);
    PaStreamParameters input{};
    input.device = device;
    input.channelCount = 1;
    input.sampleFormat = paInt16;
    input.suggestedLatency = Pa_GetDeviceInfo(device)->defaultLowInputLatency;
    std::atomic<long> captured{0};
    PaStream* capture = nullptr;
    ASSERT_EQ(Pa_OpenStream(
                  &capture, &input, nullptr, double(kRate), paFramesPerBufferUnspecified, paNoFlag,
                  [](const void*, void*, unsigned long frames, const PaStreamCallbackTimeInfo*,
                     PaStreamCallbackFlags, void* counter) {
                      static_cast<std::atomic<long>*>(counter)->fetch_add(long(frames));
                      return int(paContinue);
                  },
                  &captured),
              paNoError);
    ASSERT_EQ(Pa_StartStream(capture), paNoError);
    // Let capture settle into its pace before measuring.
    ASSERT_TRUE(waitUntil([&] { return captured.load() > kRate / 5; }, 3000));

    ASSERT_TRUE(makeSound(path("r.mov"), 1.5));
    ASSERT_TRUE(_view.setMovie(path("r.mov")));
    const long capturedBefore = captured.load();
    const std::vector<Sample> samples = playToEnd(4000);
    const long capturedDuring = captured.load() - capturedBefore;
    Pa_StopStream(capture);
    Pa_CloseStream(capture);

    const double seconds = samples.back().elapsedMs / 1000.0;
    EXPECT_NEAR(seconds, 1.5, 0.15);
    EXPECT_EQ(_view.currentTime(), 3 * kRate / 2);
    EXPECT_NEAR(double(capturedDuring) / kRate, seconds, 0.15) << "capture kept its pace";
}
