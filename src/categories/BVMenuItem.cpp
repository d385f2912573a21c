#include "categories/BVMenuItem.h"

#include "categories/CategoryStore.h"

#include <QComboBox>

BVMenuItem::BVMenuItem(const QString& title, QObject* parent) : QAction(parent) {
    // A "&" in a category name is text, not a mnemonic marker.
    setText(QString(title).replace(QLatin1Char('&'), QLatin1String("&&")));
    setSeparator(title == CategoryStore::kSeparator);
}

bool BVMenuItem::isSeparatorItem() const {
    return isSeparator();
}

void BVMenuItem::addToPopUp(QComboBox* popUp, const QString& title) {
    if (title == CategoryStore::kSeparator)
        popUp->insertSeparator(popUp->count());
    else
        popUp->addItem(title);
}
