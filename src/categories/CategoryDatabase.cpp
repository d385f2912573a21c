#include "categories/CategoryDatabase.h"

#include "categories/CategoryStore.h"
#include "platform/foundation/FileNames.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SafeFile.h"
#include "platform/workspace/FileOperations.h"

#include <QTimer>

#include <cerrno>
#include <sys/stat.h>

namespace {

const QString kVersionKey = QStringLiteral("application version");
const QString kCategoriesKey = QStringLiteral("categories");
const QString kMappingsKey = QStringLiteral("category mappings");
// Other readers skip it; ours reads each entry's name from its bytes.
const QString kByteMappingsKey = QStringLiteral("category mappings by name bytes");
const QString kNameKey = QStringLiteral("name");
const QString kCategoryKey = QStringLiteral("category");

std::optional<QStringList> stringList(const QVariant& value) {
    if (value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    QStringList strings;
    for (const QVariant& entry : value.toList()) {
        if (entry.typeId() != QMetaType::QString)
            return std::nullopt;
        strings << entry.toString();
    }
    return strings;
}

// Adds the entries of "category mappings by name bytes"; false when one is not a name's bytes
// with a category.
bool addByteMappings(const QVariant& value, QVariantMap* mappings) {
    if (value.typeId() != QMetaType::QVariantList)
        return false;
    for (const QVariant& entry : value.toList()) {
        if (entry.typeId() != QMetaType::QVariantMap)
            return false;
        const QVariantMap fields = entry.toMap();
        const QVariant name = fields.value(kNameKey);
        const QVariant category = fields.value(kCategoryKey);
        if (name.typeId() != QMetaType::QByteArray || category.typeId() != QMetaType::QString)
            return false;
        mappings->insert(FileNames::decode(name.toByteArray()), category.toString());
    }
    return true;
}

// Moves a file that cannot be read out of the way, to "<name>.unreadable-YYYYMMDD-HHMMSS"
// beside it, never over another file. Answers the new path, or an empty one.
FilePath keepAside(const FilePath& path, const QDateTime& now) {
    const QByteArray stem =
        path.bytes() + ".unreadable-" + now.toString(QStringLiteral("yyyyMMdd-HHmmss")).toLatin1();
    for (int n = 1; n < 100; ++n) {
        const FilePath target(n == 1 ? stem : stem + '-' + QByteArray::number(n));
        FileOperations::Failure failure;
        if (FileOperations::renameWithoutReplacing(path.bytes(), target.bytes(), &failure))
            return target;
        if (failure.error != EEXIST)
            break;
    }
    return {};
}

} // namespace

std::optional<CategoryDatabase::Contents>
CategoryDatabase::contentsOfDictionary(const QVariantMap& dictionary) {
    Contents contents;
    if (dictionary.contains(kCategoriesKey)) {
        contents.categories = stringList(dictionary.value(kCategoriesKey));
        if (!contents.categories)
            return std::nullopt;
    }
    if (dictionary.contains(kMappingsKey)) {
        const QVariant value = dictionary.value(kMappingsKey);
        if (value.typeId() != QMetaType::QVariantMap)
            return std::nullopt;
        const QVariantMap mappings = value.toMap();
        for (const QVariant& category : mappings) {
            if (category.typeId() != QMetaType::QString)
                return std::nullopt;
        }
        contents.mappings = mappings;
    }
    if (dictionary.contains(kByteMappingsKey)) {
        QVariantMap mappings = contents.mappings.value_or(QVariantMap());
        if (!addByteMappings(dictionary.value(kByteMappingsKey), &mappings))
            return std::nullopt;
        contents.mappings = mappings;
    }
    return contents;
}

QVariantMap CategoryDatabase::dictionaryOf(const QStringList& categories,
                                           const QVariantMap& mappings) {
    QVariantMap asText;
    QVariantList asBytes;
    for (auto it = mappings.constBegin(); it != mappings.constEnd(); ++it) {
        if (nameCanBeStoredAsText(it.key())) {
            asText.insert(it.key(), it.value());
        } else {
            asBytes.append(QVariantMap{{kNameKey, FileNames::encode(it.key())},
                                       {kCategoryKey, it.value().toString()}});
        }
    }
    QVariantMap dictionary{{kVersionKey, QStringLiteral("100")},
                           {kCategoriesKey, QVariantList(categories.begin(), categories.end())},
                           {kMappingsKey, asText}};
    if (!asBytes.isEmpty())
        dictionary.insert(kByteMappingsKey, asBytes);
    return dictionary;
}

bool CategoryDatabase::nameCanBeStoredAsText(const QString& name) {
    // A carriage return could be written as a reference, but other programs that rewrite the
    // file would turn it into a line feed.
    return !name.contains(QLatin1Char('\r')) && !FileNames::hasEscapedBytes(name) &&
           PropertyList::isXmlText(name);
}

QString CategoryDatabase::categoryOfRecording(const Contents& contents, const QString& name) {
    if (!contents.mappings)
        return QString();
    const auto found = contents.mappings->constFind(name);
    if (found == contents.mappings->constEnd())
        return QString();
    const QString category = found->toString();
    if (!category.isEmpty())
        return category;
    return contents.categories.value_or(CategoryStore::defaultCategories()).value(0);
}

CategoryDatabase::Contents CategoryDatabase::read(const FilePath& library) {
    const FilePath path = library.childBytes(kFileName);
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    const PropertyList::ReadResult read = PropertyList::readDictionary(path, library);
    if (read.status != PropertyList::ReadResult::Read)
        return {};
    return contentsOfDictionary(read.dictionary).value_or(Contents());
}

CategoryDatabase::CategoryDatabase(std::function<Snapshot()> source, QObject* parent)
    : QObject(parent), _source(std::move(source)) {}

CategoryDatabase::Opened CategoryDatabase::open(const FilePath& library, const QDateTime& now) {
    close();
    Opened opened;
    if (library.isEmpty())
        return opened; // no library yet: nothing is read or written
    const FilePath path = library.childBytes(kFileName);
    _path = path;
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0) {
        // No folder yet (or a file in its place) has nothing to read; a write says why it fails.
        if (errno == ENOENT || errno == ENOTDIR)
            return opened;
        // What is there cannot even be looked at (a folder we may not search): not written over.
        opened.status = Opened::Unusable;
        _unusable = BVLocalizedString("CategoriesFileNotAFile")
                        .arg(BVLocalizedString("FileNotRead")
                                 .arg(path.display(), SafeFile::systemReason(errno)));
        emit problemToTell(_unusable);
        return opened;
    }
    // Whatever stands in the file's place is not ours to read, move or replace.
    if (!S_ISREG(status.st_mode)) {
        opened.status = Opened::Unusable;
        _unusable = BVLocalizedString("CategoriesFileNotAFile")
                        .arg(SafeFile::notARegularFileReason(path, status.st_mode));
        emit problemToTell(_unusable);
        return opened;
    }
    const PropertyList::ReadResult read = PropertyList::readDictionary(path, library);
    QString problem = read.problem;
    if (read.status == PropertyList::ReadResult::Read) {
        if (std::optional<Contents> contents = contentsOfDictionary(read.dictionary)) {
            opened.status = Opened::Read;
            opened.contents = std::move(*contents);
            return opened;
        }
        problem = QStringLiteral("its categories or mappings are not text");
    } else if (read.status == PropertyList::ReadResult::Refused) {
        opened.status = Opened::Unusable;
        _unusable = BVLocalizedString("CategoriesFileNotAFile").arg(problem);
        emit problemToTell(_unusable);
        return opened;
    } else if (read.status == PropertyList::ReadResult::Missing) {
        return opened;
    }
    // The user's categories may still be in there: never write over it.
    const FilePath kept = keepAside(path, now);
    if (kept.isEmpty()) {
        opened.status = Opened::Unusable;
        _unusable = BVLocalizedString("CategoriesFileStuck").arg(path.display(), problem);
        emit problemToTell(_unusable);
        return opened;
    }
    opened.status = Opened::KeptAside;
    opened.keptAs = kept.fileName();
    emit problemToTell(BVLocalizedString("CategoriesFileKeptAside")
                           .arg(problem, FileNames::displayName(opened.keptAs)));
    return opened;
}

void CategoryDatabase::close() {
    if (_writePending)
        write();
    _path = FilePath();
    _unusable.clear();
    _failureTold = false;
}

QString CategoryDatabase::write() {
    _writePending = false;
    if (!isOpen())
        return QString();
    if (!_unusable.isEmpty())
        return _unusable; // told when the library opened
    const Snapshot snapshot = _source();
    SafeFile::Problem problem;
    if (PropertyList::writeDictionary(_path, dictionaryOf(snapshot.categories, snapshot.mappings),
                                      &problem)) {
        if (_failureTold)
            bvLog(QStringLiteral("%1 is written again").arg(_path.display()));
        _failureTold = false;
        return QString();
    }
    // Memory keeps everything; the next write tries again.
    const QString message = BVLocalizedString("CategoriesNotSaved").arg(problem.reason);
    if (!_failureTold) {
        _failureTold = true;
        emit problemToTell(message);
    }
    return message;
}

void CategoryDatabase::scheduleWrite() {
    if (_writePending)
        return;
    _writePending = true;
    QTimer::singleShot(0, this, [this] {
        if (_writePending)
            write();
    });
}
