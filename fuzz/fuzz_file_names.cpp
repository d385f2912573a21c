// File names from the file system: any bytes decode into a name that encodes back to the very
// same bytes, and the name shown to people carries no escaped byte.
#include "platform/foundation/FileNames.h"

#include <QByteArray>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString name = FileNames::decode(bytes);
    if (FileNames::encode(name) != bytes)
        std::abort();
    if (FileNames::hasEscapedBytes(FileNames::displayName(name)))
        std::abort();
    if (!FileNames::hasEscapedBytes(name) && name.toUtf8() != bytes)
        std::abort();
    return 0;
}
