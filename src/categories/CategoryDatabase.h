#pragma once

#include "platform/foundation/FilePath.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>

// "Database.plist" of a library folder: the user's category list and the category of each
// recording, keyed by the recording's name exactly (its bytes, in the form FileNames gives).
//
// Names that XML carries exactly are kept as the keys of "category mappings", which other
// property-list readers understand; every other name (a control character, a carriage return,
// bytes that are not UTF-8) is kept by its bytes in "category mappings by name bytes", which
// they skip. Nothing is written that would not read back the same.
//
// The file is read when a library opens. A damaged file is kept aside before anything is
// written; anything that is not a regular file (a folder, a FIFO, a device, a link) is left as
// it is and never written over: the defaults serve for this run. Writes are all or nothing,
// and a failure is told once, not on every retry.
class CategoryDatabase : public QObject {
    Q_OBJECT

public:
    static constexpr char kFileName[] = "Database.plist";

    struct Contents {
        std::optional<QStringList> categories; // none: the file holds no list
        std::optional<QVariantMap> mappings;   // recording name -> category name
    };
    // A dictionary's categories and mappings; none when a key of ours holds a value of the
    // wrong type. Other keys are ignored.
    static std::optional<Contents> contentsOfDictionary(const QVariantMap& dictionary);
    // The dictionary the file holds for a category list and mappings.
    static QVariantMap dictionaryOf(const QStringList& categories, const QVariantMap& mappings);
    // Whether a name (of a recording or a category) can be kept in the file as text, so that
    // other readers see it as it is: no control character but tab and line feed, no carriage
    // return, no byte that is not UTF-8. A rename to any other name is to be refused.
    static bool nameCanBeStoredAsText(const QString& name);
    // The category the stored mappings give a recording: the mapped name, the first category
    // for an empty one, and none for a recording with no entry.
    static QString categoryOfRecording(const Contents& contents, const QString& name);
    // The contents of a library's file for reading only; empty when it cannot be read.
    static Contents read(const FilePath& library);

    struct Opened {
        // Unusable: not a regular file, or unreadable and not movable aside; the defaults
        // serve and nothing is written for as long as this library stays open.
        enum Status { Missing, Read, KeptAside, Unusable };
        Status status = Missing;
        Contents contents;
        QString keptAs; // when KeptAside: the name the damaged file was given
    };

    // What a write stores: the user list and the mappings of the listed recordings.
    struct Snapshot {
        QStringList categories;
        QVariantMap mappings;
    };
    explicit CategoryDatabase(std::function<Snapshot()> source, QObject* parent = nullptr);

    // Reads the library's file and from then on writes there. A pending write of the library
    // open before goes there first.
    Opened open(const FilePath& library, const QDateTime& now = QDateTime::currentDateTime());
    // Writes what is pending, then writes nothing until the next open.
    void close();
    bool isOpen() const { return !_path.isEmpty(); }
    FilePath path() const { return _path; }

    // Writes the file now; answers why it could not be written, or empty.
    QString write();
    // Writes once control returns to the event loop, so that a burst of changes writes once.
    void scheduleWrite();
    bool writePending() const { return _writePending; }

signals:
    // Something the user should hear about: a file that was kept aside or cannot be used, or
    // a write that failed (the first of a run of failures; a success ends the run).
    void problemToTell(const QString& message);

private:
    std::function<Snapshot()> _source;
    FilePath _path;
    QString _unusable; // why nothing may be written to this library's file, or empty
    bool _writePending = false;
    bool _failureTold = false;
};
