#include "platform/media/AudioFileDecoder.h"

#include "platform/foundation/FilePath.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/SafeFile.h"

#include <QCoreApplication>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Damaged packets in a row that are skipped before the rest of the file is given up.
constexpr int kMaxDecodeErrors = 64;
constexpr int kReadBufferBytes = 64 * 1024;

std::atomic<AudioFileDecoder::ReadFunction> gRead{nullptr};

QString describe(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}
} // namespace

AudioFileDecoder::AudioFileDecoder() = default;

AudioFileDecoder::~AudioFileDecoder() {
    swr_free(&_swr);
    av_frame_free(&_frame);
    av_packet_free(&_packet);
    avcodec_free_context(&_codec);
    avformat_close_input(&_format);
    if (_io) {
        av_freep(&_io->buffer);
        avio_context_free(&_io);
    }
    if (_fd >= 0)
        ::close(_fd);
}

void AudioFileDecoder::setReadFunctionForTesting(ReadFunction read) {
    gRead.store(read);
}

int AudioFileDecoder::readPacket(void* opaque, uint8_t* buffer, int size) {
    auto* self = static_cast<AudioFileDecoder*>(opaque);
    const ReadFunction read = gRead.load();
    for (;;) {
        const ssize_t got =
            read ? read(self->_fd, buffer, size_t(size)) : ::read(self->_fd, buffer, size_t(size));
        if (got > 0)
            return int(got);
        if (got == 0)
            return AVERROR_EOF;
        if (errno == EINTR)
            continue;
        // Remembered: a demuxer may take any failed read for the end of the file.
        self->_readError = errno;
        return AVERROR(errno);
    }
}

int64_t AudioFileDecoder::seekPacket(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<AudioFileDecoder*>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat info;
        return ::fstat(self->_fd, &info) == 0 ? int64_t(info.st_size) : AVERROR(errno);
    }
    const off_t at = ::lseek(self->_fd, off_t(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : int64_t(at);
}

bool AudioFileDecoder::openInput(const QString& path, QString* error) {
    const FilePath file = FilePath::fromString(path);
    SafeFile::Problem problem;
    _fd = SafeFile::openForReading(file, &problem);
    if (_fd < 0) {
        setError(error, problem.reason);
        return false;
    }
    auto* buffer = static_cast<unsigned char*>(av_malloc(kReadBufferBytes));
    if (buffer)
        _io = avio_alloc_context(buffer, kReadBufferBytes, 0, this, &readPacket, nullptr,
                                 &seekPacket);
    _format = _io ? avformat_alloc_context() : nullptr;
    if (!_format) {
        if (!_io)
            av_free(buffer);
        setError(error, BVLocalizedString("OutOfMemory"));
        return false;
    }
    _format->pb = _io;
    // The name still helps to tell the format.
    const int result = avformat_open_input(&_format, file.c_str(), nullptr, nullptr);
    if (result < 0) {
        setError(error, describe(result));
        return false;
    }
    return true;
}

void AudioFileDecoder::fail(const QString& why) {
    if (_failure.isEmpty())
        _failure = why;
}

bool AudioFileDecoder::open(const QString& path, QString* error) {
    if (!openInput(path, error))
        return false;
    int result = avformat_find_stream_info(_format, nullptr);
    if (result < 0) {
        setError(error, describe(result));
        return false;
    }
    const AVCodec* decoder = nullptr;
    _streamIndex = av_find_best_stream(_format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (_streamIndex < 0 || !decoder) {
        setError(error, _streamIndex == AVERROR_DECODER_NOT_FOUND
                            ? BVLocalizedString("DecoderFormatUndecodable")
                            : BVLocalizedString("DecoderNoSound"));
        return false;
    }
    // Only the sound is read; the demuxer drops every other stream's packets early.
    for (unsigned i = 0; i < _format->nb_streams; ++i)
        if (int(i) != _streamIndex)
            _format->streams[i]->discard = AVDISCARD_ALL;

    const AVStream* stream = _format->streams[_streamIndex];
    _codec = avcodec_alloc_context3(decoder);
    if (!_codec || avcodec_parameters_to_context(_codec, stream->codecpar) < 0) {
        setError(error, BVLocalizedString("OutOfMemory"));
        return false;
    }
    _codec->pkt_timebase = stream->time_base;
    result = avcodec_open2(_codec, decoder, nullptr);
    if (result < 0) {
        setError(error, describe(result));
        return false;
    }
    if (_codec->sample_rate <= 0 || _codec->ch_layout.nb_channels <= 0) {
        setError(error, BVLocalizedString("DecoderUnknownFormat"));
        return false;
    }
    _packet = av_packet_alloc();
    _frame = av_frame_alloc();
    if (!_packet || !_frame) {
        setError(error, BVLocalizedString("OutOfMemory"));
        return false;
    }
    _startTime = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    // A file is only taken when some of its sound actually decodes.
    if (!receiveFrame()) {
        setError(error, failed() ? _failure : BVLocalizedString("DecoderCannotDecode"));
        return false;
    }
    _hasPendingFrame = true;
    return true;
}

int AudioFileDecoder::sampleRate() const {
    return _codec ? _codec->sample_rate : 0;
}

int AudioFileDecoder::channels() const {
    return _codec ? _codec->ch_layout.nb_channels : 0;
}

int64_t AudioFileDecoder::durationFrames() const {
    if (!_format || _streamIndex < 0)
        return 0;
    const int rate = _outRate > 0 ? _outRate : sampleRate();
    const AVStream* stream = _format->streams[_streamIndex];
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        return av_rescale_q(stream->duration, stream->time_base, AVRational{1, rate});
    if (_format->duration != AV_NOPTS_VALUE && _format->duration > 0)
        return av_rescale(_format->duration, rate, AV_TIME_BASE);
    return 0;
}

bool AudioFileDecoder::setOutputFormat(int channels, int rate, QString* error) {
    if (channels < 1 || channels > 8 || rate <= 0) {
        setError(error, BVLocalizedString("OutputFormatUnsupported"));
        return false;
    }
    _outChannels = channels;
    _outRate = rate;
    swr_free(&_swr); // rebuilt for the new format on the next frame
    _swrInFormat = -1;
    return true;
}

bool AudioFileDecoder::receiveFrame() {
    int errors = 0;
    for (;;) {
        int result = avcodec_receive_frame(_codec, _frame);
        if (result == 0)
            return true;
        if (result == AVERROR_EOF)
            return false;
        if (result != AVERROR(EAGAIN)) {
            if (++errors > kMaxDecodeErrors) {
                fail(BVLocalizedString("DecoderDamagedPartWay"));
                return false;
            }
            continue;
        }
        if (_inputEnded)
            return false;
        result = av_read_frame(_format, _packet);
        if (result < 0) {
            // What the decoder holds still comes out; anything but the end is a failure.
            _inputEnded = true;
            if (_readError != 0)
                fail(
                    BVLocalizedString("DecoderReadFailed").arg(SafeFile::systemReason(_readError)));
            else if (result != AVERROR_EOF)
                fail(BVLocalizedString("DecoderReadFailed").arg(describe(result)));
            avcodec_send_packet(_codec, nullptr);
            continue;
        }
        if (_packet->stream_index != _streamIndex) {
            av_packet_unref(_packet);
            continue;
        }
        result = avcodec_send_packet(_codec, _packet);
        av_packet_unref(_packet);
        // A damaged packet is skipped, as players do; too many in a row end the file.
        if (result < 0 && result != AVERROR(EAGAIN) && ++errors > kMaxDecodeErrors) {
            fail(BVLocalizedString("DecoderDamagedPartWay"));
            return false;
        }
    }
}

bool AudioFileDecoder::ensureResampler(const AVFrame* frame) {
    const AVChannelLayout& layout =
        frame->ch_layout.nb_channels > 0 ? frame->ch_layout : _codec->ch_layout;
    const int channels = layout.nb_channels;
    const uint64_t mask = layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
    if (_swr && frame->format == _swrInFormat && frame->sample_rate == _swrInRate &&
        channels == _swrInChannels && mask == _swrInMask)
        return true;

    swr_free(&_swr);
    _swrInFormat = -1;
    AVChannelLayout in{};
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&in, channels);
    else if (av_channel_layout_copy(&in, &layout) < 0)
        return false;
    AVChannelLayout out{};
    av_channel_layout_default(&out, _outChannels);
    int result = swr_alloc_set_opts2(&_swr, &out, AV_SAMPLE_FMT_FLT, _outRate, &in,
                                     AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    av_channel_layout_uninit(&out);
    if (result < 0 || swr_init(_swr) < 0) {
        swr_free(&_swr);
        return false;
    }
    _swrInFormat = frame->format;
    _swrInRate = frame->sample_rate;
    _swrInChannels = channels;
    _swrInMask = mask;
    return true;
}

void AudioFileDecoder::convert(const AVFrame* frame, std::vector<float>& out) {
    if (_outChannels <= 0 || frame->sample_rate <= 0 || !ensureResampler(frame))
        return;
    if (_locateAfterSeek) {
        // Seeking lands on a packet at or before the target; the frames before it are dropped
        // so that playback resumes on the exact frame.
        _locateAfterSeek = false;
        const int64_t pts = frame->best_effort_timestamp;
        if (pts != AV_NOPTS_VALUE) {
            const int64_t at =
                av_rescale_q(pts - _startTime, _format->streams[_streamIndex]->time_base,
                             AVRational{1, _outRate});
            _skipFrames = std::max<int64_t>(0, _seekTarget - at);
        }
    }
    const int capacity = swr_get_out_samples(_swr, frame->nb_samples);
    if (capacity <= 0)
        return;
    const size_t from = out.size();
    out.resize(from + size_t(capacity) * size_t(_outChannels));
    uint8_t* target = reinterpret_cast<uint8_t*>(out.data() + from);
    const int made =
        swr_convert(_swr, &target, capacity, const_cast<const uint8_t**>(frame->extended_data),
                    frame->nb_samples);
    out.resize(from + size_t(std::max(made, 0)) * size_t(_outChannels));
    dropSkippedFrames(out, from);
}

void AudioFileDecoder::flushResampler(std::vector<float>& out) {
    if (!_swr)
        return;
    const int capacity = swr_get_out_samples(_swr, 0);
    if (capacity <= 0)
        return;
    const size_t from = out.size();
    out.resize(from + size_t(capacity) * size_t(_outChannels));
    uint8_t* target = reinterpret_cast<uint8_t*>(out.data() + from);
    const int made = swr_convert(_swr, &target, capacity, nullptr, 0);
    out.resize(from + size_t(std::max(made, 0)) * size_t(_outChannels));
    dropSkippedFrames(out, from);
}

void AudioFileDecoder::dropSkippedFrames(std::vector<float>& out, size_t from) {
    if (_skipFrames <= 0)
        return;
    const int64_t made = int64_t(out.size() - from) / _outChannels;
    const int64_t dropped = std::min(_skipFrames, made);
    out.erase(out.begin() + std::ptrdiff_t(from),
              out.begin() + std::ptrdiff_t(from + size_t(dropped) * size_t(_outChannels)));
    _skipFrames -= dropped;
}

bool AudioFileDecoder::decodeMore(std::vector<float>& out) {
    if (_finished || !_codec)
        return false;
    const size_t from = out.size();
    if (_hasPendingFrame || receiveFrame()) {
        _hasPendingFrame = false;
        convert(_frame, out);
        av_frame_unref(_frame);
        return true;
    }
    flushResampler(out);
    _finished = true;
    return out.size() > from;
}

bool AudioFileDecoder::seek(int64_t frame) {
    if (!_codec || _outRate <= 0)
        return false;
    const AVStream* stream = _format->streams[_streamIndex];
    frame = std::max<int64_t>(0, frame);
    const int64_t ts = _startTime + av_rescale_q(frame, AVRational{1, _outRate}, stream->time_base);
    if (av_seek_frame(_format, _streamIndex, ts, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(_format, _streamIndex, INT64_MIN, ts, INT64_MAX, 0) < 0)
        return false;
    avcodec_flush_buffers(_codec);
    swr_free(&_swr); // drops what the resampler still held from before the jump
    _swrInFormat = -1;
    av_frame_unref(_frame);
    _hasPendingFrame = false;
    _inputEnded = false;
    _finished = false;
    _locateAfterSeek = true;
    _readError = 0;
    _failure.clear();
    _seekTarget = frame;
    _skipFrames = 0;
    return true;
}
