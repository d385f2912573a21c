// RTF of any kind: read into a document without a crash, a hang or a sanitizer report, and
// whatever was read can be written again and reads back with the same text.
#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdlib>

namespace {

QString visibleText(const QTextDocument& document) {
    return document.toRawText().remove(QChar::ObjectReplacementCharacter);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Documents hold fonts and images, which want a GUI application; the offscreen one will do.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
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
