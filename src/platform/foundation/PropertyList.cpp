#include "platform/foundation/PropertyList.h"

#include <QDateTime>
#include <QLocale>
#include <QXmlStreamReader>

namespace {

// Real databases are a few levels deep; the bound keeps hostile nesting from exhausting the
// stack in our walk.
constexpr int kMaxDepth = 64;

// libplist's reader aborts the process on some malformed binary lists (a dictionary key with
// a NUL byte trips an assertion), and its writer puts control characters and carriage returns
// into the XML as they are (a file no reader takes, or one that reads back changed), so lists
// are read and written here.
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
        if (kind == QLatin1String("string")) {
            // What we read, we must be able to write back.
            if (!PropertyList::isXmlText(text))
                return std::nullopt;
            return QVariant(text.isNull() ? QStringLiteral("") : text); // empty, never none
        }
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
            const int year = date.toUTC().date().year();
            return date.isValid() && year >= 1 && year <= 9999
                       ? std::optional<QVariant>(QVariant(date))
                       : std::nullopt;
        }
        return std::nullopt;
    }

    std::optional<QVariant> readDictionary(int depth) {
        QVariantMap map;
        while (_xml.readNextStartElement()) {
            if (_xml.name() != QLatin1String("key"))
                return std::nullopt;
            const QString key = _xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
            if (_xml.hasError() || !PropertyList::isXmlText(key) || !_xml.readNextStartElement())
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

// Writes the XML form. Text goes through escape(), which refuses what XML cannot carry.
class XmlWriter {
public:
    bool writeDocument(const QVariantMap& dictionary) {
        _out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                "<plist version=\"1.0\">\n";
        if (!writeValue(QVariant(dictionary), 0))
            return false;
        _out += "</plist>\n";
        return true;
    }

    QByteArray bytes() const { return _out; }
    QString problem() const { return _problem; }

private:
    bool writeValue(const QVariant& value, int depth) {
        if (depth > kMaxDepth) {
            _problem = QStringLiteral("the values are nested more than %1 deep").arg(kMaxDepth);
            return false;
        }
        switch (value.typeId()) {
        case QMetaType::QVariantMap:
            return writeDictionary(value.toMap(), depth);
        case QMetaType::QVariantList:
        case QMetaType::QStringList:
            return writeArray(value.toList(), depth);
        case QMetaType::Bool:
            return line(depth, value.toBool() ? "<true/>" : "<false/>");
        case QMetaType::Int:
        case QMetaType::LongLong:
            // Signed: a negative number must not come back as a huge positive one.
            return element(depth, "integer", QByteArray::number(value.toLongLong()));
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return element(depth, "integer", QByteArray::number(value.toULongLong()));
        case QMetaType::Double:
        case QMetaType::Float:
            // The shortest text that reads back as the same double.
            return element(
                depth, "real",
                QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest));
        case QMetaType::QByteArray:
            return element(depth, "data", value.toByteArray().toBase64());
        case QMetaType::QDateTime:
            return writeDate(value.toDateTime(), depth);
        default:
            return writeText(depth, "string", value.toString());
        }
    }

    bool writeDictionary(const QVariantMap& map, int depth) {
        if (map.isEmpty())
            return line(depth, "<dict/>");
        line(depth, "<dict>");
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            if (!writeText(depth + 1, "key", it.key()) || !writeValue(it.value(), depth + 1))
                return false;
        }
        return line(depth, "</dict>");
    }

    bool writeArray(const QVariantList& list, int depth) {
        if (list.isEmpty())
            return line(depth, "<array/>");
        line(depth, "<array>");
        for (const QVariant& item : list) {
            if (!writeValue(item, depth + 1))
                return false;
        }
        return line(depth, "</array>");
    }

    bool writeDate(const QDateTime& date, int depth) {
        const QDateTime utc = date.toUTC();
        if (!utc.isValid() || utc.date().year() < 1 || utc.date().year() > 9999) {
            _problem = QStringLiteral("a date outside the years 1 to 9999");
            return false;
        }
        // Whole seconds as other writers put them; milliseconds only when there are some.
        const Qt::DateFormat format = utc.time().msec() == 0 ? Qt::ISODate : Qt::ISODateWithMs;
        return element(depth, "date", utc.toString(format).toLatin1());
    }

    bool writeText(int depth, const char* name, const QString& text) {
        if (!PropertyList::isXmlText(text)) {
            _problem = QStringLiteral("a text holds a character XML cannot carry");
            return false;
        }
        QString escaped;
        escaped.reserve(text.size() + 16);
        for (const QChar c : text) {
            switch (c.unicode()) {
            case '&':
                escaped += QLatin1String("&amp;");
                break;
            case '<':
                escaped += QLatin1String("&lt;");
                break;
            case '>':
                escaped += QLatin1String("&gt;");
                break;
            case '\r':
                // Written as itself, every reader would hand it back as a line feed.
                escaped += QLatin1String("&#13;");
                break;
            default:
                escaped += c;
                break;
            }
        }
        return element(depth, name, escaped.toUtf8());
    }

    bool element(int depth, const char* name, const QByteArray& content) {
        _out += QByteArray(depth, '\t') + '<' + name + '>' + content + "</" + name + ">\n";
        return true;
    }

    bool line(int depth, const char* text) {
        _out += QByteArray(depth, '\t') + text + '\n';
        return true;
    }

    QByteArray _out;
    QString _problem;
};
} // namespace

namespace PropertyList {

std::optional<QVariantMap> dictionaryFromBytes(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() > kMaxFileSize)
        return std::nullopt;
    return XmlReader(bytes).readDictionaryDocument();
}

ReadResult readDictionary(const FilePath& path, const FilePath& confinedTo) {
    ReadResult result;
    SafeFile::Contents contents = SafeFile::read(path, kMaxFileSize, confinedTo);
    if (contents.status == SafeFile::Contents::Missing)
        return result;
    if (contents.status == SafeFile::Contents::Refused) {
        // errno 0: a refusal of SafeFile's own (a stand-in or a link leading out), not a
        // failure to read a file of ours.
        result.status = contents.problem.error == 0 ? ReadResult::Refused : ReadResult::Unreadable;
        result.problem = contents.problem.reason;
        return result;
    }
    result.status = ReadResult::Unreadable;
    std::optional<QVariantMap> dictionary = dictionaryFromBytes(contents.bytes);
    if (!dictionary) {
        result.problem = QStringLiteral("not a property list with a dictionary at its top");
        return result;
    }
    result.status = ReadResult::Read;
    result.dictionary = std::move(*dictionary);
    return result;
}

ReadResult readDictionary(const QString& path) {
    return readDictionary(FilePath::fromString(path));
}

bool isXmlText(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20) {
            if (c != '\t' && c != '\n' && c != '\r')
                return false;
        } else if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !QChar::isLowSurrogate(text[i + 1].unicode()))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            return false;
        }
    }
    return true;
}

std::optional<QByteArray> xmlOfDictionary(const QVariantMap& dictionary, QString* problem) {
    XmlWriter writer;
    if (!writer.writeDocument(dictionary)) {
        if (problem)
            *problem = writer.problem();
        return std::nullopt;
    }
    return writer.bytes();
}

QByteArray xmlFromDictionary(const QVariantMap& dictionary) {
    return xmlOfDictionary(dictionary).value_or(QByteArray());
}

bool writeDictionary(const FilePath& path, const QVariantMap& dictionary,
                     SafeFile::Problem* problem) {
    QString refusal;
    const std::optional<QByteArray> bytes = xmlOfDictionary(dictionary, &refusal);
    if (!bytes) {
        if (problem)
            *problem = {0, refusal};
        return false;
    }
    return SafeFile::replace(path, *bytes, problem);
}

bool writeDictionary(const QString& path, const QVariantMap& dictionary, QString* problem) {
    SafeFile::Problem failure;
    if (writeDictionary(FilePath::fromString(path), dictionary, &failure))
        return true;
    if (problem)
        *problem = failure.reason;
    return false;
}

} // namespace PropertyList
