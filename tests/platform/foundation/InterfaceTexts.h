#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The interface's texts as the sources ask for them: BVLocalizedString keys, tr() and
// translate() texts with the context Qt looks them up in, and the translatable strings of
// .ui forms.
struct InterfaceText {
    QString context; // empty when the context could not be worked out
    QString source;
    bool counted = false; // looked up with a count (%n)
    QString where;        // file and line, for failure messages

    QString key() const { return context + QLatin1Char('|') + source; }
};

namespace InterfaceTexts {
// The texts asked for by one C++ source file.
QList<InterfaceText> fromCpp(const QString& code, const QString& fileName);
// The translatable strings of one .ui form, in the form's context.
QList<InterfaceText> fromForm(const QString& xml, const QString& fileName);
// The item texts of each menu and menu bar of a .ui form, by the menu's name.
QMap<QString, QStringList> menusOfForm(const QString& xml);
// Every text of the .cpp, .h and .ui files under folder.
QList<InterfaceText> fromTree(const QString& folder);
} // namespace InterfaceTexts

// One entry of a translation source (.ts) file.
struct TranslationEntry {
    bool finished = false; // neither unfinished, vanished nor obsolete
    QStringList forms;     // the translation, or its plural forms
};

namespace TranslationSource {
// The entries of a .ts file by InterfaceText::key(); empty with error set when unreadable.
QMap<QString, TranslationEntry> read(const QString& path, QString* error);
} // namespace TranslationSource
