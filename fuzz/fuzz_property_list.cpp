// Property-list bytes: anything is refused or read into a dictionary, and the XML we write for a
// dictionary we read reads back equal to it: no key lost, no number changed, no text altered.
#include "platform/foundation/PropertyList.h"

#include <QByteArray>
#include <QDateTime>
#include <QVariant>

#include <cmath>
#include <cstdlib>

namespace {

bool same(const QVariant& a, const QVariant& b);

bool sameMaps(const QVariantMap& a, const QVariantMap& b) {
    if (a.size() != b.size())
        return false;
    for (auto it = a.constBegin(), other = b.constBegin(); it != a.constEnd(); ++it, ++other) {
        if (it.key() != other.key() || !same(it.value(), other.value()))
            return false;
    }
    return true;
}

// Equal in type and value; a NaN equals a NaN.
bool same(const QVariant& a, const QVariant& b) {
    if (a.typeId() != b.typeId())
        return false;
    switch (a.typeId()) {
    case QMetaType::QVariantMap:
        return sameMaps(a.toMap(), b.toMap());
    case QMetaType::QVariantList: {
        const QVariantList x = a.toList();
        const QVariantList y = b.toList();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i) {
            if (!same(x[i], y[i]))
                return false;
        }
        return true;
    }
    case QMetaType::Double: {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return (std::isnan(x) && std::isnan(y)) || x == y;
    }
    case QMetaType::QDateTime:
        return a.toDateTime() == b.toDateTime();
    default:
        return a == b;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QVariantMap> dictionary = PropertyList::dictionaryFromBytes(bytes);
    if (!dictionary)
        return 0;
    // Whatever we read, we can write...
    const std::optional<QByteArray> xml = PropertyList::xmlOfDictionary(*dictionary);
    if (!xml)
        std::abort();
    // ...and it reads back as it was.
    const std::optional<QVariantMap> again = PropertyList::dictionaryFromBytes(*xml);
    if (!again || !sameMaps(*dictionary, *again))
        std::abort();
    return 0;
}
