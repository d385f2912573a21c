#include "recording/RecordingStateText.h"

#include "platform/foundation/LocalizedString.h"

#include <algorithm>

namespace RecordingStateText {

State stateOf(bool previewing, bool recording, bool paused) {
    if (recording)
        return paused ? State::Paused : State::Recording;
    return previewing ? State::Monitoring : State::Idle;
}

QString words(State state) {
    switch (state) {
    case State::Recording:
        return BVLocalizedString("StateRecording");
    case State::Paused:
        return BVLocalizedString("StatePaused");
    case State::Monitoring:
        return BVLocalizedString("StateMonitoring");
    case State::Idle:
        break;
    }
    return QString();
}

QString windowTitle(const QString& applicationName, State state, int32_t ticks) {
    const QString separator = QStringLiteral(" \u2014 ");
    if (state == State::Idle)
        return applicationName;
    if (state == State::Monitoring)
        return words(state) + separator + applicationName;
    const int64_t seconds = std::max<int64_t>(0, ticks) / 60;
    const QString clock =
        QString::asprintf("%02lld:%02lld:%02lld", (long long)(seconds / 3600),
                          (long long)(seconds / 60 % 60), (long long)(seconds % 60));
    return words(state) + separator + clock + separator + applicationName;
}

} // namespace RecordingStateText
