#pragma once

#include "platform/foundation/FilePath.h"
#include "platform/foundation/SafeFile.h"

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <optional>

// XML property lists as Qt values: dictionary -> QVariantMap, array -> QVariantList,
// string -> QString, integer -> qint64 (or quint64 above its range), real -> double,
// boolean -> bool, data -> QByteArray, date -> QDateTime. Reading and writing are our own, so
// that whatever we write reads back equal: text that XML 1.0 cannot carry is refused rather
// than written in a form no reader accepts. Binary property lists are not read.
namespace PropertyList {

// Files larger than this are not property lists we wrote; they are refused unread.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

// The dictionary at the top level of a well-formed XML property list; none for anything else
// (another top-level type, malformed or truncated bytes, an unknown element, nesting deeper
// than a sane file holds, a binary list).
std::optional<QVariantMap> dictionaryFromBytes(const QByteArray& bytes);

struct ReadResult {
    // Refused: not a regular file (a folder, a FIFO, a device, a link to one) or a link leading
    // out of the folder it was confined to; it was not opened for reading, or not read.
    enum Status { Missing, Read, Unreadable, Refused };
    Status status = Missing;
    QVariantMap dictionary; // when Read
    QString problem;        // when Unreadable or Refused: why, for people
};
// Read without blocking, up to kMaxFileSize, through SafeFile (see there for `confinedTo`).
ReadResult readDictionary(const FilePath& path, const FilePath& confinedTo = {});
ReadResult readDictionary(const QString& path);

// Whether every character of `text` is one that XML 1.0 can carry (as itself or, for a carriage
// return, as a character reference): no other control character, no lone surrogate, neither
// U+FFFE nor U+FFFF.
bool isXmlText(QStringView text);

// The XML form: UTF-8, with the XML declaration, the DOCTYPE and <plist version="1.0">.
// Values of types a property list cannot hold are written as their text. None, with the reason
// in *problem, when a key or a string is not XML text (see isXmlText) or the nesting is deeper
// than the reader takes: such a file could not be read back.
std::optional<QByteArray> xmlOfDictionary(const QVariantMap& dictionary,
                                          QString* problem = nullptr);
// The same, empty when refused.
QByteArray xmlFromDictionary(const QVariantMap& dictionary);

// Replaces the file all or nothing (SafeFile::replace): on any failure the old file is as it
// was and *problem says why.
bool writeDictionary(const FilePath& path, const QVariantMap& dictionary,
                     SafeFile::Problem* problem);
bool writeDictionary(const QString& path, const QVariantMap& dictionary, QString* problem);

} // namespace PropertyList
