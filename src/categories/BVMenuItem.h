#pragma once

#include <QAction>

class QComboBox;

// A menu item whose title "-" makes it a separator line, so that "-" entries of a category
// list show as separators wherever the list is offered.
class BVMenuItem : public QAction {
    Q_OBJECT

public:
    BVMenuItem(const QString& title, QObject* parent);

    bool isSeparatorItem() const;

    // The same rule for a pop-up: "-" adds a separator, anything else an entry.
    static void addToPopUp(QComboBox* popUp, const QString& title);
};
