#include "platform/foundation/ThemeColours.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
double relativeLuminance(const QColor& colour) {
    auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

// Keeps a widget's text in the negative colour of the application's palette.
class NegativeTextFollower : public QObject {
public:
    explicit NegativeTextFollower(QWidget* widget) : QObject(widget), _widget(widget) {
        widget->installEventFilter(this);
        apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The application's palette, not the widget's own: that one carries our colour.
        if (watched == _widget && event->type() == QEvent::ApplicationPaletteChange)
            apply();
        return false;
    }

private:
    void apply() {
        QPalette palette = _widget->palette();
        const QColor colour = ThemeColours::negativeText(QApplication::palette(_widget));
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::Text, colour);
        _widget->setPalette(palette);
    }
    QWidget* _widget;
};
} // namespace

namespace ThemeColours {

bool isDark(const QPalette& palette) {
    return relativeLuminance(palette.color(QPalette::Window)) <
           relativeLuminance(palette.color(QPalette::WindowText));
}

QColor mix(const QColor& from, const QColor& to, qreal amount) {
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    const qreal t = std::clamp<qreal>(amount, 0, 1);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor panelBackground(const QPalette& palette) {
    return mix(palette.color(QPalette::Window), palette.color(QPalette::WindowText), 0.04);
}

QColor negativeText(const QPalette& palette) {
    return isDark(palette) ? QColor(0xff, 0x8a, 0x80) : QColor(0xb0, 0x00, 0x20);
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void showAsNegative(QWidget* label) {
    if (label)
        new NegativeTextFollower(label);
}

} // namespace ThemeColours
