#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QTextDocument;

namespace Rtf {

// Resolves an attachment file name of an RTFD folder to its bytes (empty when there is none).
using AttachmentResolver = std::function<QByteArray(const QString& fileName)>;

// Reads RTF into the document, replacing its content. Damaged or hostile input loads as much
// as can be read, in linear time and bounded memory. Answers false, with the reason and the
// document untouched, only when the bytes are not RTF at all.
bool read(const QByteArray& rtf, QTextDocument* document, const AttachmentResolver& attachment = {},
          QString* error = nullptr);

} // namespace Rtf
