#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QBVTrack;

// One entry of a "Recordings" folder as a scan sees it.
struct ScannedEntry {
    enum Kind {
        NotRegular, // a folder, a link, anything but a regular file: skipped
        Ignored,    // ".DS_Store": skipped
        File,       // becomes a track
    };
    Kind kind = NotRegular;
    QString name; // lossless (FileNames::decode); FileNames::displayName for showing it
    // For files: what the track is made of.
    quint64 size = 0;
    QDateTime date; // birth time where the file system keeps one, else modification time
    float duration = 0;
};

// Lists the entries directly inside the folder, in the order the file system gives them (no
// sorting), judging each by its own type (links are not followed) and leaving out, silently,
// the names in `known`. Files are measured, the durations on every core; the list is complete
// when this returns. A folder that cannot be read gives an empty list.
std::vector<ScannedEntry> scanRecordingsFolder(const QString& folder,
                                               const QSet<QString>& known = {});

// The log line of a skipped entry: "skipping this item - NAME".
void logSkippedEntry(const ScannedEntry& entry);

// Log texts of lists, one line each: ("a", "b").
QString describeStrings(const QStringList& strings);
QString describeTracks(const std::vector<std::shared_ptr<QBVTrack>>& tracks);
