// Notes: the note view shows the note of the first selected track; it is stored in the
// library's "Notes" folder when the selection moves on (and at quit), and can be exported.
// Where notes live and whose they are is NoteStore's; the view's side is ShownNote's.
#include "app/BVController.h"
#include "platform/foundation/LocalizedString.h"

#include "library/NoteFormats.h"
#include "library/NoteStore.h"
#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "library/ShownNote.h"
#include "platform/foundation/Beep.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/text/RtfReader.h"
#include "platform/text/SelfContainedDocument.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextEdit>

namespace {
std::shared_ptr<QBVTrack> firstSelected(const BVController& controller) {
    if (!controller._fileListArrayController)
        return nullptr;
    const auto selection = controller._fileListArrayController->selectedObjects();
    return selection.empty() ? nullptr : selection.front();
}
} // namespace

NoteStore BVController::noteStore() const {
    return NoteStore(pathToLibraryFolder(), pathToNotesFolder());
}

ShownNote& BVController::shownNote() {
    if (!_shownNote) {
        _shownNote = new ShownNote(this);
        connect(_shownNote, &ShownNote::problem, this,
                [this](const QString& message) { tellUser(message); });
    }
    return *_shownNote;
}

void BVController::handleChangingTableSelection(const Notification& notification) {
    if (!fileTableView || notification.object != fileTableView)
        return;
    // The view moves on to another note at once: a large one is written by the worker.
    if (const auto track = firstSelected(*this))
        shownNote().store(_notesTextView, noteStore(), track->name(), ShownNote::Mode::HandOver);
}

void BVController::storeShownNote() {
    if (const auto track = firstSelected(*this))
        shownNote().store(_notesTextView, noteStore(), track->name(), ShownNote::Mode::Keep);
}

void BVController::handleChangeInTableSelection(const Notification& notification) {
    if (!fileTableView || notification.object != fileTableView || !_notesTextView)
        return;
    const auto track = firstSelected(*this);
    shownNote().show(_notesTextView, noteStore(), track ? track->name() : QString());
}

void BVController::exportNote(QObject*) {
    const auto track = firstSelected(*this);
    if (!track || !_notesTextView || _notesTextView->document()->characterCount() <= 1) {
        Beep();
        return;
    }
    auto* panel = new QFileDialog(mainWindow, BVLocalizedString("ExportNote"));
    panel->setObjectName(QStringLiteral("exportNotePanel"));
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const NoteFormats::ExportType& type : NoteFormats::exportTypes())
        filters << type.nameFilter;
    panel->setNameFilters(filters);
    panel->setDefaultSuffix(NoteFormats::exportTypes().front().suffix);
    // In the documents folder, where people look for what they wrote, as a document.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    panel->setDirectory(QFileInfo(documents).isDir() ? documents : QDir::homePath());
    panel->selectFile(QFileInfo(NoteStore::noteFileName(track->name())).completeBaseName() +
                      QLatin1Char('.') + NoteFormats::exportTypes().front().suffix);
    panel->setWindowModality(Qt::WindowModal);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::filterSelected, panel, [panel](const QString& filter) {
        const NoteFormats::ExportType& type = NoteFormats::exportTypeForFilter(filter);
        panel->setDefaultSuffix(type.suffix);
        const QStringList chosen = panel->selectedFiles();
        if (!chosen.isEmpty())
            panel->selectFile(QFileInfo(chosen.first()).completeBaseName() + QLatin1Char('.') +
                              type.suffix);
    });
    connect(panel, &QFileDialog::finished, this, [this, panel](int result) {
        exportSavePanelDidEndReturnCodeContextInfo(panel->selectedFiles().value(0),
                                                   result == QDialog::Accepted ? 1 : 0,
                                                   panel->selectedNameFilter());
    });
    panel->open();
}

void BVController::exportSavePanelDidEndReturnCodeContextInfo(const QString& path, int returnCode,
                                                              const QString& nameFilter) {
    if (returnCode != 1 || path.isEmpty() || !_notesTextView)
        return;
    const NoteFormats::Format format = NoteFormats::exportTypeForFilter(nameFilter).format;
    QString error;
    if (!NoteFormats::writeFile(*_notesTextView->document(), FilePath::fromString(path), format,
                                &error))
        tellUser(BVLocalizedString("NoteNotExported").arg(error));
}

// ---- for scripts ----

QString BVController::noteRequestForScript(const QString& name, const QString& formatName,
                                           std::optional<NoteFormats::Format>* format,
                                           std::shared_ptr<QBVTrack>* track) {
    *format = NoteFormats::formatNamed(formatName);
    if (!*format)
        return BVLocalizedString("UnknownNoteFormat").arg(formatName);
    return recordingForScript(name, track);
}

namespace {
// Reads the note of `name` as text; answers why it could not.
QString readNoteText(const NoteStore& store, const QString& name, NoteFormats::Format format,
                     QString* text) {
    QTextDocument document;
    const NoteStore::Loaded loaded = store.load(name, &document);
    if (loaded.status == NoteStore::Loaded::Refused)
        return BVLocalizedString("NoteNotReadOf")
            .arg(FilePath::fromString(name).display(), loaded.reason);
    *text = NoteFormats::toText(document, format);
    return QString();
}

// Makes a note of `content` and stores it as the note of `name`; answers why it could not, or
// that pictures were left out (it was stored then).
QString storeNoteText(const NoteStore& store, const QString& name, const QString& content,
                      NoteFormats::Format format, bool* stored) {
    SelfContainedDocument document;
    QString error;
    if (!NoteFormats::fromText(content, format, &document, &error))
        return BVLocalizedString("NoteNotRead").arg(error);
    if (document.characterCount() <= 1)
        return BVLocalizedString("EmptyNoteNotStored");
    int picturesLeftOut = 0;
    if (!store.save(name, document, &error, &picturesLeftOut))
        return BVLocalizedString("NoteNotSaved").arg(FilePath::fromString(name).display(), error);
    *stored = true;
    if (picturesLeftOut > 0)
        return BVLocalizedString("NotePicturesLeftOut")
            .arg(FilePath::fromString(name).display())
            .arg(Rtf::kMaxPictures);
    return QString();
}
} // namespace

void BVController::noteOfRecording(const QString& name, const QString& formatName,
                                   NoteAnswer answer) {
    std::optional<NoteFormats::Format> format;
    std::shared_ptr<QBVTrack> track;
    if (const QString refusal = noteRequestForScript(name, formatName, &format, &track);
        !refusal.isEmpty())
        return answer(refusal, QString());
    // The note on show may hold what was typed since it was stored.
    if (_notesTextView && track == firstSelected(*this) && shownNote().holdsStoredNote())
        return answer(QString(), NoteFormats::toText(*_notesTextView->document(), *format));
    const NoteStore store = noteStore();
    auto text = std::make_shared<QString>();
    shownNote().runInOrder(
        store.pathOf(name), !store.isLarge(name), false,
        [store, name, format = *format, text] {
            return readNoteText(store, name, format, text.get());
        },
        [answer = std::move(answer), text](const QString& refusal) { answer(refusal, *text); });
}

void BVController::setNoteOfRecording(const QString& name, const QString& content,
                                      const QString& formatName, NoteAnswer answer) {
    std::optional<NoteFormats::Format> format;
    std::shared_ptr<QBVTrack> track;
    if (const QString refusal = noteRequestForScript(name, formatName, &format, &track);
        !refusal.isEmpty())
        return answer(refusal, QString());
    const NoteStore store = noteStore();
    auto stored = std::make_shared<bool>(false);
    shownNote().runInOrder(
        store.pathOf(name), !NoteStore::isLargeText(content), true,
        [store, name, content, format = *format, stored] {
            return storeNoteText(store, name, content, format, stored.get());
        },
        [this, answer = std::move(answer), stored, track, name](const QString& refusal) {
            // Shown at once when it is the note on show.
            if (*stored && _notesTextView && track == firstSelected(*this))
                shownNote().show(_notesTextView, noteStore(), name);
            answer(refusal, QString());
        });
}
