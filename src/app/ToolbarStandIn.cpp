#include "app/ToolbarStandIn.h"

#include "app/CustomizableToolbar.h"

#include <QHBoxLayout>

ToolbarStandIn::ToolbarStandIn(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("toolbarStandIn"));
    _layout = new QHBoxLayout(this);
    _layout->setContentsMargins(8, 4, 8, 4);
    _layout->setSpacing(8);
    _layout->addStretch(1);
    hide();
}

void ToolbarStandIn::follow(CustomizableToolbar* toolbar, QWidget* time,
                            const QString& timeIdentifier, QWidget* search,
                            const QString& searchIdentifier) {
    _toolbar = toolbar;
    _time = {time, timeIdentifier};
    _search = {search, searchIdentifier};
    if (toolbar) {
        connect(toolbar, &CustomizableToolbar::itemsRebuilt, this, &ToolbarStandIn::place);
        connect(toolbar, &QToolBar::visibilityChanged, this, &ToolbarStandIn::place);
    }
    place();
}

void ToolbarStandIn::place() {
    // Building the toolbar again announces itself: that call finds everything in place.
    if (_placing)
        return;
    _placing = true;
    const bool shown = _toolbar && _toolbar->isVisibleTo(_toolbar->window());
    const bool timeInPlace = placeOne(_time, shown);
    const bool searchInPlace = placeOne(_search, shown);
    if (!(timeInPlace && searchInPlace) && _toolbar)
        _toolbar->restoreConfiguration();
    bool hosting = false;
    for (const Hosted* hosted : {&_time, &_search})
        hosting = hosting || (hosted->widget && hosted->widget->parentWidget() == this);
    setVisible(hosting);
    _placing = false;
    emit placed();
}

bool ToolbarStandIn::placeOne(const Hosted& hosted, bool toolbarShown) {
    QWidget* widget = hosted.widget;
    if (!widget)
        return true;
    QAction* item = _toolbar ? _toolbar->itemWithIdentifier(hosted.identifier) : nullptr;
    if (toolbarShown && item)
        return widget->parentWidget() == _toolbar.data();
    // Taking the item out hands the widget back to its home; from there it comes here.
    if (item && _toolbar->actions().contains(item))
        _toolbar->removeAction(item);
    if (widget->parentWidget() != this) {
        widget->setParent(this);
        // The time display on the left, search on the right, the stretch between them.
        if (&hosted == &_time)
            _layout->insertWidget(0, widget);
        else
            _layout->addWidget(widget);
    }
    widget->show();
    return true;
}
