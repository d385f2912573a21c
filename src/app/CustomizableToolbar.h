#pragma once

#include "app/ToolbarArrangement.h"

#include <QPointer>
#include <QToolBar>
#include <QWidgetAction>

#include <functional>
#include <vector>

class ToolbarCustomizationOverlay;
#include "app/ToolbarPalette.h"

// A toolbar item that shows one long-lived widget of the window (the search field, the time
// display). Taking the item out of the toolbar hands the widget back to its home instead of
// destroying it, so the item can be built again whenever the arrangement changes.
class HostedWidgetAction : public QWidgetAction {
    Q_OBJECT

public:
    HostedWidgetAction(QWidget* widget, QObject* parent);
    QWidget* hostedWidget() const { return _widget; }

protected:
    QWidget* createWidget(QWidget* parent) override;
    void deleteWidget(QWidget* widget) override;

private:
    QPointer<QWidget> _widget;
    QPointer<QWidget> _home;
};

// A toolbar the user arranges: its items come from a delegate by identifier, in the order of a
// ToolbarArrangement kept in the defaults store. While its palette is open, items are dragged
// in from the palette, within the toolbar to reorder, and out of it to remove them.
class CustomizableToolbar : public QToolBar {
    Q_OBJECT

public:
    // Builds the item of an application identifier, or none for one it does not know.
    using ItemBuilder = std::function<QAction*(QToolBar*, const QString&, bool)>;

    CustomizableToolbar(const QString& identifier, const QStringList& defaultItems,
                        const QStringList& allowedItems, ItemBuilder builder,
                        QWidget* parent = nullptr);
    ~CustomizableToolbar() override;

    // The stored arrangement (or the default one), built.
    void restoreConfiguration();
    ToolbarArrangement& arrangement() { return _arrangement; }
    QStringList itemIdentifiers() const { return _arrangement.items(); }
    // The item shown for arrangement entry `index`, or none when its builder gave none.
    QAction* itemAt(int index) const;
    QAction* itemWithIdentifier(const QString& identifier) const;

    // Arrangement changes made by the palette and by drags; each is stored and rebuilt.
    void insertItem(const QString& identifier, int index);
    void moveItem(int from, int to);
    void removeItem(int index);
    void restoreDefaults();

    // A fresh item for the palette (the caller owns it), standard items included.
    QAction* paletteItem(const QString& identifier);
    static QString paletteLabel(const QAction* item);

    void runCustomizationPalette();
    ToolbarPalette* customizationPalette() const { return _palette; }
    bool isCustomizing() const;
    // The arrangement index a drop at `position` (toolbar coordinates) lands before.
    int insertionIndexAt(QPoint position) const;
    // The arrangement index of the item under `position`, or -1.
    int itemIndexAt(QPoint position) const;

signals:
    // The items were rebuilt: their states need validating again.
    void itemsRebuilt();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAction* buildItem(const QString& identifier, bool willBeInserted);
    void rebuild();
    void setCustomizing(bool on);

    ToolbarArrangement _arrangement;
    ItemBuilder _builder;
    std::vector<QAction*> _items; // one per arrangement entry; null where none was built
    QPointer<ToolbarPalette> _palette;
    ToolbarCustomizationOverlay* _overlay = nullptr;
    bool _customizing = false;
};

// The identifier of a toolbar item, as its builder named it.
QString toolbarItemIdentifier(const QAction* item);
