#include "categories/CategoryPopUpDelegate.h"

#include "categories/BVMenuItem.h"

#include <QComboBox>

namespace {
// Set on the pop-up once the user picked an entry: only a real choice is written back.
constexpr char kChosen[] = "categoryChosen";
} // namespace

CategoryPopUpDelegate::CategoryPopUpDelegate(Entries entries, QObject* parent)
    : QStyledItemDelegate(parent), _entries(std::move(entries)) {}

QWidget* CategoryPopUpDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                             const QModelIndex&) const {
    auto* popUp = new QComboBox(parent);
    for (const QString& entry : _entries())
        BVMenuItem::addToPopUp(popUp, entry);
    connect(popUp, &QComboBox::activated, this, [this, popUp] {
        popUp->setProperty(kChosen, true);
        auto* self = const_cast<CategoryPopUpDelegate*>(this);
        emit self->commitData(popUp);
        emit self->closeEditor(popUp);
    });
    return popUp;
}

void CategoryPopUpDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* popUp = qobject_cast<QComboBox*>(editor);
    if (!popUp)
        return;
    const QString current = index.data(Qt::EditRole).toString();
    popUp->setCurrentIndex(current.isEmpty() ? -1 : popUp->findText(current, Qt::MatchExactly));
}

void CategoryPopUpDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                         const QModelIndex& index) const {
    auto* popUp = qobject_cast<QComboBox*>(editor);
    if (!popUp || !popUp->property(kChosen).toBool() || popUp->currentIndex() < 0)
        return;
    popUp->setProperty(kChosen, false);
    model->setData(index, popUp->currentText(), Qt::EditRole);
}
