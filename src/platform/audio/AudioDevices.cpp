#include "platform/audio/AudioDevices.h"

#include "platform/audio/PortAudioLibrary.h"
#include "platform/audio/SequenceGrabber.h"
#include "platform/audio/SoundSources.h"
#include "platform/foundation/LocalizedString.h"

#include <portaudio.h>

namespace {
bool isAlsa(const PaDeviceInfo* info) {
    const PaHostApiInfo* api = Pa_GetHostApiInfo(info->hostApi);
    return api && api->type == paALSA;
}

// ALSA devices first: on a desktop they reach PulseAudio or PipeWire.
QList<int> inputsInOrder() {
    QList<int> alsa;
    QList<int> others;
    const int count = Pa_GetDeviceCount();
    for (int i = 0; i < count; ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (!info || info->maxInputChannels < 1)
            continue;
        (isAlsa(info) ? alsa : others).append(i);
    }
    return alsa + others;
}
} // namespace

QStringList AudioDevices::inputNames() {
    QStringList names;
    for (int i : inputsInOrder()) {
        const QString name = QString::fromUtf8(Pa_GetDeviceInfo(i)->name);
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

int AudioDevices::findInput(const QString& name) {
    if (name.isEmpty()) {
        const PaDeviceIndex device = Pa_GetDefaultInputDevice();
        return device == paNoDevice ? -1 : device;
    }
    for (int i : inputsInOrder()) {
        if (QString::fromUtf8(Pa_GetDeviceInfo(i)->name) == name)
            return i;
    }
    return -1;
}

QList<int> AudioDevices::supportedRates(int device, int channels) {
    QList<int> rates;
    const PaDeviceInfo* info = device >= 0 ? Pa_GetDeviceInfo(device) : nullptr;
    if (!info)
        return rates;
    for (int rate : {8000, 11025, 16000, 22050, 32000, 44100, 48000}) {
        PaStreamParameters in{};
        in.device = device;
        in.channelCount = channels;
        in.sampleFormat = paInt16;
        in.suggestedLatency = info->defaultLowInputLatency;
        if (Pa_IsFormatSupported(&in, nullptr, rate) == paFormatIsSupported)
            rates.append(rate);
    }
    return rates;
}

bool AudioDevices::isSoundServerDevice(int device) {
    const PaDeviceInfo* info = device >= 0 ? Pa_GetDeviceInfo(device) : nullptr;
    if (!info || !isAlsa(info))
        return false;
    const QByteArray name(info->name);
    return name == "pulse" || name == "default" || name == "pipewire";
}

int AudioDevices::firstHardwareInput() {
    for (int i : inputsInOrder()) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (isAlsa(info) && QByteArray(info->name).contains("(hw:"))
            return i;
    }
    return -1;
}

QList<AudioDevices::Input> AudioDevices::inputs() {
    QList<Input> all;
    SoundSources& server = SoundSources::shared();
    const QString defaultSource = server.defaultSourceName();
    for (const SoundSources::Source& source : server.sources()) {
        Input input;
        input.name = source.name;
        input.kind = source.isMonitor ? Input::Kind::Monitor : Input::Kind::Source;
        input.label = source.isMonitor ? BVLocalizedString("MonitorOfOutput").arg(source.monitorOf)
                                       : source.description;
        input.isDefault = source.name == defaultSource;
        input.monitorOf = source.monitorOf;
        all.append(input);
    }
    for (const QString& device : inputNames()) {
        Input input;
        input.name = device;
        input.label = device;
        all.append(input);
    }
    return all;
}

QString AudioDevices::resolve(const QString& nameOrLabel, QString* error) {
    const QList<Input> all = inputs();
    for (const Input& input : all)
        if (input.name == nameOrLabel)
            return input.name;
    // By what people read: our label, or the server's own description (a monitor's).
    QStringList matching;
    for (const Input& input : all)
        if (input.label == nameOrLabel)
            matching << input.name;
    for (const SoundSources::Source& source : SoundSources::shared().sources())
        if (source.description == nameOrLabel && !matching.contains(source.name))
            matching << source.name;
    if (matching.size() == 1)
        return matching.first();
    if (error)
        *error = matching.isEmpty()
                     ? QStringLiteral("no input device named \"%1\"").arg(nameOrLabel)
                     : QStringLiteral("several inputs are called \"%1\"; name one of them: %2")
                           .arg(nameOrLabel, matching.join(QStringLiteral(", ")));
    return {};
}

QStringList InputDeviceNames() {
    PortAudioLibrary::Session session;
    QStringList names;
    for (const SoundSources::Source& source : SoundSources::shared().sources())
        names << source.name;
    if (session.ok())
        names << AudioDevices::inputNames();
    return names;
}

QString DefaultInputDeviceName() {
    PortAudioLibrary::Session session;
    if (!session.ok())
        return {};
    const int device = AudioDevices::findInput(QString());
    const PaDeviceInfo* info = device >= 0 ? Pa_GetDeviceInfo(device) : nullptr;
    if (!info)
        return {};
    // The server's device records from its default source: named as people know it.
    if (AudioDevices::isSoundServerDevice(device))
        if (const auto source =
                SoundSources::shared().find(SoundSources::shared().defaultSourceName()))
            return source->description;
    return QString::fromUtf8(info->name);
}
