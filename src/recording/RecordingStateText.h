#pragma once

#include <QString>

#include <cstdint>

// What the recorder is doing, in words for the status display and the window title.
namespace RecordingStateText {

enum class State { Idle, Monitoring, Recording, Paused };

// Recording wins over monitoring: the input is heard either way, but only a recording keeps it.
State stateOf(bool previewing, bool recording, bool paused);

// "Recording", "Paused", "Monitoring", translated; empty while idle.
QString words(State state);

// "Recording — 00:01:12 — Brevoir" while a recording runs or is paused (whole seconds, so the
// title changes once a second at most), "Monitoring — Brevoir", and the name alone while idle.
QString windowTitle(const QString& applicationName, State state, int32_t ticks);

} // namespace RecordingStateText
