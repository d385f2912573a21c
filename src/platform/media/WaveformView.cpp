#include "platform/media/WaveformView.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/ThemeColours.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

WaveformView::WaveformView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("waveform"));
    setFocusPolicy(Qt::ClickFocus);
    setAccessibleName(BVLocalizedString("WaveformName"));
    setAccessibleDescription(BVLocalizedString("WaveformDescription"));
    setToolTip(BVLocalizedString("WaveformTip"));
    setMinimumHeight(32);
}

QSize WaveformView::sizeHint() const {
    return {300, 48};
}

void WaveformView::setOverview(std::shared_ptr<const WaveformPeaks::Overview> overview) {
    _overview = std::move(overview);
    update();
}

void WaveformView::setPosition(double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    if (std::abs(fraction - _position) * width() < 0.5)
        return;
    _position = fraction;
    update();
}

double WaveformView::fractionAt(int x) const {
    return width() > 1 ? std::clamp(double(x) / double(width() - 1), 0.0, 1.0) : 0.0;
}

void WaveformView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), ThemeColours::panelBackground(colours));
    const int middle = height() / 2;
    const QColor wave = colours.color(QPalette::Highlight);
    const QColor played = ThemeColours::mix(wave, colours.color(QPalette::Text), 0.35);
    const int positionX = int(std::lround(_position * (width() - 1)));
    if (hasOverview()) {
        const std::vector<float>& peaks = _overview->peaks;
        const int count = int(peaks.size());
        for (int x = 0; x < width(); ++x) {
            // The loudest of the stretches the column covers.
            const int first = x * count / width();
            const int last = std::max(first + 1, (x + 1) * count / width());
            float peak = 0;
            for (int i = first; i < last && i < count; ++i)
                peak = std::max(peak, peaks[size_t(i)]);
            const int half = std::max(peak > 0 ? 1 : 0, int(std::lround(peak * (middle - 1))));
            painter.fillRect(x, middle - half, 1, 2 * half + (height() % 2),
                             x <= positionX ? played : wave);
        }
    } else {
        painter.setPen(
            ThemeColours::mix(colours.color(QPalette::Window), colours.color(QPalette::Text), 0.3));
        painter.drawLine(0, middle, width(), middle);
    }
    painter.fillRect(positionX, 0, 1, height(), colours.color(QPalette::Text));
    if (hasFocus()) {
        painter.setPen(QPen(colours.color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void WaveformView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    emit seekRequested(fractionAt(event->position().toPoint().x()));
}

void WaveformView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        emit seekRequested(fractionAt(event->position().toPoint().x()));
}

void WaveformView::keyPressEvent(QKeyEvent* event) {
    const bool back = event->key() == Qt::Key_Left;
    const bool on = event->key() == Qt::Key_Right;
    if (!back && !on)
        return QWidget::keyPressEvent(event);
    emit stepRequested(back ? -1 : 1, event->modifiers() & Qt::ShiftModifier);
}
