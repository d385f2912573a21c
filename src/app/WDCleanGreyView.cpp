#include "app/WDCleanGreyView.h"

#include "platform/foundation/ThemeColours.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

WDCleanGreyView::WDCleanGreyView(QWidget* parent) : QWidget(parent) {}

QRect WDCleanGreyView::paintedRect(const QRect& dirty) const {
    // Measured upward from the bottom edge: the fill starts one point up and reaches as far
    // right and as high as the redrawn area does, from the left edge.
    const float x = float(dirty.x());
    const float w = float(dirty.width());
    const float yUp = float(height() - (dirty.y() + dirty.height()));
    const float h = float(dirty.height());
    const int fillWidth = int(std::trunc(x + w));
    const int fillHeight = int(std::trunc(yUp + h));
    // Back to top-down coordinates: the bottom row (y = height - 1) is never inside.
    return QRect(0, height() - 1 - fillHeight, fillWidth, fillHeight);
}

void WDCleanGreyView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // A grey of the theme: light under a light palette, charcoal under a dark one, so that the
    // panel's headings and buttons, drawn in the palette's text colours, always read.
    painter.fillRect(paintedRect(event->rect()), ThemeColours::panelBackground(palette()));
}
