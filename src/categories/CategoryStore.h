#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// "Database.plist" of a library folder: the user's category list and the category of each
// recording, by recording name. Also the fixed texts every category list is offered with.
namespace CategoryStore {

inline constexpr char kFileName[] = "Database.plist";
// The entry that shows as a separator line wherever a category list is offered.
inline const QString kSeparator = QStringLiteral("-");

// "Personal", "Business", "Project1", "Project2", translated.
QStringList defaultCategories();
// The translated "Edit" entry that follows every offered category list and opens the editor.
QString editEntry();

struct Contents {
    std::optional<QStringList> categories; // none: the file holds no list
    std::optional<QVariantMap> mappings;   // recording name -> category name
};

// A dictionary's categories and mappings; none when either key holds a value of the wrong
// type (a list of strings, a dictionary of strings). Other keys are ignored.
std::optional<Contents> contentsOfDictionary(const QVariantMap& dictionary);
QVariantMap dictionaryOf(const QStringList& categories, const QVariantMap& mappings);

struct Loaded {
    enum Status { Missing, Read, Unreadable };
    Status status = Missing;
    Contents contents;
    QString problem; // when Unreadable
};
Loaded load(const QString& path);
bool save(const QString& path, const QStringList& categories, const QVariantMap& mappings,
          QString* problem);

// Moves a file that cannot be read out of the way, to "<name>.unreadable-YYYYMMDD-HHMMSS"
// beside it. Answers the new path, or empty when it could not be moved.
QString keepAside(const QString& path, const QDateTime& now);

// The category a stored mapping gives a recording: the mapped name, the first category for
// an empty one, and none for a recording with no entry.
QString categoryOfRecording(const Contents& contents, const QString& name);

// "untitled", else "untitled 1", "untitled 2"... : the first that is not in the list.
QString untitledName(const QStringList& categories);

} // namespace CategoryStore
