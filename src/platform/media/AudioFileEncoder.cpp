#include "platform/media/AudioFileEncoder.h"

#include "platform/foundation/FileNames.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/media/AudioFileDecoder.h"
#include "platform/media/MediaErrors.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cmath>
#include <unistd.h>
#include <vector>

namespace {
// What is shown to users: plain words, not FFmpeg's.
QString describe(int code) {
    return MediaErrors::plainWords(code);
}

// The muxer of each file extension an encoder writes.
const char* muxerOfExtension(const QString& extension) {
    if (extension == QLatin1String("m4a"))
        return "ipod";
    if (extension == QLatin1String("mp3"))
        return "mp3";
    if (extension == QLatin1String("flac"))
        return "flac";
    if (extension == QLatin1String("opus"))
        return "opus";
    if (extension == QLatin1String("ogg"))
        return "ogg";
    if (extension == QLatin1String("wav"))
        return "wav";
    return nullptr;
}

bool isLossless(const AVCodec* codec) {
    return codec->id == AV_CODEC_ID_FLAC || codec->id == AV_CODEC_ID_ALAC ||
           codec->id == AV_CODEC_ID_PCM_S16LE;
}

AVSampleFormat chooseSampleFormat(const AVCodec* codec) {
    // Lossless encoders keep the 16 bits of our recordings; lossy ones take float.
    static const AVSampleFormat lossless[] = {AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_S16P,
                                              AV_SAMPLE_FMT_S32, AV_SAMPLE_FMT_S32P};
    static const AVSampleFormat lossy[] = {AV_SAMPLE_FMT_FLTP, AV_SAMPLE_FMT_FLT,
                                           AV_SAMPLE_FMT_S16P, AV_SAMPLE_FMT_S16};
    if (!codec->sample_fmts)
        return AV_SAMPLE_FMT_FLT;
    for (AVSampleFormat wanted : isLossless(codec) ? lossless : lossy)
        for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
            if (*f == wanted)
                return wanted;
    return codec->sample_fmts[0];
}

// The source's rate when the encoder takes it, else the nearest higher one it takes (Opus:
// 48 kHz), else its highest.
int chooseSampleRate(const AVCodec* codec, int sourceRate) {
    if (!codec->supported_samplerates)
        return sourceRate;
    int best = 0;
    int highest = 0;
    for (const int* rate = codec->supported_samplerates; *rate; ++rate) {
        if (*rate == sourceRate)
            return sourceRate;
        highest = std::max(highest, *rate);
        if (*rate > sourceRate && (best == 0 || *rate < best))
            best = *rate;
    }
    return best ? best : highest;
}

// Settings for speech and music at a size worth syncing.
void applyQuality(AVCodecContext* context, const QString& codecName) {
    if (codecName == QLatin1String("aac") || codecName == QLatin1String("libfdk_aac")) {
        context->bit_rate = 160000;
    } else if (codecName == QLatin1String("libmp3lame")) {
        context->flags |= AV_CODEC_FLAG_QSCALE; // VBR quality 2: about 190 kb/s
        context->global_quality = FF_QP2LAMBDA * 2;
    } else if (codecName == QLatin1String("libshine")) {
        context->bit_rate = 192000;
    } else if (codecName == QLatin1String("libopus")) {
        context->bit_rate = 96000;
    } else if (codecName == QLatin1String("libvorbis")) {
        context->flags |= AV_CODEC_FLAG_QSCALE; // quality 5: about 160 kb/s
        context->global_quality = FF_QP2LAMBDA * 5;
    }
}

int16_t toS16(float sample) {
    return int16_t(std::lrint(std::clamp(sample, -1.0f, 32767.0f / 32768.0f) * 32768.0f));
}

int32_t toS32(float sample) {
    return int32_t(std::clamp(double(sample), -1.0, 2147483647.0 / 2147483648.0) * 2147483648.0);
}

// Interleaved float frames into the frame's layout and format.
void fillFrame(AVFrame* frame, const float* samples, int frames, int channels) {
    const auto format = AVSampleFormat(frame->format);
    const bool planar = av_sample_fmt_is_planar(format);
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            const float s = samples[i * channels + c];
            const int plane = planar ? c : 0;
            const int index = planar ? i : i * channels + c;
            switch (format) {
            case AV_SAMPLE_FMT_FLT:
            case AV_SAMPLE_FMT_FLTP:
                reinterpret_cast<float*>(frame->extended_data[plane])[index] = s;
                break;
            case AV_SAMPLE_FMT_S16:
            case AV_SAMPLE_FMT_S16P:
                reinterpret_cast<int16_t*>(frame->extended_data[plane])[index] = toS16(s);
                break;
            case AV_SAMPLE_FMT_S32:
            case AV_SAMPLE_FMT_S32P:
                reinterpret_cast<int32_t*>(frame->extended_data[plane])[index] = toS32(s);
                break;
            default:
                break;
            }
        }
    }
}

// One encoding, its FFmpeg objects freed however it ends.
class Encoding {
public:
    ~Encoding() {
        av_frame_free(&_frame);
        av_packet_free(&_packet);
        avcodec_free_context(&_codec);
        if (_format) {
            if (_format->pb)
                avio_closep(&_format->pb);
            avformat_free_context(_format);
        }
    }

    bool open(const QString& destination, const AudioEncoder& encoder, int channels, int rate,
              const QString& title, const QString& comment, QString* error);
    // Encodes whole frames of `samples` (interleaved float); `last` flushes the rest.
    bool encode(std::vector<float>& samples, bool last, QString* error);
    bool finish(QString* error);
    int channels() const { return _codec->ch_layout.nb_channels; }

private:
    bool sendFrame(const float* samples, int frames, QString* error);
    bool drain(QString* error);

    AVFormatContext* _format = nullptr;
    AVCodecContext* _codec = nullptr;
    AVStream* _stream = nullptr;
    AVFrame* _frame = nullptr;
    AVPacket* _packet = nullptr;
    int _frameSize = 0;
    int64_t _pts = 0;
};

bool Encoding::open(const QString& destination, const AudioEncoder& encoder, int channels, int rate,
                    const QString& title, const QString& comment, QString* error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(encoder.codecName.toLatin1().constData());
    const char* muxer = muxerOfExtension(encoder.extension);
    if (!codec || !muxer) {
        *error = BVLocalizedString("EncoderNotInstalled").arg(encoder.title);
        return false;
    }
    const QByteArray path = FileNames::encodePath(destination);
    int result = avformat_alloc_output_context2(&_format, nullptr, muxer, path.constData());
    if (result < 0 || !_format) {
        *error = describe(result);
        return false;
    }
    _codec = avcodec_alloc_context3(codec);
    _stream = avformat_new_stream(_format, nullptr);
    _frame = av_frame_alloc();
    _packet = av_packet_alloc();
    if (!_codec || !_stream || !_frame || !_packet) {
        *error = BVLocalizedString("EncoderOutOfMemory");
        return false;
    }
    av_channel_layout_default(&_codec->ch_layout, channels);
    _codec->sample_rate = rate;
    _codec->sample_fmt = chooseSampleFormat(codec);
    _codec->time_base = AVRational{1, rate};
    applyQuality(_codec, encoder.codecName);
    if (_format->oformat->flags & AVFMT_GLOBALHEADER)
        _codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    result = avcodec_open2(_codec, codec, nullptr);
    if (result < 0) {
        *error = describe(result);
        return false;
    }
    _frameSize = _codec->frame_size > 0 ? _codec->frame_size : 4096;
    result = avcodec_parameters_from_context(_stream->codecpar, _codec);
    if (result < 0) {
        *error = describe(result);
        return false;
    }
    _stream->time_base = _codec->time_base;
    const QByteArray titleBytes = title.toUtf8();
    const QByteArray commentBytes = comment.toUtf8();
    // Ogg files carry their comments in the stream.
    for (AVDictionary** tags : {&_format->metadata, &_stream->metadata}) {
        av_dict_set(tags, "title", titleBytes.constData(), 0);
        if (!commentBytes.isEmpty())
            av_dict_set(tags, "comment", commentBytes.constData(), 0);
    }
    result = avio_open(&_format->pb, path.constData(), AVIO_FLAG_WRITE);
    if (result >= 0)
        result = avformat_write_header(_format, nullptr);
    if (result < 0) {
        *error = describe(result);
        return false;
    }
    return true;
}

bool Encoding::sendFrame(const float* samples, int frames, QString* error) {
    av_frame_unref(_frame);
    _frame->format = _codec->sample_fmt;
    _frame->nb_samples = frames;
    _frame->sample_rate = _codec->sample_rate;
    int result = av_channel_layout_copy(&_frame->ch_layout, &_codec->ch_layout);
    if (result >= 0)
        result = av_frame_get_buffer(_frame, 0);
    if (result < 0) {
        *error = describe(result);
        return false;
    }
    fillFrame(_frame, samples, frames, channels());
    _frame->pts = _pts;
    _pts += frames;
    result = avcodec_send_frame(_codec, _frame);
    if (result < 0) {
        *error = describe(result);
        return false;
    }
    return drain(error);
}

bool Encoding::drain(QString* error) {
    for (;;) {
        int result = avcodec_receive_packet(_codec, _packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0) {
            *error = describe(result);
            return false;
        }
        av_packet_rescale_ts(_packet, _codec->time_base, _stream->time_base);
        _packet->stream_index = _stream->index;
        result = av_interleaved_write_frame(_format, _packet);
        if (result < 0) {
            *error = describe(result);
            return false;
        }
    }
}

bool Encoding::encode(std::vector<float>& samples, bool last, QString* error) {
    const int channelCount = channels();
    const size_t frameSamples = size_t(_frameSize) * size_t(channelCount);
    size_t used = 0;
    while (samples.size() - used >= frameSamples) {
        if (!sendFrame(samples.data() + used, _frameSize, error))
            return false;
        used += frameSamples;
    }
    if (last && samples.size() > used) {
        if (!sendFrame(samples.data() + used, int((samples.size() - used) / size_t(channelCount)),
                       error))
            return false;
        used = samples.size();
    }
    samples.erase(samples.begin(), samples.begin() + std::ptrdiff_t(used));
    return true;
}

bool Encoding::finish(QString* error) {
    int result = avcodec_send_frame(_codec, nullptr);
    if (result < 0 && result != AVERROR_EOF) {
        *error = describe(result);
        return false;
    }
    if (!drain(error))
        return false;
    result = av_write_trailer(_format);
    if (result >= 0)
        result = avio_closep(&_format->pb);
    if (result < 0) {
        *error = describe(result);
        return false;
    }
    return true;
}
} // namespace

std::optional<AudioEncoder> AudioFileEncoder::encoderWithTitle(const QString& title) {
    for (const AudioEncoder& encoder : availableAudioEncoders())
        if (encoder.title == title)
            return encoder;
    return std::nullopt;
}

AudioFileEncoder::Result
AudioFileEncoder::encodeFile(const QString& source, const QString& destination,
                             const AudioEncoder& encoder, const QString& title,
                             const std::atomic<bool>* abort, const QString& comment) {
    Result outcome;
    const auto failed = [&](const QString& reason) {
        ::unlink(FileNames::encodePath(destination).constData());
        outcome.error = reason;
        return outcome;
    };
    AudioFileDecoder decoder;
    QString error;
    if (!decoder.open(source, &error))
        return failed(error);
    const AVCodec* codec = avcodec_find_encoder_by_name(encoder.codecName.toLatin1().constData());
    if (!codec)
        return failed(BVLocalizedString("EncoderNotInstalled").arg(encoder.title));
    const int channels = std::clamp(decoder.channels(), 1, 2);
    const int rate = chooseSampleRate(codec, decoder.sampleRate());
    if (!decoder.setOutputFormat(channels, rate, &error))
        return failed(error);

    int64_t frames = 0;
    {
        Encoding encoding;
        if (!encoding.open(destination, encoder, channels, rate, title, comment, &error))
            return failed(error);
        std::vector<float> samples;
        bool more = true;
        while (more) {
            if (abort && abort->load()) {
                outcome.aborted = true;
                return failed(BVLocalizedString("ImportCancelled"));
            }
            const size_t before = samples.size();
            more = decoder.decodeMore(samples);
            frames += int64_t(samples.size() - before) / channels;
            if (!encoding.encode(samples, !more, &error))
                return failed(error);
        }
        // Cut short by a read error or damage: not a conversion of the whole recording.
        if (decoder.failed())
            return failed(decoder.failure());
        if (frames == 0)
            return failed(BVLocalizedString("EncoderNoSound"));
        if (!encoding.finish(&error))
            return failed(error);
    }
    outcome.ok = true;
    outcome.seconds = double(frames) / rate;
    return outcome;
}
