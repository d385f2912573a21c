#include "platform/playlists/M3uPlaylist.h"

#include "platform/foundation/FileNames.h"

#include <QFileInfo>
#include <QUrl>

namespace {
QString titleOfPath(const QString& path) {
    return FileNames::displayName(QFileInfo(path).completeBaseName()).trimmed();
}

// "#EXTINF:<seconds>[ attributes],<title>": the seconds and the title, when well formed.
bool parseExtinf(const QString& line, int* seconds, QString* title) {
    const qsizetype comma = line.indexOf(u',');
    if (comma < 0)
        return false;
    const QString head = line.mid(8, comma - 8).trimmed();
    const QString number = head.left(head.indexOf(u' ')).trimmed();
    bool ok = false;
    const double value = number.toDouble(&ok);
    *seconds = ok && value >= 0 && value < 1e9 ? int(value + 0.5) : -1;
    *title = line.mid(comma + 1).trimmed();
    return true;
}

// Paths keep the file system's bytes, so that a name that is not UTF-8 can be opened.
QString pathOfLine(const QByteArray& bytes) {
    const QString line = FileNames::decode(bytes);
    if (!line.startsWith(QLatin1String("file://"), Qt::CaseInsensitive))
        return line;
    const QUrl url(line);
    const QString path = url.isValid() && url.isLocalFile() ? url.toLocalFile() : QString();
    // A path that could not stand on a line of its own stays the URL it was.
    const bool fits =
        !path.isEmpty() && path == path.trimmed() && !path.contains(u'\n') && !path.contains(u'\r');
    return fits ? path : line;
}

// The line past its blanks and byte-order marks: what decides whether it is a comment, read
// the same way as a path is, so that a path written back reads back as a path.
QStringView leadingText(const QString& decoded) {
    qsizetype i = 0;
    while (i < decoded.size() && (decoded[i].isSpace() || decoded[i] == QChar(0xFEFF)))
        ++i;
    return QStringView(decoded).sliced(i);
}

QString oneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}
} // namespace

std::vector<M3uPlaylist::Entry> M3uPlaylist::parse(const QByteArray& bytes) {
    std::vector<Entry> entries;
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    bool haveInfo = false;
    int seconds = -1;
    QString title;
    while (!rest.isEmpty() && entries.size() < kMaxEntries) {
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView raw = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        while (raw.endsWith('\r'))
            raw.chop(1);
        const QString line = QString::fromUtf8(raw).trimmed();
        const QString decoded = FileNames::decode(raw.toByteArray());
        const QStringView lead = leadingText(decoded);
        if (lead.isEmpty())
            continue;
        if (lead.startsWith(u'#')) {
            if (line.startsWith(QLatin1String("#EXTINF:"), Qt::CaseInsensitive))
                haveInfo = parseExtinf(line, &seconds, &title);
            continue;
        }
        Entry entry;
        entry.path = pathOfLine(raw.toByteArray().trimmed()).trimmed();
        // What decodes to nothing or to a comment (a stray byte-order mark), or to a name that
        // would not read back as written, names no file we could keep.
        const QStringView pathLead = leadingText(entry.path);
        if (pathLead.isEmpty() || pathLead.startsWith(u'#') ||
            pathOfLine(FileNames::encode(entry.path)) != entry.path)
            continue;
        entry.title = haveInfo && !title.isEmpty() ? title : titleOfPath(entry.path);
        entry.seconds = haveInfo ? seconds : -1;
        entries.push_back(std::move(entry));
        haveInfo = false;
    }
    return entries;
}

QByteArray M3uPlaylist::serialize(const std::vector<Entry>& entries) {
    QByteArray out("#EXTM3U\n");
    for (const Entry& entry : entries) {
        out += "#EXTINF:" + QByteArray::number(entry.seconds < 0 ? -1 : entry.seconds) + ',' +
               oneLine(entry.title).toUtf8() + '\n';
        out += FileNames::encode(entry.path) + '\n';
    }
    return out;
}
