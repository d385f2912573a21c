#include "categories/CategoryStore.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/PropertyList.h"

#include <QFile>
#include <QFileInfo>

namespace CategoryStore {

namespace {
const QString kVersionKey = QStringLiteral("application version");
const QString kCategoriesKey = QStringLiteral("categories");
const QString kMappingsKey = QStringLiteral("category mappings");
} // namespace

QStringList defaultCategories() {
    return {BVLocalizedString("Personal"), BVLocalizedString("Business"),
            BVLocalizedString("Project1"), BVLocalizedString("Project2")};
}

QString editEntry() {
    return BVLocalizedString("Edit");
}

std::optional<Contents> contentsOfDictionary(const QVariantMap& dictionary) {
    Contents contents;
    if (dictionary.contains(kCategoriesKey)) {
        const QVariant value = dictionary.value(kCategoriesKey);
        if (value.typeId() != QMetaType::QVariantList)
            return std::nullopt;
        QStringList categories;
        for (const QVariant& entry : value.toList()) {
            if (entry.typeId() != QMetaType::QString)
                return std::nullopt;
            categories << entry.toString();
        }
        contents.categories = categories;
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
    return contents;
}

QVariantMap dictionaryOf(const QStringList& categories, const QVariantMap& mappings) {
    return {{kVersionKey, QStringLiteral("100")},
            {kCategoriesKey, QVariantList(categories.begin(), categories.end())},
            {kMappingsKey, mappings}};
}

Loaded load(const QString& path) {
    Loaded loaded;
    const PropertyList::ReadResult read = PropertyList::readDictionary(path);
    if (read.status == PropertyList::ReadResult::Missing)
        return loaded;
    loaded.status = Loaded::Unreadable;
    if (read.status == PropertyList::ReadResult::Unreadable) {
        loaded.problem = read.problem;
        return loaded;
    }
    std::optional<Contents> contents = contentsOfDictionary(read.dictionary);
    if (!contents) {
        loaded.problem = QStringLiteral("its categories or mappings are not text");
        return loaded;
    }
    loaded.status = Loaded::Read;
    loaded.contents = std::move(*contents);
    return loaded;
}

bool save(const QString& path, const QStringList& categories, const QVariantMap& mappings,
          QString* problem) {
    return PropertyList::writeDictionary(path, dictionaryOf(categories, mappings), problem);
}

QString keepAside(const QString& path, const QDateTime& now) {
    const QString stem =
        path + QStringLiteral(".unreadable-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = stem;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = stem + QStringLiteral("-%1").arg(n);
    return QFile::rename(path, target) ? target : QString();
}

QString categoryOfRecording(const Contents& contents, const QString& name) {
    if (!contents.mappings)
        return QString();
    const auto found = contents.mappings->constFind(name);
    if (found == contents.mappings->constEnd())
        return QString();
    const QString category = found->toString();
    if (!category.isEmpty())
        return category;
    return contents.categories.value_or(defaultCategories()).value(0);
}

QString untitledName(const QStringList& categories) {
    QString candidate = QStringLiteral("untitled");
    for (int counter = 1; categories.contains(candidate); ++counter)
        candidate = QStringLiteral("untitled %1").arg(counter);
    return candidate;
}

} // namespace CategoryStore
