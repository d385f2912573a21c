#pragma once

#include <QAbstractListModel>

class BVController;
class QTableView;

// The category editor's table: one row per entry of the user list, edited in place. Every
// question goes to the controller, the table's data source.
class CategoryListModel : public QAbstractListModel {
    Q_OBJECT

public:
    CategoryListModel(BVController& controller, QTableView* table);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list changed: the table asks again.
    void reloadData();

private:
    BVController& _controller;
    QTableView* _table;
};
