#pragma once

#include <QPointer>
#include <QWidget>

class CustomizableToolbar;
class QHBoxLayout;

// A strip above the list that shows the time display and the search field whenever the toolbar
// does not: while it is hidden, or after its user took their items out of it. So the clock, the
// meter and search stay within reach, and Find always has a field to go to.
class ToolbarStandIn : public QWidget {
    Q_OBJECT

public:
    explicit ToolbarStandIn(QWidget* parent = nullptr);

    // The toolbar and the two widgets it hosts under their item identifiers.
    void follow(CustomizableToolbar* toolbar, QWidget* time, const QString& timeIdentifier,
                QWidget* search, const QString& searchIdentifier);

    // Puts each widget where it shows: in the toolbar when that shows its item, here otherwise.
    void place();

signals:
    // The widgets may have moved: what can act (Find) may have changed.
    void placed();

private:
    struct Hosted {
        QPointer<QWidget> widget;
        QString identifier;
    };
    // False when the toolbar has to be built again to take the widget back.
    bool placeOne(const Hosted& hosted, bool toolbarShown);

    QPointer<CustomizableToolbar> _toolbar;
    Hosted _time;
    Hosted _search;
    QHBoxLayout* _layout = nullptr;
    bool _placing = false;
};
