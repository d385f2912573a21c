#pragma once

#include <QString>

class QTextDocument;

// An RTFD note: the folder NAME.rtfd holding "TXT.rtf" and each image as a file beside it.
namespace Rtfd {

// Writes the folder atomically: a complete new folder takes the old one's place, or, on
// failure (answered false with the reason), the old folder is left as it was.
bool write(const QTextDocument& document, const QString& folderPath, QString* error = nullptr);

// Loads the folder into the document. False with the reason when it cannot be read; never
// changes anything on disk.
bool read(const QString& folderPath, QTextDocument* document, QString* error = nullptr);

} // namespace Rtfd
