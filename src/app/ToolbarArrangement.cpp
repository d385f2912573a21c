#include "app/ToolbarArrangement.h"

#include "platform/foundation/Defaults.h"

#include <algorithm>

namespace {
constexpr qsizetype kMaxItemsPerAllowed = 3;
} // namespace

namespace ToolbarStandardItems {
const QString Space = QStringLiteral("NSToolbarSpaceItem");
const QString FlexibleSpace = QStringLiteral("NSToolbarFlexibleSpaceItem");
const QString Separator = QStringLiteral("NSToolbarSeparatorItem");
const QString Customize = QStringLiteral("NSToolbarCustomizeToolbarItem");

bool isRepeatable(const QString& identifier) {
    return identifier == Space || identifier == FlexibleSpace || identifier == Separator;
}
} // namespace ToolbarStandardItems

ToolbarArrangement::ToolbarArrangement(QString toolbarIdentifier, QStringList defaults,
                                       QStringList allowed)
    : _toolbarIdentifier(std::move(toolbarIdentifier)), _defaults(std::move(defaults)),
      _allowed(std::move(allowed)), _items(_defaults) {}

void ToolbarArrangement::restore() {
    const Defaults& defaults = Defaults::standard();
    if (!defaults.hasStoredValue(_toolbarIdentifier)) {
        _items = _defaults;
        return;
    }
    const QStringList stored = defaults.stringArrayForKey(_toolbarIdentifier);
    _items = sanitized(stored);
    // A damaged arrangement is put right in the settings as well, or every quit would write
    // it out again.
    if (stored.size() > kMaxItemsPerAllowed * _allowed.size())
        store();
}

void ToolbarArrangement::setItems(const QStringList& items) {
    _items = sanitized(items);
    store();
}

void ToolbarArrangement::insert(const QString& identifier, int index) {
    if (!_allowed.contains(identifier))
        return;
    index = std::clamp(index, 0, int(_items.size()));
    if (!ToolbarStandardItems::isRepeatable(identifier)) {
        const int present = int(_items.indexOf(identifier));
        if (present >= 0) {
            move(present, index);
            return;
        }
    }
    _items.insert(index, identifier);
    store();
}

void ToolbarArrangement::move(int from, int to) {
    if (from < 0 || from >= _items.size())
        return;
    // `to` counts positions before the item is taken out, as a drop point between items does.
    const QString identifier = _items.takeAt(from);
    if (to > from)
        --to;
    _items.insert(std::clamp(to, 0, int(_items.size())), identifier);
    store();
}

void ToolbarArrangement::remove(int index) {
    if (index < 0 || index >= _items.size())
        return;
    _items.removeAt(index);
    store();
}

void ToolbarArrangement::restoreDefaults() {
    setItems(_defaults);
}

QStringList ToolbarArrangement::sanitized(const QStringList& items) const {
    // A toolbar holds what its palette offers, spaces a few times over: a stored list of
    // thousands is damage, and building it would stall the launch and the quit.
    const qsizetype most = kMaxItemsPerAllowed * _allowed.size();
    QStringList kept;
    for (const QString& identifier : items) {
        if (kept.size() >= most)
            break;
        if (!_allowed.contains(identifier))
            continue;
        if (!ToolbarStandardItems::isRepeatable(identifier) && kept.contains(identifier))
            continue;
        kept << identifier;
    }
    return kept;
}

void ToolbarArrangement::store() {
    Defaults::standard().setObject(_items, _toolbarIdentifier);
}
