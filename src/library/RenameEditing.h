#pragma once

#include <QBasicTimer>
#include <QObject>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

class QAbstractItemView;

// Renaming a recording in the list as file managers do it: the editor selects the name without
// its extension, a name typed without one keeps the old extension, and a click on the selected
// row opens the editor only if nothing else happened in the meantime.
namespace RenameEditing {

// How much of the name the editor selects: up to its last dot, unless that dot begins it
// (".hidden") or there is none.
int baseNameLength(const QString& name);

// The name a typed one becomes: as typed when it ends in the old extension or in one of a sound
// file; otherwise with the old extension added ("Interview with Anna" for "Take 1.mov" gives
// "Interview with Anna.mov", "Take 1.5" gives "Take 1.5.mov"). An empty name stays empty, to be
// refused as it is.
QString nameKeepingExtension(const QString& oldName, const QString& typed);

} // namespace RenameEditing

// The name column's editor: selects the base name and completes what is typed.
class TrackNameDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
};

// Click-to-rename for a list: a click on the name of the one selected row opens the editor a
// double-click's time later, unless by then the focus left the list, the selection changed, the
// click turned out to be a double-click (which plays) or a drag, or a key was pressed. A click
// in a multiple selection only narrows it, and one on a row the program selected (not the
// user) only chooses it.
class ClickToRename : public QObject {
    Q_OBJECT

public:
    // The view has its model already.
    ClickToRename(QAbstractItemView* view, int nameColumn);

    // Whether an editor waits to open.
    bool isPending() const { return _timer.isActive(); }
    // Opens the waiting editor now if it still may (the timer's end; tests call it directly).
    void openPendingEditor();
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    bool isOnlySelectedRow(const QModelIndex& index) const;
    void watchSelection();

    QAbstractItemView* _view;
    int _nameColumn;
    QPersistentModelIndex _pressed; // a press that may become a rename
    QPersistentModelIndex _pending; // the cell whose editor waits
    QPersistentModelIndex _chosen;  // the row the user last clicked or moved to
    QPoint _pressedAt;
    QBasicTimer _timer;
};
