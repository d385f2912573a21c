#include "app/WindowAccessibility.h"

#include "library/NoteEditor.h"
#include "library/QKArrayController.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/RovingFocus.h"
#include "platform/media/BVMovieView.h"
#include "ui_MainWindow.h"
#include "ui_TimerWindow.h"

#include <QSlider>

namespace WindowAccessibility {

void setUp(Ui::MainWindow& w) {
    const struct {
        QWidget* widget;
        const char* name;
    } names[] = {
        {w.statusText, "ElapsedTimeName"},        {w.displayView, "InputLevelName"},
        {w.stateText, "RecorderStateName"},       {w.searchField, "SearchFieldName"},
        {w.fileTableView, "RecordingsListName"},  {w.movieView, "PlayerName"},
        {w.recordingGroup, "RecordingGroupName"}, {w.playbackGroup, "PlaybackGroupName"},
        {w.inputGainSlider, "InputGainName"},
    };
    for (const auto& named : names)
        named.widget->setAccessibleName(BVLocalizedString(named.name));
    w.fileTableView->setAccessibleDescription(BVLocalizedString("RecordingsListDescription"));

    // The list is one stop: the arrow keys move among its rows, Tab leaves it.
    w.fileTableView->setTabKeyNavigation(false);
    // Each group of buttons is one stop too.
    QObject* owner = w.centralWidget;
    new RovingFocus({w.recordingButton, w.pauseRecordingButton, w.snipButton, w.previewButton,
                     w.timerButton, w.settingsButton},
                    owner);
    new RovingFocus({w.buttonPlayPause, w.playbackStopButton}, owner);

    QList<QWidget*> order = {w.searchField, w.fileTableView};
    order += w.noteFormatBar->focusOrder();
    order += {w.notesTextView,
              w.recordingButton,
              w.pauseRecordingButton,
              w.snipButton,
              w.previewButton,
              w.timerButton,
              w.settingsButton,
              w.inputGainSlider,
              w.movieView->findChild<QSlider*>(QStringLiteral("positionSlider")),
              w.buttonPlayPause,
              w.playbackStopButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        if (order[i - 1] && order[i])
            QWidget::setTabOrder(order[i - 1], order[i]);
}

void setUp(Ui::TimerWindow& t) {
    t.hourField->setAccessibleName(BVLocalizedString("HoursFieldName"));
    t.minuteField->setAccessibleName(BVLocalizedString("MinutesFieldName"));
    t.secondField->setAccessibleName(BVLocalizedString("SecondsFieldName"));
}

} // namespace WindowAccessibility
