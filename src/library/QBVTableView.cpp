#include "library/QBVTableView.h"

#include "library/Formatter.h"
#include "library/QKArrayController.h"
#include "platform/foundation/NotificationCenter.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>

QBVTableView::QBVTableView(QWidget* parent) : QTableView(parent) {}

QBVTableView::~QBVTableView() = default;

void QBVTableView::setArrayController(QKArrayController* controller) {
    _arrayController = controller;
}

int QBVTableView::columnWithIdentifier(const QString& identifier) const {
    if (!model())
        return -1;
    for (int column = 0; column < model()->columnCount(); ++column) {
        if (model()->headerData(column, Qt::Horizontal, ColumnIdentifierRole).toString() ==
            identifier)
            return column;
    }
    return -1;
}

void QBVTableView::setFormatterForColumn(const QString& identifier,
                                         std::shared_ptr<Formatter> formatter) {
    _formatters[identifier] = std::move(formatter);
    viewport()->update();
}

Formatter* QBVTableView::formatterForColumn(const QString& identifier) const {
    const auto found = _formatters.find(identifier);
    return found == _formatters.end() ? nullptr : found->second.get();
}

Qt::DropActions QBVTableView::draggingSourceOperationMaskForLocal(bool isLocal) const {
    if (!isLocal)
        return Qt::CopyAction;
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

void QBVTableView::startDrag(Qt::DropActions) {
    if (!model() || !selectionModel())
        return;
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    QMimeData* paths = model()->mimeData(rows);
    if (!paths)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(paths);
    // Where the drag ends is not known when it starts; the only place inside the application
    // that takes files, this table, refuses its own rows. So: copies.
    drag->exec(draggingSourceOperationMaskForLocal(false), Qt::CopyAction);
}

Qt::DropAction QBVTableView::validate(QDropEvent* event, int& row,
                                      TableViewDropOperation& operation) {
    if (!_arrayController || !event->mimeData() || !event->mimeData()->hasUrls())
        return Qt::IgnoreAction;
    row = rowAt(event->position().toPoint().y());
    operation = TableViewDropOperation::Above;
    const DraggingInfo info{event->mimeData(), event->source()};
    return _arrayController->tableViewValidateDropProposedRowProposedDropOperation(this, info, row,
                                                                                   operation);
}

void QBVTableView::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void QBVTableView::dragMoveEvent(QDragMoveEvent* event) {
    int row = -1;
    TableViewDropOperation operation = TableViewDropOperation::Above;
    const Qt::DropAction action = validate(event, row, operation);
    if (action == Qt::IgnoreAction || !(event->possibleActions() & action)) {
        showDropIndicator(false);
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
    showDropIndicator(true);
}

void QBVTableView::dragLeaveEvent(QDragLeaveEvent* event) {
    showDropIndicator(false);
    event->accept();
}

void QBVTableView::dropEvent(QDropEvent* event) {
    showDropIndicator(false);
    int row = -1;
    TableViewDropOperation operation = TableViewDropOperation::Above;
    const Qt::DropAction action = validate(event, row, operation);
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    const DraggingInfo info{event->mimeData(), event->source()};
    _arrayController->tableViewAcceptDropRowDropOperation(this, info, row, operation);
    event->setDropAction(action);
    event->accept();
}

void QBVTableView::showDropIndicator(bool visible) {
    if (visible == _dropIndicatorVisible)
        return;
    _dropIndicatorVisible = visible;
    viewport()->update();
}

void QBVTableView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!_dropIndicatorVisible || !model())
        return;
    // Drops always land after the last row: mark that place.
    const int rows = model()->rowCount();
    const int y = rows > 0 ? rowViewportPosition(rows - 1) + rowHeight(rows - 1) : 1;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().highlight(), 2));
    painter.drawLine(0, y, viewport()->width(), y);
}

void QBVTableView::focusInEvent(QFocusEvent* event) {
    const bool hadCurrent = currentIndex().isValid();
    QTableView::focusInEvent(event);
    if (!model() || !selectionModel() || model()->rowCount() == 0 ||
        selectionModel()->hasSelection())
        return;
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
        // Tabbed to with nothing selected: the row under the cursor is selected, so that Space
        // plays it and the note shows it.
        QModelIndex row = currentIndex();
        if (!row.isValid())
            row = model()->index(0, 0);
        selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
    } else if (!hadCurrent && reason != Qt::MouseFocusReason) {
        // No cursor on a row that is not selected (the view puts one on the first): then the
        // first arrow key, or Home, selects the first row instead of passing it by.
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

void QBVTableView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    if (_suppressed)
        return;
    if (_arrayController) {
        // The controller posts around the moment its own selection changes.
        _arrayController->tableViewSelectionChanged(this);
        return;
    }
    auto& center = NotificationCenter::defaultCenter();
    center.post(QStringLiteral("NSTableViewSelectionIsChangingNotification"), this);
    center.post(QStringLiteral("NSTableViewSelectionDidChangeNotification"), this);
}
