#pragma once

#include <QHash>
#include <QLabel>
#include <QPixmap>

// The elapsed-time label. Its text changes with every status of a recording, and shaping the
// text anew on each paint was the largest part of drawing the status display; so plain text is
// drawn character by character from pre-drawn glyphs, rebuilt when the font, palette, style or
// scale changes. Text, alignment and everything else stay a QLabel's.
class StatusClockLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Glyph {
        QPixmap picture;
        qreal advance = 0;
    };
    const Glyph& glyph(QChar c);

    QHash<QChar, Glyph> _glyphs;
    qreal _glyphsRatio = 0;
};
