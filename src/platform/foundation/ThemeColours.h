#pragma once

#include <QColor>

class QPalette;
class QWidget;

// Colours worked out from the desktop's palette, so that a light and a dark theme both read
// well: nothing of the window carries a fixed colour of its own.
namespace ThemeColours {

// Whether the palette's window is darker than its text (a dark theme).
bool isDark(const QPalette& palette);

// `from` moved `amount` (0 to 1) of the way towards `to`.
QColor mix(const QColor& from, const QColor& to, qreal amount);

// The grey of a recessed panel: the window colour moved a little towards the text colour, a
// light grey under a light theme and a lighter charcoal under a dark one.
QColor panelBackground(const QPalette& palette);

// Text that reports a failure, red enough to stand out and readable on the window colour.
QColor negativeText(const QPalette& palette);

// The contrast ratio of two colours as the web's accessibility guidelines define it: 1 (none)
// to 21 (black on white). Body text wants at least 4.5.
double contrastRatio(const QColor& a, const QColor& b);

// Shows the label's text in negativeText(), now and whenever the application's palette
// changes (a switch between light and dark while running).
void showAsNegative(QWidget* label);

} // namespace ThemeColours
