#include "recording/RecordingStateText.h"

#include "platform/foundation/LocalizedString.h"

#include <algorithm>

namespace RecordingStateText {

State stateOf(bool previewing, bool recording, bool paused) {
    if (recording)
        return paused ? State::Paused : State::Recording;
    return previewing ? State::Monitoring : State::Idle;
}

State stateOf(bool previewing, bool recording, bool paused, bool listening, bool scheduled) {
    const State running = stateOf(previewing, recording, paused);
    if (running != State::Idle)
        return running;
    return listening ? State::Listening : scheduled ? State::Scheduled : State::Idle;
}

QString words(State state, const QString& when) {
    switch (state) {
    case State::Recording:
        return BVLocalizedString("StateRecording");
    case State::Paused:
        return BVLocalizedString("StatePaused");
    case State::Monitoring:
        return BVLocalizedString("StateMonitoring");
    case State::Listening:
        return BVLocalizedString("StateListening");
    case State::Scheduled:
        return BVLocalizedString("StateScheduled").arg(when);
    case State::Idle:
        break;
    }
    return QString();
}

QString windowTitle(const QString& applicationName, State state, int32_t ticks,
                    const QString& when) {
    const QString separator = QStringLiteral(" \u2014 ");
    if (state == State::Idle)
        return applicationName;
    if (state == State::Monitoring || state == State::Listening || state == State::Scheduled)
        return words(state, when) + separator + applicationName;
    const int64_t seconds = std::max<int64_t>(0, ticks) / 60;
    const QString clock =
        QString::asprintf("%02lld:%02lld:%02lld", (long long)(seconds / 3600),
                          (long long)(seconds / 60 % 60), (long long)(seconds % 60));
    return words(state) + separator + clock + separator + applicationName;
}

} // namespace RecordingStateText
