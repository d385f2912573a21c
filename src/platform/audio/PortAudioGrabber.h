#pragma once

#include "platform/audio/CaptureStream.h"
#include "platform/audio/LevelMeter.h"
#include "platform/audio/PortAudioLibrary.h"
#include "platform/audio/SequenceGrabber.h"

#include <QList>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

class CaptureWriter;

// The grabber on PortAudio: one input stream (with playthrough to the default output) and a
// writer thread that puts the captured sound into our QuickTime files. See PortAudioGrabber.cpp
// for how the pieces fit.
class PortAudioGrabber final : public SequenceGrabber {
public:
    // After a stop the input stays open this long, so that a recording that follows at once
    // needs no new device and continues from the very next sample.
    static constexpr std::chrono::milliseconds kKeepOpen{3000};
    // A recording started within this time after the previous one stopped continues it
    // seamlessly (a snip); later ones start with the sound of the moment they start.
    static constexpr std::chrono::milliseconds kHandOverWindow{1000};
    // While listening the ring keeps the pre-roll and this much more (it holds 8 s).
    static constexpr double kListeningSlackSeconds = 4.0;
    static constexpr double kLongestPreRollSeconds = 3.0;

    PortAudioGrabber();
    ~PortAudioGrabber() override;

    OSErr initialize() override;
    OSErr newSoundChannel() override;
    OSErr setChannelUsage(int usage) override;
    OSErr setChannelVolume(int volume) override;
    OSErr setAdditionalSoundRates(const QByteArray& rates) override;

    bool hasInputDriver() const override;
    OSErr setLevelMetering(bool on) override;
    OSErr getChannelCount(int16_t* count) override;
    OSErr getActiveLevels(int16_t levels[2]) override;
    size_t takeLevelBlocks(LevelBlock* out, size_t max) override;
    std::optional<double> inputGain() override;
    OSErr setInputGain(double gain) override;

    OSErr startPreview() override;
    OSErr stop() override;
    OSErr stopAtRecordedLength(int32_t ticks) override;
    OSErr pause(bool paused) override;
    OSErr idle() override;

    OSErr setDataOutput(const QString& path, int flags) override;
    OSErr createMovieFile(const QString& path, uint32_t creator, int scriptCode,
                          uint32_t flags) override;
    OSErr deleteMovieFile(const QString& path) override;
    OSErr setMaximumRecordTime(int32_t ticks) override;
    OSErr startRecord() override;

    OSErr settingsDialog(QWidget* parent) override;
    OSErr getChannelSettings(ChannelSettings* out) override;
    OSErr setChannelSettings(const ChannelSettings& settings) override;

    OSErr startListening(const VoiceGate& gate) override;
    OSErr stopListening() override;
    VoiceActivity voiceActivity() const override;

    CaptureHealth health() const override;
    QString missingInputDevice() const override;
    QString routeNotice() const override { return _stream ? _stream->notice() : QString(); }
    int64_t recordStartNanoseconds() const override { return _recording ? _startNs : 0; }
    QString startFailureText() const override { return _startFailure; }
    QString deviceFailureText() const override { return _deviceFailure; }

    void disposeChannel() override;

    // The rates the settings offer for an input: what it supports plus the additional rates.
    QList<int> offeredRates(const QString& device);
    // Where an input named in the settings is now: one of the sound server's sources, or a
    // device; the default input when it is not there (*missing then says so).
    struct Route {
        int device = -1;
        QString source;
    };
    static Route routeOf(const QString& input, bool* missing = nullptr);
    // Whether the input device is open (during preview, recording and the keep-open time).
    bool isStreamOpen() const { return bool(_stream); }

private:
    QString _startFailure;  // why the last startRecord() could not make its file
    QString _deviceFailure; // why the input could not be opened the last time it was tried
    // stop(), or with the file ending `length` frames of sound after its start.
    OSErr stopRecordingAt(std::optional<uint64_t> length);
    OSErr ready() const;
    OSErr openStream();
    // The stream for `settings` (opened unless it runs already).
    OSErr openStreamFor(const ChannelSettings& settings);
    // The level of `settings`' input on the meter's scale, for the settings dialog; -1 when it
    // cannot be opened.
    int meterLevel(const ChannelSettings& settings);
    // The server's source whose volume is the channel's input gain; empty when there is none.
    QString gainSource() const;
    void closeStream();
    void updateMonitor();
    void keepOpenForAWhile();
    void waitForOwnFile(const QString& path);
    // Voice activation's trigger and the writer's short ring, on the open stream.
    void applyGate();
    uint64_t framesOf(double seconds) const;
    // Where the sound heard while listening begins its file (its pre-roll before it), and
    // where the silence after the running recording reached its length; none when there is
    // no such sound or silence.
    std::optional<uint64_t> voiceStartFrame(uint64_t* onset) const;
    std::optional<uint64_t> silenceEndFrame() const;
    // The frame captured at this moment, no earlier than what has been pushed.
    uint64_t frameNow() const;

    std::unique_ptr<PortAudioLibrary::Session> _session;
    bool _initialized = false;
    bool _hasChannel = false;
    int _usage = 0;
    bool _metering = false;
    ChannelSettings _settings;
    QList<int> _additionalRates;
    QString _dataOutput;
    QString _recordedPath; // the file of the last recording
    int32_t _maximumRecordTicks = 0;

    std::unique_ptr<CaptureStream> _stream;
    std::unique_ptr<CaptureWriter> _writer;
    QTimer _keepOpenTimer;
    bool _previewing = false;
    bool _recording = false;
    bool _paused = false;
    // Where the current file begins: known at once after a hand-over, else once the input
    // callback has marked it.
    std::optional<uint64_t> fileStartFrame() const;
    std::optional<uint64_t> _fileStart;
    std::shared_ptr<const StartMark> _startMark;
    int64_t _startNs = 0;
    uint64_t _overrunBaseline = 0;
    uint64_t _lostBaseline = 0;
    std::optional<uint64_t> _handOverFrame;
    std::chrono::steady_clock::time_point _stoppedAt{};
    CaptureHealth _lastHealth;
    bool _monitorFailureLogged = false;
    bool _deviceFailureLogged = false;
    LevelMeter::Channel _meters[2];
    std::optional<VoiceGate> _gate;  // listening
    uint64_t _armFrom = 0;           // sound counts from this ring frame on
    uint64_t _segmentOnset = 0;      // where the sound of the running stretch began
    std::optional<uint64_t> _heldAt; // where a pause while listening holds the file
    QString _meterFailedFor;         // the input the dialog's meter could not open, not tried again
};
