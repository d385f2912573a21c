// Time stamps in notes: the place being recorded or played, put into that recording's note as
// a link ("[00:12:31]") that plays the recording from there.
#include "app/BVController.h"

#include "library/NoteStore.h"
#include "library/NoteTimeStamps.h"
#include "library/ShownNote.h"
#include "platform/foundation/Beep.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/media/BVMovieView.h"
#include "platform/text/SelfContainedDocument.h"
#include "recording/QKRecorder.h"

#include <QFileInfo>
#include <QTextCursor>
#include <QTextEdit>

std::optional<BVController::Place> BVController::placeForTimeStamp() const {
    if (_recorder && _recorder->isRecording())
        return Place{QFileInfo(_recorder->tempFile()).fileName(), _recorder->elapsedSeconds()};
    if (_qtPlayer && _qtPlayer->hasMovie() && _qtPlayer->isPlaying() && _qtPlayer->timeScale() > 0)
        return Place{QFileInfo(_previouslyPlayedURL.toLocalFile()).fileName(),
                     double(_qtPlayer->currentTime()) / double(_qtPlayer->timeScale())};
    return std::nullopt;
}

bool BVController::showsNoteOf(const QString& name) {
    return _notesTextView && !name.isEmpty() && shownNote().name() == name &&
           shownNote().holdsStoredNote() && !_notesTextView->isReadOnly();
}

namespace {
// Adds the line to the stored note of `name` (made when there is none); why not, or empty.
QString appendToStoredNote(const NoteStore& store, const QString& name, double seconds,
                           const QString& text) {
    SelfContainedDocument document;
    const NoteStore::Loaded loaded = store.load(name, &document);
    if (loaded.status == NoteStore::Loaded::Refused)
        return BVLocalizedString("NoteNotReadOf")
            .arg(FilePath::fromString(name).display(), loaded.reason);
    NoteTimeStamps::appendLine(document, seconds, text);
    QString error;
    if (!store.save(name, document, &error))
        return BVLocalizedString("NoteNotSaved").arg(FilePath::fromString(name).display(), error);
    bvLog(QStringLiteral("time stamp %1 added to the note of %2")
              .arg(NoteTimeStamps::label(seconds), FilePath::fromString(name).display()));
    return QString();
}
} // namespace

QString BVController::insertTimeStamp() {
    const std::optional<Place> place = placeForTimeStamp();
    if (!place) {
        Beep();
        return BVLocalizedString("TimeStampNeedsAPlace");
    }
    if (showsNoteOf(place->recording)) {
        QTextCursor cursor = _notesTextView->textCursor();
        NoteTimeStamps::insert(cursor, place->seconds);
        _notesTextView->setTextCursor(cursor);
        _notesTextView->setFocus(Qt::ShortcutFocusReason);
        return {};
    }
    // Another recording's note is on show: the stamp goes on a line of its own in the right one.
    appendTimeStampLine(place->recording, place->seconds, QString(), [this](const QString& why) {
        if (!why.isEmpty())
            tellUser(why);
    });
    return {};
}

void BVController::markRunningRecording(const QString& text, NoteAnswer answer) {
    if (!_recorder || !_recorder->isRecording())
        return answer(BVLocalizedString("MarkNeedsARecording"), QString());
    const QString name = QFileInfo(_recorder->tempFile()).fileName();
    const double seconds = _recorder->elapsedSeconds();
    const QString line = NoteTimeStamps::label(seconds) + u' ' + text.trimmed();
    appendTimeStampLine(name, seconds, text.trimmed(),
                        [answer = std::move(answer), line](const QString& refusal) {
                            answer(refusal, refusal.isEmpty() ? line : QString());
                        });
}

void BVController::appendTimeStampLine(const QString& name, double seconds, const QString& text,
                                       std::function<void(const QString&)> done) {
    // The note on show may hold what was typed since it was stored: the line joins that.
    if (showsNoteOf(name)) {
        NoteTimeStamps::appendLine(*_notesTextView->document(), seconds, text);
        shownNote().store(_notesTextView, noteStore(), name, ShownNote::Mode::Keep);
        return done(QString());
    }
    // In order with the view's reads and writes of that note; a large one on the worker.
    const NoteStore store = noteStore();
    shownNote().runInOrder(
        store.pathOf(name), !store.isLarge(name), true,
        [store, name, seconds, text] { return appendToStoredNote(store, name, seconds, text); },
        std::move(done));
}

void BVController::playFromTimeStamp(double seconds) {
    if (!playRecording(shownNote().name(), seconds))
        Beep();
}
