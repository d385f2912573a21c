#pragma once

#include <QWidget>

// A plain grey background, worked out from the palette's window colour. It paints from its
// left edge and leaves its bottom one-point strip unpainted, so a line drawn beneath by its
// parent stays visible.
class WDCleanGreyView : public QWidget {
    Q_OBJECT

public:
    explicit WDCleanGreyView(QWidget* parent = nullptr);

    // The area painted for a redraw of `dirty` (both in widget coordinates).
    QRect paintedRect(const QRect& dirty) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
