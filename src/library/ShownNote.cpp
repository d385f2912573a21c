#include "library/ShownNote.h"

#include "library/NoteEditor.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/SerialWorker.h"
#include "platform/text/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QPointer>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>

#include <memory>
#include <utility>

namespace {

// A document that is not the view's yet: deleted with its holder unless it was installed.
struct PendingDocument {
    QTextDocument* document = nullptr;
    ~PendingDocument() { delete document; }
};

// An empty document set up like the view's current one.
QTextDocument* documentLike(const QTextDocument& model) {
    auto* document = new QTextDocument;
    document->setDefaultFont(model.defaultFont());
    document->setDefaultStyleSheet(model.defaultStyleSheet());
    document->setDocumentMargin(model.documentMargin());
    document->setIndentWidth(model.indentWidth());
    document->setUseDesignMetrics(model.useDesignMetrics());
    return document;
}

// Read as stored: no undo step and no "changed" mark.
NoteStore::Loaded fill(const NoteStore& store, const QString& name, QTextDocument* document) {
    document->setUndoRedoEnabled(false);
    NoteStore::Loaded loaded = store.load(name, document);
    document->setUndoRedoEnabled(true);
    document->setModified(false);
    return loaded;
}

QString shownName(const QString& name) {
    return FilePath::fromString(name).display();
}

} // namespace

ShownNote::ShownNote(QObject* parent)
    : QObject(parent), _worker(new SerialWorker(QStringLiteral("bv-notes"), this)) {}

ShownNote::~ShownNote() {
    delete _worker; // runs what it was given, so that no write is cut short
    _worker = nullptr;
}

void ShownNote::show(QTextEdit* view, const NoteStore& store, const QString& name) {
    ++_ticket;
    _name = name;
    _unreadable = false;
    _storedAt = name.isEmpty() ? FilePath() : store.pathOf(name);
    setLoading(view, false);
    if (!view)
        return;
    QTextDocument* document = documentLike(*view->document());
    // Read here when it is quick and no write is queued before it (perhaps of this very note).
    if (name.isEmpty() || (!_writing->contains(_storedAt) && !store.isLarge(name))) {
        const NoteStore::Loaded loaded =
            name.isEmpty() ? NoteStore::Loaded() : fill(store, name, document);
        install(view, document);
        reportLoad(name, loaded);
        return;
    }
    install(view, document); // empty while the note is on its way
    setLoading(view, true);
    auto incoming = std::make_shared<PendingDocument>();
    incoming->document = documentLike(*document);
    incoming->document->moveToThread(_worker->workerThread());
    auto loaded = std::make_shared<NoteStore::Loaded>();
    QThread* home = thread();
    const quint64 ticket = _ticket;
    _worker->run(
        [store, name, incoming, loaded, home] {
            *loaded = fill(store, name, incoming->document);
            // Made here: making a big document's layout would hold the window for a while.
            incoming->document->documentLayout();
            incoming->document->moveToThread(home);
        },
        [this, view = QPointer<QTextEdit>(view), incoming, loaded, ticket, name] {
            if (ticket != _ticket || !view) {
                dispose(std::exchange(incoming->document, nullptr)); // shown elsewhere meanwhile
                return;
            }
            setLoading(view, false);
            install(view, std::exchange(incoming->document, nullptr));
            reportLoad(name, *loaded);
            emit this->loaded();
        });
}

bool ShownNote::store(QTextEdit* view, const NoteStore& store, const QString& name, Mode mode) {
    if (!view || name.isEmpty() || _loading)
        return true;
    QTextDocument* document = view->document();
    // An emptied note is never written: the stored one stays as it was.
    if (document->characterCount() <= 1)
        return true;
    const FilePath path = store.pathOf(name);
    // Unchanged and still under the same name: rewriting could only lose what a damaged file
    // held beyond what could be shown.
    if (!document->isModified() && path == _storedAt)
        return true;
    if (_unreadable) {
        reportStore(name, false, BVLocalizedString("NoteLeftUnread"), 0);
        return false;
    }
    if (mode == Mode::Keep || !NoteStore::isLarge(*document)) {
        QString reason;
        int picturesLeftOut = 0;
        const bool stored = store.save(name, *document, &reason, &picturesLeftOut);
        if (stored) {
            document->setModified(false);
            _storedAt = path;
        }
        reportStore(name, stored, reason, picturesLeftOut);
        return stored;
    }
    // The whole document goes to the worker, which writes it and then deletes it.
    QTextDocument* outgoing = replaceDocument(view, documentLike(*document));
    _storedAt = FilePath();
    outgoing->moveToThread(_worker->workerThread());
    struct Outcome {
        bool stored = false;
        QString reason;
        int picturesLeftOut = 0;
    };
    auto outcome = std::make_shared<Outcome>();
    _writing->change(path, +1);
    _worker->run(
        [store, name, path, outgoing, outcome, writing = _writing] {
            outcome->stored =
                store.save(name, *outgoing, &outcome->reason, &outcome->picturesLeftOut);
            writing->change(path, -1);
            delete outgoing;
        },
        [this, name, outcome] {
            reportStore(name, outcome->stored, outcome->reason, outcome->picturesLeftOut);
        });
    return true;
}

bool ShownNote::PendingWrites::contains(const FilePath& path) {
    std::lock_guard lock(mutex);
    return count.value(path.bytes()) > 0;
}

void ShownNote::PendingWrites::change(const FilePath& path, int by) {
    std::lock_guard lock(mutex);
    if ((count[path.bytes()] += by) <= 0)
        count.remove(path.bytes());
}

void ShownNote::follow(const NoteStore& store, const QString& newName) {
    _name = newName;
    _storedAt = store.pathOf(newName);
}

void ShownNote::runInOrder(const FilePath& path, bool quick, bool writes,
                           std::function<QString()> job, std::function<void(const QString&)> done) {
    if (quick && !_writing->contains(path)) {
        done(job());
        return;
    }
    auto answer = std::make_shared<QString>();
    if (writes)
        _writing->change(path, +1);
    _worker->run(
        [job = std::move(job), answer, path, writes, writing = _writing] {
            *answer = job();
            if (writes)
                writing->change(path, -1);
        },
        [done = std::move(done), answer] { done(*answer); });
}

void ShownNote::finishWork() {
    _worker->waitForIdle();
}

void ShownNote::setLoading(QTextEdit* view, bool loading) {
    _loading = loading;
    if (auto* noteView = qobject_cast<BVNoteTextView*>(view))
        noteView->setLoading(loading);
}

QTextDocument* ShownNote::replaceDocument(QTextEdit* view, QTextDocument* document) {
    QTextDocument* old = view->document();
    // Taken out first: the view would delete a document it made itself.
    old->setParent(nullptr);
    document->setParent(view);
    view->setDocument(document);
    return old;
}

void ShownNote::install(QTextEdit* view, QTextDocument* document) {
    dispose(replaceDocument(view, document));
}

void ShownNote::dispose(QTextDocument* document) {
    // A big note takes a while to free: that, too, is the worker's.
    document->moveToThread(_worker->workerThread());
    _worker->run([document] { delete document; });
}

void ShownNote::reportLoad(const QString& name, const NoteStore::Loaded& loaded) {
    if (loaded.status == NoteStore::Loaded::Refused) {
        _unreadable = true;
        bvLog(QStringLiteral("couldn't read the note of %1: %2").arg(name, loaded.reason));
        emit problem(BVLocalizedString("NoteNotReadOf").arg(shownName(name), loaded.reason));
    } else if (loaded.picturesLeftOut > 0) {
        emit problem(
            BVLocalizedString("NotePicturesLeftOut").arg(shownName(name)).arg(Rtf::kMaxPictures));
    }
}

void ShownNote::reportStore(const QString& name, bool stored, const QString& reason,
                            int picturesLeftOut) {
    if (!stored) {
        bvLog(QStringLiteral("couldn't store the note of %1: %2").arg(name, reason));
        emit problem(BVLocalizedString("NoteNotSaved").arg(shownName(name), reason));
    } else if (picturesLeftOut > 0) {
        emit problem(
            BVLocalizedString("NotePicturesLeftOut").arg(shownName(name)).arg(Rtf::kMaxPictures));
    }
}
