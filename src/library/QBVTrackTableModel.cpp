#include "library/QBVTrackTableModel.h"

#include "library/Formatter.h"
#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "platform/foundation/FileNames.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/ValueTransformer.h"

#include <QLocale>
#include <QMimeData>
#include <QPixmap>

#include <set>

QBVTrackTableModel::QBVTrackTableModel(QKArrayController* controller)
    : QAbstractTableModel(controller), _controller(controller) {}

QString QBVTrackTableModel::identifierOfColumn(int column) {
    switch (column) {
    case PlayingColumn:
        return QStringLiteral("currentlyPlayingImage");
    case NameColumn:
        return QStringLiteral("name");
    case CategoryColumn:
        return QStringLiteral("category");
    case DateColumn:
        return QStringLiteral("date");
    case SizeColumn:
        return QStringLiteral("size");
    case DurationColumn:
        return QStringLiteral("duration");
    default:
        return QString();
    }
}

int QBVTrackTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(_controller->arrangedObjects().size());
}

int QBVTrackTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString QBVTrackTableModel::displayText(int row, int column) const {
    const QBVTrack& track = *_controller->arrangedObjects()[size_t(row)];
    QBVTableView* table = _controller->tableView;
    switch (column) {
    case NameColumn:
        return FileNames::displayName(track.name()); // bytes that are not UTF-8 show as U+FFFD
    case CategoryColumn:
        return track.category();
    case DateColumn:
        return track.date() ? QLocale().toString(track.date()->toLocalTime(), QLocale::ShortFormat)
                            : QString();
    case SizeColumn: {
        if (!track.size())
            return QString();
        const QVariant value = QVariant::fromValue(*track.size());
        Formatter* formatter = table ? table->formatterForColumn(QStringLiteral("size")) : nullptr;
        return formatter ? formatter->stringForObjectValue(value) : value.toString();
    }
    case DurationColumn: {
        if (!track.duration())
            return QString();
        const QVariant value = QVariant::fromValue(*track.duration());
        const auto transformer =
            ValueTransformer::valueTransformerForName(QStringLiteral("BVMovieDurationFormatter"));
        return transformer ? transformer->transformedValue(value).toString() : value.toString();
    }
    default:
        return QString();
    }
}

QVariant QBVTrackTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        if (role == Qt::ToolTipRole && column != NameColumn)
            return {};
        return displayText(index.row(), column);
    case Qt::DecorationRole:
        if (column == PlayingColumn) {
            const QPixmap* image =
                _controller->arrangedObjects()[size_t(index.row())]->currentlyPlayingImage();
            if (image)
                return *image;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (column == SizeColumn || column == DurationColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (column == PlayingColumn)
            return QVariant::fromValue(Qt::AlignCenter);
        return {};
    default:
        return {};
    }
}

bool QBVTrackTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.row() >= rowCount())
        return false;
    if (index.column() == CategoryColumn) {
        // The track stores a category and has the database written, or asks for the editor.
        QBVTrack& track = *_controller->arrangedObjects()[size_t(index.row())];
        track.setCategory(value.toString());
        refreshRow(index.row());
        return true;
    }
    if (index.column() != NameColumn)
        return false;
    // The file is renamed by the track's observer, which may refuse (and say why): the row
    // then shows the name the track kept.
    QBVTrack& track = *_controller->arrangedObjects()[size_t(index.row())];
    // A name that is not UTF-8 is edited as shown; left as it was, it stays as it is on disk.
    if (value.toString() == FileNames::displayName(track.name()))
        return true;
    track.setName(value.toString());
    refreshRow(index.row());
    return track.name() == value.toString();
}

QVariant QBVTrackTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == QBVTableView::ColumnIdentifierRole)
        return identifierOfColumn(section);
    if (role == Qt::TextAlignmentRole && (section == SizeColumn || section == DurationColumn))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return BVLocalizedString("NameColumn");
    case CategoryColumn:
        return BVLocalizedString("CategoryColumn");
    case DateColumn:
        return BVLocalizedString("DateColumn");
    case SizeColumn:
        return BVLocalizedString("SizeColumn");
    case DurationColumn:
        return BVLocalizedString("DurationColumn");
    default:
        return QString();
    }
}

Qt::ItemFlags QBVTrackTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
    if (index.column() == NameColumn || index.column() == CategoryColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

void QBVTrackTableModel::sort(int column, Qt::SortOrder order) {
    _controller->setSortDescriptor(column, order);
}

QStringList QBVTrackTableModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

QMimeData* QBVTrackTableModel::mimeData(const QModelIndexList& indexes) const {
    std::set<int> unique;
    for (const QModelIndex& index : indexes) {
        if (index.isValid())
            unique.insert(index.row());
    }
    auto* data = new QMimeData;
    _controller->tableViewWriteRowsWithIndexesToPasteboard(
        _controller->tableView, QList<int>(unique.begin(), unique.end()), data);
    return data;
}

Qt::DropActions QBVTrackTableModel::supportedDragActions() const {
    return Qt::CopyAction;
}
Qt::DropActions QBVTrackTableModel::supportedDropActions() const {
    return Qt::CopyAction;
}

void QBVTrackTableModel::refreshRow(int row) {
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}
