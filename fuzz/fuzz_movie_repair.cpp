// The inspection and repair of a file laid out, or almost, as our recordings are. Whatever the
// bytes, the repair returns, and it never shortens a file, never changes one that holds a whole
// movie atom, and never writes over the sound or our records of its format. What is no regular
// file in the folder (a FIFO, a device, a folder, a link leading out) is passed over promptly
// and left as it is.
#include "FuzzFiles.h"

#include "platform/movie/MovieFile.h"
#include "platform/movie/MovieHeader.h"
#include "platform/movie/MovieRepair.h"

#include <QByteArray>
#include <QFile>

#include <cstring>

namespace {
QByteArray readBack(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool same(const QByteArray& a, const uint8_t* b, uint64_t from, uint64_t to) {
    return std::memcmp(a.constData() + from, b + from, size_t(to - from)) == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace MovieHeader;
    const std::string path = FuzzFiles::write("Recording 1.mov", data, size);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const MovieFile::Inspection before = MovieFile::inspect(fd);
    ::close(fd);

    FuzzFiles::standIns();
    MovieRepair::repairFolder(QByteArray::fromStdString(FuzzFiles::folder()));
    FuzzFiles::standInsIntact();

    const QByteArray after = readBack(path);
    if (uint64_t(after.size()) < size)
        std::abort(); // shortened
    if (before.complete && (uint64_t(after.size()) != size || !same(after, data, 0, size)))
        std::abort(); // a complete movie changed
    if (size >= kDataOffset) {
        // Only the reserve (a compact movie atom), the mdat header and what follows the old end
        // may change.
        if (!same(after, data, 0, kReserveOffset) ||
            !same(after, data, kTagCopyOffset, kWideOffset) ||
            !same(after, data, kDataOffset, size))
            std::abort();
    } else if (!same(after, data, 0, size) || uint64_t(after.size()) != size) {
        std::abort(); // too short to be ours
    }
    ::unlink(path.c_str());
    return 0;
}
