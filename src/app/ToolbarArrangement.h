#pragma once

#include <QString>
#include <QStringList>

// The toolbar's own items, offered in every customisation palette beside the application's.
namespace ToolbarStandardItems {
extern const QString Space;
extern const QString FlexibleSpace;
extern const QString Separator;
extern const QString Customize;
// Spaces and separators may stand in a toolbar any number of times; every other item once.
bool isRepeatable(const QString& identifier);
} // namespace ToolbarStandardItems

// The order of a toolbar's items by identifier, as the user arranges it, and its copy in the
// defaults store under the toolbar's identifier. Only allowed identifiers are ever held, so a
// stored arrangement naming an item this version does not know leaves that item out.
class ToolbarArrangement {
public:
    ToolbarArrangement(QString toolbarIdentifier, QStringList defaults, QStringList allowed);

    const QStringList& items() const { return _items; }
    const QStringList& defaultItems() const { return _defaults; }
    const QStringList& allowedItems() const { return _allowed; }

    // The stored arrangement, or the default one when none is stored.
    void restore();
    // Each change is stored at once.
    void setItems(const QStringList& items);
    // Puts an item at `index`; an item that may stand only once and is there already moves.
    void insert(const QString& identifier, int index);
    void move(int from, int to);
    void remove(int index);
    void restoreDefaults();

private:
    QStringList sanitized(const QStringList& items) const;
    void store();

    QString _toolbarIdentifier;
    QStringList _defaults;
    QStringList _allowed;
    QStringList _items;
};
