#include "library/QKArrayController.h"

#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QBVTrackTableModel.h"
#include "library/RenameEditing.h"
#include "library/SortArrowHeader.h"
#include "platform/foundation/NotificationCenter.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>
#include <numeric>
#include <unordered_set>

namespace {

using TrackList = QKArrayController::TrackList;

bool before(const QString& a, const QString& b) {
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}
template <typename T> bool before(const T& a, const T& b) {
    return a < b;
}

// Stable, so that equal keys keep the order of the file list in both directions.
template <typename Key> void sortBy(TrackList& tracks, Qt::SortOrder order, Key key) {
    using Value = decltype(key(*tracks.front()));
    std::vector<Value> keys;
    keys.reserve(tracks.size());
    for (const auto& track : tracks)
        keys.push_back(key(*track));
    std::vector<size_t> positions(tracks.size());
    std::iota(positions.begin(), positions.end(), size_t(0));
    if (order == Qt::AscendingOrder) {
        std::stable_sort(positions.begin(), positions.end(),
                         [&keys](size_t a, size_t b) { return before(keys[a], keys[b]); });
    } else {
        std::stable_sort(positions.begin(), positions.end(),
                         [&keys](size_t a, size_t b) { return before(keys[b], keys[a]); });
    }
    TrackList sorted;
    sorted.reserve(tracks.size());
    for (size_t position : positions)
        sorted.push_back(std::move(tracks[position]));
    tracks = std::move(sorted);
}

void sortTracks(TrackList& tracks, int column, Qt::SortOrder order) {
    if (tracks.size() < 2)
        return;
    switch (column) {
    case QBVTrackTableModel::PlayingColumn:
        sortBy(tracks, order, [](const QBVTrack& t) { return t.isPlaying(); });
        break;
    case QBVTrackTableModel::NameColumn:
        sortBy(tracks, order, [](const QBVTrack& t) { return t.name(); });
        break;
    case QBVTrackTableModel::CategoryColumn:
        sortBy(tracks, order, [](const QBVTrack& t) { return t.category(); });
        break;
    case QBVTrackTableModel::DateColumn:
        sortBy(tracks, order, [](const QBVTrack& t) {
            return t.date() && t.date()->isValid() ? t.date()->toMSecsSinceEpoch()
                                                   : std::numeric_limits<qint64>::min();
        });
        break;
    case QBVTrackTableModel::SizeColumn:
        sortBy(tracks, order, [](const QBVTrack& t) { return t.size().value_or(0); });
        break;
    case QBVTrackTableModel::DurationColumn:
        sortBy(tracks, order, [](const QBVTrack& t) { return t.duration().value_or(-1.0f); });
        break;
    default:
        break;
    }
}

bool sameTracks(const TrackList& a, const TrackList& b) {
    if (a.size() != b.size())
        return false;
    std::unordered_set<const QBVTrack*> members;
    for (const auto& track : a)
        members.insert(track.get());
    return std::all_of(b.begin(), b.end(),
                       [&members](const auto& track) { return members.count(track.get()) > 0; });
}

// Keeps the table's own selection changes quiet while the controller makes them.
class QuietTable {
public:
    explicit QuietTable(QBVTableView* table)
        : _table(table), _was(table && table->selectionNotificationsSuppressed()) {
        if (_table)
            _table->setSelectionNotificationsSuppressed(true);
    }
    ~QuietTable() {
        if (_table)
            _table->setSelectionNotificationsSuppressed(_was);
    }
    QuietTable(const QuietTable&) = delete;
    QuietTable& operator=(const QuietTable&) = delete;

private:
    QBVTableView* _table;
    bool _was;
};

} // namespace

QKArrayController::QKArrayController(QObject* parent)
    : QObject(parent), _model(new QBVTrackTableModel(this)) {}

QKArrayController::~QKArrayController() = default;

void QKArrayController::awakeFromNib() {
    if (!tableView)
        return;
    tableView->setArrayController(this);
    tableView->setModel(_model);
    configureColumns();
    // Drops of files only, always copied in; rows leave as files.
    tableView->setDragEnabled(true);
    tableView->setAcceptDrops(true);
    tableView->viewport()->setAcceptDrops(true);
    tableView->setDragDropMode(QAbstractItemView::DragDrop);
    tableView->setDefaultDropAction(Qt::CopyAction);
    tableView->setDropIndicatorShown(false);
    // Double-click plays; F2, or a click on the name of the one selected row, renames. The
    // click is ours, not the view's: its editor would open wherever the focus went meanwhile.
    tableView->setEditTriggers(QAbstractItemView::EditKeyPressed);
    tableView->setItemDelegateForColumn(QBVTrackTableModel::NameColumn,
                                        new TrackNameDelegate(tableView));
    new ClickToRename(tableView, QBVTrackTableModel::NameColumn);
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tableView->setSortingEnabled(true);
    tableView->sortByColumn(QBVTrackTableModel::DateColumn, Qt::DescendingOrder);
}

void QKArrayController::configureColumns() {
    tableView->setHorizontalHeader(new SortArrowHeader(tableView));
    QHeaderView* header = tableView->horizontalHeader();
    const QFontMetrics metrics = tableView->fontMetrics();
    const int padding = 3 * metrics.averageCharWidth();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(QBVTrackTableModel::NameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(QBVTrackTableModel::PlayingColumn, QHeaderView::Fixed);
    header->setMinimumSectionSize(std::min(header->minimumSectionSize(), 16));
    header->resizeSection(QBVTrackTableModel::PlayingColumn, 16 + metrics.averageCharWidth());
    header->resizeSection(QBVTrackTableModel::CategoryColumn,
                          metrics.horizontalAdvance(QStringLiteral("Category name")) + padding);
    const QString sampleDate =
        QLocale().toString(QDateTime(QDate(2000, 12, 30), QTime(23, 59)), QLocale::ShortFormat);
    header->resizeSection(QBVTrackTableModel::DateColumn,
                          metrics.horizontalAdvance(sampleDate) + padding);
    header->resizeSection(QBVTrackTableModel::SizeColumn,
                          metrics.horizontalAdvance(QStringLiteral("1023.9 MB")) + padding);
    header->resizeSection(QBVTrackTableModel::DurationColumn,
                          metrics.horizontalAdvance(QStringLiteral("00:00:00.00")) + padding);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);
    // Fixed row heights keep a table of thousands of recordings quick to reset.
    QHeaderView* rows = tableView->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(metrics.height() + 6);
    rows->hide();
}

void QKArrayController::setContent(TrackList* content) {
    _content = content;
    rearrangeObjects();
}

void QKArrayController::addObject(const std::shared_ptr<QBVTrack>& track) {
    if (!track)
        return;
    if (_content)
        _content->push_back(track);
    // Shown at the end until the next re-arrangement sorts and filters it.
    const int row = int(_arranged.size());
    _model->beginAppend(row);
    _arranged.push_back(track);
    _model->endAppend();
}

void QKArrayController::removeObject(const std::shared_ptr<QBVTrack>& track) {
    if (!track)
        return;
    if (_content)
        std::erase(*_content, track);
    changeKeepingSelection([this, &track] {
        const auto found = std::find(_arranged.begin(), _arranged.end(), track);
        if (found == _arranged.end())
            return;
        const int row = int(found - _arranged.begin());
        _model->beginRemove(row);
        _arranged.erase(found);
        _model->endRemove();
    });
}

void QKArrayController::rearrangeObjects() {
    changeKeepingSelection([this] {
        TrackList arranged = arrangeObjects(_content ? *_content : TrackList{});
        _model->beginReset();
        _arranged = std::move(arranged);
        _model->endReset();
    });
}

template <typename Change> void QKArrayController::changeKeepingSelection(Change change) {
    const TrackList previous = _selection;
    std::shared_ptr<QBVTrack> current;
    int currentColumn = QBVTrackTableModel::NameColumn;
    if (tableView && tableView->currentIndex().isValid()) {
        const QModelIndex index = tableView->currentIndex();
        if (size_t(index.row()) < _arranged.size())
            current = _arranged[size_t(index.row())];
        currentColumn = index.column();
    }
    {
        const QuietTable quiet(tableView);
        change();
        selectInTable(previous);
        if (current && tableView && tableView->selectionModel()) {
            const auto found = std::find(_arranged.begin(), _arranged.end(), current);
            if (found != _arranged.end()) {
                tableView->selectionModel()->setCurrentIndex(
                    _model->index(int(found - _arranged.begin()), currentColumn),
                    QItemSelectionModel::NoUpdate);
            }
        }
    }
    if (tableView && tableView->selectionModel()) {
        commitSelection(selectionFromTable());
        return;
    }
    std::unordered_set<const QBVTrack*> kept;
    for (const auto& track : previous)
        kept.insert(track.get());
    TrackList still;
    for (const auto& track : _arranged) {
        if (kept.count(track.get()))
            still.push_back(track);
    }
    commitSelection(std::move(still));
}

TrackList QKArrayController::selectionFromTable() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : tableView->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    TrackList tracks;
    tracks.reserve(rows.size());
    for (int row : rows) {
        if (row >= 0 && size_t(row) < _arranged.size())
            tracks.push_back(_arranged[size_t(row)]);
    }
    return tracks;
}

void QKArrayController::selectInTable(const TrackList& tracks) {
    if (!tableView || !tableView->selectionModel())
        return;
    std::unordered_set<const QBVTrack*> wanted;
    for (const auto& track : tracks)
        wanted.insert(track.get());
    QItemSelection selection;
    const int last = QBVTrackTableModel::ColumnCount - 1;
    int start = -1;
    for (int row = 0; row <= int(_arranged.size()); ++row) {
        const bool in =
            size_t(row) < _arranged.size() && wanted.count(_arranged[size_t(row)].get());
        if (in && start < 0)
            start = row;
        if (!in && start >= 0) {
            selection.select(_model->index(start, 0), _model->index(row - 1, last));
            start = -1;
        }
    }
    tableView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void QKArrayController::commitSelection(TrackList selection) {
    if (sameTracks(selection, _selection)) {
        _selection = std::move(selection); // the same tracks, perhaps in a new order
        return;
    }
    // While the first notification runs, selectedObjects() still answers the tracks being left.
    auto& center = NotificationCenter::defaultCenter();
    center.post(QStringLiteral("NSTableViewSelectionIsChangingNotification"), tableView);
    _selection = std::move(selection);
    center.post(QStringLiteral("NSTableViewSelectionDidChangeNotification"), tableView);
}

void QKArrayController::tableViewSelectionChanged(QBVTableView* table) {
    if (table == tableView && tableView->selectionModel())
        commitSelection(selectionFromTable());
}

QList<int> QKArrayController::selectionIndexes() const {
    std::unordered_set<const QBVTrack*> selected;
    for (const auto& track : _selection)
        selected.insert(track.get());
    QList<int> rows;
    for (size_t row = 0; row < _arranged.size(); ++row) {
        if (selected.count(_arranged[row].get()))
            rows.append(int(row));
    }
    return rows;
}

bool QKArrayController::setSelectedObjects(const TrackList& tracks) {
    std::unordered_set<const QBVTrack*> wanted;
    for (const auto& track : tracks)
        wanted.insert(track.get());
    TrackList shown;
    for (const auto& track : _arranged) {
        if (wanted.count(track.get()))
            shown.push_back(track);
    }
    {
        const QuietTable quiet(tableView);
        selectInTable(shown);
    }
    commitSelection(std::move(shown));
    return true;
}

bool QKArrayController::setSelectionIndexes(const QList<int>& rows) {
    TrackList tracks;
    for (int row : rows) {
        if (row >= 0 && size_t(row) < _arranged.size())
            tracks.push_back(_arranged[size_t(row)]);
    }
    return setSelectedObjects(tracks);
}

void QKArrayController::setSortDescriptor(int column, Qt::SortOrder order) {
    _sortColumn = column;
    _sortOrder = order;
    rearrangeObjects();
}

TrackList QKArrayController::arrangeObjects(const TrackList& objects) const {
    TrackList arranged;
    if (searchString.isEmpty()) {
        arranged = objects;
    } else {
        // A literal substring test that ignores letter case and nothing else.
        for (const auto& track : objects) {
            if (!track)
                continue;
            const QString category = track->category();
            if (track->name().contains(searchString, Qt::CaseInsensitive) ||
                (!category.isNull() && category.contains(searchString, Qt::CaseInsensitive)))
                arranged.push_back(track);
        }
    }
    std::erase(arranged, nullptr);
    sortTracks(arranged, _sortColumn, _sortOrder);
    return arranged;
}

void QKArrayController::search(QObject* sender) {
    setSearchString(sender ? sender->property("text").toString() : QString());
    rearrangeObjects();
}

void QKArrayController::setSearchString(const QString& text) {
    searchString = text;
}
