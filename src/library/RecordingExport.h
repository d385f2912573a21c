#pragma once

#include "platform/media/AudioEncoders.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class BackgroundCall;
class NoteStore;

// Exporting recordings: the formats offered, where each file goes, what it is tagged with.
// A file is converted under a temporary name in the destination folder and given its name
// only when whole, never replacing one that is there.
namespace RecordingExport {

// The formats people share that the installed FFmpeg can write, in the order offered.
std::vector<AudioEncoder> formats();
std::optional<AudioEncoder> formatWithTitle(const QString& title);
// By a file extension, in any case ("FLAC", "m4a").
std::optional<AudioEncoder> formatForExtension(const QString& extension);

// The comment tag of a recording: the first line of its note with text, or empty.
QString commentOfNote(const NoteStore& notes, const QString& recordingName);

struct Item {
    QString source;  // the recording's path
    QString title;   // the title tag, and the exported file's name
    QString comment; // the comment tag
};

// Where the files go. The window names a folder and takes numbered names ("Talk 2.flac"); a
// script names the file, which must not exist.
struct Target {
    QString folder;
    QString fileStem; // empty: each item's title
    bool numbered = true;
};

// A script's FILE as a target and its format, or why it cannot be one (an extension no
// format has, a folder that does not exist, a file that does).
QString targetOfFile(const QString& file, Target* target, AudioEncoder* format);

} // namespace RecordingExport

// One export running on a worker: the items one after another, with progress and Cancel.
// What is in hand when it is cancelled or fails is removed; finished files stay.
class RecordingExportJob : public QObject {
    Q_OBJECT

public:
    RecordingExportJob(std::vector<RecordingExport::Item> items, RecordingExport::Target target,
                       AudioEncoder format, QObject* parent = nullptr);
    // Cancels and waits for the worker.
    ~RecordingExportJob() override;

    void start();
    // The file in hand is abandoned (and removed) within a frame or so.
    void cancel();
    int count() const { return int(_items.size()); }

signals:
    // Item `index` (from 0) of count() is being converted.
    void progressChanged(int index, int count, const QString& title);
    // The paths written; `problem` is empty, or why the export stopped (naming the file).
    void finished(const QStringList& written, const QString& problem, bool cancelled);

private:
    struct Outcome {
        QStringList written;
        QString failedTitle;
        QString reason;
        bool cancelled = false;
    };
    void run(); // on the worker

    std::vector<RecordingExport::Item> _items;
    RecordingExport::Target _target;
    AudioEncoder _format;
    std::atomic<bool> _abort{false};
    std::shared_ptr<Outcome> _outcome = std::make_shared<Outcome>();
    BackgroundCall* _worker = nullptr;
};
