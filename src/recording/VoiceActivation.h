#pragma once

#include "platform/audio/SequenceGrabber.h"

#include <QString>
#include <QVariantMap>

#include <optional>

class Defaults;

// Voice activation: record while there is sound. The input is listened to; sound above the
// threshold starts a recording (or resumes the one paused by silence), the file beginning the
// pre-roll before it; after the set silence the recording stops (or pauses). Kept in the
// preferences ("VoiceActivation", "VoiceThreshold", "VoiceSilence", "VoicePreRoll",
// "VoiceAfterSilence").
namespace VoiceActivation {

enum class AfterSilence { Stop, Pause };

struct Settings {
    bool enabled = false;
    double thresholdDb = -40;  // dBFS
    double silenceSeconds = 3; // the quiet that ends a recording
    double preRollSeconds = 0.5;
    AfterSilence afterSilence = AfterSilence::Stop;
    bool operator==(const Settings&) const = default;
};

// The limits the settings keep to.
constexpr double kLowestThresholdDb = -60;
constexpr double kLongestSilenceSeconds = 3600;
constexpr double kShortestSilenceSeconds = 0.1;
constexpr double kLongestPreRollSeconds = 3;

// Why the settings cannot be used (a value out of its range), or empty.
QString check(const Settings& settings);
// What the capture layer listens for.
VoiceGate gateOf(const Settings& settings);

Settings load(const Defaults& store);
void store(Defaults& store, const Settings& settings);

// "stop" and "pause", as scripts name them.
QString nameOf(AfterSilence action);
std::optional<AfterSilence> afterSilenceNamed(const QString& name);

// For scripts: the settings as "enabled", "threshold", "silence", "preRoll" and "afterSilence",
// and the settings that `changes` (any of those keys) makes of `current`, or why not.
QVariantMap toMap(const Settings& settings);
QString applyMap(const QVariantMap& changes, Settings* settings);

} // namespace VoiceActivation
