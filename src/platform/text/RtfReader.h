#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QTextDocument;

namespace Rtf {

// The most pictures one document holds: a note is text with some pictures, and each picture
// costs its own resource, layout and file.
constexpr int kMaxPictures = 5000;

// What a read left out of a document it otherwise loaded.
struct ReadReport {
    int picturesLeftOut = 0; // past kMaxPictures, or past the bytes all pictures may take
};

// Resolves an attachment file name of an RTFD folder to its bytes (empty when there is none).
using AttachmentResolver = std::function<QByteArray(const QString& fileName)>;

// Reads RTF into the document, replacing its content. Damaged or hostile input loads as much
// as can be read, in linear time and bounded memory. Answers false, with the reason and the
// document untouched, only when the bytes are not RTF at all.
bool read(const QByteArray& rtf, QTextDocument* document, const AttachmentResolver& attachment = {},
          QString* error = nullptr, ReadReport* report = nullptr);

} // namespace Rtf
