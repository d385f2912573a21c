#include "recording/StatusClockLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QtMath>

#include <algorithm>

void StatusClockLabel::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
        _glyphs.clear();
        break;
    default:
        break;
    }
    QLabel::changeEvent(event);
}

const StatusClockLabel::Glyph& StatusClockLabel::glyph(QChar c) {
    auto it = _glyphs.constFind(c);
    if (it != _glyphs.constEnd())
        return *it;
    const QFontMetricsF metrics(font());
    const qreal ratio = devicePixelRatioF();
    Glyph g;
    g.advance = metrics.horizontalAdvance(c);
    g.picture = QPixmap(QSize(std::max(1, qCeil(g.advance)), qCeil(metrics.height())) * ratio);
    g.picture.setDevicePixelRatio(ratio);
    g.picture.fill(Qt::transparent);
    QPainter painter(&g.picture);
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(QPointF(0, metrics.ascent()), QString(c));
    painter.end();
    return *_glyphs.insert(c, g);
}

void StatusClockLabel::paintEvent(QPaintEvent* event) {
    // Anything but a line of plain text is laid out by QLabel as usual.
    if (textFormat() != Qt::PlainText || wordWrap() || !pixmap().isNull() ||
        text().contains(u'\n')) {
        QLabel::paintEvent(event);
        return;
    }
    if (_glyphsRatio != devicePixelRatioF()) {
        _glyphs.clear();
        _glyphsRatio = devicePixelRatioF();
    }
    const QString shown = text();
    qreal width = 0;
    for (QChar c : shown)
        width += glyph(c).advance;
    QPainter painter(this);
    drawFrame(&painter);
    const int m = margin();
    const QRect box = contentsRect().adjusted(m, m, -m, -m);
    // Placed as shaped text would be: from a fractional start, each glyph on a whole pixel.
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    const int top =
        QStyle::alignedRect(layoutDirection(), align, QSize(1, fontMetrics().height()), box).top();
    qreal x = align & Qt::AlignRight     ? box.left() + box.width() - width
              : align & Qt::AlignHCenter ? box.left() + (box.width() - width) / 2
                                         : box.left();
    for (QChar c : shown) {
        const Glyph& g = glyph(c);
        painter.drawPixmap(qRound(x), top, g.picture);
        x += g.advance;
    }
}
