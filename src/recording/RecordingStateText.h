#pragma once

#include <QString>

#include <cstdint>

// What the recorder is doing, in words for the status display and the window title.
namespace RecordingStateText {

// Listening: voice activation waits for sound; Scheduled: a recording waits for its moment.
enum class State { Idle, Monitoring, Recording, Paused, Listening, Scheduled };

// Recording wins over monitoring: the input is heard either way, but only a recording keeps it.
State stateOf(bool previewing, bool recording, bool paused);
// The same, when voice activation listens or a start is scheduled while nothing else runs.
State stateOf(bool previewing, bool recording, bool paused, bool listening, bool scheduled);

// "Recording", "Paused", "Monitoring", "Waiting for sound", translated; empty while idle. A
// schedule says when: "Scheduled 14:00" (`when` as ScheduleText::shortStart gives it).
QString words(State state, const QString& when = {});

// "Recording — 00:01:12 — Brevoir" while a recording runs or is paused (whole seconds, so the
// title changes once a second at most), "Monitoring — Brevoir", and the name alone while idle.
// "Scheduled 14:00 — Brevoir" and "Waiting for sound — Brevoir" likewise.
QString windowTitle(const QString& applicationName, State state, int32_t ticks,
                    const QString& when = {});

} // namespace RecordingStateText
