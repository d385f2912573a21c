#pragma once

#include "library/QBVTableView.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class FileCopyJob;
class QBVTrack;
class QBVTrackTableModel;
class QMimeData;

// The list controller over the file list: filters by the search text, sorts, keeps the
// selection on the same tracks, and serves the library table (it is the table's model
// source). Recordings dragged out of the table leave as file URLs; sound files dropped on it
// are copied into the library's "Recordings" folder.
class QKArrayController : public QObject {
    Q_OBJECT

public:
    using TrackList = std::vector<std::shared_ptr<QBVTrack>>;

    explicit QKArrayController(QObject* parent = nullptr);
    ~QKArrayController() override;

    // Outlet: the library table (cleared when the table goes first at teardown).
    QPointer<QBVTableView> tableView;
    // Gives the table its model, columns and drag and drop; newest recordings first.
    void awakeFromNib();

    // The content is the file list itself (not a copy); adding and removing change it.
    void setContent(TrackList* content);
    TrackList* content() const { return _content; }

    void addObject(const std::shared_ptr<QBVTrack>& track);
    void removeObject(const std::shared_ptr<QBVTrack>& track);
    void rearrangeObjects();
    // The tracks the table shows, in the order shown; rows index into it.
    const TrackList& arrangedObjects() const { return _arranged; }
    // The selected tracks, in the order shown.
    TrackList selectedObjects() const { return _selection; }
    // Rows of arrangedObjects(), ascending.
    QList<int> selectionIndexes() const;
    bool setSelectedObjects(const TrackList& tracks);
    bool setSelectionIndexes(const QList<int>& rows);

    // Sorting: a column of the table (QBVTrackTableModel::Column) and a direction.
    void setSortDescriptor(int column, Qt::SortOrder order);
    int sortColumn() const { return _sortColumn; }
    Qt::SortOrder sortOrder() const { return _sortOrder; }

    // The search filter, then the sort.
    TrackList arrangeObjects(const TrackList& objects) const;
    // Takes the sender's text (a QLineEdit) as the search text and re-arranges.
    void search(QObject* sender);
    void setSearchString(const QString& searchString);

    // Drag and drop, as the table's data source.
    bool tableViewWriteRowsWithIndexesToPasteboard(QBVTableView* table, const QList<int>& rows,
                                                   QMimeData* pasteboard);
    Qt::DropAction tableViewValidateDropProposedRowProposedDropOperation(
        QBVTableView* table, const DraggingInfo& info, int& row, TableViewDropOperation& operation);
    bool tableViewAcceptDropRowDropOperation(QBVTableView* table, const DraggingInfo& info, int row,
                                             TableViewDropOperation operation);

    // Called by the table when the user changed its selection.
    void tableViewSelectionChanged(QBVTableView* table);

    QBVTrackTableModel* model() const { return _model; }
    // Copies of drops still running.
    int pendingCopies() const { return _pendingCopies; }

signals:
    // A drop's copy has ended and the new files are listed.
    void dropCopyFinished();

private:
    template <typename Change> void changeKeepingSelection(Change change);
    TrackList selectionFromTable() const;
    void selectInTable(const TrackList& tracks);
    void commitSelection(TrackList selection);
    void configureColumns();
    void copyDroppedFiles(const QStringList& paths);
    void finishCopy(FileCopyJob* job);

    TrackList* _content = nullptr;
    TrackList _arranged;
    TrackList _selection;
    QString searchString;
    QBVTrackTableModel* _model = nullptr;
    int _sortColumn = -1;
    Qt::SortOrder _sortOrder = Qt::AscendingOrder;
    int _pendingCopies = 0;
};
