#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QTextListFormat>

// What the RTF writer and reader agree on beyond the format itself.
namespace Rtf::detail {

// Pixels of the text layout are 1/96 inch; RTF measures in twips (1/1440 inch).
constexpr double kTwipsPerPixel = 15.0;
// A list level's indent in twips, and its hanging first line.
constexpr int kListIndentTwips = 720;
constexpr int kListHangTwips = -360;
constexpr int kListLevels = 9;

// The file-name extension of the image format the bytes are in ("png", "jpg", "gif", "bmp",
// "tiff", "webp", "svg"), or empty when they are not a format we recognise.
QString imageExtension(const QByteArray& bytes);

// A file name made only of letters, digits, '-' and '_', at most 64 of them, plus ".ext";
// "image" when nothing of the wanted name is left.
QString safeFileName(const QString& wanted, const QString& extension);

// safeFileName(wanted, extension), or when that is among `taken` (lower case), the first of
// "wanted-2", "wanted-3" ... that is not; the result joins `taken`. `next` keeps, per name,
// where the search goes on next time, so that naming n pictures alike costs O(n) in all.
QString uniqueFileName(const QString& wanted, const QString& extension, QSet<QString>& taken,
                       QHash<QString, int>& next);

// RTF's number formats of a list level (\levelnfc) for Qt's list styles, and back.
int levelNumberFormat(QTextListFormat::Style style);
QTextListFormat::Style listStyle(int levelNumberFormat, QChar bullet);
// The character a bulleted style shows.
QChar bulletCharacter(QTextListFormat::Style style);

} // namespace Rtf::detail
