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
    const QString refusal = appendTimeStampLine(place->recording, place->seconds, QString());
    if (!refusal.isEmpty())
        tellUser(refusal);
    return refusal;
}

QString BVController::markRunningRecording(const QString& text, QString* line) {
    if (!_recorder || !_recorder->isRecording())
        return BVLocalizedString("MarkNeedsARecording");
    const QString name = QFileInfo(_recorder->tempFile()).fileName();
    const double seconds = _recorder->elapsedSeconds();
    const QString refusal = appendTimeStampLine(name, seconds, text.trimmed());
    if (refusal.isEmpty() && line)
        *line = NoteTimeStamps::label(seconds) + u' ' + text.trimmed();
    return refusal;
}

QString BVController::appendTimeStampLine(const QString& name, double seconds,
                                          const QString& text) {
    // The note on show may hold what was typed since it was stored: the line joins that.
    if (showsNoteOf(name)) {
        NoteTimeStamps::appendLine(*_notesTextView->document(), seconds, text);
        shownNote().store(_notesTextView, noteStore(), name, ShownNote::Mode::Keep);
        return {};
    }
    shownNote().finishWork(); // a write of this very note may be under way
    const NoteStore store = noteStore();
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
    return {};
}

void BVController::playFromTimeStamp(double seconds) {
    if (!playRecording(shownNote().name(), seconds))
        Beep();
}
