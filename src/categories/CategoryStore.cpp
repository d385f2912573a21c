#include "categories/CategoryStore.h"

#include "platform/foundation/LocalizedString.h"

namespace CategoryStore {

QStringList defaultCategories() {
    return {BVLocalizedString("Personal"), BVLocalizedString("Business"),
            BVLocalizedString("Project1"), BVLocalizedString("Project2")};
}

QString editEntry() {
    return BVLocalizedString("Edit");
}

QString untitledName(const QStringList& categories) {
    QString candidate = QStringLiteral("untitled");
    for (int counter = 1; categories.contains(candidate); ++counter)
        candidate = QStringLiteral("untitled %1").arg(counter);
    return candidate;
}

} // namespace CategoryStore
