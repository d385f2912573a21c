#include "library/RenameEditing.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QTimerEvent>

namespace {
// Extensions a user may type to give a recording another kind of file's name on purpose.
bool isSoundExtension(const QString& extension) {
    static const QStringList known = {
        QStringLiteral("mov"),  QStringLiteral("mp3"),  QStringLiteral("m4a"),
        QStringLiteral("mp4"),  QStringLiteral("aac"),  QStringLiteral("wav"),
        QStringLiteral("aif"),  QStringLiteral("aiff"), QStringLiteral("caf"),
        QStringLiteral("flac"), QStringLiteral("ogg"),  QStringLiteral("oga"),
        QStringLiteral("opus"),
    };
    return known.contains(extension, Qt::CaseInsensitive);
}

QString extensionOf(const QString& name) {
    const int dot = RenameEditing::baseNameLength(name);
    return dot < name.size() ? name.mid(dot + 1) : QString();
}
} // namespace

namespace RenameEditing {

int baseNameLength(const QString& name) {
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    return dot > 0 ? dot : int(name.size());
}

QString nameKeepingExtension(const QString& oldName, const QString& typed) {
    const QString old = extensionOf(oldName);
    if (typed.isEmpty() || old.isEmpty())
        return typed;
    const QString given = extensionOf(typed);
    if (!given.isEmpty() &&
        (given.compare(old, Qt::CaseInsensitive) == 0 || isSoundExtension(given)))
        return typed;
    // "Name." means the name without more; the old extension follows the dot already there.
    if (typed.endsWith(QLatin1Char('.')))
        return typed + old;
    return typed + QLatin1Char('.') + old;
}

} // namespace RenameEditing

namespace {
// Selects the base name when the editor first shows: the view selects all of it after the
// delegate has filled it in.
class BaseNameSelector : public QObject {
public:
    explicit BaseNameSelector(QLineEdit* line) : QObject(line), _line(line) {
        line->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == _line && event->type() == QEvent::Show) {
            _line->setSelection(0, RenameEditing::baseNameLength(_line->text()));
            _line->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QLineEdit* _line;
};
} // namespace

QWidget* TrackNameDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        new BaseNameSelector(line);
    return editor;
}

void TrackNameDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    QStyledItemDelegate::setEditorData(editor, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setSelection(0, RenameEditing::baseNameLength(line->text()));
}

void TrackNameDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    const QString shown = index.data(Qt::EditRole).toString();
    model->setData(index, RenameEditing::nameKeepingExtension(shown, line->text()), Qt::EditRole);
}

ClickToRename::ClickToRename(QAbstractItemView* view, int nameColumn)
    : QObject(view), _view(view), _nameColumn(nameColumn) {
    setObjectName(QStringLiteral("clickToRename"));
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    watchSelection();
}

void ClickToRename::watchSelection() {
    if (QItemSelectionModel* selection = _view->selectionModel()) {
        connect(selection, &QItemSelectionModel::selectionChanged, this, &ClickToRename::cancel,
                Qt::UniqueConnection);
    }
    if (QAbstractItemModel* model = _view->model()) {
        // Rows that move under the click (a re-sort, a file that came or went) are not renamed.
        connect(model, &QAbstractItemModel::modelReset, this, &ClickToRename::cancel,
                Qt::UniqueConnection);
        connect(model, &QAbstractItemModel::layoutChanged, this, &ClickToRename::cancel,
                Qt::UniqueConnection);
    }
}

bool ClickToRename::isOnlySelectedRow(const QModelIndex& index) const {
    const QItemSelectionModel* selection = _view->selectionModel();
    if (!selection || !index.isValid())
        return false;
    const QModelIndexList rows = selection->selectedRows();
    return rows.size() == 1 && rows.first().row() == index.row();
}

void ClickToRename::cancel() {
    _timer.stop();
    _pending = QPersistentModelIndex();
}

void ClickToRename::openPendingEditor() {
    const QModelIndex index = _pending;
    cancel();
    // Only where the user still is: the list has the focus and the row is still the selection.
    const QWidget* focus = QApplication::focusWidget();
    const bool focused = focus && (focus == _view || _view->isAncestorOf(focus));
    if (!index.isValid() || !focused || !isOnlySelectedRow(index))
        return;
    _view->edit(index);
}

void ClickToRename::timerEvent(QTimerEvent* event) {
    if (event->timerId() == _timer.timerId())
        openPendingEditor();
}

bool ClickToRename::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        cancel();
        const auto* mouse = static_cast<QMouseEvent*>(event);
        _pressed = QPersistentModelIndex();
        if (watched != _view->viewport() || mouse->button() != Qt::LeftButton ||
            mouse->modifiers() != Qt::NoModifier)
            break;
        const QModelIndex index = _view->indexAt(mouse->position().toPoint());
        // Only a click on the name of the row that already is the whole selection, and that
        // the user chose: a row the program selected (a recording just finished) is clicked
        // to choose it, not to rename it.
        if (index.column() == _nameColumn && isOnlySelectedRow(index) && _chosen.isValid() &&
            _chosen.row() == index.row()) {
            _pressed = index;
            _pressedAt = mouse->position().toPoint();
        }
        _chosen = index;
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (_pressed.isValid() && (mouse->position().toPoint() - _pressedAt).manhattanLength() >=
                                      QApplication::startDragDistance())
            _pressed = QPersistentModelIndex(); // a drag
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex pressed = _pressed;
        _pressed = QPersistentModelIndex();
        if (watched != _view->viewport() || mouse->button() != Qt::LeftButton ||
            !pressed.isValid() || _view->indexAt(mouse->position().toPoint()) != pressed ||
            !isOnlySelectedRow(pressed))
            break;
        // A double-click would follow within this time; it plays instead.
        _pending = pressed;
        _timer.start(QApplication::doubleClickInterval() + 50, this);
        break;
    }
    case QEvent::KeyPress:
        _pressed = QPersistentModelIndex();
        cancel();
        // The row the keys move to is the user's choice; known once the view has moved.
        if (watched == _view)
            QTimer::singleShot(0, this, [this] { _chosen = _view->currentIndex(); });
        break;
    case QEvent::MouseButtonDblClick:
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::Wheel:
        _pressed = QPersistentModelIndex();
        cancel();
        break;
    default:
        break;
    }
    return false;
}
