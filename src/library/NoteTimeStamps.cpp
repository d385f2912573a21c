#include "library/NoteTimeStamps.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace NoteTimeStamps {

namespace {
// Beyond this a place means nothing for a recording (and the arithmetic stays exact).
constexpr double kLongestSeconds = 1e9;

QString prefix() {
    return QLatin1String(kScheme) + u':';
}

// A place the arithmetic can take: NaN and what lies outside a recording become its ends.
double usable(double seconds) {
    return std::isnan(seconds) ? 0 : std::clamp(seconds, 0.0, kLongestSeconds);
}

bool isOurs(const QTextCharFormat& format) {
    return format.isAnchor() && format.anchorHref().startsWith(prefix());
}
} // namespace

QString label(double seconds) {
    const qint64 whole = qint64(std::floor(usable(seconds)));
    return QStringLiteral("[%1:%2:%3]")
        .arg(whole / 3600, 2, 10, QLatin1Char('0'))
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString linkFor(double seconds) {
    return prefix() + QString::number(usable(seconds), 'f', 3);
}

std::optional<double> secondsOf(const QString& href) {
    if (!href.startsWith(prefix()))
        return std::nullopt;
    bool ok = false;
    const double seconds = href.mid(prefix().size()).toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > kLongestSeconds)
        return std::nullopt;
    return seconds;
}

void insert(QTextCursor& cursor, double seconds, const QString& text) {
    const QTextCharFormat around = cursor.charFormat();
    QTextCharFormat link = around;
    link.setAnchor(true);
    link.setAnchorHref(linkFor(seconds));
    link.setFontUnderline(true);
    cursor.insertText(label(seconds), link);
    // What follows is typed as text again, not as more of the link.
    QTextCharFormat plain = around;
    plain.setAnchor(false);
    plain.setAnchorHref(QString());
    cursor.insertText(text.isEmpty() ? QStringLiteral(" ") : u' ' + text, plain);
    cursor.setCharFormat(plain);
}

void appendLine(QTextDocument& document, double seconds, const QString& text) {
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    if (!cursor.block().text().isEmpty())
        cursor.insertBlock();
    insert(cursor, seconds, text);
}

std::unique_ptr<QTextDocument> withoutLinks(const QTextDocument& document) {
    std::unique_ptr<QTextDocument> copy(document.clone());
    std::vector<std::pair<int, int>> links; // position, length
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().isValid() && isOurs(it.fragment().charFormat()))
                links.emplace_back(it.fragment().position(), it.fragment().length());
    for (const auto& [position, length] : links) {
        QTextCursor cursor(copy.get());
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        QTextCharFormat format = cursor.charFormat();
        format.setAnchor(false);
        format.setAnchorHref(QString());
        format.setFontUnderline(false);
        cursor.setCharFormat(format);
    }
    return copy;
}

} // namespace NoteTimeStamps
