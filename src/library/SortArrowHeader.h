#pragma once

#include <QHeaderView>

// The list's column headers, whose sort arrow points the way the list is sorted: up while the
// smallest value is on top (ascending), down while the largest is, as file managers show it.
// Qt's own header hands the style the opposite.
class SortArrowHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit SortArrowHeader(QWidget* parent = nullptr);

    // What the style is told to draw for a section; public for the tests.
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};
