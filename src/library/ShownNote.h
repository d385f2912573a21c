#pragma once

#include "library/NoteStore.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

#include <memory>
#include <mutex>

class QTextDocument;
class QTextEdit;
class SerialWorker;

// The note on show in the note view: whose it is, read into the view and stored from it. A
// large note is read on the note worker into a document of its own, which then takes the
// view's place (the view says it is loading meanwhile); a large document being stored is
// handed to the worker whole. So neither stops the window, and since the worker takes reads
// and writes in order, a note read back always holds what was stored before.
class ShownNote : public QObject {
    Q_OBJECT

public:
    explicit ShownNote(QObject* parent = nullptr);
    // Writes handed to the worker are finished first.
    ~ShownNote() override;

    // Shows the note of the recording `name` in the view (none when `name` is empty).
    void show(QTextEdit* view, const NoteStore& store, const QString& name);

    // What the view shows is stored as the note of `name` when it was changed or is not yet
    // stored under that name; an emptied note is never written. HandOver gives a large
    // document to the worker (the view is left empty, for the next note to be shown); Keep
    // writes it here and the view keeps it. False when it could not be stored; every failure
    // (also of a write handed over, later) is told through problem().
    enum class Mode { HandOver, Keep };
    bool store(QTextEdit* view, const NoteStore& store, const QString& name, Mode mode);

    // The recording shown was renamed to `newName` and the view's note is now its note.
    void follow(const NoteStore& store, const QString& newName);

    // Work a script asks for on the note at `path`, in order with the view's reads and
    // writes: run here and now when `quick` and nothing is queued for that note, otherwise on
    // the worker after what was queued, `done` then getting the job's answer through the
    // event loop. A job that `writes` makes later reads of that note wait behind it.
    void runInOrder(const FilePath& path, bool quick, bool writes, std::function<QString()> job,
                    std::function<void(const QString&)> done);

    const QString& name() const { return _name; }
    bool isLoading() const { return _loading; }
    // Whether the view holds the recording's note as stored (read, or there is none): not
    // while it loads, nor when the stored note could not be read.
    bool holdsStoredNote() const { return !_loading && !_unreadable; }
    // Blocks until every read and write given to the worker has run.
    void finishWork();

signals:
    // A sentence for the user: a note could not be read or stored, or lost pictures.
    void problem(const QString& message);
    // A note read on the worker has arrived in the view.
    void loaded();

private:
    void setLoading(QTextEdit* view, bool loading);
    // Puts `document` in the view; answers the view's previous document, now the caller's.
    QTextDocument* replaceDocument(QTextEdit* view, QTextDocument* document);
    void install(QTextEdit* view, QTextDocument* document);
    void dispose(QTextDocument* document);
    void reportLoad(const QString& name, const NoteStore::Loaded& loaded);
    void reportStore(const QString& name, bool stored, const QString& reason, int picturesLeftOut);

    SerialWorker* _worker = nullptr;
    quint64 _ticket = 0; // the show a read arriving belongs to
    QString _name;
    FilePath _storedAt; // where the note in the view is stored (or would be)
    bool _loading = false;
    bool _unreadable = false; // the stored note could not be read: it is never written over
    // The notes being written by the worker: a read of one of them waits its turn behind.
    struct PendingWrites {
        std::mutex mutex;
        QHash<QByteArray, int> count; // by note path
        bool contains(const FilePath& path);
        void change(const FilePath& path, int by);
    };
    std::shared_ptr<PendingWrites> _writing = std::make_shared<PendingWrites>();
};
