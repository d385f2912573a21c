#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The system's audio devices as PortAudio sees them. Callers hold a PortAudioLibrary::Session.
namespace AudioDevices {
// Input devices by name (the ALSA host API's first; others after, without repeats).
QStringList inputNames();
// The PortAudio index of the named input, or of the default input for an empty name; -1 when
// there is none.
int findInput(const QString& name);
// The standard rates (8000-48000 Hz) the device accepts with the given channel count.
QList<int> supportedRates(int device, int channels);
} // namespace AudioDevices
