#include "platform/text/RtfReader.h"

#include "platform/text/RtfParser.h"

#include <QTextDocument>

namespace Rtf {

bool read(const QByteArray& rtf, QTextDocument* document, const AttachmentResolver& attachment,
          QString* error, ReadReport* report) {
    if (!document)
        return false;
    qsizetype start = 0;
    if (rtf.startsWith("\xef\xbb\xbf"))
        start = 3;
    while (start < rtf.size() && QChar::isSpace(uchar(rtf[start])))
        ++start;
    const QByteArrayView body = QByteArrayView(rtf).sliced(start);
    if (!body.startsWith("{\\rtf") && !body.startsWith("{\\urtf")) {
        if (error)
            *error = QStringLiteral("The file is not in Rich Text Format.");
        return false;
    }
    detail::Parser parser(document, attachment);
    parser.read(body);
    if (report)
        report->picturesLeftOut = parser.picturesLeftOut();
    return true;
}

} // namespace Rtf
