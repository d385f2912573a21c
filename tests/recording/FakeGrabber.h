#pragma once

#include "platform/audio/SequenceGrabber.h"

#include <QFile>
#include <QMap>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <vector>

// What the fake capture layer was asked, and what it will answer. Shared with the test, so
// it outlives the grabber that the recorder owns.
struct FakeGrabberState {
    QStringList calls;             // one entry per call, e.g. "setChannelUsage 3"
    QMap<QString, OSErr> failures; // operation name -> the code it answers
    bool hasDriver = true;
    int16_t channelCount = 2;
    int16_t levels[2] = {40, 12};
    std::vector<LevelBlock> levelBlocks; // handed out, and emptied, by the next takeLevelBlocks
    ChannelSettings channel;             // what the channel is configured with
    OSErr dialogResult = GrabberErr::noErr;
    ChannelSettings dialogChoice; // applied to the channel when the dialog is confirmed
    CaptureHealth health;
    QByteArray rates;
    bool destroyed = false;
    QStringList presentDevices; // the named inputs that are plugged in
    bool listening = false;     // voice activation listens
    VoiceGate gate;             // ... for this
    VoiceActivity activity;     // what it answers it heard

    int count(const QString& call) const { return calls.count(call); }
};

// A capture layer without a device: records every call and answers from the state, so that
// the recorder's state machine can be driven and faults injected. The movie file services
// act on real files, as the real layer's do.
class FakeGrabber : public SequenceGrabber {
public:
    explicit FakeGrabber(std::shared_ptr<FakeGrabberState> state) : _s(std::move(state)) {}
    ~FakeGrabber() override { _s->destroyed = true; }

    OSErr initialize() override { return call("initialize"); }
    OSErr newSoundChannel() override { return call("newSoundChannel"); }
    OSErr setChannelUsage(int usage) override { return call("setChannelUsage", usage); }
    OSErr setChannelVolume(int volume) override { return call("setChannelVolume", volume); }
    OSErr setAdditionalSoundRates(const QByteArray& rates) override {
        _s->rates = rates;
        return call("setAdditionalSoundRates");
    }
    bool hasInputDriver() const override { return _s->hasDriver; }
    OSErr setLevelMetering(bool on) override { return call("setLevelMetering", on); }
    OSErr getChannelCount(int16_t* count) override {
        const OSErr err = call("getChannelCount");
        if (err == GrabberErr::noErr)
            *count = _s->channelCount;
        return err;
    }
    size_t takeLevelBlocks(LevelBlock* out, size_t max) override {
        const size_t n = std::min(max, _s->levelBlocks.size());
        std::copy_n(_s->levelBlocks.begin(), n, out);
        _s->levelBlocks.erase(_s->levelBlocks.begin(), _s->levelBlocks.begin() + long(n));
        return n;
    }
    OSErr getActiveLevels(int16_t levels[2]) override {
        const OSErr err = call("getActiveLevels");
        if (err != GrabberErr::noErr)
            return err;
        levels[0] = _s->levels[0];
        if (_s->channelCount > 1)
            levels[1] = _s->levels[1];
        return err;
    }
    OSErr startPreview() override { return call("startPreview"); }
    OSErr stop() override { return call("stop"); }
    OSErr stopAtRecordedLength(int32_t) override { return call("stop"); }
    OSErr pause(bool paused) override { return call("pause", paused); }
    OSErr idle() override { return call("idle"); }
    OSErr setDataOutput(const QString& path, int flags) override {
        _s->calls << QStringLiteral("setDataOutput %1 %2").arg(path).arg(flags);
        return failure("setDataOutput");
    }
    OSErr createMovieFile(const QString& path, uint32_t creator, int scriptCode,
                          uint32_t flags) override {
        _s->calls << QStringLiteral("createMovieFile %1 %2 %3 %4")
                         .arg(path)
                         .arg(creator, 0, 16)
                         .arg(scriptCode)
                         .arg(flags, 0, 16);
        const OSErr err = failure("createMovieFile");
        if (err == GrabberErr::noErr) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return GrabberErr::fileError;
        }
        return err;
    }
    OSErr deleteMovieFile(const QString& path) override {
        _s->calls << QStringLiteral("deleteMovieFile %1").arg(path);
        QFile::remove(path);
        return failure("deleteMovieFile");
    }
    OSErr setMaximumRecordTime(int32_t ticks) override {
        return call("setMaximumRecordTime", ticks);
    }
    OSErr startRecord() override { return call("startRecord"); }
    OSErr settingsDialog(QWidget*) override {
        const OSErr err = call("settingsDialog");
        if (err != GrabberErr::noErr)
            return err;
        if (_s->dialogResult == GrabberErr::noErr)
            _s->channel = _s->dialogChoice;
        return _s->dialogResult;
    }
    OSErr getChannelSettings(ChannelSettings* out) override {
        const OSErr err = call("getChannelSettings");
        if (err == GrabberErr::noErr)
            *out = _s->channel;
        return err;
    }
    OSErr setChannelSettings(const ChannelSettings& settings) override {
        const OSErr err = call("setChannelSettings");
        if (err == GrabberErr::noErr)
            _s->channel = settings;
        return err;
    }
    OSErr startListening(const VoiceGate& gate) override {
        _s->gate = gate;
        _s->listening = true;
        return call("startListening");
    }
    OSErr stopListening() override {
        _s->listening = false;
        return call("stopListening");
    }
    VoiceActivity voiceActivity() const override { return _s->activity; }
    CaptureHealth health() const override { return _s->health; }
    int64_t recordStartNanoseconds() const override { return 0; }
    QString startFailureText() const override { return {}; }
    QString missingInputDevice() const override {
        const QString& device = _s->channel.inputDevice;
        return device.isEmpty() || _s->presentDevices.contains(device) ? QString() : device;
    }
    void disposeChannel() override { _s->calls << QStringLiteral("disposeChannel"); }

private:
    OSErr failure(const char* name) const {
        return _s->failures.value(QLatin1String(name), GrabberErr::noErr);
    }
    OSErr call(const char* name) {
        _s->calls << QLatin1String(name);
        return failure(name);
    }
    OSErr call(const char* name, int argument) {
        _s->calls << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(argument);
        return failure(name);
    }

    std::shared_ptr<FakeGrabberState> _s;
};

// A recorder factory's grabber source on the given state.
inline auto fakeGrabberFactory(std::shared_ptr<FakeGrabberState> state) {
    return [state]() -> std::unique_ptr<SequenceGrabber> {
        return std::make_unique<FakeGrabber>(state);
    };
}
