#pragma once

#include <QStyledItemDelegate>

#include <functional>

// The library table's category cell as a pop-up of the offered categories (the user list,
// a separator and the edit entry). A choice is set as the row's category at once; leaving
// the pop-up without a choice changes nothing.
class CategoryPopUpDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using Entries = std::function<QStringList()>;
    CategoryPopUpDelegate(Entries entries, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    Entries _entries;
};
