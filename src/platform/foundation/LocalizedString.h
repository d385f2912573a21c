#pragma once

#include <QLocale>
#include <QString>

// The interface's texts, looked up by key in the application's translations. A key with no
// translation shows as the key itself ("DeleteToolbar" stays "DeleteToolbar").
QString BVLocalizedString(const char* key);
// The same, for a text that counts something: "%n" in the translation becomes count, and the
// translation's plural form is chosen by count.
QString BVLocalizedString(const char* key, int count);

namespace LocalizedStrings {
// Installs the English texts, and over them the translation for the locale's language when
// there is one (German, French), so that a text missing from that translation falls back to
// English. Installing again replaces what was installed. Needs a QCoreApplication.
void install(const QLocale& locale = QLocale());
} // namespace LocalizedStrings
