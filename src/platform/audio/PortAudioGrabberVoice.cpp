// The capture layer on PortAudio: listening for sound to start and end recordings by.
#include "platform/audio/PortAudioGrabber.h"

#include "platform/audio/AudioDevices.h"
#include "platform/audio/CaptureWriter.h"
#include "platform/audio/SoundSettingsDialog.h"
#include "platform/audio/SoundSources.h"
#include "platform/foundation/Log.h"

#include <algorithm>

uint64_t PortAudioGrabber::framesOf(double seconds) const {
    return uint64_t(std::max(0.0, seconds) * _settings.sampleRate + 0.5);
}

uint64_t PortAudioGrabber::frameNow() const {
    return std::max(_stream->frameAt(captureClockNs()).value_or(0), _stream->framesPushed());
}

void PortAudioGrabber::applyGate() {
    if (!_stream || !_gate)
        return;
    constexpr double kFullScale = 8388608.0; // the trigger's 24-bit scale
    const auto threshold = uint32_t(std::clamp(_gate->threshold * kFullScale, 1.0, kFullScale));
    _stream->setCapturing(true);
    _stream->voiceTrigger().configure(threshold,
                                      std::max<uint64_t>(1, framesOf(_gate->silenceSeconds)));
    _armFrom = _stream->framesPushed();
    if (!_writer)
        _writer = std::make_unique<CaptureWriter>();
    // The pre-roll and room for the seconds a busy main thread may take to notice the sound.
    _writer->keepRecent(_stream->ring(), _settings.channels,
                        framesOf(_gate->preRollSeconds + kListeningSlackSeconds));
    _writer->limitToSilence(_stream->sharedVoiceTrigger(),
                            std::max<uint64_t>(1, framesOf(_gate->silenceSeconds)));
}

OSErr PortAudioGrabber::startListening(const VoiceGate& gate) {
    if (OSErr e = ready())
        return e;
    if (_previewing)
        return GrabberErr::wrongState;
    if (gate.threshold <= 0 || gate.threshold > 1 || gate.preRollSeconds < 0 ||
        gate.preRollSeconds > kLongestPreRollSeconds || gate.silenceSeconds <= 0)
        return GrabberErr::paramErr;
    _keepOpenTimer.stop();
    if (OSErr e = openStream())
        return e;
    _gate = gate;
    applyGate();
    if (_recording)
        _segmentOnset = frameNow();
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::stopListening() {
    if (!_gate)
        return GrabberErr::noErr;
    if (_recording && _paused && _heldAt) {
        // A file held by listening stays paused as an ordinary pause would.
        _writer->resume(frameNow());
        _stream->setCapturing(false);
        _heldAt.reset();
    }
    _gate.reset();
    if (_writer) {
        _writer->keepRecent(nullptr, 0, 0);
        _writer->limitToSilence(nullptr, 0);
    }
    if (_stream) {
        _stream->voiceTrigger().switchOff();
        if (!_recording && !_previewing)
            keepOpenForAWhile();
    }
    return GrabberErr::noErr;
}

std::optional<uint64_t> PortAudioGrabber::voiceStartFrame(uint64_t* onset) const {
    if (!_gate || !_stream || (_recording && !_paused))
        return std::nullopt;
    const uint64_t run = _stream->voiceTrigger().runStart();
    if (run == VoiceTrigger::kNone || run < _armFrom)
        return std::nullopt;
    *onset = run;
    const uint64_t preRoll = framesOf(_gate->preRollSeconds);
    // No frame belongs to two files: the pre-roll gives way to the end of the one before.
    return std::max(run > preRoll ? run - preRoll : 0, _armFrom);
}

std::optional<uint64_t> PortAudioGrabber::silenceEndFrame() const {
    if (!_gate || !_stream || !_recording || _paused)
        return std::nullopt;
    const uint64_t lastSound = std::max(_stream->voiceTrigger().lastLoudEnd(), _segmentOnset);
    const uint64_t end = lastSound + framesOf(_gate->silenceSeconds);
    if (_stream->framesPushed() < end)
        return std::nullopt;
    return end;
}

VoiceActivity PortAudioGrabber::voiceActivity() const {
    VoiceActivity activity;
    uint64_t onset = 0;
    activity.sound = voiceStartFrame(&onset).has_value();
    activity.silence = silenceEndFrame().has_value();
    return activity;
}
