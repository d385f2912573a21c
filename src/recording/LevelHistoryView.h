#pragma once

#include "platform/audio/LevelBlocks.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <array>

// The last minute of input levels as a strip that scrolls: for each column the peak (light)
// and the RMS (solid) on a dBFS scale, nothing where the input was silent, and a mark at the top
// of a column where a sample reached full scale. A clip also lights a mark that stays until the
// strip is clicked (or Space is pressed on it once clicked).
//
// Costs little while recording: each column is drawn once, into a ring of columns, when its
// blocks are in; a paint only copies the ring in two pieces and draws the scale.
class LevelHistoryView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSeconds = 60;
    static constexpr int kBlocks = kSeconds * LevelBlockMeter::kBlocksPerSecond;
    static constexpr double kFloorDb = -60.0; // the bottom of the scale: quieter is silence

    explicit LevelHistoryView(QWidget* parent = nullptr);

    // The blocks measured since the last call, oldest first.
    void addBlocks(const LevelBlock* blocks, size_t count);
    // Forgets the history and the clip mark.
    void clear();
    bool hasClipped() const { return _clipMark; }
    void clearClipMark();

    // How high a level (relative to full scale) stands in a graph of `height` pixels.
    static int heightOf(float level, int height);
    // The area the columns are drawn in (left of it, the scale's labels).
    QRect graphRect() const;
    QColor peakColour() const;
    QColor rmsColour() const;
    QColor clipColour() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void clipMarkChanged(bool shown);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Column {
        float peak = 0;
        double squares = 0; // sum of the blocks' mean squares
        int blocks = 0;
        bool clipped = false;
    };
    int blocksPerColumn() const;
    void take(const LevelBlock& block); // into the column being filled
    void drawColumn(const Column& column);
    // Draws the ring anew from the kept blocks (a new size, a new palette).
    void redraw();
    void describe();
    void drawBackground();

    std::array<LevelBlock, kBlocks> _blocks{}; // the last minute, a ring
    size_t _blockCount = 0;                    // blocks ever taken (the ring's head is % kBlocks)
    QPixmap _background;                       // the scale, drawn once per size and palette
    QImage _ring;                              // one pixel column per column of blocks
    int _head = 0;                             // where the next column goes in _ring
    Column _filling;
    bool _clipMark = false;
};
