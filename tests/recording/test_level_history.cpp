// The level history strip: what it draws for silence, a tone and a clip, and the clip mark that
// stays until it is clicked.
#include "recording/LevelHistoryView.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
// The topmost row of the column at x that has the colour, or -1.
int topOf(const QImage& image, int x, const QColor& colour, const QRect& graph) {
    for (int y = graph.top(); y <= graph.bottom(); ++y)
        if (image.pixelColor(x, y).rgb() == colour.rgb())
            return y;
    return -1;
}

std::vector<LevelBlock> blocks(size_t count, float peak, float rms, bool clipped = false) {
    return std::vector<LevelBlock>(count, LevelBlock{peak, rms, clipped});
}
} // namespace

TEST(LevelHistory, DrawsSilenceAToneAndAClipAtTheirHeightsOnTheDbfsScale) {
    LevelHistoryView view;
    view.resize(400, 64);
    // 240 columns for the minute: five 50 ms blocks each.
    view.resize(view.graphRect().left() + 240 + 1, 64);
    const QRect graph = view.graphRect();
    ASSERT_EQ(graph.width(), 240);
    const int perColumn = 5;

    const float tonePeak = 0.5f;                  // -6 dBFS
    const float toneRms = 0.5f / std::sqrt(2.0f); // a sine's RMS, -9 dBFS
    for (const auto& part :
         {blocks(perColumn, 0, 0), blocks(perColumn, tonePeak, toneRms),
          blocks(perColumn - 1, 0.8f, 0.5f), blocks(1, 1.0f, 0.5f, /*clipped=*/true)})
        view.addBlocks(part.data(), part.size());
    // A column's blocks not yet all in are not drawn.
    const auto half = blocks(2, 0.9f, 0.9f);
    view.addBlocks(half.data(), half.size());

    const QImage image = view.grab().toImage();
    const int clipColumn = graph.right();
    const int toneColumn = graph.right() - 1;
    const int silentColumn = graph.right() - 2;
    const int bottom = graph.bottom() + 1;
    struct Expected {
        const char* what;
        int x;
        int peakTop; // -1: none of its colour
        int rmsTop;
    };
    const Expected columns[] = {
        {"silence", silentColumn, -1, -1},
        {"tone", toneColumn, bottom - LevelHistoryView::heightOf(tonePeak, graph.height()),
         bottom - LevelHistoryView::heightOf(toneRms, graph.height())},
    };
    for (const Expected& c : columns) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(topOf(image, c.x, view.peakColour(), graph), c.peakTop);
        EXPECT_EQ(topOf(image, c.x, view.rmsColour(), graph), c.rmsTop);
    }
    // -6 dBFS is a tenth below the top of a 60 dB scale; the RMS 3 dB lower.
    EXPECT_NEAR(bottom - columns[1].peakTop, 0.9 * graph.height(), 1.0);
    EXPECT_NEAR(bottom - columns[1].rmsTop, 0.85 * graph.height(), 1.0);
    // The clip: a mark at the top of its column, and one that stays until clicked.
    EXPECT_EQ(image.pixelColor(clipColumn, graph.top()).rgb(), view.clipColour().rgb());
    // The full-scale peak runs up to the mark.
    const int clipPeakTop = topOf(image, clipColumn, view.peakColour(), graph);
    EXPECT_GT(clipPeakTop, graph.top());
    EXPECT_LE(clipPeakTop, graph.top() + 4);
    EXPECT_TRUE(view.hasClipped());
    const QString clippedDescription = view.accessibleDescription();
    const auto quiet = blocks(10 * perColumn, 0.1f, 0.05f);
    view.addBlocks(quiet.data(), quiet.size());
    EXPECT_TRUE(view.hasClipped());
    QTest::mouseClick(&view, Qt::LeftButton, {}, graph.center());
    EXPECT_FALSE(view.hasClipped());
    EXPECT_NE(view.accessibleDescription(), clippedDescription);

    // The columns moved left as new ones came: the tone is ten columns further on.
    const QImage later = view.grab().toImage();
    EXPECT_EQ(topOf(later, toneColumn - 10, view.peakColour(), graph), columns[1].peakTop);
}

TEST(LevelHistory, KeepsTheLastMinuteThroughAResize) {
    LevelHistoryView view;
    view.resize(view.graphRect().left() + 1200 + 1, 50); // a column a block
    const auto loud = blocks(LevelHistoryView::kBlocks, 0.5f, 0.25f);
    const auto silent = blocks(10, 0, 0);
    view.addBlocks(loud.data(), loud.size());
    view.addBlocks(silent.data(), silent.size());
    view.resize(view.graphRect().left() + 120 + 1, 50); // ten blocks a column
    const QRect graph = view.graphRect();
    const QImage image = view.grab().toImage();
    // The newest column is the ten silent blocks, the one before the loud minute's end.
    EXPECT_EQ(topOf(image, graph.right(), view.peakColour(), graph), -1);
    EXPECT_NE(topOf(image, graph.right() - 1, view.peakColour(), graph), -1);
    EXPECT_NE(topOf(image, graph.left(), view.peakColour(), graph), -1);
}
