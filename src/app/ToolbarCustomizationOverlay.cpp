#include "app/ToolbarCustomizationOverlay.h"

#include "app/CustomizableToolbar.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

const QString ToolbarCustomizationOverlay::kIdentifierMimeType =
    QStringLiteral("application/x-brevoir-toolbar-item");
const QString ToolbarCustomizationOverlay::kSourceIndexMimeType =
    QStringLiteral("application/x-brevoir-toolbar-index");

ToolbarCustomizationOverlay::ToolbarCustomizationOverlay(CustomizableToolbar* toolbar)
    : QWidget(toolbar), _toolbar(toolbar) {
    setAcceptDrops(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ToolbarCustomizationOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen outline(palette().color(QPalette::Mid), 1, Qt::DashLine);
    painter.setPen(outline);
    const QStringList items = _toolbar->itemIdentifiers();
    for (int i = 0; i < items.size(); ++i) {
        QAction* item = _toolbar->itemAt(i);
        QWidget* widget = item ? _toolbar->widgetForAction(item) : nullptr;
        if (widget && widget->isVisible())
            painter.drawRect(widget->geometry().adjusted(0, 0, -1, -1));
    }
    if (_insertionX >= 0) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
        painter.drawLine(_insertionX, 2, _insertionX, height() - 3);
    }
}

void ToolbarCustomizationOverlay::mousePressEvent(QMouseEvent* event) {
    _pressedAt = event->position().toPoint();
    _pressedIndex = event->button() == Qt::LeftButton ? _toolbar->itemIndexAt(_pressedAt) : -1;
}

void ToolbarCustomizationOverlay::mouseMoveEvent(QMouseEvent* event) {
    if (_pressedIndex < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - _pressedAt).manhattanLength() <
        QApplication::startDragDistance())
        return;
    const int from = _pressedIndex;
    _pressedIndex = -1;
    QAction* item = _toolbar->itemAt(from);
    if (!item)
        return;
    auto* mime = new QMimeData;
    mime->setData(kIdentifierMimeType, toolbarItemIdentifier(item).toUtf8());
    mime->setData(kSourceIndexMimeType, QByteArray::number(from));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    if (QWidget* widget = _toolbar->widgetForAction(item))
        drag->setPixmap(widget->grab());
    drag->exec(Qt::MoveAction);
    // Dropped anywhere but on this toolbar (the palette, the desktop): the item is removed.
    if (drag->target() != this)
        _toolbar->removeItem(from);
}

void ToolbarCustomizationOverlay::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasFormat(kIdentifierMimeType))
        return;
    event->acceptProposedAction();
    showInsertionAt(event->position().toPoint());
}

void ToolbarCustomizationOverlay::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasFormat(kIdentifierMimeType))
        return;
    event->acceptProposedAction();
    showInsertionAt(event->position().toPoint());
}

void ToolbarCustomizationOverlay::dragLeaveEvent(QDragLeaveEvent*) {
    _insertionX = -1;
    update();
}

void ToolbarCustomizationOverlay::dropEvent(QDropEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (!mime->hasFormat(kIdentifierMimeType))
        return;
    _insertionX = -1;
    const int to = _toolbar->insertionIndexAt(event->position().toPoint());
    event->acceptProposedAction();
    if (mime->hasFormat(kSourceIndexMimeType) && event->source() == this) {
        _toolbar->moveItem(mime->data(kSourceIndexMimeType).toInt(), to);
        return;
    }
    _toolbar->insertItem(QString::fromUtf8(mime->data(kIdentifierMimeType)), to);
}

void ToolbarCustomizationOverlay::showInsertionAt(QPoint position) {
    const int index = _toolbar->insertionIndexAt(position);
    int x = 0;
    QAction* item = nullptr;
    for (int i = index; i < _toolbar->itemIdentifiers().size() && !item; ++i)
        item = _toolbar->itemAt(i);
    if (QWidget* widget = item ? _toolbar->widgetForAction(item) : nullptr) {
        x = widget->geometry().left();
    } else {
        // After the last item.
        for (int i = index - 1; i >= 0 && !item; --i)
            item = _toolbar->itemAt(i);
        QWidget* last = item ? _toolbar->widgetForAction(item) : nullptr;
        x = last ? last->geometry().right() + 1 : 2;
    }
    _insertionX = x;
    update();
}
