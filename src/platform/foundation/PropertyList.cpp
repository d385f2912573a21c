#include "platform/foundation/PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <plist/plist.h>

#include <cstdlib>
#include <limits>
#include <memory>

namespace {

// Property-list dates count seconds from 2001-01-01 00:00:00 UTC.
const QDateTime kEpoch2001(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);

// Real databases are a few levels deep; the bound keeps hostile nesting from exhausting the
// stack in our walk.
constexpr int kMaxDepth = 64;

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

std::optional<QVariant> toVariant(plist_t node, int depth);

std::optional<QVariant> dictionaryToVariant(plist_t node, int depth) {
    QVariantMap map;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(node, &it);
    if (!it)
        return std::nullopt;
    std::optional<QVariant> result = QVariant();
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, it, &key, &value);
        if (!value) {
            std::free(key);
            break;
        }
        std::optional<QVariant> converted = toVariant(value, depth + 1);
        const QString name = QString::fromUtf8(key ? key : "");
        std::free(key);
        if (!converted) {
            result = std::nullopt;
            break;
        }
        map.insert(name, *converted);
    }
    std::free(it);
    if (!result)
        return std::nullopt;
    return QVariant(map);
}

std::optional<QVariant> arrayToVariant(plist_t node, int depth) {
    QVariantList list;
    const uint32_t count = plist_array_get_size(node);
    list.reserve(qsizetype(count));
    for (uint32_t i = 0; i < count; ++i) {
        std::optional<QVariant> converted = toVariant(plist_array_get_item(node, i), depth + 1);
        if (!converted)
            return std::nullopt;
        list.append(*converted);
    }
    return QVariant(list);
}

std::optional<QVariant> toVariant(plist_t node, int depth) {
    if (!node || depth > kMaxDepth)
        return std::nullopt;
    switch (plist_get_node_type(node)) {
    case PLIST_DICT:
        return dictionaryToVariant(node, depth);
    case PLIST_ARRAY:
        return arrayToVariant(node, depth);
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return QVariant(QString::fromUtf8(text ? text : "", qsizetype(text ? length : 0)));
    }
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return QVariant(value != 0);
    }
    case PLIST_UINT: {
        // libplist keeps integers unsigned; a negative one comes back as its two's complement.
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return QVariant(qint64(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return QVariant(value);
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        if (length > uint64_t(std::numeric_limits<qsizetype>::max()))
            return std::nullopt;
        return QVariant(QByteArray(bytes, qsizetype(bytes ? length : 0)));
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return QVariant(kEpoch2001.addMSecs(qint64(seconds) * 1000 + microseconds / 1000));
    }
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return QVariant(qint64(value));
    }
    default:
        return std::nullopt;
    }
}

plist_t fromVariant(const QVariant& value);

plist_t dictionaryFromMap(const QVariantMap& map) {
    plist_t dict = plist_new_dict();
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        plist_dict_set_item(dict, it.key().toUtf8().constData(), fromVariant(it.value()));
    return dict;
}

plist_t fromVariant(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QVariantMap:
        return dictionaryFromMap(value.toMap());
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        plist_t array = plist_new_array();
        for (const QVariant& item : value.toList())
            plist_array_append_item(array, fromVariant(item));
        return array;
    }
    case QMetaType::Bool:
        return plist_new_bool(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return plist_new_uint(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), uint64_t(bytes.size()));
    }
    case QMetaType::QDateTime: {
        const qint64 ms = kEpoch2001.msecsTo(value.toDateTime());
        return plist_new_date(int32_t(ms / 1000), int32_t((ms % 1000) * 1000));
    }
    default:
        return plist_new_string(value.toString().toUtf8().constData());
    }
}

} // namespace

namespace PropertyList {

std::optional<QVariantMap> dictionaryFromBytes(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() > kMaxFileSize)
        return std::nullopt;
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    const PlistPtr owner(root);
    if (!root || plist_get_node_type(root) != PLIST_DICT)
        return std::nullopt;
    std::optional<QVariant> value = toVariant(root, 0);
    if (!value)
        return std::nullopt;
    return value->toMap();
}

ReadResult readDictionary(const QString& path) {
    ReadResult result;
    QFile file(path);
    if (!file.exists())
        return result;
    result.status = ReadResult::Unreadable;
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = file.errorString();
        return result;
    }
    if (file.size() > kMaxFileSize) {
        result.problem = QStringLiteral("the file is too large");
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.problem = file.errorString();
        return result;
    }
    std::optional<QVariantMap> dictionary = dictionaryFromBytes(bytes);
    if (!dictionary) {
        result.problem = QStringLiteral("not a property list with a dictionary at its top");
        return result;
    }
    result.status = ReadResult::Read;
    result.dictionary = std::move(*dictionary);
    return result;
}

QByteArray xmlFromDictionary(const QVariantMap& dictionary) {
    const PlistPtr root(dictionaryFromMap(dictionary));
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(static_cast<plist_t>(root.get()), &xml, &length);
    QByteArray bytes(xml, qsizetype(xml ? length : 0));
    plist_to_xml_free(xml);
    return bytes;
}

bool writeDictionary(const QString& path, const QVariantMap& dictionary, QString* problem) {
    const QByteArray bytes = xmlFromDictionary(dictionary);
    QSaveFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
        if (problem)
            *problem = bytes.isEmpty() ? QStringLiteral("nothing to write") : file.errorString();
        return false;
    }
    return true;
}

} // namespace PropertyList
