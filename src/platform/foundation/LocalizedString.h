#pragma once

#include <QString>

// The interface's texts, looked up by key in the application's translations. A key with no
// translation shows as the key itself ("DeleteToolbar" stays "DeleteToolbar").
QString BVLocalizedString(const char* key);

namespace LocalizedStrings {
// Installs the translation for the user's locale, or the English one when there is none.
// Needs a QCoreApplication; safe to call more than once.
void install();
} // namespace LocalizedStrings
