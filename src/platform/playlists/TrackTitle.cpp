#include "platform/playlists/TrackTitle.h"

#include "platform/foundation/FileNames.h"

namespace {
// Where the extension's dot is, or -1: never at the start, where it makes a hidden name.
qsizetype extensionDot(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? dot : -1;
}
} // namespace

QString TrackTitle::cleaned(const QString& text) {
    QString title = FileNames::displayName(text);
    title.replace(u'\r', u' ');
    title.replace(u'\n', u' ');
    return title.trimmed();
}

QString TrackTitle::ofFileName(const QString& name) {
    const qsizetype dot = extensionDot(name);
    const QString title = cleaned(dot < 0 ? name : name.left(dot));
    return title.isEmpty() ? cleaned(name) : title;
}

QString TrackTitle::extensionOf(const QString& name) {
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? QString() : name.mid(dot + 1);
}
