#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <map>

namespace Rtf::detail {

// The Windows code page a font's \fcharset stands for, or 0 for the document's own.
int codePageOfCharset(int charset);
// Whether the code page has characters of more than one byte (whose later bytes may look
// like ASCII).
bool isMultiByteCodePage(int codePage);

// Decodes the 8-bit text of RTF by Windows code page number, with a decoder per code page
// kept for the whole read. Unknown code pages decode as Windows-1252.
class CodePageDecoder {
public:
    QString decode(int codePage, const QByteArray& bytes);

private:
    QStringDecoder& decoderFor(int codePage);
    std::map<int, QStringDecoder> _decoders;
};

} // namespace Rtf::detail
