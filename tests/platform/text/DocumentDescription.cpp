#include "DocumentDescription.h"

#include <QCryptographicHash>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

namespace {

QString family(const QTextCharFormat& format) {
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty())
        return families.first();
    return format.property(QTextFormat::FontFamily).toString();
}

QString colour(const QBrush& brush) {
    return brush.style() == Qt::NoBrush ? QStringLiteral("-") : brush.color().name();
}

QString image(const QTextDocument& document, const QTextImageFormat& format) {
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage decoded;
    if (resource.typeId() == QMetaType::QByteArray)
        decoded = QImage::fromData(resource.toByteArray());
    else if (resource.typeId() == QMetaType::QImage)
        decoded = resource.value<QImage>();
    else if (resource.typeId() == QMetaType::QPixmap)
        decoded = resource.value<QPixmap>().toImage();
    decoded = decoded.convertToFormat(QImage::Format_ARGB32);
    const QByteArray pixels(reinterpret_cast<const char*>(decoded.constBits()),
                            decoded.sizeInBytes());
    return QStringLiteral("[image %1x%2 pixels %3 shown %4x%5]")
        .arg(decoded.width())
        .arg(decoded.height())
        .arg(QString::fromLatin1(
            QCryptographicHash::hash(pixels, QCryptographicHash::Sha1).toHex().left(12)))
        .arg(format.width())
        .arg(format.height());
}

QString characters(const QTextCharFormat& format) {
    QStringList parts;
    if (!family(format).isEmpty())
        parts << QStringLiteral("font=") + family(format);
    if (format.fontPointSize() > 0)
        parts << QStringLiteral("size=%1").arg(format.fontPointSize());
    if (format.fontWeight() >= QFont::DemiBold)
        parts << QStringLiteral("bold");
    if (format.fontItalic())
        parts << QStringLiteral("italic");
    if (format.underlineStyle() != QTextCharFormat::NoUnderline)
        parts << QStringLiteral("underline=%1").arg(int(format.underlineStyle()));
    if (format.fontStrikeOut())
        parts << QStringLiteral("strike");
    if (format.verticalAlignment() != QTextCharFormat::AlignNormal)
        parts << QStringLiteral("valign=%1").arg(int(format.verticalAlignment()));
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        parts << QStringLiteral("colour=") + colour(format.foreground());
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        parts << QStringLiteral("background=") + colour(format.background());
    if (format.isAnchor())
        parts << QStringLiteral("link=") + format.anchorHref();
    return parts.join(u' ');
}

QString paragraph(const QTextDocument& document, const QTextBlock& block,
                  QHash<const QTextList*, int>& lists) {
    const QTextBlockFormat format = block.blockFormat();
    QStringList parts;
    const Qt::Alignment horizontal =
        format.alignment() & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute;
    if (format.hasProperty(QTextFormat::BlockAlignment))
        parts << QStringLiteral("align=%1").arg(int(horizontal ? horizontal : Qt::AlignLeft));
    if (format.layoutDirection() == Qt::RightToLeft)
        parts << QStringLiteral("rtl");
    if (const QTextList* list = block.textList()) {
        if (!lists.contains(list))
            lists.insert(list, int(lists.size()) + 1);
        const QTextListFormat listFormat = list->format();
        parts << QStringLiteral("list#%1 style=%2 level=%3 number='%4%5'")
                     .arg(lists.value(list))
                     .arg(int(listFormat.style()))
                     .arg(listFormat.indent())
                     .arg(listFormat.numberPrefix(),
                          listFormat.hasProperty(QTextFormat::ListNumberSuffix)
                              ? listFormat.numberSuffix()
                              : QStringLiteral("."));
    } else {
        const double left = format.leftMargin() + format.indent() * document.indentWidth();
        if (left != 0 || format.textIndent() != 0)
            parts << QStringLiteral("left=%1 first=%2").arg(left).arg(format.textIndent());
    }
    if (format.rightMargin() != 0 || format.topMargin() != 0 || format.bottomMargin() != 0)
        parts << QStringLiteral("right=%1 top=%2 bottom=%3")
                     .arg(format.rightMargin())
                     .arg(format.topMargin())
                     .arg(format.bottomMargin());
    if (format.lineHeightType() != QTextBlockFormat::SingleHeight)
        parts << QStringLiteral("line=%1/%2").arg(format.lineHeight()).arg(format.lineHeightType());
    return QStringLiteral("<%1>").arg(parts.join(u' '));
}

} // namespace

QString describeDocument(const QTextDocument& document) {
    QStringList lines;
    QHash<const QTextList*, int> lists;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line = paragraph(document, block, lists);
        QString runFormat, runText;
        const auto endRun = [&] {
            if (!runText.isEmpty())
                line += QStringLiteral(" \"%1\"{%2}").arg(runText, runFormat);
            runText.clear();
        };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                endRun();
                line += u' ' + image(document, format.toImageFormat());
                continue;
            }
            // Fragments that look alike are one run, however Qt happened to split them.
            const QString description = characters(format);
            if (description != runFormat)
                endRun();
            runFormat = description;
            runText += fragment.text();
        }
        endRun();
        lines << line;
    }
    return lines.join(u'\n');
}
