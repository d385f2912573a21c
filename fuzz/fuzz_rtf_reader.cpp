// RTF of any kind: read into a document without a crash, a hang or a sanitizer report, and
// whatever was read can be written again and reads back with the same text.
#include "FuzzDocuments.h"

#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"

#include <QByteArray>
#include <QTextDocument>

#include <cstdlib>

using FuzzDocuments::visibleText;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzDocuments::makeApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray rtf(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument document;
    if (!Rtf::read(rtf, &document))
        return 0;
    QTextDocument again;
    if (!Rtf::read(Rtf::write(document, Rtf::Images::Embedded), &again) ||
        visibleText(again) != visibleText(document))
        std::abort();
    return 0;
}
