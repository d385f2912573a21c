#pragma once

#include <QString>

#include <memory>
#include <optional>

class QTextCursor;
class QTextDocument;

// Time stamps in notes: "[00:12:31]" linked to a place in the recording, by a URL of our own
// ("brevoir-time:751.250", seconds). RTF keeps it as a HYPERLINK field, so other readers show
// the text; the other export formats get the text alone.
namespace NoteTimeStamps {

inline constexpr char kScheme[] = "brevoir-time";

// "[00:12:31]"; hours take as many digits as they need.
QString label(double seconds);
QString linkFor(double seconds);
// The place a link names, or none when it is not one of ours (or names no usable place).
std::optional<double> secondsOf(const QString& href);

// Puts the time stamp at the cursor, linked, then `text` (if any) after a space, unlinked.
void insert(QTextCursor& cursor, double seconds, const QString& text = {});
// The same as a paragraph of its own at the end of the document (an empty one is used).
void appendLine(QTextDocument& document, double seconds, const QString& text);

// A copy with our links made plain text, for formats whose readers would not know them.
std::unique_ptr<QTextDocument> withoutLinks(const QTextDocument& document);

} // namespace NoteTimeStamps
