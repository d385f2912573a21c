#include "app/InputDeviceOverride.h"

namespace {
class InputOverrideGrabber : public SequenceGrabber {
public:
    InputOverrideGrabber(std::unique_ptr<SequenceGrabber> inner, QString device)
        : _inner(std::move(inner)), _device(std::move(device)) {}

    OSErr initialize() override { return _inner->initialize(); }
    OSErr newSoundChannel() override {
        const OSErr err = _inner->newSoundChannel();
        if (err != GrabberErr::noErr)
            return err;
        ChannelSettings settings;
        if (_inner->getChannelSettings(&settings) == GrabberErr::noErr)
            setChannelSettings(settings);
        return err;
    }
    OSErr setChannelUsage(int usage) override { return _inner->setChannelUsage(usage); }
    OSErr setChannelVolume(int volume) override { return _inner->setChannelVolume(volume); }
    OSErr setAdditionalSoundRates(const QByteArray& rates) override {
        return _inner->setAdditionalSoundRates(rates);
    }
    bool hasInputDriver() const override { return _inner->hasInputDriver(); }
    OSErr setLevelMetering(bool on) override { return _inner->setLevelMetering(on); }
    OSErr getChannelCount(int16_t* count) override { return _inner->getChannelCount(count); }
    OSErr getActiveLevels(int16_t levels[2]) override { return _inner->getActiveLevels(levels); }
    size_t takeLevelBlocks(LevelBlock* out, size_t max) override {
        return _inner->takeLevelBlocks(out, max);
    }
    std::optional<double> inputGain() override { return _inner->inputGain(); }
    OSErr setInputGain(double gain) override { return _inner->setInputGain(gain); }
    OSErr startPreview() override { return _inner->startPreview(); }
    OSErr stop() override { return _inner->stop(); }
    OSErr stopAtRecordedLength(int32_t ticks) override {
        return _inner->stopAtRecordedLength(ticks);
    }
    OSErr pause(bool paused) override { return _inner->pause(paused); }
    OSErr idle() override { return _inner->idle(); }
    OSErr setDataOutput(const QString& path, int flags) override {
        return _inner->setDataOutput(path, flags);
    }
    OSErr createMovieFile(const QString& path, uint32_t creator, int scriptCode,
                          uint32_t flags) override {
        return _inner->createMovieFile(path, creator, scriptCode, flags);
    }
    OSErr deleteMovieFile(const QString& path) override { return _inner->deleteMovieFile(path); }
    OSErr setMaximumRecordTime(int32_t ticks) override {
        return _inner->setMaximumRecordTime(ticks);
    }
    OSErr startRecord() override { return _inner->startRecord(); }
    OSErr settingsDialog(QWidget* parent) override {
        const OSErr err = _inner->settingsDialog(parent);
        // A device chosen in the dialog replaces the one given for this run.
        ChannelSettings settings;
        if (err == GrabberErr::noErr && _inner->getChannelSettings(&settings) == GrabberErr::noErr)
            _stored = settings.inputDevice;
        return err;
    }
    OSErr getChannelSettings(ChannelSettings* out) override {
        const OSErr err = _inner->getChannelSettings(out);
        if (err == GrabberErr::noErr && out->inputDevice == _device)
            out->inputDevice = _stored;
        return err;
    }
    OSErr setChannelSettings(const ChannelSettings& settings) override {
        _stored = settings.inputDevice;
        ChannelSettings forThisRun = settings;
        forThisRun.inputDevice = _device;
        return _inner->setChannelSettings(forThisRun);
    }
    OSErr startListening(const VoiceGate& gate) override { return _inner->startListening(gate); }
    OSErr stopListening() override { return _inner->stopListening(); }
    VoiceActivity voiceActivity() const override { return _inner->voiceActivity(); }
    CaptureHealth health() const override { return _inner->health(); }
    int64_t recordStartNanoseconds() const override { return _inner->recordStartNanoseconds(); }
    QString startFailureText() const override { return _inner->startFailureText(); }
    QString deviceFailureText() const override { return _inner->deviceFailureText(); }
    QString missingInputDevice() const override { return _inner->missingInputDevice(); }
    QString routeNotice() const override { return _inner->routeNotice(); }
    void disposeChannel() override { _inner->disposeChannel(); }

private:
    std::unique_ptr<SequenceGrabber> _inner;
    QString _device;
    QString _stored; // the device the settings name, reported back unchanged
};
} // namespace

std::unique_ptr<SequenceGrabber> WithInputDevice(std::unique_ptr<SequenceGrabber> grabber,
                                                 const QString& inputDevice) {
    if (!grabber || inputDevice.isEmpty())
        return grabber;
    return std::make_unique<InputOverrideGrabber>(std::move(grabber), inputDevice);
}
