#include "app/BVController.h"

#include "library/QBVTableView.h"
#include "library/QBVTrack.h"
#include "library/QKArrayController.h"
#include "platform/foundation/Log.h"
#include "recording/QKRecorder.h"
#include "recording/RecordingName.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>

namespace {
void setEnabled(QWidget* control, bool enabled) {
    if (control)
        control->setEnabled(enabled);
}

void turnOff(QPushButton* toggle) {
    if (toggle && toggle->isChecked())
        toggle->setChecked(false);
}
} // namespace

void BVController::startRecording(QObject*) {
    const bool wasRecording = _recorder && _recorder->isRecording();
    if (_recorder && !wasRecording && _nextRecordingTicks) {
        // A length of this recording's own (a scheduled one); the timer's returns at its end.
        _recorder->setTimedLength(*_nextRecordingTicks);
        _recorder->setIsTimed(true);
        _timerOverridden = true;
    } else if (_recorder) {
        _recorder->setIsTimed(_timerCheckBox && _timerCheckBox->isChecked());
    }
    // A press while recording only stops: the running recording keeps its file, and its name
    // is the one the did-stop handler selects.
    if (_recorder && !wasRecording) {
        // A library folder deleted while we ran is made again before it is needed.
        ensureLibraryFolder();
        _recorder->setTempFile(RecordingName::pathForNewRecording(pathToRecordingsFolder(),
                                                                  QDateTime::currentDateTime()));
    }

    if (_recorder && _recorder->doRecord()) {
        for (const QString& topic : {RecordingProblem, SoundInputProblem, LibraryFolderProblem})
            problemResolved(topic);
        setEnabled(_previewButton, false);
        setEnabled(_settingsButton, false);
        setEnabled(_timerButton, false);
        setEnabled(_pauseRecordingButton, true);
        setEnabled(_snipButton, true);
        IsBVRecording = true;
        validateToolbar();
        return;
    }

    // The recorder refuses while it records: that refusal is how the toggle stops a recording.
    if (_recorder)
        _recorder->doStop();
    IsBVRecording = false;
    if (!wasRecording) {
        // A start that failed: the toggle goes back off and the user learns why.
        turnOff(_recordingButton);
        tellUser(recordingStartFailureMessage(), recordingStartProblem());
    }
    validateToolbar();
}

QString BVController::recordingStartFailureMessage() const {
    if (!_recorder)
        return tr("Recording is not possible: no sound input could be set up.");
    if (_recorder->isPreviewing())
        return tr("Stop monitoring the input before you record.");
    const QString library = libraryFolderProblem();
    if (!library.isEmpty())
        return tr("The recording could not start: the library folder cannot be used: %1")
            .arg(library);
    const QString reason = _recorder->lastFailure();
    if (!reason.isEmpty())
        return tr("The recording could not start: %1").arg(reason);
    return tr("The recording could not start. Check the input device in Sound Settings.");
}

BVController::UserProblem BVController::recordingStartProblem() const {
    using Remedy = UserProblem::Remedy;
    if (!_recorder)
        return {SoundInputProblem, Remedy::None};
    if (_recorder->isPreviewing())
        return {RecordingProblem, Remedy::StopMonitoringAndRecord, UserProblem::Weight::Warning};
    if (!libraryFolderProblem().isEmpty())
        return {LibraryFolderProblem, Remedy::ChooseLibraryFolder};
    return {SoundInputProblem, Remedy::OpenSoundSettings};
}

void BVController::pauseRecording(QObject*) {
    if (_recorder)
        _recorder->doPause();
}

void BVController::snipFile(QObject*) {
    if (_recorder)
        _recorder->doStop();
    startRecording(this);
    // Back on after the did-stop handler turned it off; stays off when the start failed.
    if (_recordingButton)
        _recordingButton->setChecked(IsBVRecording);
}

void BVController::togglePreview(QObject*) {
    if (_previewButton && _previewButton->isChecked()) {
        const bool started = _recorder && _recorder->doPreview();
        if (!started) {
            // Nothing is being monitored: say so instead of showing a toggle that lies.
            _previewButton->setChecked(false);
            tellUser(_recorder && !_recorder->lastFailure().isEmpty()
                         ? tr("The input could not be monitored: %1").arg(_recorder->lastFailure())
                         : tr("The input could not be monitored."),
                     {SoundInputProblem, UserProblem::Remedy::OpenSoundSettings});
            return;
        }
        problemResolved(SoundInputProblem);
        setEnabled(_recordingButton, false);
        setEnabled(_settingsButton, false);
    } else {
        if (_recorder)
            _recorder->doPreviewStop();
        clearStatusDisplay();
        setEnabled(_recordingButton, true);
        setEnabled(_settingsButton, true);
    }
}

void BVController::showSoundSettings(QObject*) {
    if (!_recorder)
        return;
    const int32_t result = _recorder->showSoundSettings();
    if (result != 0)
        bvLog(QStringLiteral("Settings dialog. (error code: %1)").arg(result));
    // Another input has another gain.
    showInputGain();
}

void BVController::handleRecordingDidStop(const Notification&) {
    if (_timerOverridden) {
        _timerOverridden = false;
        applyTimerFields();
        if (_recorder)
            _recorder->setIsTimed(_timerCheckBox && _timerCheckBox->isChecked());
    }
    setEnabled(_settingsButton, true);
    setEnabled(_previewButton, true);
    setEnabled(_timerButton, true);
    setEnabled(_pauseRecordingButton, false);
    setEnabled(_snipButton, false);
    IsBVRecording = false;
    clearStatusDisplay();
    turnOff(_recordingButton);
    turnOff(_pauseRecordingButton);
    updateFileList();
    if (_recorder)
        selectFinishedRecording(_recorder->tempFile());
    validateToolbar();
}

void BVController::selectFinishedRecording(const QString& path) {
    // Someone typing a note about another recording keeps it: their typing stays where it was.
    if (!_fileListArrayController || path.isEmpty() ||
        (_notesTextView && _notesTextView->hasFocus()))
        return;
    const QString name = QFileInfo(path).fileName();
    for (const auto& track : _fileList) {
        if (track->name() != name)
            continue;
        _fileListArrayController->setSelectedObjects({track});
        const QList<int> rows = _fileListArrayController->selectionIndexes();
        if (fileTableView && !rows.isEmpty())
            fileTableView->scrollTo(fileTableView->model()->index(rows.first(), 0));
        return;
    }
}
