#include "app/EmptyLibraryHint.h"

#include "platform/foundation/LocalizedString.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLabel>

EmptyLibraryHint::EmptyLibraryHint(QAbstractItemView* list, std::function<bool()> isEmpty)
    : QObject(list), _list(list), _viewport(list->viewport()), _isEmpty(std::move(isEmpty)),
      _label(new QLabel(BVLocalizedString("EmptyLibraryHint"), list->viewport())) {
    _label->setObjectName(QStringLiteral("emptyLibraryHint"));
    _label->setAlignment(Qt::AlignCenter);
    _label->setWordWrap(true);
    _label->setAttribute(Qt::WA_TransparentForMouseEvents);
    _label->setForegroundRole(QPalette::PlaceholderText);
    _viewport->installEventFilter(this);
    watchModel();
    update();
}

void EmptyLibraryHint::watchModel() {
    QAbstractItemModel* model = _list->model();
    if (!model)
        return;
    connect(model, &QAbstractItemModel::modelReset, this, &EmptyLibraryHint::update);
    connect(model, &QAbstractItemModel::layoutChanged, this, &EmptyLibraryHint::update);
    connect(model, &QAbstractItemModel::rowsInserted, this, &EmptyLibraryHint::update);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &EmptyLibraryHint::update);
}

void EmptyLibraryHint::update() {
    _label->setGeometry(_viewport->rect().adjusted(24, 0, -24, 0));
    _label->setVisible(_isEmpty());
}

bool EmptyLibraryHint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == _viewport && event->type() == QEvent::Resize)
        update();
    return QObject::eventFilter(watched, event);
}
