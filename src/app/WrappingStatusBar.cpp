#include "app/WrappingStatusBar.h"

#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace {
constexpr int kMargin = 4;
constexpr int kLineFlags = Qt::AlignLeading | Qt::AlignVCenter | Qt::TextWordWrap;
} // namespace

WrappingStatusBar::WrappingStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    connect(this, &QStatusBar::messageChanged, this, &WrappingStatusBar::fitMessage);
}

int WrappingStatusBar::timeoutFor(const QString& message) {
    // About the time it takes to read it twice, between 5 and 20 seconds.
    return std::clamp(3000 + 80 * int(message.size()), 5000, 20000);
}

QString WrappingStatusBar::wrappable(const QString& text) {
    QString shown = text;
    return shown.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
}

QRect WrappingStatusBar::messageRect() const {
    return rect().adjusted(kMargin + 2, 1, -kMargin, -1);
}

void WrappingStatusBar::fitMessage() {
    const QString message = wrappable(currentMessage());
    const int oneLine = fontMetrics().height() + 2 * kMargin;
    int wanted = oneLine;
    if (!message.isEmpty()) {
        const QRect bounds = fontMetrics().boundingRect(
            QRect(0, 0, std::max(1, messageRect().width()), 10000), kLineFlags, message);
        wanted = std::max(oneLine, bounds.height() + 2 * kMargin);
    }
    if (minimumHeight() != wanted)
        setMinimumHeight(wanted);
    update();
}

void WrappingStatusBar::paintEvent(QPaintEvent* event) {
    const QString message = currentMessage();
    if (message.isEmpty()) {
        QStatusBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    painter.setPen(palette().windowText().color());
    painter.drawText(messageRect(), kLineFlags, wrappable(message));
}

void WrappingStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    fitMessage();
}
