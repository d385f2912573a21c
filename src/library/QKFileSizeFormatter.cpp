#include "library/QKFileSizeFormatter.h"

#include <cstdio>

namespace {
constexpr float kPerKilo = 0.0009765625f; // 1/1024

} // namespace

QString byteCountText(float bytes) {
    // Each step is a float multiplication, as the column has always computed it.
    char text[64];
    if (bytes > 1073741824.0f) {
        float value = bytes * kPerKilo;
        value = value * kPerKilo;
        value = value * kPerKilo;
        std::snprintf(text, sizeof text, "%.1f GB", double(value));
    } else if (bytes > 1048576.0f) {
        float value = bytes * kPerKilo;
        value = value * kPerKilo;
        std::snprintf(text, sizeof text, "%.1f MB", double(value));
    } else if (bytes > 1024.0f) {
        const float value = bytes * kPerKilo;
        std::snprintf(text, sizeof text, "%.f KB", double(value));
    } else {
        std::snprintf(text, sizeof text, "%.f Bytes", double(bytes));
    }
    return QString::fromLatin1(text);
}

QString QKFileSizeFormatter::stringForObjectValue(const QVariant& value) const {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Float:
    case QMetaType::Double:
        return byteCountText(value.toFloat());
    default:
        return QString();
    }
}
