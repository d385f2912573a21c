#include "app/BVSplitView.h"

#include <QResizeEvent>

BVSplitView::BVSplitView(QWidget* parent) : QSplitter(parent) {
    // Moving the divider changes the lower pane's height, and so the least the window needs.
    connect(this, &QSplitter::splitterMoved, this, [this] { updateGeometry(); });
}

QSize BVSplitView::minimumSizeHint() const {
    const QSize least = QSplitter::minimumSizeHint();
    if (!_delegate || count() != 2 || orientation() != Qt::Vertical)
        return least;
    const int upper = widget(0)->minimumSizeHint().height();
    return QSize(least.width(), upper + handleWidth() + widget(1)->height());
}

void BVSplitView::resizeEvent(QResizeEvent* event) {
    // The first layout, before the panes have sizes of their own, is the splitter's.
    if (!_delegate || count() != 2 || !event->oldSize().isValid()) {
        QSplitter::resizeEvent(event);
        updateGeometry();
        return;
    }
    // The panes still have their old sizes here: the delegate reads them before any share-out.
    QFrame::resizeEvent(event);
    _delegate(this, event->oldSize());
}
