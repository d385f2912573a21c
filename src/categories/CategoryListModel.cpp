#include "categories/CategoryListModel.h"

#include "app/BVController.h"
#include "platform/foundation/LocalizedString.h"

#include <QTableView>

CategoryListModel::CategoryListModel(BVController& controller, QTableView* table)
    : QAbstractListModel(table), _controller(controller), _table(table) {}

int CategoryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : _controller.numberOfRowsInTableView(_table);
}

QVariant CategoryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return _controller.tableViewObjectValueForTableColumnRow(_table, index.column(), index.row());
}

bool CategoryListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= rowCount())
        return false;
    _controller.tableViewSetObjectValueForTableColumnRow(_table, value.toString(), index.column(),
                                                         index.row());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags CategoryListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

QVariant CategoryListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return BVLocalizedString("CategoryColumn");
    return {};
}

void CategoryListModel::reloadData() {
    beginResetModel();
    endResetModel();
}
