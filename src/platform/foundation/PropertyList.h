#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <optional>

// XML property lists as Qt values: dictionary -> QVariantMap, array -> QVariantList,
// string -> QString, integer -> qint64 (or quint64 above its range), real -> double,
// boolean -> bool, data -> QByteArray, date -> QDateTime. Reading is our own strict reader;
// writing goes through libplist. Binary property lists are not read.
namespace PropertyList {

// Files larger than this are not property lists we wrote; they are refused unread.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

// The dictionary at the top level of a well-formed XML property list; none for anything else
// (another top-level type, malformed or truncated bytes, an unknown element, nesting deeper
// than a sane file holds, a binary list).
std::optional<QVariantMap> dictionaryFromBytes(const QByteArray& bytes);

struct ReadResult {
    enum Status { Missing, Read, Unreadable };
    Status status = Missing;
    QVariantMap dictionary; // when Read
    QString problem;        // when Unreadable: why, for the log
};
ReadResult readDictionary(const QString& path);

// The XML form: UTF-8, with the XML declaration, the DOCTYPE and <plist version="1.0">.
// Values of types a property list cannot hold are written as their text.
QByteArray xmlFromDictionary(const QVariantMap& dictionary);

// Written atomically: readers see either the old file or the new one whole.
bool writeDictionary(const QString& path, const QVariantMap& dictionary, QString* problem);

} // namespace PropertyList
