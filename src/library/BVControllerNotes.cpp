// Notes: the note view shows the note of the first selected track; it is stored in the
// library's "Notes" folder when the selection moves on (and at quit), and can be exported.
#include "app/BVController.h"
#include "platform/foundation/LocalizedString.h"

#include "library/NoteFormats.h"
#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "library/TrackNames.h"
#include "platform/foundation/Beep.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"

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

// Loads without leaving an undo step or a "modified" mark: what is shown is what is stored.
void showDocument(QTextEdit& view, const std::function<void(QTextDocument&)>& fill) {
    QTextDocument& document = *view.document();
    document.setUndoRedoEnabled(false);
    fill(document);
    document.setUndoRedoEnabled(true);
    document.setModified(false);
}
} // namespace

QString BVController::pathToNoteOfTrack(const QBVTrack& track) const {
    return pathToNotesFolder() + QLatin1Char('/') + TrackNames::noteFileName(track.name());
}

void BVController::handleChangingTableSelection(const Notification& notification) {
    if (!fileTableView || notification.object != fileTableView)
        return;
    storeShownNote();
}

void BVController::storeShownNote() {
    if (!_notesTextView)
        return;
    const auto track = firstSelected(*this);
    if (!track)
        return;
    QTextDocument& document = *_notesTextView->document();
    // An emptied note is never written: the stored one stays as it was.
    if (document.characterCount() <= 1)
        return;
    const QString path = pathToNoteOfTrack(*track);
    // Unchanged and still under the same name: rewriting could only lose what a damaged file
    // held beyond what could be shown.
    if (!document.isModified() && path == _shownNotePath)
        return;
    QString error;
    if (!NoteFormats::writeFile(document, path, NoteFormats::Format::Rtfd, &error)) {
        tellUser(BVLocalizedString("NoteNotSaved").arg(track->name(), error));
        return;
    }
    document.setModified(false);
    _shownNotePath = path;
}

void BVController::handleChangeInTableSelection(const Notification& notification) {
    if (!fileTableView || notification.object != fileTableView || !_notesTextView)
        return;
    const auto track = firstSelected(*this);
    const QString path = track ? pathToNoteOfTrack(*track) : QString();
    _shownNotePath = path;
    if (track && QFileInfo::exists(path)) {
        showDocument(*_notesTextView, [&](QTextDocument& document) {
            QString error;
            if (!NoteFormats::readRtfd(path, &document, &error))
                bvLog(QStringLiteral("couldn't read the note %1: %2").arg(path, error));
        });
        return;
    }
    showDocument(*_notesTextView, [](QTextDocument& document) { document.clear(); });
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
    panel->selectFile(QFileInfo(TrackNames::noteFileName(track->name())).completeBaseName() +
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
    if (!NoteFormats::writeFile(*_notesTextView->document(), path, format, &error))
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

QString BVController::noteOfRecording(const QString& name, const QString& formatName,
                                      QString* note) {
    std::optional<NoteFormats::Format> format;
    std::shared_ptr<QBVTrack> track;
    if (const QString refusal = noteRequestForScript(name, formatName, &format, &track);
        !refusal.isEmpty())
        return refusal;
    // The note on show may hold what was typed since it was stored.
    if (_notesTextView && track == firstSelected(*this)) {
        *note = NoteFormats::toText(*_notesTextView->document(), *format);
        return QString();
    }
    QTextDocument document;
    const QString path = pathToNoteOfTrack(*track);
    QString error;
    if (QFileInfo::exists(path) && !NoteFormats::readRtfd(path, &document, &error))
        return BVLocalizedString("NoteNotReadOf").arg(name, error);
    *note = NoteFormats::toText(document, *format);
    return QString();
}

QString BVController::setNoteOfRecording(const QString& name, const QString& content,
                                         const QString& formatName) {
    std::optional<NoteFormats::Format> format;
    std::shared_ptr<QBVTrack> track;
    if (const QString refusal = noteRequestForScript(name, formatName, &format, &track);
        !refusal.isEmpty())
        return refusal;
    QTextDocument document;
    QString error;
    if (!NoteFormats::fromText(content, *format, &document, &error))
        return BVLocalizedString("NoteNotRead").arg(error);
    if (document.characterCount() <= 1)
        return BVLocalizedString("EmptyNoteNotStored");
    const QString path = pathToNoteOfTrack(*track);
    if (!NoteFormats::writeFile(document, path, NoteFormats::Format::Rtfd, &error))
        return BVLocalizedString("NoteNotSaved").arg(name, error);
    // Shown at once when it is the note on show.
    if (_notesTextView && track == firstSelected(*this)) {
        showDocument(*_notesTextView,
                     [&](QTextDocument& shown) { NoteFormats::readRtfd(path, &shown, nullptr); });
        _shownNotePath = path;
    }
    return QString();
}
