#pragma once

#include <QString>

#include <cstdint>
#include <sys/types.h>
#include <vector>

struct AVCodecContext;
struct AVIOContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

// Reads the sound of one media file (our .mov recordings, .mp3, .m4a, anything FFmpeg decodes)
// and hands it out as interleaved 32-bit float samples in the format the output wants.
// Used by one thread at a time.
class AudioFileDecoder {
public:
    AudioFileDecoder();
    ~AudioFileDecoder();
    AudioFileDecoder(const AudioFileDecoder&) = delete;
    AudioFileDecoder& operator=(const AudioFileDecoder&) = delete;

    // Opens the file's audio stream and decodes its first samples, so that a file that only
    // looks like media is refused here; on failure *error says why in a user's words. The file
    // is opened without waiting and must be a regular file (a pipe in its place is refused).
    bool open(const QString& path, QString* error);

    int sampleRate() const;
    int channels() const;
    // The length in frames at the output rate; 0 when the file does not tell.
    int64_t durationFrames() const;

    // What decodeMore produces from now on: interleaved float at this channel count and rate.
    bool setOutputFormat(int channels, int rate, QString* error);
    int outputChannels() const { return _outChannels; }
    int outputRate() const { return _outRate; }

    // Appends the next stretch of samples to out (whole frames); false once the file has
    // nothing more to give: its end, or a failure (failed() tells which).
    bool decodeMore(std::vector<float>& out);
    // Whether decoding stopped before the end of the sound: a read error, or data too damaged
    // to go on. Why, in a user's words.
    bool failed() const { return !_failure.isEmpty(); }
    QString failure() const { return _failure; }

    // The file is read through this function; tests give one that fails part-way, as a failing
    // disk does. Null puts back read(2).
    using ReadFunction = ssize_t (*)(int fd, void* buffer, size_t size);
    static void setReadFunctionForTesting(ReadFunction read);

    // Goes to a frame (output rate); the next samples decodeMore gives begin there.
    bool seek(int64_t frame);

private:
    static int readPacket(void* opaque, uint8_t* buffer, int size);
    static int64_t seekPacket(void* opaque, int64_t offset, int whence);
    bool openInput(const QString& path, QString* error);
    void fail(const QString& why);
    bool receiveFrame(); // the next decoded frame into _frame; false at the end or a failure
    bool ensureResampler(const AVFrame* frame);
    void convert(const AVFrame* frame, std::vector<float>& out);
    void flushResampler(std::vector<float>& out);
    void dropSkippedFrames(std::vector<float>& out, size_t from);

    int _fd = -1;
    AVIOContext* _io = nullptr; // reads _fd
    int _readError = 0;         // errno of a failed read since the last seek
    QString _failure;
    AVFormatContext* _format = nullptr;
    AVCodecContext* _codec = nullptr;
    SwrContext* _swr = nullptr;
    AVPacket* _packet = nullptr;
    AVFrame* _frame = nullptr;
    int _streamIndex = -1;
    int64_t _startTime = 0; // stream time base
    bool _hasPendingFrame = false;
    bool _inputEnded = false;
    bool _finished = false;
    bool _locateAfterSeek = false;
    int64_t _seekTarget = 0; // output frames
    int64_t _skipFrames = 0; // output frames still to drop after a seek
    int _outChannels = 0;
    int _outRate = 0;
    // The input format the resampler was built for.
    int _swrInFormat = -1;
    int _swrInRate = 0;
    int _swrInChannels = 0;
    uint64_t _swrInMask = 0;
};
