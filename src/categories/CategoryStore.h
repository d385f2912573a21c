#pragma once

#include <QString>
#include <QStringList>

// The fixed texts every category list is offered with, and the names the editor gives. The
// list's file is CategoryDatabase.
namespace CategoryStore {

// The entry that shows as a separator line wherever a category list is offered.
inline const QString kSeparator = QStringLiteral("-");

// "Personal", "Business", "Project1", "Project2", translated.
QStringList defaultCategories();
// The translated "Edit" entry that follows every offered category list and opens the editor.
QString editEntry();

// "untitled", else "untitled 1", "untitled 2"... : the first that is not in the list.
QString untitledName(const QStringList& categories);

} // namespace CategoryStore
