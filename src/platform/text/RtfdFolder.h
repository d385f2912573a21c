#pragma once

#include "platform/foundation/FilePath.h"
#include "platform/text/RtfReader.h"

#include <QString>

class QTextDocument;

// An RTFD note: the folder NAME.rtfd holding "TXT.rtf" and each image as a file beside it.
namespace Rtfd {

// The largest TXT.rtf or attachment that is read.
constexpr qint64 kMaxFileSize = 64 << 20;

// Writes the folder atomically: a complete new folder takes the old one's place, or, on
// failure (answered false with the reason), the old folder is left as it was. Anything but a
// folder in the note's place (a link, a file, a pipe) is refused and left as it is; with
// `confinedTo`, so is a note whose folder leads out of that folder through a link. How many
// pictures past Rtf::kMaxPictures were left out goes to *picturesLeftOut.
bool write(const QTextDocument& document, const FilePath& folder, QString* error = nullptr,
           const FilePath& confinedTo = {}, int* picturesLeftOut = nullptr);

// Loads the folder into the document. The folder must be a folder (inside `confinedTo`, links
// resolved, when given); TXT.rtf and the attachments must be regular files inside it, each at
// most kMaxFileSize; anything else is refused without blocking (a pipe, a device) and left as
// it is. False with the reason when the text cannot be read; never changes anything on disk.
bool read(const FilePath& folder, QTextDocument* document, QString* error = nullptr,
          const FilePath& confinedTo = {}, Rtf::ReadReport* report = nullptr);

// The size of the folder's TXT.rtf as the folder lists it (-1 when there is none): how long a
// read will take.
qint64 textSize(const FilePath& folder);

} // namespace Rtfd
