#pragma once

#include "platform/audio/LevelBlocks.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

class QWidget;

// Result codes of the capture layer. 0 is success; everything else is negative.
using OSErr = int32_t;
namespace GrabberErr {
constexpr OSErr noErr = 0;
constexpr OSErr userCanceled = -128;   // the settings dialog was cancelled
constexpr OSErr badComponent = -2000;  // no grabber, or it was not initialised
constexpr OSErr noChannel = -2001;     // no sound channel
constexpr OSErr noDevice = -2002;      // no usable input device
constexpr OSErr deviceFailed = -2003;  // the device could not be opened or started
constexpr OSErr wrongState = -2004;    // the request does not fit what is running
constexpr OSErr noDataOutput = -2005;  // record without a data output
constexpr OSErr fileError = -2006;     // the movie file could not be created or written
constexpr OSErr badSettings = -2007;   // settings bytes we did not write
constexpr OSErr noGainControl = -2008; // the input has no volume the sound server controls
constexpr OSErr paramErr = -50;        // a bad argument
} // namespace GrabberErr

// The creator code createMovieFile() is given ('TVOD'); Linux files have none, so it is ignored.
constexpr uint32_t kMovieCreator = 0x54564F44;
// Flags of createMovieFile(): do not create a movie, do not open, no resource file.
constexpr uint32_t kCreateMovieFileFlags = 0x70000000;
// The highest input gain offered: 150 %, as the desktop's mixer goes.
constexpr double kMaxInputGain = 1.5;
// Flag of setDataOutput(): record to disk.
constexpr int kSeqGrabToDisk = 1;
// Channel usage: record and preview.
constexpr int kSeqGrabRecordAndPreview = 3;

// How sound is captured: what the settings dialog edits and the settings bytes carry.
struct ChannelSettings {
    enum class Compression : int { None = 0, Ima4 = 1 };
    QString inputDevice;    // device name; empty: the default input
    int sampleRate = 44100; // Hz
    int channels = 2;       // 1 or 2
    int sampleBits = 16;    // 16 or 24 (24 only without compression)
    Compression compression = Compression::None;
    int monitorVolume = 16; // playthrough volume, 8.8 fixed point (256 = full, 0 = off)

    // Rates 1000-65535 Hz (a movie's sample description holds 16.16), 1 or 2 channels, 16 or
    // 24 bits, IMA only with 16 bits, volume 0-256, a device name of at most 1 KiB.
    bool isValid() const;
    bool operator==(const ChannelSettings&) const = default;
};

// What the capture layer can tell about a running recording beyond its result codes.
struct CaptureHealth {
    uint64_t overruns = 0;       // capture blocks lost because the writer fell behind
    OSErr writeError = 0;        // non-zero once writing the movie file failed
    QString writeErrorText;      // why, for the user ("No space left on device")
    OSErr deviceError = 0;       // non-zero once the input device stopped delivering sound
    uint64_t lostFrames = 0;     // frames in those lost blocks
    uint64_t framesCaptured = 0; // frames of the current recording taken from the device
    uint64_t framesWritten = 0;  // ... and of those, handed to the movie file
};

// What voice activation listens for.
struct VoiceGate {
    double threshold = 0.01;     // the magnitude, relative to full scale, that counts as sound
    double preRollSeconds = 0.5; // kept ahead of the sound that starts a recording
    double silenceSeconds = 3.0; // after the last sound, what ends (or pauses) a recording
};

// What the input did, as voice activation sees it.
struct VoiceActivity {
    bool sound = false;   // sound rose since listening began or the last recording ended or paused
    bool silence = false; // the running recording has had its silence
};

// The capture layer the recorder drives: one grabber with one sound channel. Every operation
// answers 0 or a negative GrabberErr code. Called on the main thread only; the layer moves
// sound on threads of its own (the device callback and a file writer).
class SequenceGrabber {
public:
    virtual ~SequenceGrabber() = default;

    virtual OSErr initialize() = 0;
    virtual OSErr newSoundChannel() = 0;
    virtual OSErr setChannelUsage(int usage) = 0;
    virtual OSErr setChannelVolume(int volume) = 0; // 8.8 fixed point
    // The 20-byte block of five 16.16 fixed-point rates in native byte order.
    virtual OSErr setAdditionalSoundRates(const QByteArray& rates) = 0;

    // The input driver: false when the channel has none.
    virtual bool hasInputDriver() const = 0;
    virtual OSErr setLevelMetering(bool on) = 0;
    virtual OSErr getChannelCount(int16_t* count) = 0;
    // Current levels on the meter's 0-98 scale; a one-channel input writes only levels[0].
    virtual OSErr getActiveLevels(int16_t levels[2]) = 0;
    // The 50 ms level blocks measured since the last call while the input runs, oldest first
    // (at most `max`).
    virtual size_t takeLevelBlocks(LevelBlock* out, size_t max) {
        (void)out;
        (void)max;
        return 0;
    }

    // The gain the sound server applies to the channel's input (1.0 = 100 %), which the
    // desktop's mixer shows too; none when the input has no volume the server controls (a
    // device of ALSA's own, no server).
    virtual std::optional<double> inputGain() { return std::nullopt; }
    // Sets it, 0 to kMaxInputGain: noGainControl when the input has none, paramErr out of
    // range, deviceFailed when the server refused.
    virtual OSErr setInputGain(double gain) {
        (void)gain;
        return GrabberErr::noGainControl;
    }

    virtual OSErr startPreview() = 0;
    // Ends preview or recording; for a recording the movie file is completed.
    virtual OSErr stop() = 0;
    // Ends a recording as stop() does, but with the file holding exactly `ticks` of sound (to a
    // whole packet), however late this call comes: a timed recording's end. Anything else
    // ends as stop() ends it.
    virtual OSErr stopAtRecordedLength(int32_t ticks) = 0;
    virtual OSErr pause(bool paused) = 0;
    // Gives the grabber time; non-zero when something went wrong (see health()).
    virtual OSErr idle() = 0;

    virtual OSErr setDataOutput(const QString& path, int flags) = 0;
    virtual OSErr createMovieFile(const QString& path, uint32_t creator, int scriptCode,
                                  uint32_t flags) = 0;
    virtual OSErr deleteMovieFile(const QString& path) = 0;
    virtual OSErr setMaximumRecordTime(int32_t ticks) = 0;
    virtual OSErr startRecord() = 0;

    // Runs the settings dialog; 0 on OK, userCanceled on Cancel.
    virtual OSErr settingsDialog(QWidget* parent) = 0;
    virtual OSErr getChannelSettings(ChannelSettings* out) = 0;
    virtual OSErr setChannelSettings(const ChannelSettings& settings) = 0;

    // Voice activation. While listening the input stays open and its recent past is kept: a
    // recording started (or resumed) then begins the pre-roll before the sound that was heard,
    // so that the file holds it whole, and one stopped (or paused) once its silence came ends
    // where that silence reached its length.
    virtual OSErr startListening(const VoiceGate& gate) = 0;
    virtual OSErr stopListening() = 0;
    virtual VoiceActivity voiceActivity() const = 0;

    virtual CaptureHealth health() const = 0;
    // The input the channel's settings name when no such device is present now, so that the
    // channel records from the default input; empty otherwise.
    virtual QString missingInputDevice() const { return {}; }
    // For the user, when the running input is not the one asked for (the sound server did not
    // answer in time and a device of ALSA's own stands in); empty otherwise.
    virtual QString routeNotice() const { return {}; }
    // The steady-clock moment (nanoseconds) at which the running recording's file begins, so
    // that a timed cut-off can be measured from it; 0 when the layer cannot tell.
    virtual int64_t recordStartNanoseconds() const = 0;
    // Why the last startRecord() could not make its file, in the system's words (a full disk,
    // a file size limit); empty when it failed for another reason or did not fail.
    virtual QString startFailureText() const = 0;
    // Why the input could not be opened the last time it was tried (the device is busy, the
    // sound server did not answer), in English; empty when it opened.
    virtual QString deviceFailureText() const { return {}; }

    virtual void disposeChannel() = 0;
};

// Flatten a settings record into our own versioned, checksummed bytes, and rebuild one from
// such bytes. Rebuilding bytes we did not write fails with badSettings and leaves *out alone.
OSErr PutUserDataIntoHandle(const ChannelSettings& settings, QByteArray* out);
OSErr NewUserDataFromHandle(const QByteArray& bytes, ChannelSettings* out);

// The default grabber on the system's audio devices (OpenDefaultComponent). Never null.
std::unique_ptr<SequenceGrabber> OpenDefaultGrabber();

// The names of the inputs, as ChannelSettings::inputDevice takes them: the sound server's
// sources, then the devices.
QStringList InputDeviceNames();
// What people call the default input (the server's default source's description), or empty
// when there is none.
QString DefaultInputDeviceName();
