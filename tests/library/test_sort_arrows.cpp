// The sort arrow points the way the list is sorted: up with the smallest value on top.
#include "library/LibraryFixture.h"
#include "library/QBVTrackTableModel.h"
#include "library/SortArrowHeader.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>

namespace {
class SortArrows : public LibraryFixture {};

// Whether the arrow drawn for a header option points up: its top row of ink narrower than
// its bottom row.
bool drawsUpArrow(const QHeaderView& header, const QStyleOptionHeader& section) {
    QImage image(section.rect.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QStyleOptionHeader arrow = section;
    arrow.rect = QRect(QPoint(), section.rect.size());
    header.style()->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &arrow, &painter, &header);
    painter.end();
    int top = -1, bottom = -1, topInk = 0, bottomInk = 0;
    for (int y = 0; y < image.height(); ++y) {
        int ink = 0;
        for (int x = 0; x < image.width(); ++x)
            ink += qAlpha(image.pixel(x, y)) > 128;
        if (ink == 0)
            continue;
        if (top < 0) {
            top = y;
            topInk = ink;
        }
        bottom = y;
        bottomInk = ink;
    }
    return top >= 0 && bottom > top && topInk < bottomInk;
}
} // namespace

TEST_F(SortArrows, TheArrowPointsUpWhileTheSmallestValueIsOnTop) {
    launch();
    ui->window()->show();
    auto* sorted = qobject_cast<SortArrowHeader*>(table().horizontalHeader());
    ASSERT_NE(sorted, nullptr);
    SortArrowHeader& header = *sorted;
    for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        header.setSortIndicator(QBVTrackTableModel::NameColumn, order);
        QStyleOptionHeader option;
        header.initStyleOptionForIndex(&option, QBVTrackTableModel::NameColumn);
        option.rect = QRect(0, 0, 24, 24);
        EXPECT_NE(option.sortIndicator, QStyleOptionHeader::None);
        EXPECT_EQ(drawsUpArrow(header, option), order == Qt::AscendingOrder) << int(order);
    }
    // The list sorted newest first shows the arrow down.
    header.setSortIndicator(QBVTrackTableModel::DateColumn, Qt::DescendingOrder);
    EXPECT_EQ(list().sortOrder(), Qt::DescendingOrder);
}
