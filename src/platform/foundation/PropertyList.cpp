#include "platform/foundation/PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>

#include <plist/plist.h>

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

// libplist's reader aborts the process on some malformed binary lists (a dictionary key with
// a NUL byte trips an assertion), so lists are read by our own strict XML reader; libplist
// only writes.
class XmlReader {
public:
    explicit XmlReader(const QByteArray& bytes) : _xml(bytes) {}

    std::optional<QVariantMap> readDictionaryDocument() {
        if (!_xml.readNextStartElement() || _xml.name() != QLatin1String("plist"))
            return std::nullopt;
        if (!_xml.readNextStartElement() || _xml.name() != QLatin1String("dict"))
            return std::nullopt;
        std::optional<QVariant> value = readValue(0);
        // Nothing but the end of <plist> and of the document may follow.
        if (!value || _xml.readNextStartElement() || _xml.hasError())
            return std::nullopt;
        while (!_xml.atEnd())
            _xml.readNext();
        if (_xml.hasError())
            return std::nullopt;
        return value->toMap();
    }

private:
    // At a value's start element; on success, at its end element.
    std::optional<QVariant> readValue(int depth) {
        if (depth > kMaxDepth)
            return std::nullopt;
        const QStringView name = _xml.name();
        if (name == QLatin1String("dict"))
            return readDictionary(depth);
        if (name == QLatin1String("array"))
            return readArray(depth);
        const bool isTrue = name == QLatin1String("true");
        const bool isFalse = name == QLatin1String("false");
        const QString kind = name.toString();
        const QString text = _xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (_xml.hasError())
            return std::nullopt;
        if (isTrue || isFalse)
            return text.trimmed().isEmpty() ? std::optional<QVariant>(QVariant(isTrue))
                                            : std::nullopt;
        if (kind == QLatin1String("string"))
            return QVariant(text.isNull() ? QStringLiteral("") : text); // empty, never none
        bool ok = false;
        if (kind == QLatin1String("integer")) {
            const qint64 value = text.trimmed().toLongLong(&ok);
            if (ok)
                return QVariant(value);
            const quint64 large = text.trimmed().toULongLong(&ok);
            return ok ? std::optional<QVariant>(QVariant(large)) : std::nullopt;
        }
        if (kind == QLatin1String("real")) {
            const double value = text.trimmed().toDouble(&ok);
            return ok ? std::optional<QVariant>(QVariant(value)) : std::nullopt;
        }
        if (kind == QLatin1String("data")) {
            QByteArray base64 = text.toLatin1();
            base64.replace(' ', "").replace('\n', "").replace('\t', "").replace('\r', "");
            const auto decoded =
                QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
            return decoded ? std::optional<QVariant>(QVariant(*decoded)) : std::nullopt;
        }
        if (kind == QLatin1String("date")) {
            const QDateTime date = QDateTime::fromString(text.trimmed(), Qt::ISODate);
            return date.isValid() ? std::optional<QVariant>(QVariant(date)) : std::nullopt;
        }
        return std::nullopt;
    }

    std::optional<QVariant> readDictionary(int depth) {
        QVariantMap map;
        while (_xml.readNextStartElement()) {
            if (_xml.name() != QLatin1String("key"))
                return std::nullopt;
            const QString key = _xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
            if (_xml.hasError() || !_xml.readNextStartElement())
                return std::nullopt;
            std::optional<QVariant> value = readValue(depth + 1);
            if (!value)
                return std::nullopt;
            map.insert(key, *value);
        }
        if (_xml.hasError())
            return std::nullopt;
        return QVariant(map);
    }

    std::optional<QVariant> readArray(int depth) {
        QVariantList list;
        while (_xml.readNextStartElement()) {
            std::optional<QVariant> value = readValue(depth + 1);
            if (!value)
                return std::nullopt;
            list.append(*value);
        }
        if (_xml.hasError())
            return std::nullopt;
        return QVariant(list);
    }

    QXmlStreamReader _xml;
};

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
    return XmlReader(bytes).readDictionaryDocument();
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
