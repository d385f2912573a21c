#pragma once

#include <QPointer>
#include <QTableView>

#include <map>
#include <memory>

class Formatter;
class QKArrayController;
class QMimeData;

// Where a drop lands relative to its row.
enum class TableViewDropOperation { On, Above };

// What a drop carries and where the drag came from (null: another application).
struct DraggingInfo {
    const QMimeData* draggingPasteboard = nullptr;
    const QObject* draggingSource = nullptr;
};

// The library table. It shows the list controller's rows, lets recordings dragged out of it
// be copied by other applications, hands drops to the list controller, and announces its
// selection changes: "NSTableViewSelectionIsChangingNotification" while the list controller's
// selectedObjects() still answers the tracks being left, then
// "NSTableViewSelectionDidChangeNotification", the table being the object of both.
class QBVTableView : public QTableView {
    Q_OBJECT

public:
    // The role under which the model answers a column's identifier ("name", "size", ...).
    static constexpr int ColumnIdentifierRole = Qt::UserRole + 1;

    explicit QBVTableView(QWidget* parent = nullptr);
    ~QBVTableView() override;

    // The list controller that serves rows, drags and drops (set by the controller).
    void setArrayController(QKArrayController* controller);
    QKArrayController* arrayController() const { return _arrayController; }

    // -1 when no column has the identifier.
    int columnWithIdentifier(const QString& identifier) const;
    // The formatter of a column's cells, by the column's identifier.
    void setFormatterForColumn(const QString& identifier, std::shared_ptr<Formatter> formatter);
    Formatter* formatterForColumn(const QString& identifier) const;

    // Outside the application: copying only. Inside: every operation.
    Qt::DropActions draggingSourceOperationMaskForLocal(bool isLocal) const;

    // While set, selection changes are the list controller's own doing and post nothing here.
    void setSelectionNotificationsSuppressed(bool suppressed) { _suppressed = suppressed; }
    bool selectionNotificationsSuppressed() const { return _suppressed; }

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    Qt::DropAction validate(QDropEvent* event, int& row, TableViewDropOperation& operation);
    void showDropIndicator(bool visible);

    QPointer<QKArrayController> _arrayController;
    std::map<QString, std::shared_ptr<Formatter>> _formatters;
    bool _suppressed = false;
    bool _dropIndicatorVisible = false;
};
