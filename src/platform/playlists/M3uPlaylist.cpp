#include "platform/playlists/M3uPlaylist.h"

#include "platform/foundation/FileNames.h"
#include "platform/playlists/TrackTitle.h"

#include <QUrl>

namespace {
QString titleOfPath(const QString& path) {
    return TrackTitle::ofFileName(path.mid(path.lastIndexOf(u'/') + 1));
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
    *title = TrackTitle::cleaned(line.mid(comma + 1));
    return true;
}

bool isFileUrl(const QString& line) {
    return line.startsWith(QLatin1String("file://"), Qt::CaseInsensitive);
}

// Paths keep the file system's bytes, so that a name that is not UTF-8 can be opened.
QString pathOfLine(const QByteArray& bytes) {
    const QString line = FileNames::decode(bytes);
    if (!isFileUrl(line))
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

bool isAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// Most lines of a long playlist are directives: those that begin, past ASCII blanks and
// byte-order marks, with "#" are comments however the whole line decodes, and are told apart
// without decoding them. *marks says whether byte-order marks were passed.
bool startsAsComment(QByteArrayView raw, bool* marks) {
    qsizetype i = 0;
    *marks = false;
    while (i < raw.size()) {
        if (isAsciiBlank(raw[i])) {
            ++i;
        } else if (raw.sliced(i).startsWith("\xEF\xBB\xBF")) {
            i += 3;
            *marks = true;
        } else {
            break;
        }
    }
    return i < raw.size() && raw[i] == '#';
}

bool isExtinf(QByteArrayView raw) {
    qsizetype i = 0;
    while (i < raw.size() && isAsciiBlank(raw[i]))
        ++i;
    return raw.size() - i >= 8 && qstrnicmp(raw.data() + i, "#EXTINF:", 8) == 0;
}

// Calls `visit` with each entry and the bytes its lines take ([from, to), from its #EXTINF
// line on); stops when `visit` answers false.
using Visit = std::function<bool(M3uPlaylist::Entry&&, qsizetype from, qsizetype to)>;
void scan(const QByteArray& bytes, const Visit& visit) {
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    bool haveInfo = false;
    qsizetype infoAt = 0;
    int seconds = -1;
    QString title;
    while (at < bytes.size()) {
        const qsizetype lineStart = at;
        const qsizetype end = bytes.indexOf('\n', at);
        QByteArrayView raw(bytes.constData() + at, (end < 0 ? bytes.size() : end) - at);
        at = end < 0 ? bytes.size() : end + 1;
        while (raw.endsWith('\r'))
            raw.chop(1);
        const auto directive = [&] {
            // As UTF-8 text, which drops a byte-order mark that begins it.
            const QString text = QString::fromUtf8(raw).trimmed();
            if (text.startsWith(QLatin1String("#EXTINF:"), Qt::CaseInsensitive)) {
                haveInfo = parseExtinf(text, &seconds, &title);
                infoAt = lineStart;
            }
        };
        bool marks = false;
        if (startsAsComment(raw, &marks)) {
            if (marks || isExtinf(raw))
                directive();
            continue;
        }
        const QByteArray line = raw.toByteArray();
        const QString decoded = FileNames::decode(line);
        const QStringView lead = leadingText(decoded);
        if (lead.isEmpty())
            continue;
        if (lead.startsWith(u'#')) {
            directive();
            continue;
        }
        M3uPlaylist::Entry entry;
        const QByteArray trimmed = line.trimmed();
        // A line with no blanks around it and no URL is its path as decoded already.
        const bool asDecoded = trimmed.size() == line.size() && !isFileUrl(decoded);
        entry.path = (asDecoded ? decoded : pathOfLine(trimmed)).trimmed();
        // What decodes to nothing or to a comment (a stray byte-order mark), or to a name that
        // would not read back as written, names no file we could keep. Only a path that reads
        // as a URL can read back otherwise: any other text decodes to itself.
        const QStringView pathLead = leadingText(entry.path);
        if (pathLead.isEmpty() || pathLead.startsWith(u'#') ||
            (isFileUrl(entry.path) && pathOfLine(FileNames::encode(entry.path)) != entry.path))
            continue;
        entry.title = haveInfo && !title.isEmpty() ? title : titleOfPath(entry.path);
        entry.seconds = haveInfo ? seconds : -1;
        const qsizetype from = haveInfo ? infoAt : lineStart;
        haveInfo = false;
        if (!visit(std::move(entry), from, at))
            return;
    }
}
} // namespace

std::vector<M3uPlaylist::Entry> M3uPlaylist::parse(const QByteArray& bytes, bool* tooMany) {
    std::vector<Entry> entries;
    if (tooMany)
        *tooMany = false;
    scan(bytes, [&](Entry&& entry, qsizetype, qsizetype) {
        if (entries.size() == kMaxEntries) {
            if (tooMany)
                *tooMany = true;
            return false;
        }
        entries.push_back(std::move(entry));
        return true;
    });
    return entries;
}

M3uPlaylist::Ending M3uPlaylist::endingOf(const QByteArray& bytes) {
    Ending ending;
    ending.empty = bytes.isEmpty();
    const qsizetype end = bytes.indexOf('\n');
    ending.crlf = end > 0 && bytes[end - 1] == '\r';
    ending.open = !bytes.isEmpty() && !bytes.endsWith('\n');
    ending.openCr = bytes.endsWith('\r');
    return ending;
}

QByteArray M3uPlaylist::appendix(const Ending& ending, const std::vector<Entry>& entries) {
    if (entries.empty())
        return {};
    const QByteArray eol = ending.crlf ? QByteArray("\r\n") : QByteArray("\n");
    QByteArray out;
    if (ending.empty)
        out = "#EXTM3U" + eol;
    else if (ending.openCr)
        out = "\n"; // the line's own ending, cut short
    else if (ending.open)
        out = eol;
    for (const Entry& entry : entries) {
        out += "#EXTINF:" + QByteArray::number(entry.seconds < 0 ? -1 : entry.seconds) + ',' +
               TrackTitle::cleaned(entry.title).toUtf8() + eol;
        out += FileNames::encode(entry.path) + eol;
    }
    return out;
}

QByteArray M3uPlaylist::appendix(const QByteArray& existing, const std::vector<Entry>& entries) {
    return appendix(endingOf(existing), entries);
}

QByteArray M3uPlaylist::serialize(const std::vector<Entry>& entries) {
    return entries.empty() ? QByteArray("#EXTM3U\n") : appendix(Ending{}, entries);
}

QByteArray M3uPlaylist::withoutEntries(const QByteArray& bytes,
                                       const std::function<bool(const Entry&)>& remove) {
    QByteArray kept;
    qsizetype copied = 0;
    scan(bytes, [&](Entry&& entry, qsizetype from, qsizetype to) {
        if (remove(entry)) {
            kept += QByteArrayView(bytes).sliced(copied, from - copied);
            copied = to;
        }
        return true;
    });
    if (copied == 0)
        return bytes;
    kept += QByteArrayView(bytes).sliced(copied);
    return kept;
}
