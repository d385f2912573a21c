#include "recording/LevelHistoryView.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/ThemeColours.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kScaleMarksDb[] = {-6, -20, -40};
constexpr int kClipMarkHeight = 3;
} // namespace

LevelHistoryView::LevelHistoryView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("levelHistory"));
    // Not a Tab stop of its own (the recording area is one); its state is in its description.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(BVLocalizedString("LevelHistoryName"));
    setToolTip(BVLocalizedString("LevelHistoryTip"));
    describe();
}

QSize LevelHistoryView::sizeHint() const {
    return {280, fontMetrics().height() * 3};
}

QSize LevelHistoryView::minimumSizeHint() const {
    return {120, fontMetrics().height() * 2};
}

QRect LevelHistoryView::graphRect() const {
    const int labels = fontMetrics().horizontalAdvance(QStringLiteral("-40")) + 4;
    return rect().adjusted(labels, 1, -1, -1);
}

int LevelHistoryView::heightOf(float level, int height) {
    if (!(level > 0))
        return 0;
    const double db = 20.0 * std::log10(double(level));
    const double fraction = std::clamp((db - kFloorDb) / -kFloorDb, 0.0, 1.0);
    return int(std::lround(fraction * height));
}

QColor LevelHistoryView::rmsColour() const {
    return palette().color(QPalette::Highlight);
}

QColor LevelHistoryView::peakColour() const {
    return ThemeColours::mix(palette().color(QPalette::Highlight), palette().color(QPalette::Base),
                             0.55);
}

QColor LevelHistoryView::clipColour() const {
    return ThemeColours::negativeText(palette());
}

int LevelHistoryView::blocksPerColumn() const {
    const int width = std::max(1, graphRect().width());
    return std::max(1, (kBlocks + width - 1) / width);
}

void LevelHistoryView::addBlocks(const LevelBlock* blocks, size_t count) {
    const int before = _head;
    for (size_t i = 0; i < count; ++i) {
        _blocks[_blockCount % kBlocks] = blocks[i];
        ++_blockCount;
        take(blocks[i]);
    }
    if (_head != before)
        update(graphRect());
}

void LevelHistoryView::take(const LevelBlock& block) {
    _filling.peak = std::max(_filling.peak, block.peak);
    _filling.squares += double(block.rms) * double(block.rms);
    _filling.clipped = _filling.clipped || block.clipped;
    if (block.clipped && !_clipMark) {
        _clipMark = true;
        describe();
        emit clipMarkChanged(true);
    }
    if (++_filling.blocks < blocksPerColumn())
        return;
    drawColumn(_filling);
    _filling = {};
}

void LevelHistoryView::drawColumn(const Column& column) {
    if (_ring.isNull())
        return;
    const int height = _ring.height();
    const int peak = heightOf(column.peak, height);
    const int rms = heightOf(float(std::sqrt(column.squares / std::max(1, column.blocks))), height);
    QPainter painter(&_ring);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(_head, 0, 1, height, Qt::transparent);
    if (peak > 0)
        painter.fillRect(_head, height - peak, 1, peak, peakColour());
    if (rms > 0)
        painter.fillRect(_head, height - rms, 1, rms, rmsColour());
    if (column.clipped)
        painter.fillRect(_head, 0, 1, kClipMarkHeight, clipColour());
    _head = (_head + 1) % _ring.width();
}

void LevelHistoryView::redraw() {
    _background = {};
    const QRect graph = graphRect();
    if (graph.width() <= 0 || graph.height() <= 0) {
        _ring = {};
        return;
    }
    _ring = QImage(graph.size(), QImage::Format_ARGB32_Premultiplied);
    _ring.fill(Qt::transparent);
    _head = 0;
    _filling = {};
    const size_t kept = std::min<size_t>(_blockCount, kBlocks);
    for (size_t i = _blockCount - kept; i < _blockCount; ++i) {
        const LevelBlock& block = _blocks[i % kBlocks];
        _filling.peak = std::max(_filling.peak, block.peak);
        _filling.squares += double(block.rms) * double(block.rms);
        _filling.clipped = _filling.clipped || block.clipped;
        if (++_filling.blocks == blocksPerColumn()) {
            drawColumn(_filling);
            _filling = {};
        }
    }
    update();
}

void LevelHistoryView::clear() {
    _blockCount = 0;
    clearClipMark();
    redraw();
}

void LevelHistoryView::clearClipMark() {
    if (!_clipMark)
        return;
    _clipMark = false;
    describe();
    update();
    emit clipMarkChanged(false);
}

void LevelHistoryView::describe() {
    setAccessibleDescription(
        BVLocalizedString(_clipMark ? "LevelHistoryClipped" : "LevelHistoryDescription"));
}

void LevelHistoryView::drawBackground() {
    // The scale: drawn once per size and palette, since shaping its labels on every paint would
    // cost more than the columns.
    _background = QPixmap(size() * devicePixelRatioF());
    _background.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(&_background);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QRect graph = graphRect();
    const auto markY = [&graph](int db) {
        return graph.bottom() + 1 - heightOf(float(std::pow(10.0, db / 20.0)), graph.height());
    };
    // Faint lines under the columns, so that silence still shows the scale.
    const QColor text = palette().color(QPalette::PlaceholderText);
    painter.setPen(ThemeColours::mix(palette().color(QPalette::Base), text, 0.35));
    for (int db : kScaleMarksDb)
        painter.drawLine(graph.left(), markY(db), graph.right(), markY(db));
    painter.setPen(text);
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.75));
    painter.setFont(small);
    for (int db : kScaleMarksDb)
        painter.drawText(QRect(0, markY(db) - 8, graph.left() - 3, 16),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(db));
}

void LevelHistoryView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (_background.isNull())
        drawBackground();
    painter.drawPixmap(0, 0, _background);
    const QRect graph = graphRect();
    if (!_ring.isNull()) {
        // The oldest column (at the ring's head) on the left, the newest on the right.
        const int older = _ring.width() - _head;
        painter.drawImage(QPoint(graph.left(), graph.top()), _ring,
                          QRect(_head, 0, older, _ring.height()));
        painter.drawImage(QPoint(graph.left() + older, graph.top()), _ring,
                          QRect(0, 0, _head, _ring.height()));
    }
    if (_clipMark) {
        const QString clip = BVLocalizedString("LevelHistoryClip");
        const int width = painter.fontMetrics().horizontalAdvance(clip) + 6;
        // Over the oldest columns: the newest stay in sight.
        const QRect mark(graph.left(), graph.top(), width, painter.fontMetrics().height());
        painter.fillRect(mark, clipColour());
        painter.setPen(palette().color(QPalette::Base));
        painter.drawText(mark, Qt::AlignCenter, clip);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void LevelHistoryView::resizeEvent(QResizeEvent*) {
    redraw();
}

void LevelHistoryView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange ||
        event->type() == QEvent::StyleChange)
        redraw();
    QWidget::changeEvent(event);
}

void LevelHistoryView::mousePressEvent(QMouseEvent* event) {
    clearClipMark();
    QWidget::mousePressEvent(event);
}

void LevelHistoryView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        clearClipMark();
        return;
    }
    QWidget::keyPressEvent(event);
}
