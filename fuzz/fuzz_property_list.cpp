// Property-list bytes: anything is refused or read into a dictionary, and the XML we write
// for a dictionary we read is itself read back as a dictionary.
#include "platform/foundation/PropertyList.h"

#include <QByteArray>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QVariantMap> dictionary = PropertyList::dictionaryFromBytes(bytes);
    if (!dictionary)
        return 0;
    if (!PropertyList::dictionaryFromBytes(PropertyList::xmlFromDictionary(*dictionary)))
        std::abort();
    return 0;
}
