#include "platform/text/RtfShared.h"

#include <algorithm>

namespace Rtf::detail {

QString imageExtension(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QStringLiteral("png");
    if (bytes.startsWith("\xff\xd8\xff"))
        return QStringLiteral("jpg");
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return QStringLiteral("gif");
    if (bytes.startsWith("BM"))
        return QStringLiteral("bmp");
    if (bytes.startsWith(QByteArrayLiteral("II*\0")) ||
        bytes.startsWith(QByteArrayLiteral("MM\0*")))
        return QStringLiteral("tiff");
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return QStringLiteral("webp");
    const QByteArray head = bytes.left(256).trimmed();
    if (head.startsWith("<svg") || (head.startsWith("<?xml") && head.contains("<svg")))
        return QStringLiteral("svg");
    return {};
}

QString safeFileName(const QString& wanted, const QString& extension) {
    QString base;
    for (QChar c : wanted) {
        if (base.size() >= 64)
            break;
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        base += plain ? c : QChar(u'_');
    }
    // Nothing recognisable (all replaced) reads better as a plain "image".
    if (base.count(u'_') == base.size())
        base = QStringLiteral("image");
    return extension.isEmpty() ? base : base + u'.' + extension;
}

QString uniqueFileName(const QString& wanted, const QString& extension, QSet<QString>& taken,
                       QHash<QString, int>& next) {
    QString name = safeFileName(wanted, extension);
    if (taken.contains(name.toLower())) {
        const QString stem = wanted.left(56);
        int& number = next[name.toLower()];
        number = std::max(number, 2);
        do {
            name = safeFileName(stem + u'-' + QString::number(number++), extension);
        } while (taken.contains(name.toLower()));
    }
    taken.insert(name.toLower());
    return name;
}

int levelNumberFormat(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListDecimal:
        return 0;
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    default:
        return 23; // bullet
    }
}

QTextListFormat::Style listStyle(int levelNumberFormat, QChar bullet) {
    switch (levelNumberFormat) {
    case 0:
    case 5:  // ordinal
    case 6:  // cardinal text
    case 7:  // ordinal text
    case 22: // leading zero
        return QTextListFormat::ListDecimal;
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    default:
        break;
    }
    switch (bullet.unicode()) {
    case u'o':
    case 0x25e6: // white bullet
    case 0x25cb: // white circle
    case 0xf06f: // 'o' of a symbol font
        return QTextListFormat::ListCircle;
    case 0x25aa: // small black square
    case 0x25a0: // black square
    case 0xa7:   // the square of Wingdings
    case 0xf0a7:
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListDisc;
    }
}

QChar bulletCharacter(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListCircle:
        return QChar(0x25e6);
    case QTextListFormat::ListSquare:
        return QChar(0x25aa);
    default:
        return QChar(0x2022);
    }
}

} // namespace Rtf::detail
