// HTML and Markdown a script might send as a note, read into a document that takes pictures only
// from data: URLs: no crash, no sanitizer report, no file opened (a FIFO named as a picture or
// a background would hang the read), and every picture that resolves is one the text holds.
#include "FuzzDocuments.h"
#include "FuzzFiles.h"

#include "platform/text/RtfWriter.h"
#include "platform/text/SelfContainedDocument.h"

#include <QByteArray>
#include <QTextBlock>
#include <QUrl>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzDocuments::makeApplication(argc, argv);
    FuzzFiles::standIns(); // made before the first input, so that seeds can name them
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, qsizetype(size) - 1);
    SelfContainedDocument document;
    if (data[0] & 1)
        document.setMarkdown(text);
    else
        document.setHtml(text);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QUrl name(format.toImageFormat().name());
            const QVariant resource = document.resource(QTextDocument::ImageResource, name);
            if (resource.isValid() &&
                resource.toByteArray() != SelfContainedDocument::decodeDataUrl(name))
                std::abort(); // a picture from somewhere other than the text itself
        }
    }
    (void)Rtf::write(document, Rtf::Images::Embedded);
    FuzzFiles::standInsIntact();
    return 0;
}
