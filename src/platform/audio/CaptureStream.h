#pragma once

#include "platform/audio/LevelBlocks.h"
#include "platform/audio/SpscRing.h"
#include "platform/audio/VoiceTrigger.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

typedef void PaStream;
struct PaStreamCallbackTimeInfo;
class PulseStreams;

using SampleRing = SpscRing<int32_t>;

// The ring frame at which a recording asked to begin "now" does begin. The input callback fills
// it in when it pushes the next block, from when that block arrived: blocks are tens of
// milliseconds long, and the file should begin at the moment asked for, not at a block edge.
struct StartMark {
    static constexpr uint64_t kPending = ~uint64_t(0);
    std::atomic<int64_t> requestedNs{0}; // steady-clock time asked for; 0 when none
    std::atomic<uint64_t> frame{kPending};
    // Frames of silence the file begins with, before `frame`: the time between the moment asked
    // for and the first sound of an input just opened, which some sources (a sink's monitor
    // behind a player's long buffer) only hand over a second or so later. Set before `frame`.
    std::atomic<uint64_t> leadIn{0};
};

// Steady-clock nanoseconds, the time base of the marks.
int64_t captureClockNs();
// Whole frames in `ns` nanoseconds at `rate`, and the nanoseconds of `frames` frames.
int64_t framesInNs(int64_t ns, int rate);
int64_t nsOfFrames(uint64_t frames, int rate);

// What an input stream is opened with.
struct CaptureConfig {
    int device = -1; // PortAudio device index; -1 with a source
    QString source;  // a source of the sound server, by its name; empty: the device
    int sampleRate = 44100;
    int channels = 2;
    bool wide = false; // 32-bit capture, for 24-bit recordings

    bool operator==(const CaptureConfig&) const = default;
};

// One open input device and, for playthrough, the default output, through PortAudio; the sound
// server's device ("pulse" or "default") records and plays through on the server's own client
// library instead (PulseStreams), unless BREVOIR_CAPTURE_PATH=alsa asks for the ALSA plugin.
//
// The input callback runs on PortAudio's real-time thread and does no locking, allocation or
// I/O: it converts the block to left-justified 32-bit samples, raises the per-channel peaks
// (atomics), and, while capturing, pushes the block whole into the sample ring (a block that
// does not fit is dropped and counted by the ring). While monitoring it also pushes a float
// copy into the playthrough ring, which the output stream's callback plays at the monitor
// volume; the output never holds up the input, and when the two devices' clocks drift apart
// the playthrough ring drops or pads a little.
class CaptureStream {
public:
    // Opens and starts the input; null with a reason on failure. A sound server that does not
    // answer in time is not waited for: the input is then taken from a device of ALSA's own,
    // and notice() says so.
    static std::unique_ptr<CaptureStream> open(const CaptureConfig& config, QString* error);
    // For the user, when the input is not the one asked for (the server stalled); else empty.
    QString notice() const { return _notice; }
    ~CaptureStream();
    CaptureStream(const CaptureStream&) = delete;
    CaptureStream& operator=(const CaptureStream&) = delete;

    const CaptureConfig& config() const { return _config; }
    // The ring of captured samples; the capture writer consumes it.
    const std::shared_ptr<SampleRing>& ring() const { return _ring; }
    // Frames pushed into the ring so far: the position at which the next pushed frame lands.
    uint64_t framesPushed() const { return _ring->writePosition() / uint64_t(_config.channels); }

    void setCapturing(bool on) { _capturing.store(on, std::memory_order_release); }
    // Asks the input callback to name the frame captured at `ns` (no earlier than the next block
    // it pushes); the mark it fills in is shared with whoever waits for it.
    std::shared_ptr<const StartMark> requestStartAt(int64_t ns);
    // The ring frame captured at `ns`, from when the pushed blocks arrived; no more than two
    // blocks past what has been pushed. Nullopt before any block was pushed.
    std::optional<uint64_t> frameAt(int64_t ns) const;
    // When the ring frame was captured, on the steady clock; nullopt before any block was pushed.
    std::optional<int64_t> timeOfFrame(uint64_t frame) const;
    bool capturing() const { return _capturing.load(std::memory_order_acquire); }
    // What voice activation listens with: the callback scans each block it pushes.
    VoiceTrigger& voiceTrigger() { return *_voice; }
    const VoiceTrigger& voiceTrigger() const { return *_voice; }
    // Shared with the writer, which may still look at it as the stream goes.
    std::shared_ptr<const VoiceTrigger> sharedVoiceTrigger() const { return _voice; }
    // Playthrough at `volume` (8.8 fixed point). The output stream is opened on first need;
    // false with a reason when it cannot be (capture goes on without it).
    bool setMonitor(bool on, int volume, QString* error);

    // The peak of each channel since the last call, relative to full scale.
    void takePeaks(double peaks[2]);
    // The level blocks measured since the last call, oldest first (at most `max`). The ring
    // holds about 12 s; what comes while it is full is dropped.
    size_t takeLevelBlocks(LevelBlock* out, size_t max) { return _levelBlocks.pop(out, max); }
    // False once the device has stopped delivering (unplugged, failed, the sound server gone),
    // including when its callbacks have simply stopped coming for kStallNs.
    bool isRunning() const;
    static constexpr int64_t kStallNs = 2'000'000'000;
    // The longest time the input has kept its sound back between two deliveries so far.
    int64_t longestDeliveryGapNs() const { return _longestGapNs.load(std::memory_order_relaxed); }

private:
    friend class PulseStreams; // hands its blocks to onInput and onOutput

    explicit CaptureStream(const CaptureConfig& config);
    // Whether the input is the sound server's: one of its sources, or its "pulse" or
    // "default" ALSA device.
    static bool isSoundServerInput(const CaptureConfig& config);
    // Opens the PortAudio input `device`; false with a reason.
    bool openDevice(int device, QString* error);
    static int inputCallback(const void* input, void* output, unsigned long frames,
                             const PaStreamCallbackTimeInfo* time, unsigned long flags, void* self);
    static int outputCallback(const void* input, void* output, unsigned long frames,
                              const PaStreamCallbackTimeInfo* time, unsigned long flags,
                              void* self);
    void onInput(const void* input, unsigned long frames);
    void onOutput(float* output, unsigned long frames);
    // Up to `frames` frames of playthrough at the monitor volume, none while a cushion builds up
    // (then, and after running dry, the output waits for two blocks); the frames written.
    size_t takePlaythrough(float* output, size_t frames);
    size_t playthroughFramesReady() const;
    void markBlock(uint64_t firstFrame, unsigned long frames, int64_t arrivedNs, bool pushed);
    bool openOutput(QString* error);

    CaptureConfig _config;
    QString _notice;
    unsigned long _framesPerBuffer = 512;
    PaStream* _input = nullptr;
    PaStream* _output = nullptr;
    // Set instead of _input and _output when the input is the sound server's.
    std::unique_ptr<PulseStreams> _pulse;
    bool _outputOpen = false;
    bool _outputFailed = false;
    std::shared_ptr<SampleRing> _ring;
    SpscRing<float> _monitorRing;
    std::vector<int32_t> _scratch;      // input callback only
    std::vector<float> _monitorScratch; // input callback only
    bool _priming = true;               // output callback (or the sound server's thread) only
    std::atomic<bool> _capturing{false};
    std::atomic<bool> _monitoring{false};
    std::atomic<int> _volume{16};
    std::atomic<uint32_t> _peaks[2] = {0, 0};
    LevelBlockMeter _levelMeter; // the input callback's
    SpscRing<LevelBlock> _levelBlocks{256};
    std::shared_ptr<StartMark> _startMark = std::make_shared<StartMark>();
    std::shared_ptr<VoiceTrigger> _voice = std::make_shared<VoiceTrigger>();
    // When frames were captured: frame f of the device (or of the ring) at about
    // f / rate + offset on the steady clock. The device's is the callback's own; the ring's is
    // published for the main thread and moves on whenever frames are not pushed.
    static constexpr int64_t kNoOffset = INT64_MAX;
    uint64_t _deviceFrames = 0;               // input callback only
    int64_t _deviceClockOffsetNs = kNoOffset; // input callback only
    std::atomic<int64_t> _ringClockOffsetNs{kNoOffset};
    std::atomic<int64_t> _lastCallbackNs{0}; // when the input callback last ran (or the start)
    // The longest wait between two input callbacks so far (short of a stall): how far behind the
    // clock the pushed frames may be at any moment.
    std::atomic<int64_t> _longestGapNs{0};
};
