#include "app/CustomizableToolbar.h"

#include "app/ToolbarCustomizationOverlay.h"
#include "app/ToolbarPalette.h"
#include "platform/foundation/LocalizedString.h"

#include <QContextMenuEvent>
#include <QIcon>
#include <QMenu>
#include <QStyle>

namespace {
const char* const kIdentifierProperty = "toolbarItemIdentifier";
const char* const kPaletteLabelProperty = "paletteLabel";

// A space of the toolbar: fixed, or taking what the other items leave.
class SpaceAction : public QWidgetAction {
public:
    SpaceAction(bool flexible, QObject* parent) : QWidgetAction(parent), _flexible(flexible) {}

protected:
    QWidget* createWidget(QWidget* parent) override {
        auto* space = new QWidget(parent);
        if (_flexible)
            space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        else
            space->setFixedWidth(16);
        space->setMinimumHeight(8);
        return space;
    }

private:
    bool _flexible;
};
} // namespace

QString toolbarItemIdentifier(const QAction* item) {
    return item ? item->property(kIdentifierProperty).toString() : QString();
}

HostedWidgetAction::HostedWidgetAction(QWidget* widget, QObject* parent)
    : QWidgetAction(parent), _widget(widget), _home(widget ? widget->parentWidget() : nullptr) {}

QWidget* HostedWidgetAction::createWidget(QWidget* parent) {
    if (!_widget)
        return nullptr;
    _widget->setParent(parent);
    _widget->show();
    return _widget;
}

void HostedWidgetAction::deleteWidget(QWidget* widget) {
    // The widget belongs to the window: it goes home, hidden, to be shown again later.
    if (!_home) {
        QWidgetAction::deleteWidget(widget);
        return;
    }
    widget->hide();
    widget->setParent(_home);
}

CustomizableToolbar::CustomizableToolbar(const QString& identifier, const QStringList& defaultItems,
                                         const QStringList& allowedItems, ItemBuilder builder,
                                         QWidget* parent)
    : QToolBar(parent), _arrangement(identifier, defaultItems, allowedItems),
      _builder(std::move(builder)) {
    setObjectName(identifier);
    _overlay = new ToolbarCustomizationOverlay(this);
    _overlay->hide();
}

CustomizableToolbar::~CustomizableToolbar() {
    // Hiding while it goes must not reach those who follow it: its items are gone by then.
    blockSignals(true);
    // The hosted widgets go with the toolbar: the window they belong to is going too.
    if (_palette)
        delete _palette;
}

void CustomizableToolbar::restoreConfiguration() {
    _arrangement.restore();
    rebuild();
}

QAction* CustomizableToolbar::itemAt(int index) const {
    return index >= 0 && size_t(index) < _items.size() ? _items[size_t(index)] : nullptr;
}

QAction* CustomizableToolbar::itemWithIdentifier(const QString& identifier) const {
    for (QAction* item : _items)
        if (item && toolbarItemIdentifier(item) == identifier)
            return item;
    return nullptr;
}

void CustomizableToolbar::insertItem(const QString& identifier, int index) {
    _arrangement.insert(identifier, index);
    rebuild();
}

void CustomizableToolbar::moveItem(int from, int to) {
    _arrangement.move(from, to);
    rebuild();
}

void CustomizableToolbar::removeItem(int index) {
    _arrangement.remove(index);
    rebuild();
}

void CustomizableToolbar::restoreDefaults() {
    _arrangement.restoreDefaults();
    rebuild();
}

QAction* CustomizableToolbar::paletteItem(const QString& identifier) {
    return buildItem(identifier, false);
}

QString CustomizableToolbar::paletteLabel(const QAction* item) {
    const QVariant label = item->property(kPaletteLabelProperty);
    return label.isValid() ? label.toString() : item->text();
}

QAction* CustomizableToolbar::buildItem(const QString& identifier, bool willBeInserted) {
    using namespace ToolbarStandardItems;
    QAction* item = nullptr;
    QString label;
    if (identifier == Space || identifier == FlexibleSpace) {
        item = new SpaceAction(identifier == FlexibleSpace, this);
        label = BVLocalizedString(identifier == Space ? "Space" : "FlexibleSpace");
    } else if (identifier == Separator) {
        item = new QAction(this);
        item->setSeparator(true);
        label = BVLocalizedString("Separator");
    } else if (identifier == Customize) {
        label = BVLocalizedString("Customize");
        item = new QAction(QIcon::fromTheme(QStringLiteral("preferences-system"),
                                            style()->standardIcon(QStyle::SP_DesktopIcon)),
                           label, this);
        connect(item, &QAction::triggered, this, &CustomizableToolbar::runCustomizationPalette);
    } else if (_builder) {
        item = _builder(this, identifier, willBeInserted);
        if (!item)
            return nullptr;
    }
    if (!item)
        return nullptr;
    item->setProperty(kIdentifierProperty, identifier);
    if (!label.isEmpty())
        item->setProperty(kPaletteLabelProperty, label);
    return item;
}

void CustomizableToolbar::rebuild() {
    // Taking the items out first hands hosted widgets back before their items go.
    for (QAction* item : actions())
        removeAction(item);
    for (QAction* item : _items)
        delete item;
    _items.clear();
    for (const QString& identifier : _arrangement.items()) {
        QAction* item = buildItem(identifier, true);
        if (item)
            addAction(item);
        _items.push_back(item);
    }
    if (_customizing) {
        _overlay->raise();
        _overlay->update();
    }
    emit itemsRebuilt();
}

void CustomizableToolbar::runCustomizationPalette() {
    if (!_palette) {
        _palette = new ToolbarPalette(this, parentWidget());
        connect(_palette, &QDialog::finished, this, [this] { setCustomizing(false); });
    }
    setCustomizing(true);
    _palette->show();
    _palette->raise();
    _palette->activateWindow();
}

bool CustomizableToolbar::isCustomizing() const {
    return _customizing;
}

void CustomizableToolbar::setCustomizing(bool on) {
    _customizing = on;
    if (on) {
        show();
        _overlay->setGeometry(rect());
        _overlay->show();
        _overlay->raise();
    } else {
        _overlay->hide();
    }
}

int CustomizableToolbar::insertionIndexAt(QPoint position) const {
    for (size_t i = 0; i < _items.size(); ++i) {
        QWidget* widget = _items[i] ? widgetForAction(_items[i]) : nullptr;
        if (widget && widget->isVisible() && position.x() < widget->geometry().center().x())
            return int(i);
    }
    return int(_items.size());
}

int CustomizableToolbar::itemIndexAt(QPoint position) const {
    for (size_t i = 0; i < _items.size(); ++i) {
        QWidget* widget = _items[i] ? widgetForAction(_items[i]) : nullptr;
        if (widget && widget->isVisible() && widget->geometry().contains(position))
            return int(i);
    }
    return -1;
}

void CustomizableToolbar::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    connect(menu.addAction(BVLocalizedString("CustomizeToolbarMenu")), &QAction::triggered, this,
            &CustomizableToolbar::runCustomizationPalette);
    menu.exec(event->globalPos());
    event->accept();
}

void CustomizableToolbar::resizeEvent(QResizeEvent* event) {
    QToolBar::resizeEvent(event);
    _overlay->setGeometry(rect());
}
