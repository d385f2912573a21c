// The player's waveform overview: what it shows of a recording, and seeking on it with the
// mouse and the keys.
#include "platform/media/BVMovieView.h"
#include "platform/media/WaveformPeaks.h"
#include "platform/media/WaveformView.h"
#include "platform/movie/MovieWriter.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
constexpr int kRate = 44100;

// A recording as Brevoir writes one: `loud` seconds of a tone at half scale on the left channel
// only, then `quiet` seconds of silence.
QString writeRecording(const QString& name, int loud, int quiet) {
    const QString path = TestEnvironment::root() + "/" + name;
    SoundFormat format;
    auto writer = MovieWriter::create(path, format);
    if (!writer)
        return {};
    std::vector<int32_t> block(2 * kRate);
    for (int second = 0; second < loud + quiet; ++second) {
        for (int i = 0; i < kRate; ++i) {
            const double tone = second < loud ? 0.5 * std::sin(2 * M_PI * 441 * i / kRate) : 0;
            block[size_t(2 * i)] = int32_t(std::lround(tone * 32767)) * 65536;
            block[size_t(2 * i + 1)] = 0;
        }
        if (!writer->append(block.data(), kRate))
            return {};
    }
    return writer->complete() == 0 ? path : QString();
}
} // namespace

TEST(Waveform, PeaksFollowTheSoundStretchByStretch) {
    const QString path = writeRecording("half-tone.mov", 3, 3);
    ASSERT_FALSE(path.isEmpty());
    const WaveformPeaks::Overview overview = WaveformPeaks::compute(path);
    ASSERT_TRUE(overview.failure.isEmpty()) << overview.failure.toStdString();
    EXPECT_EQ(overview.rate, kRate);
    EXPECT_EQ(overview.frames, 6 * kRate);
    ASSERT_EQ(overview.peaks.size(), size_t(WaveformPeaks::kBuckets));
    const size_t half = overview.peaks.size() / 2;
    for (size_t i = 0; i < overview.peaks.size(); ++i) {
        // A channel of its own is not averaged away; the silence stays silent.
        if (i + 1 < half) {
            ASSERT_NEAR(overview.peaks[i], 0.5, 0.01) << i;
        } else if (i > half) {
            ASSERT_EQ(overview.peaks[i], 0.0f) << i;
        }
    }
    // Something that is not sound says why.
    const QString text = TestEnvironment::root() + "/not-sound.mov";
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just some words, not a movie");
    file.close();
    const WaveformPeaks::Overview refused = WaveformPeaks::compute(text);
    EXPECT_TRUE(refused.peaks.empty());
    EXPECT_FALSE(refused.failure.isEmpty());
}

TEST(Waveform, ClickingSeeksWithinAPixelAndTheKeysStepAsTheSliderDoes) {
    const QString path = writeRecording("minute.mov", 30, 30);
    ASSERT_FALSE(path.isEmpty());
    BVMovieView view;
    view.resize(640, 160);
    view.show();
    QSignalSpy shown(&view, &BVMovieView::waveformShown);
    ASSERT_TRUE(view.setMovie(path));
    ASSERT_TRUE(shown.count() > 0 || shown.wait(5000));
    WaveformView& waveform = *view.waveform();
    ASSERT_TRUE(waveform.hasOverview());

    const double perPixel = double(view.duration()) / (waveform.width() - 1);
    for (const int x : {0, waveform.width() / 3, waveform.width() * 3 / 4, waveform.width() - 1}) {
        SCOPED_TRACE(x);
        QTest::mouseClick(&waveform, Qt::LeftButton, {}, QPoint(x, waveform.height() / 2));
        EXPECT_NEAR(double(view.currentTime()), x * perPixel, perPixel);
    }
    // A drag follows the mouse.
    QTest::mousePress(&waveform, Qt::LeftButton, {}, QPoint(10, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 5), waveform.mapToGlobal(QPointF(200, 5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&waveform, &move);
    QTest::mouseRelease(&waveform, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_NEAR(double(view.currentTime()), 200 * perPixel, perPixel);

    // The keys: 5 s, with Shift 30 s, never past either end.
    QTest::mouseClick(&waveform, Qt::LeftButton, {}, QPoint(0, 5));
    ASSERT_TRUE(waveform.hasFocus());
    QTest::keyClick(&waveform, Qt::Key_Right);
    EXPECT_EQ(view.currentTime(), 5 * kRate);
    QTest::keyClick(&waveform, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view.currentTime(), 35 * kRate);
    QTest::keyClick(&waveform, Qt::Key_Left);
    EXPECT_EQ(view.currentTime(), 30 * kRate);
    QTest::keyClick(&waveform, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view.currentTime(), view.duration());

    // Kept while the program runs: shown again at once.
    view.clearMovie();
    EXPECT_FALSE(waveform.hasOverview());
    shown.clear();
    ASSERT_TRUE(view.setMovie(path));
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(waveform.hasOverview());
}
