// The capture layer on PortAudio: the sound settings, their dialog and the input gain.
#include "platform/audio/PortAudioGrabber.h"

#include "platform/audio/AudioDevices.h"
#include "platform/audio/CaptureWriter.h"
#include "platform/audio/SoundSettingsDialog.h"
#include "platform/audio/SoundSources.h"
#include "platform/foundation/Log.h"

#include <algorithm>

QList<int> PortAudioGrabber::offeredRates(const QString& device) {
    const Route route = routeOf(device);
    QList<int> rates;
    if (!route.source.isEmpty()) {
        // The server converts whatever rate its source runs at.
        rates = {8000, 11025, 16000, 22050, 32000, 44100, 48000};
    } else {
        // Probing a device needs it free: the dialog's meter opens it again afterwards.
        closeStream();
        rates = AudioDevices::supportedRates(route.device, 1);
    }
    for (int rate : _additionalRates) {
        if (!rates.contains(rate))
            rates.append(rate);
    }
    if (rates.isEmpty())
        rates = {44100, 48000};
    std::sort(rates.begin(), rates.end());
    return rates;
}

OSErr PortAudioGrabber::settingsDialog(QWidget* parent) {
    if (OSErr e = ready())
        return e;
    if (_previewing || _recording)
        return GrabberErr::wrongState;
    closeStream(); // probing the device's rates needs it free
    _meterFailedFor.clear();
    SoundSettingsDialog dialog(parent);
    dialog.setDevices(AudioDevices::inputs());
    // Sources plugged in or out while the dialog is open come and go in its list.
    QObject::connect(&SoundSources::shared(), &SoundSources::sourcesChanged, &dialog, [&dialog] {
        dialog.setDevices(AudioDevices::inputs());
        dialog.updateGain();
    });
    dialog.setRateSource([this](const QString& device) { return offeredRates(device); });
    dialog.setLevelSource([this](const ChannelSettings& chosen) { return meterLevel(chosen); });
    dialog.setGainControl(
        [](const QString& device) -> std::optional<double> {
            const Route route = routeOf(device);
            const QString source = !route.source.isEmpty() ? route.source
                                   : AudioDevices::isSoundServerDevice(route.device)
                                       ? SoundSources::shared().defaultSourceName()
                                       : QString();
            const auto found = SoundSources::shared().find(source);
            return found && found->name == source ? std::optional(found->gain()) : std::nullopt;
        },
        [](const QString& device, double gain) {
            const Route route = routeOf(device);
            const QString source =
                !route.source.isEmpty() ? route.source : SoundSources::shared().defaultSourceName();
            QString why;
            if (SoundSources::shared().setGain(source, gain, &why))
                return true;
            bvLog(QStringLiteral("couldn't set the input gain: %1").arg(why));
            return false;
        });
    dialog.setSettings(_settings);
    if (parent)
        dialog.setWindowModality(Qt::WindowModal);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    closeStream(); // the meter's
    if (!accepted)
        return GrabberErr::userCanceled;
    return setChannelSettings(dialog.settings());
}

int PortAudioGrabber::meterLevel(const ChannelSettings& chosen) {
    if (_meterFailedFor == chosen.inputDevice)
        return -1;
    const bool wasOpen = _stream && _stream->isRunning();
    if (openStreamFor(chosen) != GrabberErr::noErr) {
        _meterFailedFor = chosen.inputDevice;
        return -1;
    }
    if (!wasOpen)
        for (auto& meter : _meters)
            meter.reset();
    _meterFailedFor.clear();
    double peaks[2] = {0, 0};
    _stream->takePeaks(peaks);
    const auto now = std::chrono::steady_clock::now();
    int level = 0;
    for (int ch = 0; ch < chosen.channels; ++ch)
        level = std::max(level, _meters[ch].update(peaks[ch], now));
    return level;
}

QString PortAudioGrabber::gainSource() const {
    const Route route = routeOf(_settings.inputDevice);
    if (!route.source.isEmpty())
        return route.source;
    // The server's own device records from its default source.
    if (AudioDevices::isSoundServerDevice(route.device))
        return SoundSources::shared().defaultSourceName();
    return {};
}

std::optional<double> PortAudioGrabber::inputGain() {
    if (ready() != GrabberErr::noErr)
        return std::nullopt;
    const QString source = gainSource();
    const auto found = source.isEmpty() ? std::nullopt : SoundSources::shared().find(source);
    if (!found || found->name != source)
        return std::nullopt;
    return found->gain();
}

OSErr PortAudioGrabber::setInputGain(double gain) {
    if (OSErr e = ready())
        return e;
    if (!(gain >= 0 && gain <= kMaxInputGain))
        return GrabberErr::paramErr;
    const QString source = gainSource();
    if (source.isEmpty())
        return GrabberErr::noGainControl;
    QString why;
    if (!SoundSources::shared().setGain(source, gain, &why)) {
        bvLog(QStringLiteral("couldn't set the input gain: %1").arg(why));
        return GrabberErr::deviceFailed;
    }
    return GrabberErr::noErr;
}

size_t PortAudioGrabber::takeLevelBlocks(LevelBlock* out, size_t max) {
    if (!_stream || !(_previewing || _recording))
        return 0;
    return _stream->takeLevelBlocks(out, max);
}

OSErr PortAudioGrabber::getChannelSettings(ChannelSettings* out) {
    if (OSErr e = ready())
        return e;
    if (!out)
        return GrabberErr::paramErr;
    *out = _settings;
    return GrabberErr::noErr;
}

OSErr PortAudioGrabber::setChannelSettings(const ChannelSettings& settings) {
    if (OSErr e = ready())
        return e;
    if (!settings.isValid())
        return GrabberErr::paramErr;
    if (_previewing || _recording)
        return GrabberErr::wrongState;
    ChannelSettings sameStream = settings;
    sameStream.monitorVolume = _settings.monitorVolume;
    if (!(sameStream == _settings))
        closeStream();
    _settings = settings;
    return GrabberErr::noErr;
}
