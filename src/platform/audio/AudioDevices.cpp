#include "platform/audio/AudioDevices.h"

#include "platform/audio/PortAudioLibrary.h"
#include "platform/audio/SequenceGrabber.h"

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

QStringList InputDeviceNames() {
    PortAudioLibrary::Session session;
    if (!session.ok())
        return {};
    return AudioDevices::inputNames();
}

QString DefaultInputDeviceName() {
    PortAudioLibrary::Session session;
    if (!session.ok())
        return {};
    const int device = AudioDevices::findInput(QString());
    const PaDeviceInfo* info = device >= 0 ? Pa_GetDeviceInfo(device) : nullptr;
    return info ? QString::fromUtf8(info->name) : QString();
}
