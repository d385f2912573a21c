#pragma once

#include <QAbstractTableModel>

class QKArrayController;

// The rows of the library table: the list controller's arranged tracks, in their order.
// Sorting asks the controller to re-arrange, so that what the table shows is exactly
// arrangedObjects().
class QBVTrackTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        PlayingColumn,
        NameColumn,
        CategoryColumn,
        DateColumn,
        SizeColumn,
        DurationColumn,
        ColumnCount
    };

    explicit QBVTrackTableModel(QKArrayController* controller);

    static QString identifierOfColumn(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order) override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

    // The controller tells the model about its changes.
    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void beginAppend(int row) { beginInsertRows({}, row, row); }
    void endAppend() { endInsertRows(); }
    void beginRemove(int row) { beginRemoveRows({}, row, row); }
    void endRemove() { endRemoveRows(); }
    void refreshRow(int row);

private:
    QString displayText(int row, int column) const;
    QKArrayController* _controller;
};
