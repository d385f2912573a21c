#pragma once

#include "platform/foundation/FilePath.h"

#include <QString>

#include <optional>
#include <vector>

class QTextDocument;
class SelfContainedDocument;

// The formats a note travels in: its own RTFD folder, and what export and scripts offer.
namespace NoteFormats {

enum class Format { Rtfd, Rtf, OpenDocument, Html, Markdown, Plain };

// The names scripts use: "plain", "markdown", "html", "rtf".
std::optional<Format> formatNamed(const QString& name);
// The script name of a format; "plain" for the formats scripts do not use.
QString scriptName(Format format);
// By a file name's extension; plain text for anything unknown.
Format formatOfFileName(const QString& fileName);

// What the export panel offers, in its order (OpenDocument, then RTF, first): the name filter
// shown and the extension added.
struct ExportType {
    Format format;
    QString nameFilter;
    QString suffix;
};
const std::vector<ExportType>& exportTypes();
// The export type whose name filter is `nameFilter`; the first (RTFD) when none is.
const ExportType& exportTypeForFilter(const QString& nameFilter);

// Writes the document to `path` atomically (an existing file or folder is replaced only by a
// complete new one; a link in its place is refused). False with a reason.
bool writeFile(const QTextDocument& document, const FilePath& path, Format format, QString* error);

// The document as text of a script format. RTF travels as its bytes, one character each.
QString toText(const QTextDocument& document, Format format);
// Replaces the document's content with text of a script format. False with a reason when
// nothing could be read. Pictures come only from the text itself: HTML and Markdown that name
// a file or a link lose that picture, and no file is opened.
bool fromText(const QString& text, Format format, SelfContainedDocument* document, QString* error);

} // namespace NoteFormats
