// A note folder of any TXT.rtf, whose pictures are a FIFO, a link to /dev/zero, a folder and a
// link leading out: read without a crash, a hang or a sanitizer report, every stand-in refused
// and left as it is, and what was read written as a note folder and read back with the same
// text.
#include "FuzzDocuments.h"
#include "FuzzFiles.h"

#include "platform/foundation/FilePath.h"
#include "platform/foundation/SafeFile.h"
#include "platform/text/RtfdFolder.h"

#include <QByteArray>
#include <QTextDocument>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const FilePath& library() {
    static const FilePath path(QByteArray::fromStdString(FuzzFiles::folder()));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzDocuments::makeApplication(argc, argv);
    // The pictures the seeds name: each a stand-in, reached through a link inside the note.
    const std::string note = FuzzFiles::folder() + "/Fuzz.rtfd";
    if (::mkdir(note.c_str(), 0755) != 0)
        std::abort();
    const char* names[FuzzFiles::kStandIns] = {"fifo.png", "zero.png", "folder.png", "out.png"};
    for (size_t i = 0; i < FuzzFiles::kStandIns; ++i) {
        if (::symlink(FuzzFiles::standIn(i).c_str(), (note + "/" + names[i]).c_str()) != 0)
            std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FilePath note = library() / QStringLiteral("Fuzz.rtfd");
    SafeFile::Problem problem;
    if (!SafeFile::replace(note / QStringLiteral("TXT.rtf"),
                           QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)),
                           &problem))
        std::abort();
    QTextDocument document;
    const bool read = Rtfd::read(note, &document, nullptr, library());
    FuzzFiles::standInsIntact();
    if (!read)
        return 0;
    const FilePath again = library() / QStringLiteral("Again.rtfd");
    QTextDocument back;
    if (!Rtfd::write(document, again, nullptr, library()) ||
        !Rtfd::read(again, &back, nullptr, library()) ||
        FuzzDocuments::visibleText(back) != FuzzDocuments::visibleText(document))
        std::abort();
    return 0;
}
