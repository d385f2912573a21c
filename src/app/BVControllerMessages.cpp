// What the window tells the user: passing messages in the status bar, problems to act on in the
// message bar with the action that mends each.
#include "app/BVController.h"

#include "app/MessageBar.h"
#include "app/WrappingStatusBar.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"

#include <QDialog>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

const QString BVController::LibraryFolderProblem = QStringLiteral("library-folder");
const QString BVController::SoundInputProblem = QStringLiteral("sound-input");
const QString BVController::RecordingProblem = QStringLiteral("recording");

void BVController::tellUser(const QString& message) {
    bvLog(message);
    if (mainWindow)
        mainWindow->statusBar()->showMessage(message, WrappingStatusBar::timeoutFor(message));
}

void BVController::tellUser(const QString& message, const UserProblem& problem) {
    if (!_messageBar) {
        tellUser(message);
        return;
    }
    bvLog(message);
    std::vector<MessageBar::Action> actions;
    const char* label = nullptr;
    switch (problem.remedy) {
    case UserProblem::Remedy::ChooseLibraryFolder:
        label = "RemedyChooseFolder";
        break;
    case UserProblem::Remedy::OpenSoundSettings:
        label = "RemedySoundSettings";
        break;
    case UserProblem::Remedy::StopMonitoringAndRecord:
        label = "RemedyStopMonitoring";
        break;
    case UserProblem::Remedy::None:
        break;
    }
    if (label) {
        actions.push_back(
            {BVLocalizedString(label), [this, remedy = problem.remedy] { runRemedy(remedy); }});
    }
    const MessageBar::Kind kind =
        problem.weight == UserProblem::Weight::Error     ? MessageBar::Kind::Error
        : problem.weight == UserProblem::Weight::Warning ? MessageBar::Kind::Warning
                                                         : MessageBar::Kind::Information;
    _messageBar->showMessage(problem.topic, kind, message, std::move(actions));
}

void BVController::problemResolved(const QString& topic) {
    if (_messageBar)
        _messageBar->clearMessage(topic);
}

void BVController::runRemedy(UserProblem::Remedy remedy) {
    switch (remedy) {
    case UserProblem::Remedy::ChooseLibraryFolder:
        // The folder panel opens over the preferences, where the library's place is shown.
        if (_preferencesPanel)
            _preferencesPanel->show();
        doSetDataDirectory(this);
        break;
    case UserProblem::Remedy::OpenSoundSettings:
        showSoundSettings(this);
        break;
    case UserProblem::Remedy::StopMonitoringAndRecord:
        // As the user would: Monitor off, then Record.
        if (_previewButton && _previewButton->isChecked())
            _previewButton->click();
        if (_recordingButton && _recordingButton->isEnabled() && !IsBVRecording)
            _recordingButton->click();
        break;
    case UserProblem::Remedy::None:
        break;
    }
}
