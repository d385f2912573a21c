#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QBVTrack;
class QBVTableView;

// The list controller over the file list: filters by the search text, sorts, keeps the
// selection, and serves the library table (it is the table's model source).
class QKArrayController : public QObject {
    Q_OBJECT

public:
    using TrackList = std::vector<std::shared_ptr<QBVTrack>>;

    explicit QKArrayController(QObject* parent = nullptr);
    ~QKArrayController() override;

    // Outlet: the library table.
    QBVTableView* tableView = nullptr;
    void awakeFromNib();

    // The content is the file list itself (not a copy); adding and removing change it.
    void setContent(TrackList* content);
    TrackList* content() const { return _content; }

    void addObject(const std::shared_ptr<QBVTrack>& track);
    void removeObject(const std::shared_ptr<QBVTrack>& track);
    void rearrangeObjects();
    const TrackList& arrangedObjects() const { return _arranged; }
    TrackList selectedObjects() const;

    TrackList arrangeObjects(const TrackList& objects) const;
    void search(QObject* sender);
    void setSearchString(const QString& searchString);

private:
    TrackList* _content = nullptr;
    TrackList _arranged;
    QString searchString;
};
