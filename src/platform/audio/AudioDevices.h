#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The system's audio inputs: the sound server's sources by the names people know them by, and
// the devices PortAudio sees (for systems without a sound server). Callers hold a
// PortAudioLibrary::Session.
namespace AudioDevices {
// Input devices by name (the ALSA host API's first; others after, without repeats).
QStringList inputNames();
// The PortAudio index of the named input, or of the default input for an empty name; -1 when
// there is none.
int findInput(const QString& name);
// The standard rates (8000-48000 Hz) the device accepts with the given channel count.
QList<int> supportedRates(int device, int channels);
// Whether the device is the sound server's ALSA plugin ("pulse", "default", "pipewire").
bool isSoundServerDevice(int device);
// The first input of ALSA's own hardware, which does not go through the sound server; -1 when
// there is none.
int firstHardwareInput();

struct Input {
    enum class Kind { Source, Monitor, Device };
    QString name;  // what the settings keep: the source's stable name, or the device's
    QString label; // what people read: the source's description, "Monitor of …", the device
    Kind kind = Kind::Device;
    bool isDefault = false; // the sound server's default source
    QString monitorOf;      // for a monitor, the output's description

    bool operator==(const Input&) const = default;
};
// Every input: the server's sources (its default first, the monitors of its outputs last),
// then the devices.
QList<Input> inputs();
// The input a user named by its stable name or its label; empty with the reason in English
// when there is none, or when the label belongs to several (their names are then listed).
QString resolve(const QString& nameOrLabel, QString* error);
} // namespace AudioDevices
